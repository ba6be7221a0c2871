// Typed frequencies, numbers in statements and the tournament cascade, on a
// real database file.
#include "Database.h"
#include "EventData.h"
#include "Helpers.h"
#include "InstallFixture.h"

#include <QLocale>
#include <QtTest>

using namespace kv;

namespace {

// Two tournaments and the races of no tournament, each with registrations,
// races, entries and laps.
const QStringList kTwoTournaments = {
    "INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES (1,'Spring Cup','2024-04-01 "
    "10:00:00');",
    "INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES (2,'Summer Cup','2024-06-01 "
    "10:00:00');",
    "INSERT INTO tblDriverInTournament VALUES (1, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (1, 2, 0);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (10, 1, 1, 'Round 1 "
    "- Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (20, 2, 1, 'Round 1 "
    "- Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (21, 2, 10, "
    "'Final');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (30, 0, 3, 'Fun "
    "race');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (31, 0, 4, "
    "'Practice');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (100, 1, "
    "10, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (200, 1, "
    "20, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (210, 1, "
    "21, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (300, 1, "
    "30, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (310, 0, "
    "31, 1);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (100, 10, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (200, 20, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (210, 21, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (300, 30, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (310, 31, 9000);",
};

// Every row of the five tables, named by kind and key, sorted.
QStringList rows(const test::InstallFixture& fx) {
    QStringList all = fx.column(
        "SELECT 'T' || TournamentID FROM tblTournament "
        "UNION ALL SELECT 'D' || DriverID || '/' || TournamentID FROM tblDriverInTournament "
        "UNION ALL SELECT 'R' || RaceID FROM tblRace "
        "UNION ALL SELECT 'E' || DriverInRaceID FROM tblDriverInRace "
        "UNION ALL SELECT 'L' || RaceID FROM tblLapInRace;");
    all.sort();
    return all;
}

} // namespace

class TestEventData : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parseFrequency_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("value"); // as statement text, exact
        QTest::addColumn<QString>("textAfter");
        QTest::newRow("digits only") << "27145"
                                     << "27.145"
                                     << "27,145";
        QTest::newRow("comma") << "27,145"
                               << "27.145"
                               << "27,145";
        QTest::newRow("point") << "27.145"
                               << "27.145"
                               << "27.145";
        QTest::newRow("three digits") << "433"
                                      << "43.3"
                                      << "43,3";
        QTest::newRow("two digits") << "40"
                                    << "40"
                                    << "40";
        QTest::newRow("empty") << ""
                               << "0"
                               << "";
        QTest::newRow("letters") << "abc"
                                 << "0"
                                 << "ab,c";
        // Three or more integer digits before a separator: moved to two.
        QTest::newRow("point typed late") << "271.45"
                                          << "27.145"
                                          << "271.45";
        QTest::newRow("comma typed late") << "2714,5"
                                          << "27.145"
                                          << "2714,5";
        QTest::newRow("trailing point") << "27145."
                                        << "27.145"
                                        << "27145.";
        QTest::newRow("leading zeros") << "00271.45"
                                       << "27.145"
                                       << "00271.45";
        QTest::newRow("five integer digits") << "40665.5"
                                             << "40.6655"
                                             << "40665.5";
        QTest::newRow("exponent") << "2.7145e4"
                                  << "27.145"
                                  << "2.7145e4";
        QTest::newRow("just below 100") << "99.5"
                                        << "99.5"
                                        << "99.5";
    }
    void parseFrequency() {
        QFETCH(QString, typed);
        QString text = typed;
        const double value = ParseFrequency(text);
        QTEST(DoubleToSqlString(value), "value");
        QTEST(text, "textAfter");
    }

    // Statements always carry a point; the user sees the regional decimal comma
    // and no grouping. Digits stay ASCII whatever the locale writes, since the
    // program reads only those back.
    void numbersInTheRegionalFormat_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "1234.5";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "1234,5";
        QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt) << "1234.5";
        QTest::newRow("Persian") << QLocale(QLocale::Persian, QLocale::Iran) << "1234.5";
    }
    void numbersInTheRegionalFormat() {
        QFETCH(QLocale, locale);
        const QLocale saved;
        QLocale::setDefault(locale);
        QCOMPARE(DoubleToSqlString(1234.5), QString("1234.5"));
        QCOMPARE(DoubleToSqlString(27.145), QString("27.145"));
        QTEST(RegionalNumberText(1234.5), "shown");
        QString typed = RegionalNumberText(27.145);
        QCOMPARE(DoubleToSqlString(ParseFrequency(typed)), QString("27.145"));
        QCOMPARE(NumberText(-1234.5), QString("-1234.5"));
        QLocale::setDefault(saved);
    }

    void cascadeRemovesOneTournamentOnly() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kTwoTournaments));
        Database db;
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        QVERIFY(DeleteTournamentCascade(db, 2));
        QCOMPARE(rows(fx), (QStringList{"D1/1", "E100", "E300", "E310", "L10", "L30", "L31", "R10",
                                        "R30", "R31", "T1"}));
    }

    // A statement refused part-way leaves every row in place.
    void cascadeIsWholeOrNothing() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kTwoTournaments));
        QVERIFY(fx.sql({"CREATE TRIGGER keepTournament BEFORE DELETE ON tblTournament "
                        "BEGIN SELECT RAISE(ABORT, 'kept'); END;"}));
        const QStringList before = rows(fx);
        Database db;
        QStringList reported;
        db.setErrorReporter(
            [&](const QString&, const QString& sql, const QString&) { reported << sql; });
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        QVERIFY(!DeleteTournamentCascade(db, 2));
        QCOMPARE(reported, QStringList{"DELETE FROM tblTournament WHERE TournamentID=2;"});
        QCOMPARE(rows(fx), before);
        // The connection is usable afterwards: no transaction is left open.
        QVERIFY(db.Execute("UPDATE tblTournament SET Name='Spring' WHERE TournamentID=1;"));
        QCOMPARE(fx.column("SELECT Name FROM tblTournament WHERE TournamentID=1;"),
                 QStringList{"Spring"});
    }
};

QTEST_MAIN(TestEventData)
#include "tst_eventdata.moc"
