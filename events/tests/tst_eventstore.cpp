// What the event pages and dialogs read and write, without any window, on a
// real database file: deleting races, writing qualification rounds and the
// lists of tournaments, participants, heats and races.
#include "Database.h"
#include "FinalsMeeting.h"
#include "Helpers.h"
#include "InstallFixture.h"
#include "QualHeats.h"
#include "Races.h"
#include "Tournaments.h"

#include <QtTest>

using namespace kv;

namespace {

class Store {
public:
    test::InstallFixture fx;
    Database db;
    QStringList reported;
    explicit Store(const QStringList& sql = {}) {
        db.setErrorReporter([this](const QString&, const QString& statement, const QString&) {
            reported << statement;
        });
        if (!fx.sql(sql) || !db.Open("Data Source=" + fx.databaseFile() + ";"))
            qFatal("set-up failed");
    }
    QStringList column(const QString& sql) const { return fx.column(sql); }
};

// Tournament 1: qualification rounds 1 and 2 (heats 10, 11, 20) and a final
// (30); tournament 2: a heat (40). Each race has an entry with a lap. Two laps
// are out of step: one names race 20 with an entry that is gone, one names
// an entry of race 20 but no race.
const QStringList kRaces = {
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, QualRound, QualHeat) VALUES (10, 1, 1, "
    "1, 1);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, QualRound, QualHeat) VALUES (11, 1, 1, "
    "1, 2);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, QualRound, QualHeat) VALUES (20, 1, 1, "
    "2, 1);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode) VALUES (30, 1, 10);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, QualRound, QualHeat) VALUES (40, 2, 1, "
    "2, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID) VALUES (100, 1, 10);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID) VALUES (110, 1, 11);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID) VALUES (200, 1, 20);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID) VALUES (300, 1, 30);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID) VALUES (400, 1, 40);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (1, 100, 10);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (2, 110, 11);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (3, 200, 20);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (4, 300, 30);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (5, 400, 40);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (6, 999, 20);",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID) VALUES (7, 200, NULL);",
};

QStringList allRows(const Store& s) {
    QStringList rows = s.column("SELECT 'R' || RaceID FROM tblRace UNION ALL SELECT 'E' || "
                                "DriverInRaceID FROM tblDriverInRace UNION ALL SELECT 'L' || "
                                "LapInRaceID FROM tblLapInRace;");
    rows.sort();
    return rows;
}

QString names(const QList<DriverRow>& rows) {
    QStringList out;
    for (const DriverRow& r : rows)
        out << QString::number(r.driverID) + ' ' + r.lastname;
    return out.join(", ");
}

QString races(const QList<RaceRow>& rows) {
    QStringList out;
    for (const RaceRow& r : rows)
        out << QString::number(r.raceID);
    return out.join(' ');
}

} // namespace

class TestEventStore : public QObject {
    Q_OBJECT
private slots:
    // A lap goes with its race and with its entry, whichever of the two it
    // names; nothing of the other races is touched.
    void deleteRacesLeavesNoOrphans_data() {
        QTest::addColumn<int>("selection"); // as selectionOf() makes it
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("one race") << 0 << QStringList{"R20", "E200", "L3", "L6", "L7"};
        QTest::newRow("qualification above round 1")
            << 1 << QStringList{"R20", "E200", "L3", "L6", "L7"};
        QTest::newRow("every qualification heat")
            << 2 << QStringList{"R10", "R11", "R20", "E100", "E110", "E200",
                                "L1",  "L2",  "L3",  "L6",   "L7"};
        QTest::newRow("a tournament")
            << 3 << QStringList{"R10",  "R11", "R20", "R30", "E100", "E110", "E200",
                                "E300", "L1",  "L2",  "L3",  "L4",   "L6",   "L7"};
    }
    void deleteRacesLeavesNoOrphans() {
        QFETCH(int, selection);
        QFETCH(QStringList, gone);
        const RacesToDelete selections[] = {RacesToDelete::race(20), RacesToDelete::qualHeats(1, 1),
                                            RacesToDelete::qualHeats(1),
                                            RacesToDelete::tournament(1)};
        Store s(kRaces);
        QStringList expected = allRows(s);
        for (const QString& row : gone)
            QVERIFY(expected.removeOne(row));
        QVERIFY(DeleteRaces(s.db, selections[selection]));
        QCOMPARE(allRows(s), expected);
    }

