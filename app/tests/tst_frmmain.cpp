// The main window frame: toolbar, page switching, the driver grid, the splash.
#include "DatabaseFaults.h"
#include "MainFixture.h"
#include "ManagerPage.h"
#include "MiscPage.h"
#include "PracticePage.h"
#include "RacePage.h"
#include "TournamentPage.h"
#include "Ui.h"
#include "UnwritableDatabase.h"
#include "frmLiveUpdate.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace kv;

namespace {

// A file server that has a newer version and hands out its files at once.
class ReadyFtpSession final : public FtpSession {
public:
    bool open(const QString&) override { return true; }
    bool setStatusCallback() override { return true; }
    bool connect(const QString&, const QString&) override { return true; }
    bool findFile(const QString&) override { return true; }
    bool getFile(const QString& remoteFile, const QString& localFile, bool) override {
        QFile f(localFile);
        return f.open(QIODevice::WriteOnly) &&
               f.write(remoteFile == QLatin1String("version.dat") ? "9.9\r\n" : "installer") > 0;
    }
    void close() override {}
    int lastError() const override { return 0; }
};

// Two tournaments with their heat settings, qualification heats with and
// without a comment, a finished final and a single race, each with drivers;
// every write to the race and tournament tables is logged.
const QStringList kMeetingWithWriteLog = {
    "INSERT INTO tblTournament (Name, Location, RegTime, QualNumOfRounds, QualNumOfCarsInHeat, "
    "QualRaceTime) VALUES ('Cup', 'Hall', '2024-05-01 10:00:00', 3, 5, 4);",
    "INSERT INTO tblTournament (Name, Location, RegTime, QualNumOfRounds, QualNumOfCarsInHeat, "
    "QualRaceTime) VALUES ('Open', NULL, '2024-06-01 10:00:00', 2, 6, 7);",
    "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES ('Berg', "
    "'Anna', 27.145, 11);",
    "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES ('Dahl', "
    "'Erik', 40.665, 12);",
    "INSERT INTO tblDriverInTournament VALUES (1, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (2, 1, 0);",
    "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, QualRound, QualHeat, Length, "
    "Description, Comment) VALUES (1, 1, 1, 1, 1, 4, 'Round 1 - Heat 1', 'Wet track');",
    "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, QualRound, QualHeat, Length, "
    "Description, Comment) VALUES (1, 1, 1, 2, 1, 4, 'Round 2 - Heat 1', NULL);",
    "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, Status, Description, "
    "TimeOfRace) VALUES (1, 1, 10, 5, 2, 'A-Final', '2024-05-01 12:00:00');",
    "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, Description, "
    "Comment) VALUES (0, 2, 3, 10, 'Fun race', '');",
    "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, TransponderID) VALUES "
    "(1, 1, 1, 11), (2, 1, 2, 12), (1, 2, 1, 11), (2, 3, 1, 12), (1, 4, 1, 11);",
    "CREATE TABLE writeLog (what TEXT);",
    "CREATE TRIGGER raceWritten AFTER UPDATE ON tblRace BEGIN INSERT INTO writeLog VALUES "
    "('race ' || NEW.RaceID); END;",
    "CREATE TRIGGER tournamentWritten AFTER UPDATE ON tblTournament BEGIN INSERT INTO writeLog "
    "VALUES ('tournament ' || NEW.TournamentID); END;",
    "CREATE TRIGGER driverWritten AFTER UPDATE ON tblDriver BEGIN INSERT INTO writeLog VALUES "
    "('driver ' || NEW.DriverID); END;",
};

QString passFrame(int car, qint32 ms) {
    return QString("#P%1%2$")
        .arg(car, 2, 16, QLatin1Char('0'))
        .arg(ms, 6, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void frameLayout() {
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        FakePlatform& platform = m.platform;
        Q_UNUSED(platform);
        QCOMPARE(w.windowTitle(), QString("- Kirv Vorel - Race management system"));
        QCOMPARE(w.size(), QSize(1017, 715));
        QCOMPARE(w.minimumSize(), w.maximumSize());

        // Screen order left to right: 0, 1, 2, 3, 5, 4.
        QList<QToolButton*> buttons(w.cmdToolbarMain.begin(), w.cmdToolbarMain.end());
        std::sort(buttons.begin(), buttons.end(),
                  [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
        QStringList tips;
        for (QToolButton* b : buttons)
            tips << b->toolTip();
        QCOMPARE(tips,
                 (QStringList{"Tournament registration.", "Manage qual-heats and final heats.",
                              "Race.", "Results,", "Practice mode.", "Setup."}));
        QCOMPARE(buttons.at(4), w.cmdToolbarMain[5]);
        for (QToolButton* b : buttons)
            QVERIFY(!b->icon().isNull());

        QStringList captions;
        for (QGroupBox* f : w.frameMain)
            captions << f->title();
        QCOMPARE(captions, (QStringList{"Tournament registration", "Manager", "Race", "Reports",
                                        "Miscellaneous", "Practice"}));
        QCOMPARE(w.Frame6->title(), QString("Kirv Status"));
        QCOMPARE(w.findChild<QLabel*>("lblTournamentName")->text(), QString("No tournament"));
        RacePage& race = *w.pageRace;
        PracticePage& practice = *w.pagePractice;
        for (QTimer* t : {&race.tmrRaceTime, &race.tmrRaceCountdown, &race.tmrRaceFlash,
                          &practice.tmrPracticeTime, &practice.tmrPracticeFlash})
            QVERIFY(!t->isActive());
        QCOMPARE(race.tmrRaceCountdown.interval(), 1000);
        QCOMPARE(race.tmrRaceTime.interval(), 100);
        QCOMPARE(race.tmrRaceFlash.interval(), 250);
    }

    void exactlyOnePageIsVisible_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 6; ++i)
            QTest::addRow("page %d", i) << i;
    }
    void exactlyOnePageIsVisible() {
        QFETCH(int, index);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        FakePlatform& platform = m.platform;
        Q_UNUSED(platform);
        w.cmdToolbarMain[size_t(index)]->click();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(w.frameMain[size_t(i)]->isVisibleTo(&w), i == index);
    }

    void reportsAndPracticeRunNoStatement_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("reports") << 3;
        QTest::newRow("practice") << 5;
    }
    void reportsAndPracticeRunNoStatement() {
        QFETCH(int, index);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        FakePlatform& platform = m.platform;
        Q_UNUSED(platform);
        const qint64 before = w.state().DbConnection.statementCount();
        w.cmdToolbarMain_Click(index);
        QCOMPARE(w.state().DbConnection.statementCount(), before);
        QVERIFY(w.pageMisc->adodcDriver->query().lastQuery().isEmpty());
    }

    void miscPageRereadsTheDriverGrid() {
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        FakePlatform& platform = m.platform;
        Q_UNUSED(platform);
        w.cmdToolbarMain_Click(4);
        QTableView* grid = w.findChild<QTableView*>("tdbgDriver");
        QVERIFY(grid);
        QCOMPARE(grid->model()->rowCount(), 0);
        QVERIFY(w.state().DbConnection.Execute(
            "INSERT INTO tblDriver (Lastname, Firstname) VALUES ('Berg','Anna');"));
        QVERIFY(w.state().DbConnection.Execute(
            "INSERT INTO tblDriver (Lastname, Deleted) VALUES ('Gone', 1);"));
        w.cmdToolbarMain_Click(0);
        w.cmdToolbarMain_Click(4);
        QCOMPARE(grid->model()->rowCount(), 1);
        QStringList headers;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                headers << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"DriverID", "Lastname", "Firstname", "Team", "Car", "Email",
                                       "Frequency", "Transponder ID", "Own Transponder"}));
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QString("Berg"));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    void updateButtonEndsProgramOnlyAfterHandOver_data() {
        QTest::addColumn<bool>("updaterStarted");
        QTest::newRow("updater started") << true;
        QTest::newRow("no update") << false;
    }
    void updateButtonEndsProgramOnlyAfterHandOver() {
        QFETCH(bool, updaterStarted);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        QCOMPARE(w.pageMisc->Frame8->title(), QString("Update program"));
        int shown = 0;
        w.showLiveUpdate = [&](frmLiveUpdate& dialog) {
            ++shown;
            QCOMPARE(dialog.windowTitle(), QString("Kirv Vorel Update"));
            QCOMPARE(dialog.m_blnUpdate, false);
            dialog.m_blnUpdate = updaterStarted;
        };
        w.pageMisc->cmdMiscLiveUpdate->click();
        QCOMPARE(shown, 1);
        QCOMPARE(w.unloaded(), updaterStarted);
    }

    // The hand-over to the updater ends the program as closing the window does:
    // practice passes that wait for the database are tried once more, then the
    // same question is asked before the updater starts. No keeps the program
    // running and storing, and no updater is started.
    void handOverWhilePassesWait_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("stay") << MsgResult::No;
        QTest::newRow("end anyway") << MsgResult::Yes;
    }
    void handOverWhilePassesWait() {
        QFETCH(MsgResult, answer);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        PracticePage& practice = *w.pagePractice;
        w.cmdToolbarMain[5]->click();
        practice.cmdPracticeStart->click();
        m.port->receive(passFrame(5, 1000));
        auto lock = std::make_unique<test::HeldLock>(m.fx.databaseFile());
        QVERIFY(lock->held());
        m.port->receive(passFrame(5, 31000));
        m.port->receive(passFrame(5, 61000));
        practice.cmdPracticeStop->click();
        QVERIFY(practice.lblPracticeWaitingWrites->isVisibleTo(&practice));

        w.showLiveUpdate = [](frmLiveUpdate& dialog) {
            dialog.setSession(std::make_unique<ReadyFtpSession>());
            dialog.cmdCheckForUpdate_Click();
        };
        m.messages().clear();
        m.platform.boxes->answers = {MsgResult::Yes, answer};
        w.cmdToolbarMain[4]->click();
        w.pageMisc->cmdMiscLiveUpdate->click();

        QCOMPARE(m.messages().size(), 2);
        QCOMPARE(m.messages().first().text,
                 QString("A new version is available. Do you want to download it now?"));
        const RecordedMessage& question = m.messages().last();
        QCOMPARE(question.buttons, MsgButtons::YesNo);
        QVERIFY2(question.text.endsWith("of the practice session's passes and changes could not "
                                        "be stored in the race database yet, because the "
                                        "database does not accept them. If you close the program "
                                        "now, they are lost.\n\nClose the program anyway?"),
                 qPrintable(question.text));
        if (answer == MsgResult::Yes) {
            QVERIFY(w.unloaded());
            QCOMPARE(m.platform.desk->started.size(), 1);
            QCOMPARE(m.platform.desk->started.first().first, m.fx.appPath() + "zqu.exe");
            return;
        }
        QVERIFY(!w.unloaded());
        QVERIFY(m.platform.desk->started.isEmpty());
        QVERIFY(practice.tmrPracticeWrites.isActive());
        lock.reset();
        practice.tmrPracticeWrites_Timer();
        QVERIFY(!practice.lblPracticeWaitingWrites->isVisibleTo(&practice));
        QCOMPARE(m.fx.column("SELECT LapTime FROM tblLapInRace ORDER BY LapInRaceID;"),
                 (QStringList{"30000", "30000"}));
        QCOMPARE(m.fx.column("SELECT Status FROM tblRace;"), QStringList{"2"});
        // Nothing waits any more: the program now ends without a question.
        m.messages().clear();
        w.close();
        QVERIFY(w.unloaded());
        QVERIFY(m.messages().isEmpty());
    }

    // Closing the window, or the hand-over to the updater, while a heat counts
    // down or runs, or practice runs: one question first. No keeps the heat or
    // the session timed and stored; Yes ends the program as closing always
    // has (the counter's port closed, the stored race left as it was). A heat
    // that ended, or whose Start was refused, is not asked about.
    void closingWhileTimingAsks_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<bool>("handOver");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("question"); // empty: none is asked
        const QString heat = "The race is running. Close Kirv Vorel anyway?";
        const QString practice = "Practice is running. Close Kirv Vorel anyway?";
        for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
            const char* said = answer == MsgResult::No ? ", no" : ", yes";
            QTest::addRow("heat counting down%s", said) << "countdown" << false << answer << heat;
            QTest::addRow("heat running%s", said) << "heat" << false << answer << heat;
            QTest::addRow("practice running%s", said) << "practice" << false << answer << practice;
            QTest::addRow("hand-over, heat running%s", said) << "heat" << true << answer << heat;
            QTest::addRow("hand-over, practice running%s", said)
                << "practice" << true << answer << practice;
        }
        QTest::newRow("heat stopped") << "stopped" << false << MsgResult::No << QString();
        QTest::newRow("start refused, heat left running earlier")
            << "refused" << false << MsgResult::No << QString();
    }
    void closingWhileTimingAsks() {
        QFETCH(QString, run);
        QFETCH(bool, handOver);
        QFETCH(MsgResult, answer);
        QFETCH(QString, question);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        RacePage& race = *w.pageRace;
        PracticePage& practice = *w.pagePractice;
        const QString status = "SELECT Status FROM tblRace;";
        const QString laps = "SELECT count(*) FROM tblLapInRace;";
        if (run == "practice") {
            w.cmdToolbarMain[5]->click();
            practice.cmdPracticeStart->click();
        } else {
            QVERIFY(m.fx.sql(
                {"INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');",
                 "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES "
                 "('Aas', 'Per', 27.1, 5), ('Berg', 'Ben', 27.2, 17);",
                 "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, "
                 "Description) VALUES (1, 1, 1, 5, 'Heat');",
                 "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES (1, 1, 1), "
                 "(2, 1, 2);"}));
            m.state().CurrentTournamentID = 1;
            w.cmdToolbarMain[2]->click();
            race.cbRaceShowRaceCategory->setCurrentIndex(2);
            // An earlier run of the program started the heat after it was
            // selected here: Start is refused, and the heat is not timed.
            if (run == "refused")
                QVERIFY(m.fx.sql({"UPDATE tblRace SET Status=1;"}));
            race.cmdRaceStart->click();
            if (run == "refused") {
                QCOMPARE(m.platform.boxes->lastText(),
                         QString("This race has been started (and probably interrupted). To "
                                 "restart, first clear race."));
                QVERIFY(m.timing().RaceActive);
            }
            if (run == "heat" || run == "stopped")
                for (int i = 0; i < 10; ++i)
                    race.tmrRaceCountdown_Timer();
            if (run == "stopped")
                race.cmdRaceStop->click();
        }
        m.port->receive(passFrame(5, 1000));
        const QStringList statusBefore = m.fx.column(status);

        m.messages().clear();
        m.platform.boxes->answers = {answer};
        if (handOver) {
            w.showLiveUpdate = [](frmLiveUpdate& dialog) {
                dialog.setSession(std::make_unique<ReadyFtpSession>());
                dialog.cmdCheckForUpdate_Click();
            };
            m.platform.boxes->answers = {MsgResult::Yes, answer};
            w.cmdMiscLiveUpdate_Click();
            QVERIFY(!m.messages().isEmpty());
            m.messages().removeFirst(); // the download's question
        } else {
            w.close();
        }

        if (question.isEmpty()) {
            QVERIFY2(m.messages().isEmpty(), qPrintable(m.platform.boxes->lastText()));
            QVERIFY(w.unloaded());
            return;
        }
        QCOMPARE(m.messages().size(), 1);
        const RecordedMessage& asked = m.messages().first();
        QCOMPARE(asked.text, question);
        QCOMPARE(asked.title, QString("Kirv Vorel"));
        QCOMPARE(asked.buttons, MsgButtons::YesNo);
        QCOMPARE(asked.icon, MsgIcon::Question);
        QCOMPARE(m.platform.desk->started.size(), handOver && answer == MsgResult::Yes ? 1 : 0);
        if (answer == MsgResult::Yes) {
            QVERIFY(w.unloaded());
            QVERIFY(!m.port->isOpen());
            QCOMPARE(m.fx.column(status), statusBefore);
            return;
        }
        QVERIFY(!w.unloaded());
        QVERIFY(m.port->isOpen());
        QVERIFY(m.timing().RaceActive);
        if (run == "countdown") {
            QVERIFY(race.tmrRaceCountdown.isActive());
            for (int i = 0; i < 10; ++i)
                race.tmrRaceCountdown_Timer();
            m.port->receive(passFrame(5, 1000));
        }
        m.port->receive(passFrame(5, 31000));
        QCOMPARE(m.fx.column(laps), QStringList{"1"});
        QCOMPARE(m.fx.column(status), QStringList{"1"});
    }

    // Showing a value never stores it: looking at every page and choosing every
    // tournament, heat and list row writes nothing, so a database that cannot
    // be written gives no box after the one at start-up. What a person changes
    // is still stored, or refused with the usual box.
    void lookingNeverWrites_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("wholeFolder");
        QTest::newRow("writable") << false << false;
        QTest::newRow("read-only file") << true << false;
        QTest::newRow("read-only install folder") << true << true;
    }
    void lookingNeverWrites() {
        QFETCH(bool, readOnly);
        QFETCH(bool, wholeFolder);
        test::MainFixture m;
        QVERIFY(m.fx.sql(kMeetingWithWriteLog));
        m.fx.setSetting("LastTournamentID", "1");
        const QString stored = "SELECT RaceID || quote(Comment) || Status FROM tblRace UNION ALL "
                               "SELECT TournamentID || quote(Name) || quote(Location) || "
                               "QualNumOfRounds || QualNumOfCarsInHeat || QualRaceTime FROM "
                               "tblTournament;";
        const QStringList before = m.fx.column(stored);
        std::optional<test::ReadOnlyFile> file;
        std::optional<test::ReadOnlyFolder> folder;
        if (readOnly && wholeFolder)
            folder.emplace(m.fx.databaseFile());
        else if (readOnly)
            file.emplace(m.fx.databaseFile());
        QVERIFY(m.start());
        frmMain& w = *m.w;
        QCOMPARE(m.messages().size(), readOnly ? 1 : 0);

        const auto everyRow = [](QComboBox* combo, int first = 0) {
            for (int i = first; i < combo->count(); ++i)
                combo->setCurrentIndex(i);
        };
        for (int page : {0, 1, 2, 3, 5, 4})
            w.cmdToolbarMain[size_t(page)]->click();
        TournamentPage& tournament = *w.pageTournament;
        ManagerPage& manager = *w.pageManager;
        RacePage& race = *w.pageRace;
        for (int t : {1, 0}) {
            w.cmdToolbarMain[0]->click();
            tournament.cbTournamentSelectTournament->setCurrentIndex(t);
            everyRow(tournament.cbTournamentDriverSelect);
            w.cmdToolbarMain[1]->click();
            for (int i = 0; i < manager.lbManagerGeneratedQualHeats->count(); ++i)
                manager.lbManagerGeneratedQualHeats->setCurrentRow(i);
            everyRow(manager.cbManagerFinalHeatSource);
            everyRow(manager.cbManagerFinalHeatDestination, 1); // row 0 adds a race
            w.cmdToolbarMain[2]->click();
            for (int c = 0; c < race.cbRaceShowRaceCategory->count(); ++c) {
                race.cbRaceShowRaceCategory->setCurrentIndex(c);
                for (int h = 0; h < race.cbRaceHeats->count(); ++h) {
                    if (race.cbRaceHeats->itemData(h).toInt() < 0)
                        continue; // the single race registration
                    race.cbRaceHeats->setCurrentIndex(h);
                    for (int d = 0; d < race.lbRaceHeatParticipants->count(); ++d)
                        race.lbRaceHeatParticipants->setCurrentRow(d);
                }
            }
        }
        QVERIFY2(m.messages().size() == (readOnly ? 1 : 0),
                 qPrintable(m.platform.boxes->lastText()));
        // The test's own connection reads the file as it would in a folder it
        // can write; the program's connection stays as it was opened.
        folder.reset();
        QCOMPARE(m.fx.column("SELECT what FROM writeLog;"), QStringList{});
        QCOMPARE(m.fx.column(stored), before);

        // The person types a comment.
        race.cbRaceShowRaceCategory->setCurrentIndex(0);
        QCOMPARE(race.txtRaceInfoComment->toPlainText(), QString("Wet track"));
        race.txtRaceInfoComment->setPlainText("Dry track");
        if (readOnly) {
            QCOMPARE(m.messages().size(), 2);
            QVERIFY2(m.messages().last().text.startsWith("Writing to the database failed."),
                     qPrintable(m.messages().last().text));
            return;
        }
        QCOMPARE(m.fx.column("SELECT Comment FROM tblRace WHERE RaceID=1;"),
                 QStringList{"Dry track"});
        QCOMPARE(m.fx.column("SELECT what FROM writeLog;"), QStringList{"race 1"});
    }

    // A box for a sized text column takes no more than the column holds.
    void textBoxesKeepToTheirColumnWidth_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::newRow("tournament name") << "txtTournamentTournamentName"
                                         << "tblTournament"
                                         << "Name";
        QTest::newRow("location") << "txtTournamentTournamentLocation"
                                  << "tblTournament"
                                  << "Location";
        QTest::newRow("last name") << "txtTournamentDriverLastname"
                                   << "tblDriver"
                                   << "Lastname";
        QTest::newRow("first name") << "txtTournamentDriverFirstname"
                                    << "tblDriver"
                                    << "Firstname";
        QTest::newRow("team") << "txtTournamentDriverTeam"
                              << "tblDriver"
                              << "Team";
        QTest::newRow("car") << "txtTournamentDriverCar"
                             << "tblDriver"
                             << "Car";
    }
    void textBoxesKeepToTheirColumnWidth() {
        QFETCH(QString, box);
        QFETCH(QString, table);
        QFETCH(QString, column);
        test::MainFixture m;
        QVERIFY(m.start());
        const QStringList type = m.fx.column("SELECT type FROM pragma_table_info('" + table +
                                             "') WHERE name='" + column + "';");
        const QRegularExpressionMatch width =
            QRegularExpression("^TEXT\\((\\d+)\\)$").match(type.value(0));
        QVERIFY2(width.hasMatch(), qPrintable(type.value(0)));
        QLineEdit* edit = m.w->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        edit->clear();
        QTest::keyClicks(edit, QString(width.captured(1).toInt() + 10, 'W'));
        QCOMPARE(edit->text().size(), width.captured(1).toInt());
    }

    // A name longer than the box takes, left by an older database, is shown and
    // kept whole: loading it must not write a shortened name back.
    void storedLongerTextIsKeptWhole() {
        test::MainFixture m;
        const QString name(60, 'N');
        const QString location(55, 'L');
        QVERIFY(m.fx.sql({"INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) "
                          "VALUES (1,'" +
                          name + "','" + location + "','2024-04-01 10:00:00');"}));
        m.fx.setSetting("LastTournamentID", "1");
        QVERIFY(m.start());
        QCOMPARE(m.w->findChild<QLineEdit*>("txtTournamentTournamentName")->text(), name);
        QCOMPARE(m.fx.column("SELECT Name FROM tblTournament;"), QStringList{name});
        QCOMPARE(m.fx.column("SELECT Location FROM tblTournament;"), QStringList{location});
    }

    // The longest name or location shows in the top strip without covering the
    // status frame and without a letter cut in half: it ends in "...".
    void longTournamentTextStaysInItsPlace_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::newRow("name") << "txtTournamentTournamentName"
                              << "lblTournamentName";
        QTest::newRow("location") << "txtTournamentTournamentLocation"
                                  << "lblTournamentLocation";
    }
    void longTournamentTextStaysInItsPlace() {
        QFETCH(QString, box);
        QFETCH(QString, label);
        test::MainFixture m;
        QVERIFY(m.start());
        frmMain& w = *m.w;
        w.pageTournament->cmdTournamentNew_Click();
        QLineEdit* edit = w.findChild<QLineEdit*>(box);
        QTest::keyClicks(edit, QString(60, 'W'));
        QLabel* strip = w.findChild<QLabel*>(label);
        QCOMPARE(strip->text(), edit->text());
        QVERIFY(!strip->geometry().intersects(w.Frame6->geometry()));
        auto* eliding = qobject_cast<ElidingLabel*>(strip);
        QVERIFY(eliding);
        const QString shown = eliding->shownText();
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(strip->fontMetrics().horizontalAdvance(shown) <= strip->contentsRect().width());
        QVERIFY(m.messages().isEmpty());
    }

    void splashClosesOnTimerAndKeysNotOnClicks() {
        test::InstallFixture fx;
        frmSplash splash;
        splash.m_strVersion = "Version 1.3";
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.lblVersion->text(), QString("Version 1.3"));
        QCOMPARE(splash.size(), QSize(599, 398));
        QVERIFY(splash.tmrSplashTime.isActive());
        QCOMPARE(splash.tmrSplashTime.interval(), 5000);

        QTest::mouseClick(&splash, Qt::LeftButton);
        QVERIFY(splash.isVisible());
        QTest::keyClick(&splash, Qt::Key_Shift);
        QVERIFY(splash.isVisible());
        QTest::keyClick(&splash, Qt::Key_Space);
        QVERIFY(!splash.isVisible());

        frmSplash timed;
        timed.show();
        timed.tmrSplashTime_Timer();
        QVERIFY(!timed.isVisible());
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
