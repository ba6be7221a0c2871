// What a typed lap counter set-up means: the port, the transponder delay and
// the practice delete delay.
#include "LapCounterSettings.h"

#include <QtTest>

using namespace kv;

class TestLapCounterSettings : public QObject {
    Q_OBJECT
private slots:
    // Before start-up fills the boxes, their design texts are in use.
    void designValues() {
        const LapCounterSettings s;
        QCOMPARE(s.PortText(), QString("1"));
        QCOMPARE(s.Port(), qint16(1));
        QCOMPARE(s.TransponderDelaySeconds(), 5.0);
        QCOMPARE(s.PracticeDeleteDelayMinutes(), 5.0);
    }

    void typedValues_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint16>("port");
        QTest::addColumn<double>("delaySeconds");
        QTest::addColumn<double>("deleteMinutes");
        QTest::newRow("whole") << "3" << qint16(3) << 3.0 << 3.0;
        QTest::newRow("point") << "1.5" << qint16(2) << 1.5 << 2.0;
        QTest::newRow("comma ends the number") << "1,5" << qint16(1) << 1.0 << 1.0;
        QTest::newRow("half to even") << "2.5" << qint16(2) << 2.5 << 2.0;
        QTest::newRow("number then text") << "4s" << qint16(4) << 4.0 << 4.0;
        QTest::newRow("empty") << "" << qint16(0) << 0.0 << 0.0;
        QTest::newRow("letters") << "abc" << qint16(0) << 0.0 << 0.0;
        QTest::newRow("leading blanks") << " 7" << qint16(7) << 7.0 << 7.0;
        QTest::newRow("negative") << "-2" << qint16(-2) << -2.0 << -2.0;
        QTest::newRow("no 16-bit port") << "70000" << qint16(0) << 70000.0 << 70000.0;
    }
    void typedValues() {
        QFETCH(QString, typed);
        LapCounterSettings s;
        s.setPortText(typed);
        s.setTransponderDelayText(typed);
        s.setPracticeDeleteDelayText(typed);
        QCOMPARE(s.PortText(), typed);
        QTEST(s.Port(), "port");
        QTEST(s.TransponderDelaySeconds(), "delaySeconds");
        QTEST(s.PracticeDeleteDelayMinutes(), "deleteMinutes");
    }
};

QTEST_GUILESS_MAIN(TestLapCounterSettings)
#include "tst_lapcountersettings.moc"
