// The race database as the installation makes it, and the access layer over it.
#include "Database.h"
#include "Helpers.h"
#include "InstallFixture.h"

#include <QtTest>

using namespace kv;

class TestDatabase : public QObject {
    Q_OBJECT

    struct Reported {
        QStringList what, sql;
    };
    static void open(Database& db, const test::InstallFixture& fx, Reported* rep = nullptr) {
        QVERIFY2(
            db.Open("Provider=SQLite;Data Source=" + fx.databaseFile() + ";User Id=;Password=;"),
            qPrintable(db.errorText()));
        if (rep)
            db.setErrorReporter([rep](const QString& w, const QString& s, const QString&) {
                rep->what << w;
                rep->sql << s;
            });
    }

private slots:
    void schemaHasEveryColumn_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("tblDriver")
            << "tblDriver"
            << QStringList{"DriverID", "Lastname",  "Firstname",     "Team",           "Car",
                           "Email",    "Frequency", "TransponderID", "OwnTransponder", "Deleted"};
        QTest::newRow("tblTournament")
            << "tblTournament" << QStringList{"TournamentID",    "Name",
                                              "Location",        "RegTime",
                                              "QualNumOfRounds", "QualNumOfCarsInHeat",
                                              "QualRaceTime"};
        QTest::newRow("tblRace") << "tblRace"
                                 << QStringList{"RaceID",   "TournamentID", "RaceCategoryID",
                                                "RaceCode", "QualRound",    "QualHeat",
                                                "Length",   "Status",       "Description",
                                                "Comment",  "TimeOfRace"};
        QTest::newRow("tblDriverInRace")
            << "tblDriverInRace"
            << QStringList{"DriverInRaceID",     "DriverID",      "RaceID",
                           "StartPosition",      "NumOfLaps",     "TimeToFinish",
                           "TimeToFinishString", "TransponderID", "StartDelay"};
        QTest::newRow("tblLapInRace")
            << "tblLapInRace" << QStringList{"DriverInRaceID", "RaceID",        "LapTime",
                                             "TotalTime",      "LapTimeString", "TotalTimeString"};
        QTest::newRow("tblRaceCategoryDescription")
            << "tblRaceCategoryDescription"
            << QStringList{"RaceCategoryID", "RaceCategoryDescription", "RaceCategoryLengthName"};
        QTest::newRow("tblRaceStatusDescription")
            << "tblRaceStatusDescription" << QStringList{"RaceStatus", "RaceStatusDescription"};
        QTest::newRow("tblSetup") << "tblSetup" << QStringList{"SetupKey", "SetupValue"};
    }
    void schemaHasEveryColumn() {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        test::InstallFixture fx;
        const QStringList have = fx.column("SELECT name FROM pragma_table_info('" + table + "');");
        for (const QString& c : columns)
            QVERIFY2(have.contains(c), qPrintable(table + "." + c));
    }

    void installedContent() {
        test::InstallFixture fx;
        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup WHERE SetupKey='Version';"),
                 QStringList{"1.3"});
        QCOMPARE(fx.column("SELECT RaceCategoryID FROM tblRaceCategoryDescription ORDER BY 1;"),
                 (QStringList{"1", "2"}));
        QCOMPARE(fx.column("SELECT RaceStatus FROM tblRaceStatusDescription ORDER BY 1;"),
                 (QStringList{"0", "1", "2"}));
        QCOMPARE(fx.column("PRAGMA journal_mode;"), QStringList{"wal"});
        for (const QString& s : Installer::soundNames())
            QVERIFY2(QFileInfo(fx.appPath() + "res/" + s).size() > 1000, qPrintable(s));
    }

    // Rows inserted with only some columns read as the rest of the program expects.
    void defaultsOfPartialInserts() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblDriver (Lastname) VALUES ('New driver');",
                        "INSERT INTO tblTournament (Name, RegTime) VALUES ('New "
                        "tournament','2026-12-09 10:00:00');",
                        "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, QualRound, "
                        "QualHeat, Length, Description) VALUES (1,1,1,1,1,5,'Round 1 - Heat 1');",
                        "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
                        "TimeToFinish, TimeToFinishString) VALUES (1,1,1,100000000,'...');"}));
        QCOMPARE(fx.column("SELECT Deleted || '|' || Frequency || '|' || TransponderID || '|' || "
                           "OwnTransponder FROM tblDriver;"),
                 QStringList{"0|0.0|0|0"});
        QCOMPARE(fx.column("SELECT typeof(QualNumOfRounds) || typeof(QualNumOfCarsInHeat) || "
                           "typeof(QualRaceTime) FROM tblTournament;"),
                 QStringList{"integerintegerinteger"});
        QCOMPARE(fx.column("SELECT Status FROM tblRace;"), QStringList{"0"});
        QCOMPARE(fx.column("SELECT NumOfLaps FROM tblDriverInRace;"), QStringList{"0"});
        QCOMPARE(fx.column("SELECT Firstname FROM tblDriver;"), QStringList{"NULL"});
    }

    // Lists ordered by name put "de Vries" between "Berg" and "Zwart".
    void namesSortWithoutRegardToCase() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblDriver (Lastname) VALUES ('Zwart');",
                        "INSERT INTO tblDriver (Lastname) VALUES ('de Vries');",
                        "INSERT INTO tblDriver (Lastname) VALUES ('Berg');"}));
        QCOMPARE(fx.column("SELECT Lastname FROM tblDriver ORDER BY Lastname;"),
                 (QStringList{"Berg", "de Vries", "Zwart"}));
    }

    // Keys only increase: a deleted highest key is not given out again.
    void keysAreNeverReused() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblRace (Description) VALUES ('a');",
                        "INSERT INTO tblRace (Description) VALUES ('b');",
                        "DELETE FROM tblRace WHERE RaceID=2;",
                        "INSERT INTO tblRace (Description) VALUES ('c');"}));
        QCOMPARE(fx.column("SELECT RaceID FROM tblRace ORDER BY RaceID DESC;").first(),
                 QString("3"));
    }

    void selectFetchesWholeResult() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblDriver (Lastname) VALUES ('A');",
                        "INSERT INTO tblDriver (Lastname) VALUES ('B');"}));
        Database db;
        open(db, fx);
        Recordset rs;
        QVERIFY(db.Select("SELECT * FROM tblDriver ORDER BY DriverID;", rs));
        QCOMPARE(rs.RecordCount(), 2);
        QCOMPARE(rs.value(1, "Lastname").toString(), QString("B"));
        QVERIFY(rs.value(0, "Firstname").isNull());
    }

    void refusedStatementsAreReported() {
        test::InstallFixture fx;
        Database db;
        Reported rep;
        open(db, fx, &rep);
        Recordset rs;
        QVERIFY(!db.Select("SELECT * FROM tblNothing;", rs));
        QVERIFY(!db.Execute("UPDATE tblNothing SET x=1;"));
        QCOMPARE(rep.sql, (QStringList{"SELECT * FROM tblNothing;", "UPDATE tblNothing SET x=1;"}));
        QVERIFY(rep.what.at(0).contains("Reading"));
        QVERIFY(rep.what.at(1).contains("Writing"));
        // The connection goes on working.
        QVERIFY(db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('x');"));
    }

    void transactionIsWholeOrNothing() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblDriver (Lastname) VALUES ('keep');"}));
        Database db;
        Reported rep;
        open(db, fx, &rep);
        {
            Transaction t(db);
            QVERIFY(db.Execute("DELETE FROM tblDriver;"));
            QVERIFY(!db.Execute("DELETE FROM tblNothing;"));
            // no commit: rolled back
        }
        QCOMPARE(fx.column("SELECT Lastname FROM tblDriver;"), QStringList{"keep"});
        {
            Transaction t(db);
            QVERIFY(db.Execute("DELETE FROM tblDriver;"));
            QVERIFY(t.commit());
        }
        QVERIFY(fx.column("SELECT Lastname FROM tblDriver;").isEmpty());
    }

    void openNeverCreatesAFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a database")
            << QByteArray("this is not a database file at all, just text") << true;
    }
    void openNeverCreatesAFile() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString file = dir.filePath("zadiva.dat");
        if (exists) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Database db;
        QVERIFY(!db.Open("Provider=SQLite;Data Source=" + file + ";User Id=;Password=;"));
        QVERIFY(!db.errorText().isEmpty());
        QCOMPARE(QFile::exists(file), exists);
        QVERIFY(!db.isOpen());
    }

    void dataSourceOfConnectionString_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("blank inside") << "/opt/k v/zadiva.dat";
        QTest::newRow("semicolon") << "/srv/club;races/zadiva.dat";
        QTest::newRow("quotes and semicolon") << "/srv/\"north\";'south'/zadiva.dat";
        QTest::newRow("leading quote") << "'x/zadiva.dat";
        QTest::newRow("blank at the start") << " /srv/zadiva.dat";
    }
    void dataSourceOfConnectionString() {
        QFETCH(QString, file);
        const QString value = Database::connectionStringValue(file);
        QCOMPARE(
            Database::dataSourceOf("Provider=SQLite;Data Source=" + value + ";User Id=;Password=;"),
            file);
        // A value without anything to protect goes in as it is.
        if (!file.contains(';') && !file.contains('\'') && !file.contains('"') &&
            file.trimmed() == file)
            QCOMPARE(value, file);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
