// The race codes: the final-race test in the program and in statements agree.
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
};

QTEST_MAIN(TestRaceCodes)
#include "tst_racecodes.moc"
