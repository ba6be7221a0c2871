// The tournament registration page on real database files: tournaments, the
// driver form, the participant lists, the driver delete under the grid of the
// Miscellaneous page, and the tournament restored at start-up.
#include "ItemTexts.h"
#include "MainFixture.h"
#include "MiscPage.h"
#include "RaceTiming.h"
#include "TournamentPage.h"
#include "Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

// Three tournaments, five drivers (one deleted, one with only a last name),
// registrations in the first two tournaments.
const QStringList kMeeting = {
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES (1,'Spring "
    "Cup','Oslo','2024-04-01 10:00:00');",
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES (2,'Summer "
    "Cup','Bergen','2024-06-01 10:00:00');",
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES (3,'Autumn "
    "Cup','Molde','2024-09-01 10:00:00');",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Team, Car, Frequency, TransponderID, "
    "OwnTransponder) "
    "VALUES (1,'Berg','Anna','Blue','Xray',27.145,11,1);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES "
    "(2,'Dahl','Erik',40.665,12);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Frequency, TransponderID) VALUES "
    "(3,'Lund','Ola','Mugen',27.095,13);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Deleted) VALUES "
    "(4,'Gone','Old','Kyosho',1);",
    "INSERT INTO tblDriver (DriverID, Lastname, Frequency, TransponderID, OwnTransponder) VALUES "
    "(5,'Eck',NULL,NULL,NULL);",
    "INSERT INTO tblDriverInTournament VALUES (1, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (2, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (4, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (3, 2, 0);",
};

// Races of the tournaments and of no tournament, with entries and laps.
const QStringList kRaces = {
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (10, 1, 1, 'Round 1 "
    "- Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (30, 3, 1, 'Round 1 "
    "- Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (40, 0, 3, 'Fun "
    "race');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES (41, 0, 4, "
    "'Practice');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (100, 1, "
    "10, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (300, 3, "
    "30, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (400, 1, "
    "40, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (410, 0, "
    "41, 1);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (100, 10, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (300, 30, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (400, 40, 9000);",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (410, 41, 9000);",
};

// Counts of the race rows per table, for the tournament keys given.
QString raceRows(const test::InstallFixture& fx) {
    return fx.column("SELECT group_concat(TournamentID) FROM (SELECT TournamentID FROM tblRace "
                     "ORDER BY RaceID);")
               .join("") +
           " / entries " + fx.column("SELECT count(*) FROM tblDriverInRace;").join("") +
           " / laps " + fx.column("SELECT count(*) FROM tblLapInRace;").join("");
}

void loseFocus(QWidget* box) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &event);
}

// A main window stand-in that counts the Manager page refreshes.
class CountingMain final : public MainContext {
public:
    MainState st;
    TournamentPage* page = nullptr;
    int managerRefreshes = 0;
    TimingState ts;
    MainState& state() override { return st; }
    TimingState& timing() override { return ts; }
    void FillTournamentCombo() override { page->FillTournamentCombo(); }
    void FillDriverCombo(qint64 key) override { page->FillDriverCombo(key); }
    void RefreshManagerTab() override { ++managerRefreshes; }
    void RefreshDriverGrid() override {}
    bool OpenLapCounterPort() override { return false; }
    bool TestLapCounterConnection() override { return false; }
    TransponderRead GetTransponderID() override { return {}; }
    TransponderWrite SetTransponderID(double) override { return TransponderWrite::NotStored; }
    void SetToolbarEnabled(bool) override {}
};

} // namespace

class TestTournamentPage : public QObject {
    Q_OBJECT
private slots:
    // ---- Tournaments ----

    void startupRestoresTheLastTournament_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("current");
        QTest::newRow("7 present") << QStringList{"3", "7", "9"} << 7;
        QTest::newRow("7 deleted") << QStringList{"3", "9"} << 3;
    }
    void startupRestoresTheLastTournament() {
        QFETCH(QStringList, keys);
        QFETCH(int, current);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        for (const QString& k : keys)
            QVERIFY(fx.sql(
                {"INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES (" + k +
                 ",'Cup " + k + "','Town " + k + "','2024-05-0" + k + " 09:30:00');"}));
        fx.setSetting("LastTournamentID", "7");
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        const QString k = QString::number(current);
        QCOMPARE(int(w.state().CurrentTournamentID), current);
        QCOMPARE(page->cbTournamentSelectTournament->currentText(), "Cup " + k + ", Town " + k);
        QCOMPARE(page->cbTournamentSelectTournament->currentData().toInt(), current);
        QCOMPARE(page->txtTournamentTournamentName->text(), "Cup " + k);
        QCOMPARE(page->txtTournamentTournamentLocation->text(), "Town " + k);
        QCOMPARE(page->txtTournamentTournamentTime->text(),
                 QLocale().toString(QDateTime(QDate(2024, 5, current), QTime(9, 30)),
                                    QLocale::ShortFormat));
        QCOMPARE(w.findChild<QLabel*>("lblTournamentName")->text(), "Cup " + k);
        QCOMPARE(w.findChild<QLabel*>("lblTournamentLocation")->text(), "Town " + k);
        QCOMPARE(fx.setting("LastTournamentID"), k);
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    // The top strip follows the boxes: a loaded tournament without a name
    // leaves the box as it was, so the strip still says "No tournament" until
    // a name is loaded or typed.
    void topStripFollowsTheLoadedBoxes() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql({"INSERT INTO tblTournament (TournamentID, RegTime) VALUES "
                           "(1,'2024-05-01 09:30:00');",
                           "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) "
                           "VALUES (2,'Cup','Town','2024-05-02 09:30:00');"}));
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        const auto strip = [&w] {
            return QStringList{w.findChild<QLabel*>("lblTournamentName")->text(),
                               w.findChild<QLabel*>("lblTournamentLocation")->text()};
        };
        QCOMPARE(page->cbTournamentSelectTournament->currentIndex(), 0);
        QCOMPARE(strip(), (QStringList{"No tournament", ""}));
        page->cbTournamentSelectTournament->setCurrentIndex(1);
        QCOMPARE(strip(), (QStringList{"Cup", "Town"}));
        page->cbTournamentSelectTournament->setCurrentIndex(0);
        QCOMPARE(strip(), (QStringList{"", ""}));
    }

    void addToAnEmptyListSelectsTheNewTournament() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        QCOMPARE(page->cbTournamentSelectTournament->count(), 0);
        QCOMPARE(w.findChild<QLabel*>("lblTournamentName")->text(), QString("No tournament"));

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        page->cmdTournamentNew->click();
        QCOMPARE(itemTexts(page->cbTournamentSelectTournament), QStringList{"New tournament, "});
        QCOMPARE(page->cbTournamentSelectTournament->currentIndex(), 0);
        QCOMPARE(page->txtTournamentTournamentName->text(), QString("New tournament"));
        QCOMPARE(w.findChild<QLabel*>("lblTournamentName")->text(), QString("New tournament"));
        QCOMPARE(w.findChild<QLabel*>("lblTournamentLocation")->text(), QString());
        const QDateTime stored = QDateTime::fromString(
            fx.column("SELECT RegTime FROM tblTournament;").value(0), "yyyy-MM-dd HH:mm:ss");
        QVERIFY(stored >= before && stored <= QDateTime::currentDateTime());
        QCOMPARE(fx.column("SELECT QualNumOfRounds FROM tblTournament;"), QStringList{"3"});

        // A second one with the same name: both listed, the newest selected.
        page->cmdTournamentNew->click();
        QCOMPARE(itemTexts(page->cbTournamentSelectTournament),
                 (QStringList{"New tournament, ", "New tournament, "}));
        QCOMPARE(page->cbTournamentSelectTournament->currentIndex(), 1);
        QCOMPARE(int(w.state().CurrentTournamentID), 2);
        QCOMPARE(fx.setting("LastTournamentID"), QString("2"));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    void deleteSelectsTheLowestRemainingTournament() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting + kRaces));
        fx.setSetting("LastTournamentID", "3");
        FakePlatform& platform = mf.platform;
        platform.boxes->answers = {MsgResult::OK};
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        QCOMPARE(int(w.state().CurrentTournamentID), 3);

        page->cmdTournamentDelete->click();
        QCOMPARE(platform.boxes->messages.size(), 1);
        const RecordedMessage& m = platform.boxes->messages.first();
        QCOMPARE(m.text,
                 QString("You are about to delete this tournament. This will also erase all "
                         "races and results."));
        QCOMPARE(m.title, QString("Delete tournament?"));
        QCOMPARE(m.buttons, MsgButtons::OKCancel);
        QCOMPARE(m.icon, MsgIcon::None);

        QCOMPARE(itemTexts(page->cbTournamentSelectTournament),
                 (QStringList{"Spring Cup, Oslo", "Summer Cup, Bergen"}));
        QCOMPARE(int(w.state().CurrentTournamentID), 1);
        QCOMPARE(page->txtTournamentTournamentName->text(), QString("Spring Cup"));
        QCOMPARE(fx.setting("LastTournamentID"), QString("1"));
        QCOMPARE(itemTexts(page->lbTournamentParticipants).size(), 3);
        QCOMPARE(raceRows(fx), QString("1,0,0 / entries 3 / laps 3"));
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriverInTournament;"), QStringList{"4"});
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriver;"), QStringList{"5"});
    }

    // Keys beyond 16 bits stay whole: the tournament chosen is the one deleted.
    void largeKeysAreNotCut() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql({"INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES "
                           "(1,'Alpha','2024-04-01 10:00:00');",
                           "INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES "
                           "(65537,'Omega','2024-04-02 10:00:00');"}));
        mf.fx.setSetting("LastTournamentID", "65537");
        mf.platform.boxes->answers = {MsgResult::OK};
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        QCOMPARE(mf.state().CurrentTournamentID, 65537);
        QCOMPARE(page->txtTournamentTournamentName->text(), QString("Omega"));
        page->cmdTournamentDelete->click();
        QCOMPARE(mf.fx.column("SELECT Name FROM tblTournament;"), QStringList{"Alpha"});
        QCOMPARE(mf.fx.setting("LastTournamentID"), QString("1"));
    }

    void cancelledDeleteChangesNothing() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting + kRaces));
        fx.setSetting("LastTournamentID", "3");
        FakePlatform& platform = mf.platform;
        platform.boxes->answers = {MsgResult::Cancel};
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        w.pageTournament->cmdTournamentDelete_Click();
        QCOMPARE(platform.boxes->messages.size(), 1);
        QCOMPARE(w.pageTournament->cbTournamentSelectTournament->count(), 3);
        QCOMPARE(int(w.state().CurrentTournamentID), 3);
        QCOMPARE(raceRows(fx), QString("1,3,0,0 / entries 4 / laps 4"));
    }

    // With no tournament in the list the current key may be 0, the key of the
    // single races and the practice race: Delete must leave them alone.
    void deleteWithoutATournamentDoesNothing() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(QStringList(kRaces.mid(2, 1)) + kRaces.mid(3, 1) + kRaces.mid(6, 2) +
                       kRaces.mid(10, 2)));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        QCOMPARE(int(w.state().CurrentTournamentID), 0);
        const qint64 statements = w.state().DbConnection.statementCount();
        w.pageTournament->cmdTournamentDelete->click();
        QVERIFY(platform.boxes->messages.isEmpty());
        QCOMPARE(w.state().DbConnection.statementCount(), statements);
        QCOMPARE(raceRows(fx), QString("0,0 / entries 2 / laps 2"));
    }

    void deletingTheLastTournamentKeepsItsDetailsShown() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting + kRaces +
                       QStringList{"DELETE FROM tblTournament WHERE TournamentID<>2;"}));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        QCOMPARE(itemTexts(page->lbTournamentParticipants), QStringList{"3\tLund, Ola\tMugen"});

        page->cmdTournamentDelete_Click();
        QCOMPARE(page->cbTournamentSelectTournament->count(), 0);
        QCOMPARE(int(w.state().CurrentTournamentID), 2);
        QCOMPARE(page->txtTournamentTournamentName->text(), QString("Summer Cup"));
        QCOMPARE(w.findChild<QLabel*>("lblTournamentName")->text(), QString("Summer Cup"));
        QCOMPARE(fx.setting("LastTournamentID"), QString("2"));
        // The lists no longer show the deleted registrations.
        QCOMPARE(itemTexts(page->lbTournamentParticipants), QStringList());
        QCOMPARE(page->lbTournamentPotentialParticipants->count(), 4);
        // A registration needs a tournament.
        page->lbTournamentPotentialParticipants->setCurrentRow(0);
        page->cmdTournamentAddDriver_Click();
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriverInTournament WHERE TournamentID=2;"),
                 QStringList{"0"});

        // Nothing left to delete: no question, the races of no tournament stay.
        page->cmdTournamentDelete_Click();
        QCOMPARE(platform.boxes->messages.size(), 1);
        QCOMPARE(raceRows(fx), QString("1,3,0,0 / entries 4 / laps 4"));
    }

    void nameAndLocationAreSavedAtEveryKeystroke_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("rowAfter");
        QTest::newRow("name") << "txtTournamentTournamentName"
                              << "Name"
                              << "lblTournamentName"
                              << "O?Brien, Oslo";
        QTest::newRow("location") << "txtTournamentTournamentLocation"
                                  << "Location"
                                  << "lblTournamentLocation"
                                  << "Spring Cup, O?Brien";
    }
    void nameAndLocationAreSavedAtEveryKeystroke() {
        QFETCH(QString, box);
        QFETCH(QString, column);
        QFETCH(QString, label);
        QFETCH(QString, rowAfter);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        auto* edit = w.findChild<QLineEdit*>(box);
        const QString stored = "SELECT " + column + " FROM tblTournament WHERE TournamentID=1;";

        edit->clear();
        QTest::keyClick(edit, 'O');
        QCOMPARE(fx.column(stored), QStringList{"O"});
        QTest::keyClicks(edit, "'Brien");
        QCOMPARE(fx.column(stored), QStringList{"O?Brien"});
        QCOMPARE(edit->text(), QString("O'Brien"));
        QCOMPARE(w.findChild<QLabel*>(label)->text(), QString("O'Brien"));
        QCOMPARE(page->cbTournamentSelectTournament->currentText(), QString("Spring Cup, Oslo"));

        // Leaving the box lists the stored text and loads it again.
        loseFocus(edit);
        QCOMPARE(page->cbTournamentSelectTournament->currentText(), rowAfter);
        QCOMPARE(edit->text(), QString("O?Brien"));
        QCOMPARE(w.findChild<QLabel*>(label)->text(), QString("O?Brien"));
        QCOMPARE(
            fx.column("SELECT Name || ', ' || Location FROM tblTournament WHERE TournamentID>1;"),
            (QStringList{"Summer Cup, Bergen", "Autumn Cup, Molde"}));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    // Each fill of the list runs the selection once; choosing the row already
    // chosen runs nothing; every selection refreshes the Manager page.
    void selectionRunsOnceAndRefreshesTheManagerPage() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform platform;
        CountingMain main;
        QVERIFY(main.st.DbConnection.Open("Data Source=" + fx.databaseFile() + ";"));
        main.st.CurrentTournamentID = 2;
        TournamentPage page(main, nullptr);
        main.page = &page;

        page.FillTournamentCombo();
        QCOMPARE(main.managerRefreshes, 1);
        QCOMPARE(page.cbTournamentSelectTournament->currentIndex(), 1);
        QCOMPARE(itemTexts(page.lbTournamentParticipants), QStringList{"3\tLund, Ola\tMugen"});
        page.cbTournamentSelectTournament->setCurrentIndex(1);
        QCOMPARE(main.managerRefreshes, 1);
        page.cbTournamentSelectTournament->setCurrentIndex(0);
        QCOMPARE(main.managerRefreshes, 2);
        QCOMPARE(int(main.st.CurrentTournamentID), 1);
        QCOMPARE(fx.setting("LastTournamentID"), QString("1"));
        QCOMPARE(page.lbTournamentParticipants->count(), 3);
    }

    // ---- Drivers ----

    void driverListAndLoad() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        QCOMPARE(itemTexts(page->cbTournamentDriverSelect),
                 (QStringList{"Berg, Anna", "Dahl, Erik", "Eck, ", "Lund, Ola"}));
        QCOMPARE(page->cbTournamentDriverSelect->currentIndex(), 0);
        QCOMPARE(page->txtTournamentDriverLastname->text(), QString("Berg"));
        QCOMPARE(page->txtTournamentDriverTeam->text(), QString("Blue"));
        QCOMPARE(page->txtTournamentDriverCar->text(), QString("Xray"));
        QCOMPARE(page->txtTournamentDriverFrequency->text(), QString("27.145"));
        QCOMPARE(page->txtTournamentDriverTransponderID->text(), QString("11"));
        QVERIFY(page->chkTournamentDriverOwnTransponder->isChecked());

        // Missing numbers load as empty boxes.
        page->FillDriverCombo(5);
        QCOMPARE(page->cbTournamentDriverSelect->currentText(), QString("Eck, "));
        QCOMPARE(page->txtTournamentDriverFirstname->text(), QString());
        QCOMPARE(page->txtTournamentDriverFrequency->text(), QString());
        QCOMPARE(page->txtTournamentDriverTransponderID->text(), QString());
        QVERIFY(!page->chkTournamentDriverOwnTransponder->isChecked());

        // An unknown key selects the first row.
        page->FillDriverCombo(4);
        QCOMPARE(page->txtTournamentDriverLastname->text(), QString("Berg"));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    void addNewDriver_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("yes") << MsgResult::Yes;
        QTest::newRow("no") << MsgResult::No;
    }
    void addNewDriver() {
        QFETCH(MsgResult, answer);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform& platform = mf.platform;
        platform.boxes->answers = {answer};
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        page->FillDriverCombo(3);
        page->cmdTournamentModifyDriverAdd->click();

        QCOMPARE(platform.boxes->messages.size(), 1);
        const RecordedMessage& m = platform.boxes->messages.first();
        QCOMPARE(m.text, QString("Do you want to add a new driver?"));
        QCOMPARE(m.title, QString("Add new driver?"));
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        if (answer == MsgResult::No) {
            QCOMPARE(fx.column("SELECT count(*) FROM tblDriver;"), QStringList{"5"});
            QCOMPARE(page->txtTournamentDriverLastname->text(), QString("Lund"));
            return;
        }
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriver;"), QStringList{"6"});
        QCOMPARE(page->cbTournamentDriverSelect->currentText(), QString("New driver, "));
        QCOMPARE(page->cbTournamentDriverSelect->currentData().toInt(), 6);
        QCOMPARE(page->txtTournamentDriverLastname->text(), QString("New driver"));
        for (QLineEdit* box : {page->txtTournamentDriverFirstname, page->txtTournamentDriverTeam,
                               page->txtTournamentDriverCar, page->txtTournamentDriverEmail})
            QCOMPARE(box->text(), QString());
        QCOMPARE(page->txtTournamentDriverFrequency->text(), QString("0"));
        QCOMPARE(page->txtTournamentDriverTransponderID->text(), QString("0"));
        QVERIFY(!page->chkTournamentDriverOwnTransponder->isChecked());

        // The participant lists show the new driver once the name box is left.
        QVERIFY(!itemTexts(page->lbTournamentPotentialParticipants).contains("6\tNew driver, \t"));
        loseFocus(page->txtTournamentDriverLastname);
        QVERIFY(itemTexts(page->lbTournamentPotentialParticipants).contains("6\tNew driver, \t"));
    }

    void saveReadsTheFrequency_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits only") << "27145"
                                     << "27.145"
                                     << "27.145";
        QTest::newRow("comma") << "27,145"
                               << "27.145"
                               << "27.145";
        QTest::newRow("point") << "27.145"
                               << "27.145"
                               << "27.145";
        QTest::newRow("point typed late") << "271.45"
                                          << "27.145"
                                          << "27.145";
        QTest::newRow("empty") << ""
                               << "0"
                               << "0";
    }
    void saveReadsTheFrequency() {
        QFETCH(QString, typed);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(
            fx.sql(kMeeting + QStringList{"UPDATE tblDriver SET Frequency=40 WHERE DriverID=1;"}));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        QCOMPARE(page->txtTournamentDriverLastname->text(), QString("Berg")); // the first row
        page->txtTournamentDriverFrequency->setText(typed);
        page->cmdTournamentModifyDriverSave->click();
        QTEST(fx.column("SELECT Frequency FROM tblDriver WHERE DriverID=1;").value(0), "stored");
        QTEST(page->txtTournamentDriverFrequency->text(), "shown");
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    void saveStoresTheFormAndResorts() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        TournamentPage* page = w.pageTournament;
        page->FillDriverCombo(3); // Lund, not registered in the current tournament
        page->txtTournamentDriverLastname->setText("O'Brien");
        page->txtTournamentDriverFirstname->setText("Pat");
        page->txtTournamentDriverTeam->setText("Team's");
        page->txtTournamentDriverCar->setText("Associated");
        page->txtTournamentDriverEmail->setText("pat@example.org");
        page->chkTournamentDriverOwnTransponder->setChecked(true);
        page->txtTournamentDriverTransponderID->setText("42");
        page->cmdTournamentModifyDriverSave->click();

        QCOMPARE(
            fx.column("SELECT Lastname || '|' || Firstname || '|' || Team || '|' || Car || '|' || "
                      "Email || '|' || Frequency || '|' || OwnTransponder || '|' || TransponderID "
                      "FROM tblDriver WHERE DriverID=3;"),
            QStringList{"O?Brien|Pat|Team?s|Associated|pat@example.org|27.095|1|42"});
        QCOMPARE(itemTexts(page->cbTournamentDriverSelect),
                 (QStringList{"Berg, Anna", "Dahl, Erik", "Eck, ", "O?Brien, Pat"}));
        QCOMPARE(page->cbTournamentDriverSelect->currentIndex(), 3);
        QCOMPARE(page->txtTournamentDriverLastname->text(), QString("O?Brien"));
        QVERIFY(itemTexts(page->lbTournamentPotentialParticipants)
                    .contains("3\tO?Brien, Pat\tAssociated"));
    }

    void transponderBoxStaysNumeric_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a letter") << "a"
                                  << "0"
                                  << "0";
        QTest::newRow("digits and letters") << "12abc"
                                            << "12"
                                            << "12";
        QTest::newRow("leading zeros") << "007"
                                       << "7"
                                       << "7";
        QTest::newRow("empty") << ""
                               << ""
                               << "0";
    }
    void transponderBoxStaysNumeric() {
        QFETCH(QString, typed);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        QLineEdit* box = w.pageTournament->txtTournamentDriverTransponderID;
        box->clear();
        QPalette red = box->palette();
        red.setColor(QPalette::Text, QColor(255, 0, 0));
        box->setPalette(red); // as after a failed read
        QTest::keyClicks(box, typed);
        QTEST(box->text(), "shown");
        if (!typed.isEmpty())
            QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::black));
        w.pageTournament->cmdTournamentModifyDriverSave_Click();
        QTEST(fx.column("SELECT TransponderID FROM tblDriver WHERE DriverID=1;").value(0),
              "stored");
    }

    // An ID the lap counter can never send is refused like the ID tool's Write
    // refuses it, and nothing of the form is stored; the form keeps what was
    // typed.
    void saveRefusesAnIdTheCounterCannotSend_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("stored");
        const QString typed = "Storm|Fixed Team|27.195|";
        QTest::newRow("lowest") << "0" << false << typed + "0";
        QTest::newRow("highest") << "255" << false << typed + "255";
        QTest::newRow("above") << "256" << true << "Berg|Blue|27.145|11";
        QTest::newRow("rounds above") << "255.5" << true << "Berg|Blue|27.145|11";
        QTest::newRow("negative") << "-1" << true << "Berg|Blue|27.145|11";
        QTest::newRow("far above") << "99999999999" << true << "Berg|Blue|27.145|11";
    }
    void saveRefusesAnIdTheCounterCannotSend() {
        QFETCH(QString, id);
        QFETCH(bool, refused);
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kMeeting));
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        page->txtTournamentDriverLastname->setText("Storm");
        page->txtTournamentDriverTeam->setText("Fixed Team");
        page->txtTournamentDriverFrequency->setText("27,195");
        page->txtTournamentDriverTransponderID->setText(id);
        page->cmdTournamentModifyDriverSave->click();
        QTEST(mf.fx
                  .column("SELECT Lastname || '|' || Team || '|' || Frequency || '|' || "
                          "TransponderID FROM tblDriver WHERE DriverID=1;")
                  .value(0),
              "stored");
        QCOMPARE(mf.messages().size(), refused ? 1 : 0);
        if (refused) {
            const RecordedMessage& m = mf.messages().first();
            QCOMPARE(m.text, QString("A transponder ID is a number from 0 to 255. None of the "
                                     "driver's changes were saved: correct the ID and press "
                                     "\"Save changes\" again."));
            QCOMPARE(m.icon, MsgIcon::Critical);
            QCOMPARE(m.buttons, MsgButtons::OK);
            QCOMPARE((QStringList{page->txtTournamentDriverLastname->text(),
                                  page->txtTournamentDriverTeam->text(),
                                  page->txtTournamentDriverFrequency->text(),
                                  page->txtTournamentDriverTransponderID->text()}),
                     (QStringList{"Storm", "Fixed Team", "27,195", id}));
        }
    }

    // The driver form's Read and Write go through the lap counter's ID tool.
    void transponderReadAndWriteUseTheLapCounter() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kMeeting));
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        mf.port->queueReplyTo("#G$", "#H2A$");
        page->cmdTournamentModifyDriverReadID->click();
        QCOMPARE(page->txtTournamentDriverTransponderID->text(), QString("42"));
        QCOMPARE(page->txtTournamentDriverTransponderID->palette().color(QPalette::Text),
                 QColor(0, 192, 0));
        mf.port->queueReplyTo("#I2A$", "#O2A$");
        page->cmdTournamentModifyDriverWriteID->click();
        QVERIFY(mf.port->written().contains("#I2A$"));
        QCOMPARE(mf.platform.boxes->lastText(), QString("New ID was stored."));
    }

    // ---- Driver delete under the grid ----

    void softDeletedDriverStaysRegistered() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform& platform = mf.platform;
        platform.boxes->answers = {MsgResult::Yes};
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        w.cmdToolbarMain_Click(4);
        QTableView* grid = w.pageMisc->tdbgDriver;
        QCOMPARE(grid->model()->rowCount(), 4);
        int dahl = -1;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 1).data().toString() == "Dahl")
                dahl = r;
        grid->setCurrentIndex(grid->model()->index(dahl, 1));
        w.pageMisc->cmdMiscDatabaseDeleteSelectedDriver->click();

        QCOMPARE(platform.boxes->messages.size(), 1);
        const RecordedMessage& m = platform.boxes->messages.first();
        QCOMPARE(m.text, QString("Do you really want to delete this driver?"));
        QCOMPARE(m.title, QString("Delete driver"));
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        QCOMPARE(fx.column("SELECT Deleted FROM tblDriver WHERE DriverID=2;"), QStringList{"1"});
        // The grid shows it as soon as the click has returned.
        QCOMPARE(grid->model()->rowCount(), 3);

        w.cmdToolbarMain_Click(0);
        TournamentPage* page = w.pageTournament;
        QVERIFY(!itemTexts(page->cbTournamentDriverSelect).contains("Dahl, Erik"));
        QVERIFY(itemTexts(page->lbTournamentParticipants).contains("2\tDahl, Erik\t"));
        page->cbTournamentSelectTournament->setCurrentIndex(1);
        QCOMPARE(itemTexts(page->lbTournamentPotentialParticipants),
                 (QStringList{"1\tBerg, Anna\tXray", "5\tEck, \t"}));
    }

    void softDeleteNeedsYesAndARow_data() {
        QTest::addColumn<bool>("row");
        QTest::addColumn<int>("questions");
        QTest::newRow("answered no") << true << 1;
        QTest::newRow("no current row") << false << 0;
    }
    void softDeleteNeedsYesAndARow() {
        QFETCH(bool, row);
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        FakePlatform& platform = mf.platform;
        platform.boxes->answers = {MsgResult::No};
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        w.cmdToolbarMain_Click(4);
        QTableView* grid = w.pageMisc->tdbgDriver;
        if (row)
            grid->setCurrentIndex(grid->model()->index(0, 0));
        w.cmdMiscDatabaseDeleteSelectedDriver_Click();
        QTEST(int(platform.boxes->messages.size()), "questions");
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriver WHERE Deleted=1;"), QStringList{"1"});
        QCOMPARE(grid->model()->rowCount(), 4);
    }

    // ---- Participants ----

    void participantsMoveBetweenTheLists() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting + kRaces));
        FakePlatform& platform = mf.platform;
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TournamentPage* page = w.pageTournament;
        QListWidget* open = page->lbTournamentPotentialParticipants;
        QListWidget* registered = page->lbTournamentParticipants;
        for (QListWidget* list : {open, registered}) {
            auto* delegate = dynamic_cast<TabStopDelegate*>(list->itemDelegate());
            QVERIFY(delegate);
            QCOMPARE(delegate->stops(), (std::vector<int>{20, 90}));
        }
        QCOMPARE(itemTexts(open), (QStringList{"5\tEck, \t", "3\tLund, Ola\tMugen"}));
        // A driver deleted from the register stays registered.
        QCOMPARE(itemTexts(registered),
                 (QStringList{"1\tBerg, Anna\tXray", "2\tDahl, Erik\t", "4\tGone, Old\tKyosho"}));
        QCOMPARE(registered->item(0)->data(Qt::UserRole).toInt(), 1);

        // Without a selected row the buttons do nothing.
        const qint64 statements = w.state().DbConnection.statementCount();
        page->cmdTournamentAddDriver->click();
        page->cmdTournamentRemoveDriver->click();
        QCOMPARE(w.state().DbConnection.statementCount(), statements);

        const auto doubleClick = [](QListWidget* list, int row) {
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        };
        doubleClick(open, 1);
        QCOMPARE(fx.column("SELECT DriverID || '/' || TournamentID || '/' || Reserved FROM "
                           "tblDriverInTournament WHERE DriverID=3 ORDER BY TournamentID;"),
                 (QStringList{"3/1/0", "3/2/0"}));
        QCOMPARE(itemTexts(open), QStringList{"5\tEck, \t"});
        QCOMPARE(registered->count(), 4);
        QVERIFY(open->selectedItems().isEmpty() && registered->selectedItems().isEmpty());

        doubleClick(registered, 0);
        QCOMPARE(itemTexts(open), (QStringList{"1\tBerg, Anna\tXray", "5\tEck, \t"}));
        QCOMPARE(fx.column("SELECT count(*) FROM tblDriverInTournament WHERE DriverID=1;"),
                 QStringList{"0"});
        // Its race entries and laps stay.
        QCOMPARE(raceRows(fx), QString("1,3,0,0 / entries 4 / laps 4"));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    // Leaving a name box refills both lists; the rows chosen in them stay chosen.
    void choicesSurviveARefill() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kMeeting));
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        QListWidget* open = page->lbTournamentPotentialParticipants;
        QListWidget* registered = page->lbTournamentParticipants;
        open->setCurrentRow(1);
        registered->setCurrentRow(1);
        loseFocus(page->txtTournamentDriverLastname);
        const auto chosen = [](const QListWidget* list) {
            const QList<QListWidgetItem*> rows = list->selectedItems();
            return rows.isEmpty() ? QString() : rows.first()->text();
        };
        QCOMPARE(chosen(open), QString("3\tLund, Ola\tMugen"));
        QCOMPARE(chosen(registered), QString("2\tDahl, Erik\t"));

        page->cmdTournamentAddDriver->click();
        QCOMPARE(mf.fx.column("SELECT TournamentID FROM tblDriverInTournament WHERE DriverID=3 "
                              "ORDER BY TournamentID;"),
                 (QStringList{"1", "2"}));
        page->cmdTournamentRemoveDriver->click();
        QCOMPARE(itemTexts(registered), (QStringList{"1\tBerg, Anna\tXray", "4\tGone, Old\tKyosho",
                                                     "3\tLund, Ola\tMugen"}));
    }

    // Another tournament's lists are not a refill: a row chosen in the last
    // tournament's lists is not chosen in the new one's, where Remove would
    // then take a driver out of a tournament nobody chose him in.
    void choicesStayWithTheirTournament() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kMeeting + QStringList{"INSERT INTO tblDriverInTournament VALUES "
                                                 "(1, 2, 0);"}));
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        QListWidget* open = page->lbTournamentPotentialParticipants;
        QListWidget* registered = page->lbTournamentParticipants;
        QCOMPARE(page->cbTournamentSelectTournament->currentText(), QString("Spring Cup, Oslo"));
        open->setCurrentRow(0);       // 5, open in both tournaments
        registered->setCurrentRow(0); // 1, registered in both
        page->cbTournamentSelectTournament->setCurrentIndex(1);
        QCOMPARE(itemTexts(registered),
                 (QStringList{"1\tBerg, Anna\tXray", "3\tLund, Ola\tMugen"}));
        QVERIFY(open->selectedItems().isEmpty());
        QVERIFY(registered->selectedItems().isEmpty());
        page->cmdTournamentRemoveDriver->click();
        page->cmdTournamentAddDriver->click();
        QCOMPARE(mf.fx.column("SELECT DriverID FROM tblDriverInTournament WHERE TournamentID=2 "
                              "ORDER BY DriverID;"),
                 (QStringList{"1", "3"}));
    }

    void theFirstPageShowsChangesMadeElsewhere() {
        test::MainFixture mf;
        test::InstallFixture& fx = mf.fx;
        QVERIFY(fx.sql(kMeeting));
        frmMain& w = *mf.w;
        QVERIFY(mf.start());
        w.cmdToolbarMain_Click(1);
        QVERIFY(fx.sql({"INSERT INTO tblTournament (Name, Location) VALUES ('Winter Cup','Roros');",
                        "INSERT INTO tblDriver (Lastname, Firstname) VALUES ('Aas','Kari');",
                        "DELETE FROM tblTournament WHERE TournamentID=2;"}));
        w.cmdToolbarMain_Click(0);
        TournamentPage* page = w.pageTournament;
        QCOMPARE(itemTexts(page->cbTournamentSelectTournament),
                 (QStringList{"Spring Cup, Oslo", "Autumn Cup, Molde", "Winter Cup, Roros"}));
        QCOMPARE(page->cbTournamentDriverSelect->currentText(), QString("Aas, Kari"));
        QVERIFY(itemTexts(page->lbTournamentPotentialParticipants).contains("6\tAas, Kari\t"));
    }
};

QTEST_MAIN(TestTournamentPage)
#include "tst_tournamentpage.moc"
