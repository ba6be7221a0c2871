// The race codes: the final-race test in the program and in statements agree,
// and a final race's label.
#include "InstallFixture.h"
#include "RaceCodes.h"

#include <QtTest>

using namespace kv;

class TestRaceCodes : public QObject {
    Q_OBJECT

    test::InstallFixture fx;

private slots:
    void initTestCase() {
        QStringList rows;
        for (int code : {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14})
            rows << QStringLiteral("INSERT INTO tblRace (RaceCode) VALUES (%1);").arg(code);
        QVERIFY(fx.sql(rows));
    }

    void finalRace_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("final");
        QTest::newRow("no code") << 0 << false;
        QTest::newRow("qualification heat") << QualificationHeatCode << false;
        QTest::newRow("unassigned final") << UnassignedFinalCode << true;
        QTest::newRow("single race") << SingleRaceCode << false;
        QTest::newRow("practice") << PracticeRaceCode << false;
        QTest::newRow("9") << 9 << false;
        QTest::newRow("final") << FinalCode << true;
        QTest::newRow("semi-final") << SemiFinalCode << true;
        QTest::newRow("quarter-final") << QuarterFinalCode << true;
        QTest::newRow("eight-final") << EightFinalCode << true;
        QTest::newRow("14") << 14 << true;
    }
    void finalRace() {
        QFETCH(int, code);
        QFETCH(bool, final);
        QCOMPARE(IsFinalRaceCode(code), final);
        for (const QString& table : {QString(), QStringLiteral("tblRace.")})
            QCOMPARE(fx.column(QStringLiteral("SELECT COUNT(*) FROM tblRace WHERE ") +
                               RaceCodeIs(code, table) + QStringLiteral(" AND ") +
                               FinalRaceCondition(table) + QStringLiteral(";")),
                     QStringList{final ? QStringLiteral("1") : QStringLiteral("0")});
    }

    // A final race's row names its status and level in one pair of brackets,
    // also when the database holds a value the program does not know.
    void finalRaceLabel_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("label");
        QTest::newRow("new final") << int(RaceNew) << FinalCode << "A (New - Final)";
        QTest::newRow("running semi-final")
            << int(RaceRunning) << SemiFinalCode << "A (Running - Semifinal)";
        QTest::newRow("finished quarter-final")
            << int(RaceFinished) << QuarterFinalCode << "A (Finished - Quartfinal)";
        QTest::newRow("eight-final") << int(RaceNew) << EightFinalCode << "A (New - Eight-final)";
        QTest::newRow("unassigned")
            << int(RaceNew) << UnassignedFinalCode << "A (New - Unassigned)";
        QTest::newRow("unknown level") << int(RaceNew) << 14 << "A (New)";
        QTest::newRow("unknown status") << 7 << FinalCode << "A (Final)";
        QTest::newRow("neither known") << -1 << 14 << "A";
    }
    void finalRaceLabel() {
        QFETCH(int, status);
        QFETCH(int, code);
        QFETCH(QString, label);
        QCOMPARE(FinalRaceLabel(QStringLiteral("A"), status, code), label);
    }
};

QTEST_MAIN(TestRaceCodes)
#include "tst_racecodes.moc"
