// KirvOCX on the real serial port layer, talking to the lap counter emulator through a
// pseudo-terminal that is reached by port number through a ports/COM<N> link.

#include "KirvOCX.h"
#include "LapCounterEmulator.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_LinkEmulator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensByPortNumberThroughTheLink();
    void scriptedPassesAndClockFrames();
    void readsAndWritesTheTransponderID();
    void reportsTheClosedPortWhenTheDeviceGoes();

private:
    // The device lock is taken by link name: a number of its own keeps parallel runs apart.
    const qint16 m_portNumber = qint16(100 + QCoreApplication::applicationPid() % 30000);
    QTemporaryDir m_appPath;
    LapCounterEmulator m_counter;
    KirvOCX m_ocx;
    QStringList m_events;
};

void tst_LinkEmulator::initTestCase() {
    QVERIFY(m_appPath.isValid());
    QString error;
    QVERIFY2(m_counter.open(&error), qPrintable(error));
    QVERIFY2(m_counter.placeLink(LapCounterEmulator::portLinkPath(
                                     m_appPath.filePath(QStringLiteral("ports")), m_portNumber),
                                 &error),
             qPrintable(error));
    m_counter.setTransponder(23);

    m_ocx.setPortsFolder(m_appPath.path() + QStringLiteral("/ports/"));
    connect(&m_ocx, &KirvOCX::RegisterCar, this, [this](qint16 car, qint32 ms) {
        m_events << QStringLiteral("C%1@%2").arg(car).arg(ms);
    });
    connect(&m_ocx, &KirvOCX::UpdateRaceClock, this,
            [this](qint32 ms) { m_events << QStringLiteral("U%1").arg(ms); });
}

void tst_LinkEmulator::opensByPortNumberThroughTheLink() {
    QVERIFY(m_ocx.OpenConnection(m_portNumber));

    // The device is taken: a second control cannot open it.
    KirvOCX other;
    other.setPortsFolder(m_appPath.path() + QStringLiteral("/ports/"));
    QVERIFY(!other.OpenConnection(m_portNumber));
}

void tst_LinkEmulator::scriptedPassesAndClockFrames() {
    const auto script = LapCounterEmulator::parseScript(QStringLiteral("20 U\n"
                                                                       "50 5\n"
                                                                       "80 7\n"
                                                                       "100 U\n"
                                                                       "120 5\n" // repeated pass
                                                                       "150 U\n"
                                                                       "200 200\n"));
    QVERIFY(script);
    m_counter.setScript(*script);

    QVERIFY(m_ocx.StartRace());
    const QStringList expected{"U20", "C5@50", "C7@80", "U100", "U150", "C200@200"};
    QTRY_COMPARE_WITH_TIMEOUT(m_events, expected, 5000);
    QCOMPARE(m_counter.commandsReceived(), QStringList{"#S$"});
    QVERIFY(m_counter.clockRunning());
}

void tst_LinkEmulator::readsAndWritesTheTransponderID() {
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(m_ocx.GetSingleID(), qint16(23));
    QVERIFY(timer.elapsed() >= 500);
    QVERIFY(!m_counter.clockRunning()); // stopped before reading

    QVERIFY(m_ocx.SetSingleID(12));
    QCOMPARE(m_counter.transponder(), std::optional<int>(12));
    QCOMPARE(m_ocx.GetSingleID(), qint16(12));

    m_counter.setTransponder(std::nullopt);
    QCOMPARE(m_ocx.GetSingleID(), qint16(-1));

    QCOMPARE(m_counter.commandsReceived().mid(1),
             (QStringList{"#F$", "#G$", "#F$", "#I0C$", "#F$", "#G$", "#F$", "#G$"}));
}

void tst_LinkEmulator::reportsTheClosedPortWhenTheDeviceGoes() {
    QSignalSpy lost(&m_ocx, &KirvOCX::ConnectionLost);
    m_counter.close();
    // The hang-up is noticed without any command, and told once.
    QVERIFY(lost.wait(5000));
    QCOMPARE(m_ocx.GetSingleID(), qint16(-2));
    QVERIFY(!m_ocx.StartRace());
    QCoreApplication::processEvents();
    QCOMPARE(lost.size(), 1);
}

QTEST_MAIN(tst_LinkEmulator)
#include "tst_LinkEmulator.moc"
