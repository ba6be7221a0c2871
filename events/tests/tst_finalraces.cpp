// Rankings of finished races and the start lists of final and single races, on
// a real database file.
#include "Database.h"
#include "FinalRaces.h"
#include "FinalsMeeting.h"
#include "Helpers.h"
#include "InstallFixture.h"
#include "Races.h"

#include <QtTest>

using namespace kv;

namespace {

class Meeting {
public:
    test::InstallFixture fx;
    Database db;
    Meeting() {
        if (!fx.sql(test::kFinalsMeeting) || !db.Open("Data Source=" + fx.databaseFile() + ";"))
            qFatal("set-up failed");
    }
    // The start list as "driver@position", in position order.
    QString startList(int race) const {
        return fx
            .column(QString("SELECT DriverID || '@' || StartPosition FROM tblDriverInRace WHERE "
                            "RaceID=%1 ORDER BY StartPosition, DriverInRaceID;")
                        .arg(race))
            .join(' ');
    }
};

// Entry rows as "driver result", headings as "[description]", separators as "-".
QStringList shown(const QList<RankingRow>& rows) {
    QStringList out;
    for (const RankingRow& r : rows) {
        switch (r.kind) {
        case RankingRow::Kind::Entry:
            out << QString::number(r.driverID) + ' ' + r.result;
            break;
        case RankingRow::Kind::Heading:
            out << '[' + r.name + ']';
            break;
        case RankingRow::Kind::Separator:
            out << "-";
            break;
        }
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(RankingKind)

class TestFinalRaces : public QObject {
    Q_OBJECT
private slots:
    void rankings_data() {
        QTest::addColumn<RankingKind>("kind");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("race");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("qual all") << RankingKind::QualAll << 0 << 0
                                  << QStringList{"1 12-5:05.000", "2 11-5:10.000", "2 10-4:50.000",
                                                 "1 10-5:00.000", "4 10-5:00.000", "3 10-...",
                                                 "1 9-4:59.000"};
        QTest::newRow("qual best")
            << RankingKind::QualBest << 0 << 0
            << QStringList{"1 12-5:05.000", "2 11-5:10.000", "4 10-5:00.000", "3 10-..."};
        QTest::newRow("qual best lap") << RankingKind::QualBestLap << 0 << 0
                                       << QStringList{"1 8.000", "2 8.200 B", "4 8.200 D"};
        QTest::newRow("semifinals by heat")
            << RankingKind::LevelByHeat << 11 << 0
            << QStringList{"[Semi A]", "2 6-b", "1 5-a", "-", "[Semi B]", "3 5-c", "4 5-..."};
        QTest::newRow("semifinals total") << RankingKind::LevelTotal << 11 << 0
                                          << QStringList{"2 6-b", "3 5-c", "1 5-a", "4 5-..."};
        QTest::newRow("quarterfinals, none run")
            << RankingKind::LevelByHeat << 12 << 0 << QStringList{};
        QTest::newRow("one unassigned final")
            << RankingKind::OneRace << 0 << 23 << QStringList{"5 7-d"};
    }
    void rankings() {
        QFETCH(RankingKind, kind);
        QFETCH(int, level);
        QFETCH(int, race);
        Meeting m;
        QList<RankingRow> rows;
        QVERIFY(ReadRanking(m.db, 1, kind, level, race, rows));
        QTEST(shown(rows), "expected");
    }

    void rankingRowsCarryNamesAndDetails() {
        Meeting m;
        QList<RankingRow> rows;
        QVERIFY(ReadRanking(m.db, 1, RankingKind::QualBest, 0, 0, rows));
        QCOMPARE(rows.at(0).name, QString("Ash, Al"));
        QCOMPARE(rows.at(0).details, QString("F=27/ID=11"));
        QCOMPARE(rows.at(3).name, QString("Cedar, ")); // a missing first name
    }

    void noFinishedQualification() {
        Meeting m;
        QVERIFY(m.fx.sql({"UPDATE tblRace SET Status=1 WHERE RaceCode=1;"}));
        for (RankingKind kind :
             {RankingKind::QualAll, RankingKind::QualBest, RankingKind::QualBestLap}) {
            QList<RankingRow> rows{RankingRow{}};
            QVERIFY(ReadRanking(m.db, 1, kind, 0, 0, rows));
            QVERIFY(rows.isEmpty());
        }
    }

    void placedOnLevel_data() {
        QTest::addColumn<int>("driver");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("race");
        QTest::addColumn<bool>("placed");
        QTest::newRow("in another final") << 2 << 10 << 31 << true;
        QTest::newRow("only in another tournament's final") << 1 << 10 << 31 << false;
        QTest::newRow("in a finished semifinal") << 2 << 11 << 22 << true;
        QTest::newRow("in the unassigned race itself") << 5 << 2 << 23 << true;
        QTest::newRow("in another unassigned race") << 5 << 2 << 32 << false;
        QTest::newRow("no destination") << 2 << 10 << 0 << false;
    }
    void placedOnLevel() {
        QFETCH(int, driver);
        QFETCH(int, code);
        QFETCH(int, race);
        Meeting m;
        QTEST(IsDriverPlacedOnFinalLevel(m.db, 1, driver, code, race), "placed");
    }

    void addAndRemoveRenumberTheStartList() {
        Meeting m;
        for (int driver : {1, 3, 4})
            QCOMPARE(AddDriverToRace(m.db, 31, driver, true), EntryChange::Done);
        QCOMPARE(m.startList(31), QString("1@1 3@2 4@3"));
        QCOMPARE(RemoveDriverFromRace(m.db, 31, 3), EntryChange::Done);
        QCOMPARE(m.startList(31), QString("1@1 4@3"));
        QCOMPARE(AddDriverToRace(m.db, 31, 5, true), EntryChange::Done);
        QCOMPARE(m.startList(31), QString("1@1 4@2 5@3"));
        QCOMPARE(AddDriverToRace(m.db, 31, 4, true), EntryChange::Nothing);
        QCOMPARE(m.startList(31), QString("1@1 4@2 5@3"));
        const QStringList added = m.fx.column(
            "SELECT TimeToFinish || TimeToFinishString FROM tblDriverInRace WHERE RaceID=31 AND "
            "DriverID=5;");
        QCOMPARE(added, QStringList{QString::number(NoResultTime) + NoResultText});
    }

    void oneRacePerLevel() {
        Meeting m;
        QString other;
        QCOMPARE(AddDriverToRace(m.db, 31, 2, true, &other), EntryChange::SameLevel);
        QCOMPARE(other, QString("Final"));
        QCOMPARE(m.startList(31), QString());
        // Single races have no levels.
        QCOMPARE(AddDriverToRace(m.db, 31, 2, false), EntryChange::Done);
    }

    void startedRacesKeepTheirStartLists_data() {
        QTest::addColumn<int>("status");
        QTest::newRow("running") << 1;
        QTest::newRow("finished") << 2;
    }
    void startedRacesKeepTheirStartLists() {
        QFETCH(int, status);
        Meeting m;
        QVERIFY(m.fx.sql({QString("UPDATE tblRace SET Status=%1 WHERE RaceID=30;").arg(status)}));
        QCOMPARE(AddDriverToRace(m.db, 30, 1, true), EntryChange::Nothing);
        QCOMPARE(RemoveDriverFromRace(m.db, 30, 2), EntryChange::Nothing);
        QCOMPARE(m.startList(30), QString("2@1"));
    }

    void aRaceTakesNoEleventhCar() {
        Meeting m;
        QStringList sql;
        for (int i = 1; i <= 10; ++i)
            sql << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                           "(%1, 32, %2);")
                       .arg(100 + i)
                       .arg(i);
        QVERIFY(m.fx.sql(sql));
        QCOMPARE(AddDriverToRace(m.db, 32, 1, false), EntryChange::Full);
        QCOMPARE(m.fx.column("SELECT COUNT(*) FROM tblDriverInRace WHERE RaceID=32;"),
                 QStringList{"10"});
        QVERIFY(RaceFullText().contains("10"));
    }

    void deleteRaceTakesEntriesAndLaps() {
        Meeting m;
        const auto all = [&m] {
            return m.fx.column("SELECT 'R' || RaceID FROM tblRace UNION ALL SELECT 'E' || "
                               "DriverInRaceID FROM tblDriverInRace UNION ALL SELECT 'L' || "
                               "LapInRaceID FROM tblLapInRace;");
        };
        QStringList expected = all();
        for (const char* gone : {"R20", "E200", "E201", "L8"})
            QVERIFY(expected.removeOne(gone));
        QVERIFY(DeleteRaces(m.db, RacesToDelete::race(20)));
        QCOMPARE(all(), expected);
    }
};

QTEST_MAIN(TestFinalRaces)
#include "tst_finalraces.moc"
