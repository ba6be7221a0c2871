// The race database as the installation makes it, and the access layer over it.
#include "Database.h"
#include "FakePlatform.h"
#include "Helpers.h"
#include "InstallFixture.h"
#include "UnwritableDatabase.h"

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
        // Row by row: the values in the statement's column order.
        QList<QVariantList> rows;
        QVERIFY(db.SelectRows("SELECT Lastname, Firstname FROM tblDriver ORDER BY DriverID;",
                              [&rows](const QVariantList& r) { rows << r; }));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].size(), 2);
        QCOMPARE(rows[1][0].toString(), QString("B"));
        QVERIFY(rows[0][1].isNull());
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
        QVERIFY(!db.SelectRows("SELECT x FROM tblNothing;", [](const QVariantList&) {}));
        QCOMPARE(rep.sql.last(), QString("SELECT x FROM tblNothing;"));
        QVERIFY(rep.what.last().contains("Reading"));
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

    // A transaction runs on the file open now: opened on another file, or
    // closed, the connection keeps nothing of the one before.
    void transactionFollowsTheOpenFile() {
        test::InstallFixture first;
        test::InstallFixture second;
        Database db;
        Reported rep;
        open(db, first, &rep);
        const auto write = [&db](const QString& name) {
            Transaction t(db);
            return t.active() &&
                   db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('" + name + "');") &&
                   t.commit();
        };
        QVERIFY(write("one"));
        open(db, second);
        QVERIFY(write("two"));
        QCOMPARE(first.column("SELECT Lastname FROM tblDriver;"), QStringList{"one"});
        QCOMPARE(second.column("SELECT Lastname FROM tblDriver;"), QStringList{"two"});
        db.Close();
        db.setErrorReporter([&rep](const QString& w, const QString& s, const QString&) {
            rep.what << w;
            rep.sql << s;
        });
        QVERIFY(!write("three"));
        QCOMPARE(rep.sql, QStringList{"BEGIN"});
        open(db, first);
        QVERIFY(write("four"));
        QCOMPARE(first.column("SELECT Lastname FROM tblDriver ORDER BY DriverID;"),
                 (QStringList{"one", "four"}));
    }

    // The main window reports a refused statement in a message box, whose event
    // loop goes on running timers and lap counter events. What they write while
    // the box is shown is no part of the failed transaction and stays.
    void refusedStatementEndsTheTransactionBeforeTheReport_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("write") << "write";
        QTest::newRow("read") << "read";
        QTest::newRow("insert") << "insert";
    }
    void refusedStatementEndsTheTransactionBeforeTheReport() {
        QFETCH(QString, kind);
        test::InstallFixture fx;
        FakePlatform platform;
        Database db;
        open(db, fx);
        db.setErrorReporter([](const QString& what, const QString& sql, const QString& error) {
            MsgBox(what + "\n\n" + sql + "\n\n" + error, MsgButtons::OK, MsgIcon::Critical);
        });
        bool writtenWhileShown = false;
        platform.boxes->whileShown = [&](const RecordedMessage&) {
            writtenWhileShown = db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('timer');");
        };
        {
            Transaction trans(db);
            QVERIFY(trans.active());
            QVERIFY(db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('in the transaction');"));
            Recordset rs;
            qint64 key = 0;
            const bool ok = kind == "write" ? db.Execute("UPDATE tblNothing SET x=1;")
                            : kind == "read"
                                ? db.Select("SELECT * FROM tblNothing;", rs)
                                : db.Insert("INSERT INTO tblNothing (x) VALUES (1);", key);
            QVERIFY(!ok);
        } // the caller stops: no commit
        QVERIFY(writtenWhileShown);
        QCOMPARE(fx.column("SELECT Lastname FROM tblDriver;"), QStringList{"timer"});
        QCOMPARE(platform.boxes->messages.size(), 1);
        // The connection takes a new transaction.
        Transaction next(db);
        QVERIFY(next.active());
        QVERIFY(db.Execute("DELETE FROM tblDriver;"));
        QVERIFY(next.commit());
        QVERIFY(fx.column("SELECT Lastname FROM tblDriver;").isEmpty());
    }

    // A transaction begun while one is open fails; the open one goes on whole.
    void beginInsideATransactionLeavesItOpen() {
        test::InstallFixture fx;
        Database db;
        Reported rep;
        open(db, fx, &rep);
        {
            Transaction outer(db);
            QVERIFY(db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('first');"));
            {
                Transaction inner(db);
                QVERIFY(!inner.active());
            }
            QVERIFY(db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('second');"));
            QVERIFY(outer.commit());
        }
        QCOMPARE(rep.sql, QStringList{"BEGIN"});
        QCOMPARE(fx.column("SELECT Lastname FROM tblDriver ORDER BY DriverID;"),
                 (QStringList{"first", "second"}));
    }

    // The key of a new row comes from the insert and is the highest key of its
    // table, also past 32 bits.
    void insertGivesTheNewKey_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<qint64>("lastGiven");
        const QString race = "INSERT INTO tblRace (Description) VALUES ('Round 1 - Heat 1');";
        QTest::newRow("race") << "tblRace"
                              << "RaceID" << race << qint64(0);
        QTest::newRow("driver") << "tblDriver"
                                << "DriverID"
                                << "INSERT INTO tblDriver (Lastname) VALUES ('New driver');"
                                << qint64(0);
        QTest::newRow("after a deleted highest key") << "tblRace"
                                                     << "RaceID" << race << qint64(40);
        QTest::newRow("past 32 bits") << "tblRace"
                                      << "RaceID" << race << qint64(5000000000);
    }
    void insertGivesTheNewKey() {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, insert);
        QFETCH(qint64, lastGiven);
        test::InstallFixture fx;
        QVERIFY(fx.sql({insert, insert}));
        if (lastGiven > 0)
            QVERIFY(fx.sql({"UPDATE sqlite_sequence SET seq=" + QString::number(lastGiven - 1) +
                                " WHERE name='" + table + "';",
                            insert,
                            "DELETE FROM " + table + " WHERE " + key + "=" +
                                QString::number(lastGiven) + ";"}));
        Database db;
        Reported rep;
        open(db, fx, &rep);
        for (int i = 0; i < 2; ++i) {
            qint64 newKey = -1;
            QVERIFY(db.Insert(insert, newKey));
            QCOMPARE(QString::number(newKey),
                     fx.column("SELECT " + key + " FROM " + table + " ORDER BY " + key + " DESC;")
                         .first());
            if (lastGiven > 0)
                QCOMPARE(newKey, lastGiven + 1 + i);
        }
        QVERIFY(rep.what.isEmpty());
    }

    // An insert that adds no row has no new key, whatever an earlier insert left.
    void insertOfNoRowFails() {
        test::InstallFixture fx;
        Database db;
        Reported rep;
        open(db, fx, &rep);
        qint64 key = -1;
        QVERIFY(db.Insert("INSERT INTO tblRace (Description) VALUES ('a');", key));
        key = -1;
        QVERIFY(!db.Insert("INSERT INTO tblRace (Description) SELECT Description FROM tblRace "
                           "WHERE RaceID=99;",
                           key));
        QCOMPARE(key, qint64(-1));
        QCOMPARE(rep.what, QStringList{"Writing to the database failed."});
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

    // A WAL database in a folder that cannot be written (a finished meeting on
    // a write-protected stick) is read as the file stands, and nothing in the
    // folder changes. Changes left in a write log beside the file would be
    // missed that way: then the file is not opened.
    void readOnlyFolder_data() {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("writeLog");
        QTest::newRow("no write log") << "meeting"
                                      << "none";
        QTest::newRow("empty write log") << "meeting"
                                         << "empty";
        QTest::newRow("folder name with URI characters") << "a#b?c%20d;e"
                                                         << "none";
        QTest::newRow("write log with changes") << "meeting"
                                                << "changes";
    }
    void readOnlyFolder() {
        QFETCH(QString, folderName);
        QFETCH(QString, writeLog);
        test::InstallFixture fx(false);
        const QString folder = QFileInfo(fx.appFolder()).absolutePath() + "/" + folderName;
        QString error;
        QVERIFY2(Installer::install(folder, &error), qPrintable(error));
        const QString file = folder + "/zadiva.dat";
        const QStringList tournament{
            "INSERT INTO tblTournament (Name, RegTime) VALUES ('Cup', '2024-05-01 10:00:00');"};
        if (writeLog == "changes") {
            QVERIFY(test::LeaveChangesInWriteLog(file, tournament));
        } else if (writeLog == "empty") {
            QFile log(file + "-wal");
            QVERIFY(log.open(QIODevice::WriteOnly));
        }
        const QMap<QString, QByteArray> before = test::FolderContent(folder);
        Database db;
        QStringList reported;
        db.setErrorReporter(
            [&reported](const QString&, const QString& sql, const QString&) { reported << sql; });
        {
            test::ReadOnlyFolder readOnly(file);
            const bool opened =
                db.Open("Provider=SQLite;Data Source=" + Database::connectionStringValue(file) +
                        ";User Id=;Password=;");
            if (writeLog == "changes") {
                QVERIFY(!opened);
                QVERIFY(!db.isOpen());
                QCOMPARE(db.openOutcome(), OpenOutcome::WriteLogUnread);
                QVERIFY(!db.errorText().isEmpty());
            } else {
                QVERIFY2(opened, qPrintable(db.errorText()));
                QCOMPARE(db.openOutcome(), OpenOutcome::OpenedAsItStands);
                Recordset rs;
                QVERIFY(db.Select("SELECT SetupValue FROM tblSetup WHERE SetupKey='Version';", rs));
                QCOMPARE(rs.value(0, "SetupValue").toString(), QString("1.3"));
                QVERIFY(!db.tryExecute("INSERT INTO tblDriver (Lastname) VALUES ('Berg');"));
                db.tryExecute("PRAGMA journal_mode=WAL;"); // as start-up asks; it stays as it is
            }
            db.Close();
        }
        QVERIFY2(reported.isEmpty(), qPrintable(reported.join(", ")));
        QCOMPARE(test::FolderContent(folder), before);
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