    void deleteRacesIsWholeOrNothing() {
        Store s(kRaces);
        QVERIFY(s.fx.sql({"CREATE TRIGGER keep BEFORE DELETE ON tblRace BEGIN SELECT "
                          "RAISE(ABORT, 'kept'); END;"}));
        const QStringList before = allRows(s);
        QVERIFY(!DeleteRaces(s.db, RacesToDelete::qualHeats(1)));
        QCOMPARE(s.reported.size(), 1);
        QCOMPARE(allRows(s), before);
    }

    // Rounds 2 and 3 for five drivers, two to a heat: three heats a round,
    // every round dealt alike, every entry not yet raced.
    void writeQualRounds() {
        Store s({"INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');"});
        QVERIFY(WriteQualRounds(s.db, 1, 2, 3, 2, 7, {15, 14, 13, 12, 11}));
        QCOMPARE(s.column("SELECT Description || '/' || RaceCategoryID || '/' || Length || '/' || "
                          "Status FROM tblRace WHERE TournamentID=1 AND RaceCode=1 ORDER BY "
                          "QualRound, QualHeat;"),
                 (QStringList{"Round 2 - Heat 1/1/7/0", "Round 2 - Heat 2/1/7/0",
                              "Round 2 - Heat 3/1/7/0", "Round 3 - Heat 1/1/7/0",
                              "Round 3 - Heat 2/1/7/0", "Round 3 - Heat 3/1/7/0"}));
        for (int round : {2, 3})
            QCOMPARE(s.column(QString("SELECT group_concat(e.DriverID || '@' || e.StartPosition, "
                                      "' ') FROM tblRace r JOIN tblDriverInRace e ON e.RaceID = "
                                      "r.RaceID WHERE r.QualRound=%1 GROUP BY r.QualHeat ORDER "
                                      "BY r.QualHeat;")
                                  .arg(round)),
                     (QStringList{"15@1 12@2", "14@1 11@2", "13@1"}));
        QCOMPARE(s.column("SELECT DISTINCT TimeToFinish || TimeToFinishString FROM "
                          "tblDriverInRace;"),
                 QStringList{QString::number(NoResultTime) + NoResultText});
    }

    void writeQualRoundsIsWholeOrNothing() {
        Store s({"INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');",
                 "CREATE TRIGGER refuse BEFORE INSERT ON tblDriverInRace WHEN NEW.DriverID=12 "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END;"});
        QVERIFY(!WriteQualRounds(s.db, 1, 1, 2, 4, 5, {11, 12, 13}));
        QCOMPARE(s.reported.size(), 1);
        QCOMPARE(s.column("SELECT COUNT(*) FROM tblRace;"), QStringList{"0"});
        QCOMPARE(s.column("SELECT COUNT(*) FROM tblDriverInRace;"), QStringList{"0"});
    }

    void lowestFreeStartPosition_data() {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("free");
        QTest::newRow("empty") << QList<int>{} << 1;
        QTest::newRow("places 2..10") << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10} << 1;
        QTest::newRow("a gap") << QList<int>{1, 2, 4, 11, 12} << 3;
        QTest::newRow("all ten") << QList<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1} << 0;
    }
    void lowestFreeStartPosition() {
        QFETCH(QList<int>, taken);
        QTEST(LowestFreeStartPosition(taken, 10), "free");
    }

