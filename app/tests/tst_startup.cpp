// Start-up on real database files: the version check, the upgrade, refusals.
#include "MainFixture.h"
#include "ManagerPage.h"
#include "MiscPage.h"
#include "UnwritableDatabase.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <QtTest>

using namespace kv;

namespace {

QByteArray fileHash(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Makes the database look like an older one: without the two entry columns, and
// with a race outside any tournament that is not yet a single race.
void makeOld(test::InstallFixture& fx, const QString& version) {
    QVERIFY(fx.sql(
        {"ALTER TABLE tblDriverInRace DROP COLUMN StartDelay;",
         "ALTER TABLE tblDriverInRace DROP COLUMN TransponderID;",
         "INSERT INTO tblRace (TournamentID, RaceCode, Description) VALUES (0, 2, 'Fun race');",
         "INSERT INTO tblRace (TournamentID, RaceCode, Description) VALUES (4, 1, 'Round 1 - Heat "
         "1');",
         "UPDATE tblSetup SET SetupValue='" + version + "' WHERE SetupKey='Version';"}));
}

const QString kHigher =
    "Database-version is higher then the executable. Please reinstall Kirv Vorel.";
const QString kCorrupt = "Corrupt database. Please reinstall Kirv Vorel.";
const QString kNotUpdated = "The database could not be updated. Please reinstall Kirv Vorel.";

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void currentVersionStartsQuietly() {
        test::MainFixture m;
        m.fx.setSetting("Version", "0.9");
        QVERIFY(m.start());
        frmMain& w = *m.w;
        QVERIFY(!w.unloaded());
        QCOMPARE(m.splashShown, 1);
        QCOMPARE(m.splashVersion, QString("Version 1.3"));
        QVERIFY2(m.messages().isEmpty(), qPrintable(m.platform.boxes->lastText()));
        QCOMPARE(m.fx.setting("Version"), QString("1.3"));
        QVERIFY(w.frameMain[0]->isVisibleTo(&w));
        for (int i = 1; i < 6; ++i)
            QVERIFY(!w.frameMain[size_t(i)]->isVisibleTo(&w));
        QCOMPARE(w.timing().CurrentRaceID, qint16(-1));
        QCOMPARE(w.timing().TimingMode, 0);
    }

    void olderVersionsAreUpgraded_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("createsRes");
        QTest::newRow("1.2") << "1.2" << false;
        QTest::newRow("1.1") << "1.1" << true;
        QTest::newRow("1.0") << "1.0" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("abc") << "abc" << true;
    }
    void olderVersionsAreUpgraded() {
        QFETCH(QString, stored);
        QFETCH(bool, createsRes);
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        makeOld(fx, stored);
        QVERIFY(QDir(fx.appPath() + "res").removeRecursively());
        platform.boxes->answers = {MsgResult::No};
        QVERIFY(m.start());

        QCOMPARE(platform.boxes->messages.size(), 1);
        const RecordedMessage& msg = platform.boxes->messages.first();
        QCOMPARE(msg.text,
                 "Update complete, from " + stored + " to 1.3." + QChar(13) +
                     "Do you want to visit the 'Kirv Vorel' homepage for update information?");
        QCOMPARE(msg.title, QString("Kirv Vorel"));
        QCOMPARE(msg.buttons, MsgButtons::YesNo);
        QVERIFY(platform.desk->urls.isEmpty());

        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup WHERE SetupKey='Version';"),
                 QStringList{"1.3"});
        QCOMPARE(fx.column("SELECT RaceCode FROM tblRace ORDER BY RaceID;"),
                 (QStringList{"3", "1"}));
        const QStringList cols =
            fx.column("SELECT name FROM pragma_table_info('tblDriverInRace');");
        QVERIFY(cols.contains("StartDelay"));
        QVERIFY(cols.contains("TransponderID"));
        QCOMPARE(QDir(fx.appPath() + "res").exists(), createsRes);
        QCOMPARE(fx.setting("Version"), QString("1.3"));
    }

    void existingResFolderGivesNoMessage() {
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        makeOld(fx, "1.0");
        platform.boxes->answers = {MsgResult::No};
        QVERIFY(m.start());
        QCOMPARE(platform.boxes->messages.size(), 1); // the upgrade message only
        QVERIFY(QFile::exists(fx.appPath() + "res/go.wav"));
    }

    void yesOpensTheHomepage() {
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        makeOld(fx, "1.2");
        platform.boxes->answers = {MsgResult::Yes};
        QVERIFY(m.start());
        QCOMPARE(platform.desk->urls, QStringList{frmMain::kHomepageUrl});
    }

    void aTrailingLetterReadsAsCurrent() {
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        QVERIFY(fx.sql({"UPDATE tblSetup SET SetupValue='1.3a' WHERE SetupKey='Version';"}));
        QVERIFY(m.start());
        QVERIFY(platform.boxes->messages.isEmpty());
        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup;"), QStringList{"1.3a"});
    }

    void refusedDatabases_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("message");
        QTest::newRow("1.4") << QStringList{"UPDATE tblSetup SET SetupValue='1.4';"} << kHigher;
        QTest::newRow("2") << QStringList{"UPDATE tblSetup SET SetupValue='2';"} << kHigher;
        QTest::newRow("no version row") << QStringList{"DELETE FROM tblSetup;"} << kCorrupt;
        QTest::newRow("two version rows")
            << QStringList{"INSERT INTO tblSetup VALUES ('Version','1.3');"} << kCorrupt;
    }
    void refusedDatabases() {
        QFETCH(QStringList, statements);
        QFETCH(QString, message);
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        QVERIFY(fx.sql(statements + QStringList{"PRAGMA wal_checkpoint(TRUNCATE);"}));
        const QByteArray before = fileHash(fx.databaseFile());
        QVERIFY(!m.start());
        QVERIFY(m.w->unloaded());
        m.w.reset();
        QCOMPARE(platform.boxes->messages.size(), 1);
        QCOMPARE(platform.boxes->messages.first().text, message);
        QCOMPARE(platform.boxes->messages.first().title, QString("Kirv Vorel"));
        QCOMPARE(platform.boxes->messages.first().buttons, MsgButtons::OK);
        QCOMPARE(platform.boxes->messages.first().icon, MsgIcon::None);
        QCOMPARE(fileHash(fx.databaseFile()), before);
        QCOMPARE(fx.setting("Version"), QString("1.3"));
    }

    // A database file that is missing or is no database tells the user and
    // ends; no file is created.
    void unopenableDatabaseEndsTheProgram_data() {
        QTest::addColumn<bool>("garbage");
        QTest::newRow("missing") << false;
        QTest::newRow("not a database") << true;
    }
    void unopenableDatabaseEndsTheProgram() {
        QFETCH(bool, garbage);
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        QVERIFY(QFile::remove(fx.databaseFile()));
        QFile::remove(fx.databaseFile() + "-wal");
        QFile::remove(fx.databaseFile() + "-shm");
        if (garbage) {
            QFile f(fx.databaseFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        QVERIFY(!m.start());
        QVERIFY(m.w->unloaded());
        QCOMPARE(m.splashShown, 0);
        QCOMPARE(platform.boxes->messages.size(), 1);
        QVERIFY(platform.boxes->lastText().startsWith("The race database could not be opened."));
        QVERIFY(platform.boxes->lastText().contains("Please reinstall Kirv Vorel."));
        QCOMPARE(QFile::exists(fx.databaseFile()), garbage);
    }

    // An upgrade statement that fails (the column is there already) leaves the
    // database as it was and ends the program.
    void failedUpgradeChangesNothing() {
        test::MainFixture m;
        test::InstallFixture& fx = m.fx;
        FakePlatform& platform = m.platform;
        QVERIFY(fx.sql({"INSERT INTO tblRace (TournamentID, RaceCode) VALUES (0, 2);",
                        "UPDATE tblSetup SET SetupValue='1.2';"}));
        QVERIFY(!m.start());
        QVERIFY(m.w->unloaded());
        QCOMPARE(platform.boxes->messages.size(), 2); // what failed, then the end
        QVERIFY(platform.boxes->messages.first().text.contains("ALTER TABLE"));
        QCOMPARE(platform.boxes->messages.last().text,
                 QString("The database could not be updated. Please reinstall Kirv Vorel."));
        QCOMPARE(fx.column("SELECT SetupValue FROM tblSetup;"), QStringList{"1.2"});
        QCOMPARE(fx.column("SELECT RaceCode FROM tblRace;"), QStringList{"2"});
    }

    // A database that cannot be written is told once, plainly, instead of a
    // box for every write of the start-up; the program then starts on it and
    // shows what is stored. After the start-up, writes are tried again. A
    // finished meeting kept on a write-protected stick or a read-only share,
    // in the journal mode the installation gives the file, is looked at so
    // too, and nothing in its folder changes.
    void unwritableDatabaseIsToldOnce_data() {
        QTest::addColumn<QString>("cause");
        QTest::newRow("read-only file") << "file";
        QTest::newRow("read-only install folder") << "folder";
        QTest::newRow("locked by another program") << "lock";
    }
    void unwritableDatabaseIsToldOnce() {
        QFETCH(QString, cause);
        test::MainFixture m;
        // A tournament to show: its texts and heat settings come from the file;
        // a driver for the grid, which reads the file over its own connection.
        QVERIFY(m.fx.sql({"INSERT INTO tblTournament (Name, Location, RegTime, QualNumOfRounds, "
                          "QualNumOfCarsInHeat, QualRaceTime) VALUES ('Cup', 'Hall', "
                          "'2024-05-01 10:00:00', 2, 4, 1);",
                          "INSERT INTO tblDriver (Lastname) VALUES ('Berg');"}));
        m.fx.setSetting("LastTournamentID", "1");
        const QMap<QString, QByteArray> before = test::FolderContent(m.fx.appPath());
        {
            std::optional<test::ReadOnlyFile> readOnly;
            std::optional<test::ReadOnlyFolder> readOnlyFolder;
            std::optional<test::HeldLock> lock;
            if (cause == "lock") {
                lock.emplace(m.fx.databaseFile());
                QVERIFY(lock->held());
            } else if (cause == "folder") {
                readOnlyFolder.emplace(m.fx.databaseFile());
            } else {
                readOnly.emplace(m.fx.databaseFile());
            }
            QVERIFY(m.start());
            m.w->cmdToolbarMain_Click(4);
        }
        QVERIFY(!m.w->unloaded());
        QVERIFY2(m.messages().size() == 1, qPrintable(m.platform.boxes->lastText()));
        const RecordedMessage& msg = m.messages().first();
        QCOMPARE(msg.text, frmMain::DatabaseNotWritableText(m.fx.databaseFile()));
        QCOMPARE(msg.title, QString("Kirv Vorel"));
        QCOMPARE(msg.buttons, MsgButtons::OK);
        QCOMPARE(msg.icon, MsgIcon::Exclamation);
        QCOMPARE(m.state().lblTournamentName->text(), QString("Cup"));
        QCOMPARE(m.w->pageManager->cbManagerNumOfCarsInQualHeat->currentText(), QString("4"));
        QCOMPARE(m.w->pageMisc->tdbgDriver->model()->rowCount(), 1);
        if (cause == "folder")
            QCOMPARE(test::FolderContent(m.fx.appPath()), before);
        if (cause == "lock")
            QVERIFY(m.state().DbConnection.Execute(
                "UPDATE tblTournament SET Location='Club' WHERE TournamentID=1;"));
    }

    // On a read-only install folder a database that start-up refuses keeps its
    // words. Changes that only the write log beside the file holds cannot be
    // read there: the program ends rather than show an older state, and does
    // not advise reinstalling, which could lose the meeting.
    void readOnlyInstallFolderRefusals_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<bool>("leftInWriteLog");
        QTest::addColumn<QString>("message"); // empty: the unread write log's text
        QTest::newRow("changes in the write log")
            << QStringList{"INSERT INTO tblTournament (Name, RegTime) VALUES ('Cup', "
                           "'2024-05-01 10:00:00');"}
            << true << QString();
        QTest::newRow("1.4") << QStringList{"UPDATE tblSetup SET SetupValue='1.4';"} << false
                             << kHigher;
        QTest::newRow("no version row")
            << QStringList{"DELETE FROM tblSetup;"} << false << kCorrupt;
        QTest::newRow("1.2, which cannot be updated there")
            << QStringList{"UPDATE tblSetup SET SetupValue='1.2';"} << false << kNotUpdated;
    }
    void readOnlyInstallFolderRefusals() {
        QFETCH(QStringList, statements);
        QFETCH(bool, leftInWriteLog);
        QFETCH(QString, message);
        test::MainFixture m;
        const QString file = m.fx.databaseFile();
        if (leftInWriteLog)
            QVERIFY(test::LeaveChangesInWriteLog(file, statements));
        else
            QVERIFY(m.fx.sql(statements));
        if (message.isEmpty())
            message = frmMain::DatabaseWriteLogUnreadText(file);
        const QMap<QString, QByteArray> before = test::FolderContent(m.fx.appPath());
        {
            test::ReadOnlyFolder readOnly(file);
            QVERIFY(!m.start());
        }
        QVERIFY(m.w->unloaded());
        m.w.reset();
        QVERIFY(!m.messages().isEmpty());
        QCOMPARE(m.messages().last().text, message);
        QCOMPARE(m.messages().last().buttons, MsgButtons::OK);
        if (leftInWriteLog) {
            QCOMPARE(m.messages().size(), 1);
            QVERIFY(!message.contains("reinstall"));
            QVERIFY(message.contains(QDir::toNativeSeparators(m.fx.appFolder())));
        }
        QCOMPARE(test::FolderContent(m.fx.appPath()), before);
    }

    // The install folder may have any name the installation accepts, and the
    // stored AppPath may lack its final separator.
    void installFolderNamesOpen_data() {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<bool>("trailingSeparator");
        QTest::newRow("semicolon") << "club;races" << true;
        QTest::newRow("no trailing separator") << "races" << false;
        QTest::newRow("quotes, semicolon, no separator") << "the \"north\";'club'" << false;
    }
    void installFolderNamesOpen() {
        QFETCH(QString, folderName);
        QFETCH(bool, trailingSeparator);
        test::MainFixture m;
        const QString folder = QFileInfo(m.fx.appFolder()).absolutePath() + "/" + folderName;
        QString error;
        QVERIFY2(Installer::install(folder, &error), qPrintable(error));
        QVERIFY(QDir().mkpath(folder + "/ports"));
        QFile link(folder + "/ports/COM1");
        QVERIFY(link.open(QIODevice::WriteOnly));
        link.close();
        if (!trailingSeparator)
            m.fx.setSetting("AppPath", folder);

        QVERIFY(m.start());
        QVERIFY2(m.messages().isEmpty(), qPrintable(m.platform.boxes->lastText()));
        QCOMPARE(m.state().DbConnection.filePath(), folder + "/zadiva.dat");
        QCOMPARE(m.port->openAttempts().value(0), folder + "/ports/COM1");
        // The driver grid reads the same file over its own connection.
        QVERIFY(
            m.state().DbConnection.Execute("INSERT INTO tblDriver (Lastname) VALUES ('Berg');"));
        m.w->cmdToolbarMain_Click(4);
        QCOMPARE(m.w->pageMisc->tdbgDriver->model()->rowCount(), 1);
    }

    // The program's end leaves the race database whole in its one file: a copy
    // of zadiva.dat alone (to a stick, say) holds every change, whether or not
    // the driver grid was read.
    void endLeavesEveryChangeInTheFile_data() {
        QTest::addColumn<bool>("gridRead");
        QTest::newRow("driver grid not read") << false;
        QTest::newRow("driver grid read") << true;
    }
    void endLeavesEveryChangeInTheFile() {
        QFETCH(bool, gridRead);
        test::MainFixture m;
        QVERIFY(m.start());
        if (gridRead)
            m.w->cmdToolbarMain_Click(4);
        QVERIFY(m.fx.sql({"INSERT INTO tblDriver (Lastname) VALUES ('Vorel');"}));
        const QString log = m.fx.databaseFile() + "-wal";
        QVERIFY(QFileInfo(log).size() > 0);
        m.w.reset();
        QVERIFY2(!QFile::exists(log), qPrintable(QString::number(QFileInfo(log).size())));
    }

    void lastTournamentIsRestored_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("current");
        QTest::newRow("7") << "7" << 7;
        QTest::newRow("half to even") << "6.5" << 6;
        QTest::newRow("blank") << " " << 0;
        QTest::newRow("beyond 16 bits") << "40000" << 40000;
        QTest::newRow("beyond 32 bits") << "3000000000" << 0;
    }
    void lastTournamentIsRestored() {
        QFETCH(QString, setting);
        test::MainFixture m;
        m.fx.setSetting("LastTournamentID", setting);
        QVERIFY(m.start());
        QTEST(int(m.state().CurrentTournamentID), "current");
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
