// The receive path's own buffer on a line that delivers text which never closes a frame.

#include "LapFrameReceiver.h"

#include <QTest>

#include <utility>

class tst_LapFrameReceiver : public QObject {
    Q_OBJECT

private slots:
    void unframedTextStaysBounded_data();
    void unframedTextStaysBounded();
};

void tst_LapFrameReceiver::unframedTextStaysBounded_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("charactersPerNotification");
    QTest::addColumn<QString>("expectedBuffer"); // what waits once the line has been delivered

    QString noise;
    for (int i = 0; noise.size() < 20000; ++i)
        noise += QChar(u'0' + i % 43); // digits, capitals and a few signs; never "#" or "$"
    QTest::newRow("noise without # or $, one character at a time")
        << noise << 1 << noise.right(1024);
    QTest::newRow("noise without # or $, in odd-sized notifications")
        << noise << 97 << noise.right(1024);

    // Frame starts that never end: the text waits from the oldest "#" it can still keep.
    QString halfFrames;
    while (halfFrames.size() < 20000)
        halfFrames += QStringLiteral("#P0A0~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~");
    const QString tail = halfFrames.right(1024);
    QTest::newRow("# without $") << halfFrames << 1 << tail.mid(tail.indexOf(u'#'));
}

void tst_LapFrameReceiver::unframedTextStaysBounded() {
    QFETCH(QString, line);
    QFETCH(int, charactersPerNotification);
    QFETCH(QString, expectedBuffer);

    LapFrameReceiver receiver;
    QStringList events;
    receiver.updateRaceClock = [&](qint32 ms) { events << QString::number(ms); };
    receiver.registerCar = [&](qint16 car, qint32) { events << QString::number(car); };

    for (qsizetype at = 0; at < line.size(); at += charactersPerNotification) {
        QString waiting = line.mid(at, charactersPerNotification);
        receiver.receiveNotification([&] { return std::exchange(waiting, QString()); });
        QVERIFY2(receiver.receiveBuffer().size() <= 1024, qPrintable(QString::number(at)));
    }
    QCOMPARE(receiver.receiveBuffer(), expectedBuffer);
    QVERIFY(events.isEmpty());

    // A "$" ends whatever waited (nothing that parses); the frame after it is read as usual.
    QString frame = QStringLiteral("$#U000064$");
    receiver.receiveNotification([&] { return std::exchange(frame, QString()); });
    QCOMPARE(events, QStringList{"100"});
    QVERIFY(receiver.receiveBuffer().isEmpty());
}

QTEST_GUILESS_MAIN(tst_LapFrameReceiver)
#include "tst_LapFrameReceiver.moc"
