#include "LapCounterEmulator.h"

#include <QTest>

using Frames = QList<LapCounterEmulator::ScriptedFrame>;

class tst_LapCounterEmulator : public QObject {
    Q_OBJECT

private slots:
    void parseScript_data();
    void parseScript();
};

void tst_LapCounterEmulator::parseScript_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<QString>("errorStart");

    constexpr int U = LapCounterEmulator::kClockFrame;
    QTest::newRow("passes and clock frames, sorted by time")
        << "; a short heat\n\n 3000 7\n1000\tU\n1000 255\n0 0\n"
        << true << Frames{{0, 0}, {1000, U}, {1000, 255}, {3000, 7}} << "";
    QTest::newRow("car beyond two hex digits") << "10 1\n20 256\n"
                                               << false << Frames{} << "line 2:";
    QTest::newRow("time beyond six hex digits") << "16777216 1" << false << Frames{} << "line 1:";
    QTest::newRow("negative time") << "-5 1" << false << Frames{} << "line 1:";
    QTest::newRow("missing car") << "\n100" << false << Frames{} << "line 2:";
}

void tst_LapCounterEmulator::parseScript() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(Frames, frames);
    QFETCH(QString, errorStart);

    QString error;
    const auto parsed = LapCounterEmulator::parseScript(text, &error);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, frames);
    else
        QVERIFY2(error.startsWith(errorStart), qPrintable(error));
}

QTEST_MAIN(tst_LapCounterEmulator)
#include "tst_LapCounterEmulator.moc"