    void tournamentsAndParticipants() {
        Store s({"INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES (1, 'Birch', "
                 "'Bo', 'X1');",
                 "INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES (2, 'Ash', 'Al');",
                 "INSERT INTO tblDriver (DriverID, Lastname, Deleted) VALUES (3, 'Gone', 1);",
                 "INSERT INTO tblDriver (DriverID, Lastname) VALUES (4, 'Cedar');",
                 "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES (5, "
                 "'Cup', 'Oslo', '2024-04-01 10:00:00');",
                 "INSERT INTO tblDriverInTournament VALUES (3, 5, 0);"});
        QVERIFY(AddTournament(s.db));
        QList<TournamentRow> tournaments;
        QVERIFY(ReadTournaments(s.db, tournaments));
        QCOMPARE(tournaments.size(), 2);
        QCOMPARE(tournaments.at(0).name + '/' + tournaments.at(0).location, QString("Cup/Oslo"));
        QCOMPARE(tournaments.at(1).name, QString("New tournament"));
        QVERIFY(SaveTournamentText(s.db, 5, TournamentText::Location, "Bob's field"));
        TournamentRow cup;
        bool found = false;
        QVERIFY(ReadTournament(s.db, 5, cup, found));
        QVERIFY(found);
        QCOMPARE(cup.location, QString("Bob?s field"));
        QCOMPARE(cup.regTime.toString(), QString("2024-04-01 10:00:00"));
        QVERIFY(ReadTournament(s.db, 99, cup, found));
        QVERIFY(!found);

        QVERIFY(RegisterParticipant(s.db, 5, 1));
        QVERIFY(RegisterParticipant(s.db, 5, 4));
        QVERIFY(UnregisterParticipant(s.db, 5, 4));
        QList<DriverRow> drivers;
        // A registered driver deleted from the register stays registered;
        // only drivers still in the register may be added.
        QVERIFY(ReadParticipants(s.db, 5, drivers));
        QCOMPARE(names(drivers), QString("1 Birch, 3 Gone"));
        QCOMPARE(drivers.at(0).car, QString("X1"));
        QVERIFY(ReadPotentialParticipants(s.db, 5, drivers));
        QCOMPARE(names(drivers), QString("2 Ash, 4 Cedar"));
    }

    void qualificationReads() {
        Store s(test::kFinalsMeeting);
        QVERIFY(StoreQualSetting(s.db, 1, QualSetting::CarsInHeat, 6));
        QVERIFY(StoreQualSetting(s.db, 1, QualSetting::Rounds, 4));
        QVERIFY(StoreQualSetting(s.db, 1, QualSetting::RaceTime, 3));
        QualSettings settings;
        bool found = false;
        QVERIFY(ReadQualSettings(s.db, 1, settings, found));
        QVERIFY(found);
        QCOMPARE(
            QString("%1/%2/%3").arg(settings.rounds).arg(settings.carsInHeat).arg(settings.minutes),
            QString("4/6/3"));

        QVERIFY(s.fx.sql({"UPDATE tblRace SET QualRound=CAST(substr(Description, 7, 1) AS "
                          "INTEGER), QualHeat=1 WHERE RaceCode=1;"}));
        QList<RaceRow> heats;
        QVERIFY(ReadQualHeats(s.db, 1, 0, heats));
        QCOMPARE(races(heats), QString("10 11 12 13"));
        QVERIFY(ReadQualHeats(s.db, 1, 2, heats));
        QCOMPARE(races(heats), QString("11"));
        QCOMPARE(heats.at(0).description, QString("Round 2 - Heat 1"));
        QCOMPARE(heats.at(0).status, 2);

        bool started = false;
        QVERIFY(HasStartedQualHeats(s.db, 1, 3, started)); // round 4 is running
        QVERIFY(started);
        QVERIFY(s.fx.sql({"UPDATE tblRace SET Status=0 WHERE RaceID=13;"}));
        QVERIFY(HasStartedQualHeats(s.db, 1, 3, started));
        QVERIFY(!started);
        bool any = false;
        QVERIFY(HasQualHeats(s.db, 3, any));
        QVERIFY(!any);
    }

