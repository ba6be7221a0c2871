// What start-up asks of the race database, on real database files: the schema
// version, the upgrade of an older schema, and whether the file takes writes.
#include "Database.h"
#include "DatabaseSetup.h"
#include "InstallFixture.h"
#include "UnwritableDatabase.h"

#include <QtTest>

using namespace kv;

class TestDatabaseSetup : public QObject {
    Q_OBJECT

    // Opens the fixture's database; every failure report is collected.
    static void open(Database& db, const test::InstallFixture& fx, QStringList* reported) {
        QVERIFY2(db.Open("Provider=SQLite;Data Source=" + fx.databaseFile() + ";"),
                 qPrintable(db.errorText()));
        db.setErrorReporter(
            [reported](const QString&, const QString& sql, const QString&) { *reported << sql; });
    }

private slots:
    void schemaVersion_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("version"); // "<none>": not readable
        QTest::addColumn<bool>("reported");
        QTest::newRow("as installed") << QStringList{} << "1.3" << false;
        QTest::newRow("text kept as stored")
            << QStringList{"UPDATE tblSetup SET SetupValue='1.3a';"} << "1.3a" << false;
        QTest::newRow("no row") << QStringList{"DELETE FROM tblSetup;"} << "<none>" << false;
        QTest::newRow("two rows") << QStringList{"INSERT INTO tblSetup VALUES ('Version','1.3');"}
                                  << "<none>" << false;
        QTest::newRow("no table") << QStringList{"DROP TABLE tblSetup;"} << "<none>" << true;
    }
    void schemaVersion() {
        QFETCH(QStringList, statements);
        test::InstallFixture fx;
        QVERIFY(fx.sql(statements));
        Database db;
        QStringList reported;
        open(db, fx, &reported);
        QTEST(ReadSchemaVersion(db).value_or("<none>"), "version");
        QTEST(!reported.isEmpty(), "reported");
    }

    // An older schema gains the entries' columns, its races outside a
    // tournament become single races, and the version row is this program's.
    void upgradeFromOlderSchema() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"ALTER TABLE tblDriverInRace DROP COLUMN StartDelay;",
                        "ALTER TABLE tblDriverInRace DROP COLUMN TransponderID;",
                        "INSERT INTO tblRace (TournamentID, RaceCode) VALUES (0, 2);",
                        "INSERT INTO tblRace (TournamentID, RaceCode) VALUES (4, 1);",
                        "UPDATE tblSetup SET SetupValue='1.2';"}));
        Database db;
        QStringList reported;
        open(db, fx, &reported);
        QVERIFY(UpgradeSchema(db, 1.2));
        QVERIFY(reported.isEmpty());
        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup;"), QStringList{"1.3"});
        QCOMPARE(fx.column("SELECT RaceCode FROM tblRace ORDER BY RaceID;"),
                 (QStringList{"3", "1"}));
        const QStringList columns =
            fx.column("SELECT name FROM pragma_table_info('tblDriverInRace');");
        QVERIFY(columns.contains("StartDelay") && columns.contains("TransponderID"));
    }

    // A refused statement leaves the schema as it was: the column exists already.
    void refusedUpgradeChangesNothing() {
        test::InstallFixture fx;
        QVERIFY(fx.sql({"INSERT INTO tblRace (TournamentID, RaceCode) VALUES (0, 2);",
                        "UPDATE tblSetup SET SetupValue='1.2';"}));
        Database db;
        QStringList reported;
        open(db, fx, &reported);
        QVERIFY(!UpgradeSchema(db, 1.2));
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().startsWith("ALTER TABLE"));
        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup;"), QStringList{"1.2"});
        QCOMPARE(fx.column("SELECT RaceCode FROM tblRace;"), QStringList{"2"});
    }

    // A file the program may read but not write is found out at once, without
    // a report; what is stored stays as it is and can be read.
    void writesAreTested_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("writable") << false;
        QTest::newRow("read-only file") << true;
    }
    void writesAreTested() {
        QFETCH(bool, readOnly);
        test::InstallFixture fx;
        std::optional<test::ReadOnlyFile> protect;
        if (readOnly)
            protect.emplace(fx.databaseFile());
        Database db;
        QStringList reported;
        open(db, fx, &reported);
        QString error;
        QCOMPARE(DatabaseTakesWrites(db, &error), !readOnly);
        QCOMPARE(error.isEmpty(), !readOnly);
        QVERIFY(reported.isEmpty());
        QCOMPARE(ReadSchemaVersion(db), std::optional<QString>("1.3"));
    }

    // While start-up skips writes they fail at once and unreported; reads go
    // on, and afterwards writes are made again.
    void skippedWrites() {
        test::InstallFixture fx;
        Database db;
        QStringList reported;
        open(db, fx, &reported);
        {
            SkippedWrites skipped(db);
            QVERIFY(!db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('Berg');"));
            QCOMPARE(ReadSchemaVersion(db), std::optional<QString>("1.3"));
        }
        QVERIFY(reported.isEmpty());
        QVERIFY(db.Execute("INSERT INTO tblDriver (Lastname) VALUES ('Dahl');"));
        QCOMPARE(fx.column("SELECT Lastname FROM tblDriver;"), QStringList{"Dahl"});
    }
};

QTEST_MAIN(TestDatabaseSetup)
#include "tst_databasesetup.moc"