    void heatDrivers_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("drivers");
        QTest::newRow("by frequency") << int(HeatDriverOrder::Frequency) << "1 Ash, 3 Cedar";
        QTest::newRow("by start position")
            << int(HeatDriverOrder::StartPosition) << "3 Cedar, 1 Ash";
    }
    void heatDrivers() {
        QFETCH(int, order);
        Store s(test::kFinalsMeeting);
        QVERIFY(s.fx.sql({"DELETE FROM tblDriverInRace WHERE RaceID=12;",
                          "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                          "(1, 12, 2);",
                          "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                          "(3, 12, 1);"}));
        QList<DriverRow> rows;
        QVERIFY(ReadHeatDrivers(s.db, 12, HeatDriverOrder(order), rows));
        QTEST(names(rows), "drivers");
        QCOMPARE(rows.at(0).frequency.isEmpty(), false);
    }

    void raceLists() {
        Store s(test::kFinalsMeeting);
        QVERIFY(s.fx.sql({"INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, "
                          "Description) VALUES (50, 0, 3, 1, 'Single B');",
                          "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) "
                          "VALUES (51, 0, 3, 'Single A');",
                          "DELETE FROM tblDriverInRace WHERE RaceID=30;",
                          "INSERT INTO tblDriverInRace (DriverID, RaceID) VALUES (4, 30);",
                          "INSERT INTO tblDriverInRace (DriverID, RaceID) VALUES (2, 30);"}));
        QList<RaceRow> rows;
        QVERIFY(ReadFinalRaces(s.db, 1, false, rows));
        QStringList codes;
        for (const RaceRow& r : rows)
            codes << QString::number(r.raceCode);
        QCOMPARE(codes.join(' '), QString("2 2 10 10 11 11 11")); // by level
        QVERIFY(ReadFinalRaces(s.db, 1, true, rows));
        QCOMPARE(races(rows), QString("23 20 21")); // by description
        QVERIFY(ReadSingleRaces(s.db, rows));
        QCOMPARE(races(rows), QString("51 50"));
        QCOMPARE(rows.last().status, 1);

        int code = -1;
        QVERIFY(ReadRaceCode(s.db, 21, code));
        QCOMPARE(code, 11);
        QVERIFY(ReadRaceCode(s.db, 999, code));
        QCOMPARE(code, 0);

        QList<DriverRow> drivers;
        QVERIFY(ReadDriversInRace(s.db, 30, drivers));
        QCOMPARE(names(drivers), QString("2 Birch, 4 Dogwood"));
        QVERIFY(ReadDriversNotInRace(s.db, 30, drivers));
        QCOMPARE(names(drivers), QString("1 Ash, 3 Cedar, 5 Elm"));
    }

    // The race of the add race dialog: apostrophes as "?", a description cut
    // to its column.
    void insertRace() {
        Store s;
        NewRace race;
        race.tournamentID = 7;
        race.category = 2;
        race.raceCode = 12;
        race.length = 15;
        race.description = "Bob's " + QString(60, 'x');
        race.comment = "it's";
        qint64 key = 0;
        QVERIFY(InsertRace(s.db, race, key));
        QCOMPARE(
            s.column("SELECT RaceID || '|' || TournamentID || '|' || RaceCategoryID || '|' "
                     "|| RaceCode || '|' || Length || '|' || Status || '|' || Description "
                     "|| '|' || Comment FROM tblRace;"),
            QStringList{QString::number(key) + "|7|2|12|15|0|Bob?s " + QString(44, 'x') + "|it?s"});
    }

    void readRaceLength_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("reading");
        QTest::addColumn<int>("length");
        QTest::newRow("one") << "1" << int(LengthReading::Ok) << 1;
        QTest::newRow("the most") << "32767" << int(LengthReading::Ok) << 32767;
        QTest::newRow("half rounds to even") << "1.5" << int(LengthReading::Ok) << 2;
        QTest::newRow("half rounds to zero") << "0.5" << int(LengthReading::TooSmall) << -1;
    }
    void readRaceLength() {
        QFETCH(QString, typed);
        qint16 length = -1;
        QTEST(int(ReadRaceLength(typed, length)), "reading");
        QTEST(int(length), "length");
    }
};

QTEST_MAIN(TestEventStore)
#include "tst_eventstore.moc"
