// The race page on a real database with a fake lap counter port: heat
// selection, conflicts, race information, driver corrections, the race run and
// the passes of a running race.
#include "DatabaseFaults.h"
#include "DriverDetails.h"
#include "Helpers.h"
#include "ItemTexts.h"
#include "LapCounterConnection.h"
#include "MainFixture.h"
#include "MiscPage.h"
#include "PendingWrites.h"
#include "PracticePage.h"
#include "RacePage.h"
#include "RaceTiming.h"
#include "Ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

const QColor kGreen(0, 192, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

const QString kConflictText = "There is a frequency and/or transponder ID conflict in this race. "
                              "Please rectify before starting the race!";

struct Race {
    int tournament = 1;
    int code = 1;
    int category = TimeRace;
    int length = 5;
    int status = RaceNew;
    QString description = "Heat";
};

// Records each sound with what the probe says at that moment.
class ProbingSounds final : public SoundPlayer {
public:
    std::function<QString()> probe;
    QStringList played;
    QStringList paths;
    void play(const QString& file) override {
        paths << file;
        played << QFileInfo(file).fileName() + (probe ? "@" + probe() : QString());
    }
};

QString passFrame(int car, qint32 ms) {
    return QString("#P%1%2$").arg(car, 2, 16, QChar('0')).arg(ms, 6, 16, QChar('0'));
}

// A started program with tournament 1 current, on the race page.
class RaceDay {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    FakePlatform& platform = main.platform;
    frmMain& w = *main.w;
    RacePage* page = w.pageRace;
    std::shared_ptr<ProbingSounds> sounds = std::make_shared<ProbingSounds>();

    RaceDay() {
        if (!main.start())
            qFatal("start-up failed");
        if (!fx.sql({"INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');"}))
            qFatal("no tournament");
        main.state().CurrentTournamentID = 1;
        w.pageMisc->txtMiscTransponderDelay->setText("3");
        setSoundPlayer(sounds);
        w.cmdToolbarMain_Click(2);
    }

    int addDriver(const QString& last, const QString& transponder, const QString& frequency) {
        [&] {
            QVERIFY(fx.sql({QString("INSERT INTO tblDriver (Lastname, Firstname, Frequency, "
                                    "TransponderID) VALUES ('%1', 'F%1', %2, %3);")
                                .arg(last, frequency, transponder)}));
        }();
        return fx.column("SELECT max(DriverID) FROM tblDriver;").value(0).toInt();
    }

    // A race with its drivers at start positions 1..n unless given.
    int addRace(const Race& r, const QList<int>& drivers, QList<int> positions = {}) {
        [&] {
            QVERIFY(fx.sql({QString("INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, "
                                    "Length, Status, Description) VALUES (%1, %2, %3, %4, %5, "
                                    "'%6');")
                                .arg(r.tournament)
                                .arg(r.category)
                                .arg(r.code)
                                .arg(r.length)
                                .arg(r.status)
                                .arg(r.description)}));
        }();
        const int race = fx.column("SELECT max(RaceID) FROM tblRace;").value(0).toInt();
        QStringList sql;
        for (int i = 0; i < drivers.size(); ++i)
            sql << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                           "(%1, %2, %3);")
                       .arg(drivers[i])
                       .arg(race)
                       .arg(positions.isEmpty() ? i + 1 : positions[i]);
        [&] { QVERIFY(fx.sql(sql)); }();
        return race;
    }

    // Shows the races of the current tournament and selects one.
    void select(int race) {
        page->cbRaceShowRaceCategory->setCurrentIndex(2);
        page->cbRaceHeats->setCurrentIndex(page->cbRaceHeats->findData(race));
    }
    void reselect(int race) {
        page->cbRaceShowRaceCategory->setCurrentIndex(-1);
        select(race);
    }

    // Start and ten countdown ticks.
    void startAndGo() {
        page->cmdRaceStart->click();
        for (int i = 0; i < 10; ++i)
            page->tmrRaceCountdown_Timer();
    }
    void pass(int car, qint32 ms) { main.port->receive(passFrame(car, ms)); }
    void clock(qint32 ms) { main.port->receive(QString("#U%1$").arg(ms, 6, 16, QChar('0'))); }

    QString status(int race) {
        return fx.column(QString("SELECT Status FROM tblRace WHERE RaceID=%1;").arg(race)).value(0);
    }
    // Every lap of a race: entry key, total, total text, lap, lap text.
    QStringList laps(int race) {
        return fx.column(
            QString("SELECT DriverInRaceID||' '||TotalTime||' '||TotalTimeString||' '||"
                    "LapTime||' '||LapTimeString FROM tblLapInRace WHERE RaceID=%1 "
                    "ORDER BY LapInRaceID;")
                .arg(race));
    }
    // Every entry of a race by start position: laps, result, result text.
    QStringList results(int race) {
        return fx.column(QString("SELECT NumOfLaps||' '||TimeToFinish||' '||TimeToFinishString "
                                 "FROM tblDriverInRace WHERE RaceID=%1 ORDER BY StartPosition;")
                             .arg(race));
    }
    int entry(int race, int position) {
        return fx
            .column(QString("SELECT DriverInRaceID FROM tblDriverInRace WHERE RaceID=%1 AND "
                            "StartPosition=%2;")
                        .arg(race)
                        .arg(position))
            .value(0)
            .toInt();
    }
    // Everything Start could change.
    QStringList snapshot() {
        return fx.column("SELECT quote(RaceID)||quote(Status)||quote(TimeOfRace)||quote(Comment) "
                         "FROM tblRace ORDER BY RaceID;") +
               fx.column("SELECT quote(DriverInRaceID)||quote(TransponderID)||quote(NumOfLaps)||"
                         "quote(TimeToFinish) FROM tblDriverInRace ORDER BY DriverInRaceID;") +
               fx.column("SELECT count(*) FROM tblLapInRace;");
    }
    QStringList soundNames() const {
        QStringList out;
        for (const QString& s : sounds->played)
            out << s.section('@', 0, 0);
        return out;
    }
    bool toolbarEnabled() const {
        return std::all_of(w.cmdToolbarMain.begin(), w.cmdToolbarMain.end(),
                           [](QToolButton* b) { return b->isEnabled(); });
    }
    bool toolbarDisabled() const {
        return std::none_of(w.cmdToolbarMain.begin(), w.cmdToolbarMain.end(),
                            [](QToolButton* b) { return b->isEnabled(); });
    }
    QString buttons() const {
        return QString("%1%2%3")
            .arg(page->cmdRaceStart->isEnabled() ? "S" : "-")
            .arg(page->cmdRaceStop->isEnabled() ? "T" : "-")
            .arg(page->cmdRaceClear->isEnabled() ? "C" : "-");
    }
    // Texts and visibility of every score-board label and the lap counter.
    QStringList board() const {
        QStringList out;
        for (const RacePage::Row* column :
             {&page->lblRaceScoreDriver, &page->lblRaceScoreLaps, &page->lblRaceScoreTotalTime,
              &page->lblRaceScoreLastTime, &page->lblRaceScoreBestTime,
              &page->lblRaceScoreLapsDifference, &page->lblRaceScoreTotalTimeDifference,
              &page->lblRaceScoreLastTimeDifference, &page->lblRaceScoreBestTimeDifference})
            for (QLabel* l : *column)
                out << (l->isHidden() ? "-" : "+") + l->text();
        out << page->txtRaceLapCounter->text();
        return out;
    }
    QList<RecordedMessage>& messages() { return platform.boxes->messages; }
};

using test::OtherProgramLock;

// Three drivers with transponders 5, 17 and 23 in one race.
struct ThreeCars {
    RaceDay& day;
    int race = 0;
    ThreeCars(RaceDay& d, const Race& r, int cars = 3) : day(d) {
        QList<int> drivers;
        const QStringList ids{"5", "17", "23"};
        for (int i = 0; i < cars; ++i)
            drivers << day.addDriver(QString("Car%1").arg(ids[i]), ids[i],
                                     QString::number(27.1 + 0.01 * i));
        race = day.addRace(r, drivers);
        day.select(race);
    }
};

} // namespace

class TestRacePage : public QObject {
    Q_OBJECT
private slots:
    void layoutAndNames() {
        RaceDay day;
        RacePage* p = day.page;
        QCOMPARE(itemTexts(p->cbRaceShowRaceCategory),
                 (QStringList{"Qualification", "Final", "Qual. + final", "Single race"}));
        QCOMPARE(p->cbRaceShowRaceCategory->currentIndex(), -1);
        auto* stops = dynamic_cast<TabStopDelegate*>(p->lbRaceHeatParticipants->itemDelegate());
        QVERIFY(stops);
        QCOMPARE(stops->stops(), (std::vector<int>{20, 90}));
        QVERIFY(p->frameRaceInformation->isHidden());
        QVERIFY(p->frameRaceModifyDriver->isHidden());
        QCOMPARE(day.main.timing().CurrentRaceID, -1);

        QCOMPARE(p->lblRaceScoreDriver[9]->geometry(), twRect(4680, 8400, 3255, 375));
        QCOMPARE(p->lblRaceScoreBestTimeDifference[2]->geometry(), twRect(12360, 4500, 1335, 240));
        QCOMPARE(p->txtRaceTime->geometry(), twRect(4080, 840, 4935, 1335));
        QCOMPARE(p->txtRaceLapCounter->geometry(), twRect(9120, 840, 2895, 1335));
        QCOMPARE(p->cmdRaceStart->size(), twRect(0, 0, 1095, 975).size());
        QCOMPARE(RacePage::textColour(p->txtRaceTime), kGreen);
        QCOMPARE(RacePage::textColour(p->txtRaceLapCounter), kBlue);
        QCOMPARE(RacePage::textColour(p->lblRaceScoreLapsDifference[0]), kRed);
        QCOMPARE(p->lblRaceScoreDriver[0]->objectName(), QString("lblRaceScoreDriver_0"));
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(p->cmdRaceStart),
                                   static_cast<QAbstractButton*>(p->cmdRaceStop),
                                   static_cast<QAbstractButton*>(p->cmdRaceClear)})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(p->cmdRaceHeatResultPreview->isEnabled());
        QVERIFY(p->cmdRaceScoreCompareShow->isEnabled());
        QVERIFY(!p->cmdRaceStart->icon().isNull());

        // Every control a person uses is named: by its text, its caption label
        // or its own accessible name; labels never carry one.
        const QList<QLabel*> labels = p->findChildren<QLabel*>();
        for (QWidget* c : p->findChildren<QWidget*>()) {
            if (auto* l = qobject_cast<QLabel*>(c)) {
                QVERIFY2(l->accessibleName().isEmpty(), qPrintable(l->text()));
                continue;
            }
            const bool usable = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                                qobject_cast<QComboBox*>(c) || qobject_cast<QListWidget*>(c) ||
                                qobject_cast<QPlainTextEdit*>(c);
            if (!usable || qobject_cast<QComboBox*>(c->parentWidget()))
                continue;
            const auto* b = qobject_cast<QAbstractButton*>(c);
            const bool named = !c->accessibleName().isEmpty() || (b && !b->text().isEmpty()) ||
                               std::any_of(labels.begin(), labels.end(),
                                           [c](QLabel* l) { return l->buddy() == c; });
            QVERIFY2(named, qPrintable(c->objectName()));
        }
    }

    // ---- Heat selection ----

    void conflicts_data() {
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<QStringList>("transponders");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList{"27.1", "27.2"} << QStringList{"1", "2"}
                              << "No conflict";
        QTest::newRow("frequency at start positions 1 and 4")
            << QStringList{"27.1", "27.2", "27.3", "27.1"} << QStringList{"1", "2", "3", "4"}
            << "Frequency conflict";
        QTest::newRow("ID") << QStringList{"27.1", "27.2"} << QStringList{"7", "7"}
                            << "ID conflict";
        QTest::newRow("both, all zeros")
            << QStringList{"0", "0"} << QStringList{"0", "0"} << "Frequency and ID conflict";
        QTest::newRow("two without transponder")
            << QStringList{"27.1", "27.2"} << QStringList{"NULL", "NULL"} << "No conflict";
    }
    void conflicts() {
        QFETCH(QStringList, frequencies);
        QFETCH(QStringList, transponders);
        QFETCH(QString, text);
        RaceDay day;
        QList<int> drivers;
        for (int i = 0; i < frequencies.size(); ++i)
            drivers << day.addDriver(QString("D%1").arg(i), transponders[i], frequencies[i]);
        day.select(day.addRace(Race{}, drivers));

        QCOMPARE(day.page->lblRaceHeatConflicts->text(), text);
        const bool conflict = text != "No conflict";
        QCOMPARE(day.main.timing().HeatHasConflict, conflict);
        QCOMPARE(RacePage::textColour(day.page->lblRaceHeatConflicts),
                 conflict ? kRed : QApplication::palette().color(QPalette::ButtonText));
        const QString id = transponders[0] == "NULL" ? QString("none") : transponders[0];
        QCOMPARE(day.page->lbRaceHeatParticipants->item(0)->text(),
                 QString("%1\tD0, FD0\t[ID=%2 / F=%3]")
                     .arg(drivers[0])
                     .arg(id, NumberText(frequencies[0].toDouble())));
        QCOMPARE(day.page->lbRaceHeatParticipants->item(0)->data(Qt::UserRole).toInt(), drivers[0]);
    }

    void categoryFilter_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("tournament");
        QTest::addColumn<QString>("extraSql");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("selected"); // list index; -1: nothing selected
        QTest::newRow("qualification")
            << 0 << 1 << "" << QStringList{"Heat 1 (New)", "Heat 2 (Finished)"} << 0;
        QTest::newRow("final") << 1 << 1 << ""
                               << QStringList{"Semi (New)", "Final A (New)", "Old final (New)"}
                               << 0;
        QTest::newRow("qual + final without a tournament")
            << 2 << 0 << "" << QStringList{"Practice (New)", "Single X (Running)"} << 0;
        QTest::newRow("single race")
            << 3 << 1 << "" << QStringList{"<Single race registration>", "Single X (Running)"} << 1;
        QTest::newRow("no qualification heat") << 0 << 2 << "" << QStringList{} << -1;
        QTest::newRow("no single race") << 3 << 1 << "DELETE FROM tblRace WHERE RaceCode=3;"
                                        << QStringList{"<Single race registration>"} << -1;
    }
    void categoryFilter() {
        QFETCH(int, category);
        QFETCH(int, tournament);
        QFETCH(QString, extraSql);
        QFETCH(int, selected);
        RaceDay day;
        const int driver = day.addDriver("Berg", "5", "27.1");
        const int heat1 = day.addRace(Race{1, 1, TimeRace, 5, RaceNew, "Heat 1"}, {driver});
        day.addRace(Race{1, 1, TimeRace, 5, RaceFinished, "Heat 2"}, {});
        day.addRace(Race{1, 10, TimeRace, 5, RaceNew, "Final A"}, {});
        day.addRace(Race{1, 11, TimeRace, 5, RaceNew, "Semi"}, {});
        day.addRace(Race{1, 2, TimeRace, 5, RaceNew, "Old final"}, {});
        day.addRace(Race{2, 10, TimeRace, 5, RaceNew, "Other final"}, {});
        day.addRace(Race{0, 3, TimeRace, 5, RaceRunning, "Single X"}, {});
        day.addRace(Race{0, 4, TimeRace, 5, RaceNew, "Practice"}, {});
        if (!extraSql.isEmpty())
            QVERIFY(day.fx.sql({extraSql}));
        day.select(heat1);
        day.page->frameRaceModifyDriver->setVisible(true);

        day.main.state().CurrentTournamentID = tournament;
        day.page->cbRaceShowRaceCategory->setCurrentIndex(-1);
        day.page->cbRaceShowRaceCategory->setCurrentIndex(category);

        QTEST(itemTexts(day.page->cbRaceHeats), "rows");
        QCOMPARE(day.page->cbRaceHeats->currentIndex(), selected);
        QCOMPARE(day.main.timing().CurrentRaceID,
                 selected < 0 ? -1 : day.page->cbRaceHeats->itemData(selected).toInt());
        QCOMPARE(day.page->frameRaceInformation->isHidden(), selected < 0);
        QVERIFY(day.page->frameRaceModifyDriver->isHidden());
        if (selected < 0)
            QCOMPARE(day.page->lbRaceHeatParticipants->count(), 0);
    }

    void singleRaceRegistrationRow() {
        RaceDay day;
        const int single = day.addRace(Race{0, 3, TimeRace, 5, RaceNew, "Single B"}, {});
        day.page->cbRaceShowRaceCategory->setCurrentIndex(3);
        QCOMPARE(day.main.timing().CurrentRaceID, single);

        // Selecting the selected row runs nothing.
        const Database& db = day.main.state().DbConnection;
        const qint64 before = db.statementCount();
        day.page->cbRaceHeats->setCurrentIndex(1);
        day.page->cbRaceShowRaceCategory->setCurrentIndex(3);
        QCOMPARE(db.statementCount(), before);

        // Without the dialog the row opens nothing.
        day.page->showSingleRaceRegistration = nullptr;
        day.page->cbRaceHeats->setCurrentIndex(0);
        QCOMPARE(day.main.timing().CurrentRaceID, -1);
        QCOMPARE(db.statementCount(), before);

        // The dialog adds a race; then the list is read again and its first race selected.
        int added = 0;
        day.page->showSingleRaceRegistration = [&] {
            added = day.addRace(Race{0, 3, TimeRace, 5, RaceNew, "Single A"}, {});
        };
        day.page->cbRaceHeats->setCurrentIndex(1);
        day.page->cbRaceHeats->setCurrentIndex(0);
        QVERIFY(added > 0);
        QCOMPARE(itemTexts(day.page->cbRaceHeats),
                 (QStringList{"<Single race registration>", "Single A (New)", "Single B (New)"}));
        QCOMPARE(day.page->cbRaceHeats->currentIndex(), 1);
        QCOMPARE(day.main.timing().CurrentRaceID, added);
    }

    void raceInformation_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("categoryText");
        QTest::addColumn<QString>("lengthText");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("qualification time race") << 1 << 1 << 0 << "Qualification"
                                                 << "5 [minutes]"
                                                 << "New race"
                                                 << "S--";
        QTest::newRow("final laps race, left running") << 10 << 2 << 1 << "Final"
                                                       << "5 [laps]"
                                                       << "Running"
                                                       << "-TC";
        QTest::newRow("single race, unknown category") << 3 << 7 << 0 << "Single"
                                                       << "5"
                                                       << "New race"
                                                       << "S--";
        QTest::newRow("race of an old database") << 0 << 1 << 2 << "Single"
                                                 << "5 [minutes]"
                                                 << "Finished"
                                                 << "--C";
    }
    void raceInformation() {
        QFETCH(int, code);
        QFETCH(int, category);
        QFETCH(int, status);
        RaceDay day;
        const int race =
            day.addRace(Race{1, code, category, 5, status, "Heat"}, {day.addDriver("A", "1", "1")});
        QVERIFY(day.fx.sql({QString("UPDATE tblRace SET TimeOfRace='2024-05-01 10:00:00' WHERE "
                                    "RaceID=%1;")
                                .arg(race)}));
        day.select(race);
        RacePage* p = day.page;
        QTEST(p->lblRaceInfoCategory->text(), "categoryText");
        QTEST(p->lblRaceInfoLength->text(), "lengthText");
        QTEST(p->lblRaceInfoStatus->text(), "statusText");
        QCOMPARE(
            p->lblRaceInfoTimeOfRace->text(),
            QLocale().toString(QDateTime(QDate(2024, 5, 1), QTime(10, 0)), QLocale::ShortFormat));
        QTEST(day.buttons(), "buttons");
        const TimingState& t = day.main.timing();
        QCOMPARE(t.CurrentRaceCategoryID, category);
        QCOMPARE(t.CurrentRaceLength, 5);
        QCOMPARE(t.CurrentRaceStatus, status);
        QVERIFY(!p->frameRaceInformation->isHidden());
    }

    void commentIsSavedAtEveryChange() {
        RaceDay day;
        const int race = day.addRace(Race{}, {});
        QVERIFY(day.fx.sql(
            {QString("UPDATE tblRace SET Comment='It''s wet' WHERE RaceID=%1;").arg(race)}));
        const QString stored = QString("SELECT Comment FROM tblRace WHERE RaceID=%1;").arg(race);
        day.select(race);
        // Loading shows the comment and leaves the stored one as it is.
        QCOMPARE(day.page->txtRaceInfoComment->toPlainText(), QString("It's wet"));
        QCOMPARE(day.fx.column(stored), QStringList{"It's wet"});

        day.page->txtRaceInfoComment->setPlainText("O'Neil");
        QCOMPARE(day.fx.column(stored), QStringList{"O?Neil"});
        QTest::keyClick(day.page->txtRaceInfoComment, Qt::Key_X);
        QCOMPARE(day.fx.column(stored),
                 QStringList{day.page->txtRaceInfoComment->toPlainText().replace('\'', '?')});
        QCOMPARE(day.fx.column(stored).value(0).size(), 7);
    }

    // ---- Driver corrections ----

    void driverSave_data() {
        QTest::addColumn<QString>("typedId");
        QTest::addColumn<QString>("shownId");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<QString>("conflict");
        QTest::newRow("number then letter") << "12a"
                                            << "12"
                                            << "12"
                                            << "No conflict";
        QTest::newRow("letter alone") << "a"
                                      << "0"
                                      << "0"
                                      << "ID conflict";
        // As on the tournament page's driver form: an emptied box stores 0.
        QTest::newRow("emptied") << ""
                                 << ""
                                 << "0"
                                 << "ID conflict";
        QTest::newRow("highest the counter sends") << "255"
                                                   << "255"
                                                   << "255"
                                                   << "No conflict";
        // Refused: nothing of the form is stored.
        QTest::newRow("beyond what the counter sends") << "256"
                                                       << "256"
                                                       << ""
                                                       << "No conflict";
    }
    void driverSave() {
        QFETCH(QString, typedId);
        QFETCH(QString, storedId);
        RaceDay day;
        const int berg = day.addDriver("Berg", "5", "27.1");
        const int lund = day.addDriver("Lund", "0", "27.2");
        day.select(day.addRace(Race{}, {berg, lund}));
        RacePage* p = day.page;

        p->lbRaceHeatParticipants->setCurrentRow(0);
        QVERIFY(!p->frameRaceModifyDriver->isHidden());
        QCOMPARE(p->lblRaceModifyDriverName->text(), QString("Berg, FBerg"));
        QCOMPARE(p->txtRaceModifyDriverTransponderID->text(), QString("5"));
        QCOMPARE(p->txtRaceModifyDriverFrequency->text(), NumberText(27.1));

        p->txtRaceModifyDriverTransponderID->clear();
        QTest::keyClicks(p->txtRaceModifyDriverTransponderID, typedId);
        QTEST(p->txtRaceModifyDriverTransponderID->text(), "shownId");
        p->txtRaceModifyDriverCar->setText("Mugen's");
        p->txtRaceModifyDriverTeam->setText("Blue");
        p->txtRaceModifyDriverFrequency->setText("27195");
        p->chkRaceModifyDriverOwnTransponder->setChecked(true);
        const QString drivers = "SELECT quote(Car)||quote(Team)||quote(Frequency)||"
                                "quote(TransponderID)||quote(OwnTransponder) FROM tblDriver;";
        const QStringList before = day.fx.column(drivers);
        day.messages().clear();
        p->cmdRaceModifyDriverSave->click();

        if (storedId.isEmpty()) {
            QCOMPARE(day.messages().size(), 1);
            QCOMPARE(day.messages().first().text, DriverSaveIDRefusedText);
            QCOMPARE(day.messages().first().icon, MsgIcon::Critical);
            QCOMPARE(day.messages().first().title, QString("Kirv Vorel"));
            QCOMPARE(day.fx.column(drivers), before);
            QVERIFY(!p->frameRaceModifyDriver->isHidden());
            // The form keeps what was typed, to be corrected and saved again.
            QCOMPARE(
                (QStringList{p->txtRaceModifyDriverCar->text(), p->txtRaceModifyDriverTeam->text(),
                             p->txtRaceModifyDriverFrequency->text(),
                             p->txtRaceModifyDriverTransponderID->text()}),
                (QStringList{"Mugen's", "Blue", "27195", "256"}));
            QVERIFY(p->chkRaceModifyDriverOwnTransponder->isChecked());
            return;
        }
        QVERIFY(day.messages().isEmpty());
        QCOMPARE(day.fx.column(QString("SELECT Car||'|'||Team||'|'||Frequency||'|'||"
                                       "IFNULL(TransponderID,'NULL')||'|'||OwnTransponder FROM "
                                       "tblDriver WHERE DriverID=%1;")
                                   .arg(berg)),
                 QStringList{"Mugen?s|Blue|27.195|" + storedId + "|1"});
        // The heat is read again: start list, conflicts, the frame hidden.
        const QString shown = storedId == "NULL" ? QString("none") : storedId;
        QCOMPARE(
            p->lbRaceHeatParticipants->item(0)->text(),
            QString("%1\tBerg, FBerg\t[ID=%2 / F=%3]").arg(berg).arg(shown, NumberText(27.195)));
        QTEST(p->lblRaceHeatConflicts->text(), "conflict");
        QVERIFY(p->frameRaceModifyDriver->isHidden());
    }

    // Car and team keep to their columns' width, as on the tournament page.
    void driverSaveKeepsTheColumnWidths() {
        RaceDay day;
        const int berg = day.addDriver("Berg", "5", "27.1");
        day.select(day.addRace(Race{}, {berg}));
        RacePage* p = day.page;
        p->lbRaceHeatParticipants->setCurrentRow(0);
        const QString fifty(50, 'c');
        QTest::keyClicks(p->txtRaceModifyDriverCar, fifty + "dddd");
        p->txtRaceModifyDriverTeam->setText(fifty + "eeee");
        p->cmdRaceModifyDriverSave->click();
        QCOMPARE(day.fx.column(
                     QString("SELECT Car||'|'||Team FROM tblDriver WHERE DriverID=%1;").arg(berg)),
                 QStringList{fifty + "|" + fifty});
    }

    void frequencyFollowsTheRegion_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal point")
            << QLocale(QLocale::English, QLocale::UnitedStates) << "27.195";
        QTest::newRow("decimal comma") << QLocale(QLocale::German, QLocale::Germany) << "27,195";
    }
    void frequencyFollowsTheRegion() {
        QFETCH(QLocale, locale);
        QFETCH(QString, shown);
        const QLocale saved;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&] { QLocale::setDefault(saved); });
        RaceDay day;
        const int berg = day.addDriver("Berg", "5", "27.195");
        day.select(day.addRace(Race{}, {berg}));
        RacePage* p = day.page;
        QCOMPARE(p->lbRaceHeatParticipants->item(0)->text(),
                 QString("%1\tBerg, FBerg\t[ID=5 / F=%2]").arg(berg).arg(shown));

        // Shown as the region writes it, read back and stored unchanged.
        p->lbRaceHeatParticipants->setCurrentRow(0);
        QCOMPARE(p->txtRaceModifyDriverFrequency->text(), shown);
        p->cmdRaceModifyDriverSave->click();
        QCOMPARE(
            day.fx.column(QString("SELECT Frequency FROM tblDriver WHERE DriverID=%1;").arg(berg)),
            QStringList{"27.195"});
    }

    // ---- Start ----

    void startRefusals_data() {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<bool>("sameTransponder");
        QTest::addColumn<int>("statusAtSelection");
        QTest::addColumn<int>("statusLater"); // -1: unchanged
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<MsgIcon>("icon");
        QTest::addColumn<bool>("portOpened");
        const QString listTitle = "Race start list!";
        QTest::newRow("conflict") << QList<int>{1, 2} << true << 0 << -1 << kConflictText
                                  << "Race conflict!" << MsgIcon::Critical << false;
        const QList<QList<int>> lists{{1, 0}, {1, 11}, {2, 2}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
        const char* names[] = {"start position 0", "start position 11", "two on one position",
                               "eleven entries"};
        for (int i = 0; i < lists.size(); ++i)
            QTest::newRow(names[i]) << lists[i] << false << 0 << -1 << StartListProblem(lists[i])
                                    << listTitle << MsgIcon::Critical << false;
        QTest::newRow("already started")
            << QList<int>{1, 2} << false << 1 << -1
            << "This race has been started (and probably interrupted). To restart, first clear "
               "race."
            << "Race already started." << MsgIcon::None << true;
        QTest::newRow("already finished") << QList<int>{1, 2} << false << 2 << -1
                                          << "This race is finished. To restart, first clear race."
                                          << "Race already finished." << MsgIcon::None << true;
        QTest::newRow("finished after it was selected")
            << QList<int>{1, 2} << false << 0 << 2
            << "This race is finished. To restart, first clear race."
            << "Race already finished." << MsgIcon::None << true;
    }
    void startRefusals() {
        QFETCH(QList<int>, positions);
        QFETCH(bool, sameTransponder);
        QFETCH(int, statusAtSelection);
        QFETCH(int, statusLater);
        RaceDay day;
        QList<int> drivers;
        for (int i = 0; i < positions.size(); ++i)
            drivers << day.addDriver(QString("D%1").arg(i),
                                     sameTransponder ? QString("7") : QString::number(i + 1),
                                     QString::number(27.0 + 0.01 * i));
        Race r;
        r.status = statusAtSelection;
        const int race = day.addRace(r, drivers, positions);
        day.select(race);
        if (statusLater >= 0)
            QVERIFY(day.fx.sql({QString("UPDATE tblRace SET Status=%1 WHERE RaceID=%2;")
                                    .arg(statusLater)
                                    .arg(race)}));
        day.main.state().KirvOCX->CloseConnection();
        const int opens = int(day.main.port->openAttempts().size());
        const QStringList before = day.snapshot();
        day.messages().clear();

        day.page->cmdRaceStart_Click();

        QCOMPARE(day.messages().size(), 1);
        QTEST(day.messages().first().text, "text");
        QTEST(day.messages().first().title, "title");
        QTEST(day.messages().first().icon, "icon");
        QCOMPARE(day.messages().first().buttons, MsgButtons::OK);
        QCOMPARE(day.snapshot(), before);
        QTEST(day.main.port->openAttempts().size() > opens, "portOpened");
        QVERIFY(!day.page->tmrRaceCountdown.isActive());
        QVERIFY(day.sounds->played.isEmpty());
        QVERIFY(day.toolbarEnabled());
        QVERIFY(day.page->cbRaceHeats->isEnabled());
        QCOMPARE(day.main.timing().TimingMode, int(TimingRace));
        // Nothing is timed: a counter lost now gets no note asking for Stop.
        day.main.port->vanish();
        QVERIFY(day.page->lblRaceLapCounterLost->isHidden());
    }

    void countdown_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("counter");
        QTest::newRow("time race") << int(TimeRace) << 5 << "0";
        QTest::newRow("laps race of 20") << int(LapsRace) << 20 << "0/20";
    }
    void countdown() {
        QFETCH(int, category);
        QFETCH(int, length);
        RaceDay day;
        Race r;
        r.category = category;
        r.length = length;
        ThreeCars heat(day, r);
        RacePage* p = day.page;
        TimingState& t = day.main.timing();
        day.sounds->probe = [&] {
            return day.status(heat.race) + QString::number(t.CurrentRaceStatus) + "/" +
                   p->txtRaceTime->text();
        };

        p->cmdRaceStart->click();
        QCOMPARE(day.sounds->paths, QStringList{day.fx.appPath() + "res/start.wav"});
        QCOMPARE(p->txtRaceTime->text(), QString("10"));
        QCOMPARE(RacePage::textColour(p->txtRaceTime), kBlue);
        QTEST(p->txtRaceLapCounter->text(), "counter");
        QCOMPARE(RacePage::textColour(p->txtRaceLapCounter), kBlue);
        QCOMPARE(day.buttons(), QString("---"));
        QVERIFY(day.toolbarDisabled());
        QVERIFY(!p->cbRaceHeats->isEnabled() && !p->cbRaceShowRaceCategory->isEnabled() &&
                !p->lbRaceHeatParticipants->isEnabled());
        QCOMPARE(t.CarFinished, (std::array<bool, 10>{false, false, false, true, true, true, true,
                                                      true, true, true}));
        QCOMPARE(day.fx.column(QString("SELECT TransponderID FROM tblDriverInRace WHERE RaceID=%1 "
                                       "ORDER BY StartPosition;")
                                   .arg(heat.race)),
                 (QStringList{"5", "17", "23"}));
        QCOMPARE(p->lblRaceScoreDriver[1]->text(), QString("17-Car17, FCar17"));
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(p->lblRaceScoreBestTime[size_t(row)]->isHidden(), row > 2);
            QCOMPARE(p->lblRaceScoreLapsDifference[size_t(row)]->isHidden(), row == 0 || row > 2);
        }

        for (int i = 0; i < 9; ++i)
            p->tmrRaceCountdown_Timer();
        day.pass(5, 1000); // still New: ignored
        QVERIFY(!t.CarHasPassed[0]);
        p->tmrRaceCountdown_Timer();

        QCOMPARE(day.sounds->played,
                 (QStringList{"start.wav@00/10", "count.wav@00/5", "count.wav@00/4",
                              "count.wav@00/3", "count.wav@00/2", "go.wav@11/0"}));
        QVERIFY(!p->tmrRaceCountdown.isActive());
        QVERIFY(p->tmrRaceTime.isActive() && p->tmrRaceFlash.isActive());
        QCOMPARE(p->lblRaceInfoStatus->text(), QString("Running"));
        QCOMPARE(day.buttons(), QString("-T-"));
        QCOMPARE(day.main.port->written().last(), QString("#S$"));
        QVERIFY(day.toolbarDisabled());
    }

    // ---- Passes ----

    // A name longer than the driver column ends in "…" and shows whole as tooltip.
    void longDriverNameIsCut() {
        RaceDay day;
        QVERIFY(day.fx.sql({"INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) "
                            "VALUES ('Haugen', 'Vilde-Marie', 27.1, 12);"}));
        const int driver = day.fx.column("SELECT max(DriverID) FROM tblDriver;").value(0).toInt();
        day.select(day.addRace(Race{}, {driver}));
        day.page->cmdRaceStart->click();
        auto* label = qobject_cast<ElidingLabel*>(day.page->lblRaceScoreDriver[0]);
        QVERIFY(label);
        QCOMPARE(label->text(), QString("12-Haugen, Vilde-Marie"));
        const QString shown = label->shownText();
        QVERIFY2(shown.startsWith("12-Haugen") && shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());

        const QPoint at = label->rect().center();
        QHelpEvent tip(QEvent::ToolTip, at, label->mapToGlobal(at));
        QApplication::sendEvent(label, &tip);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), label->text());
        QToolTip::hideText();
    }

    void timeRaceEndsByItself() {
        RaceDay day;
        Race r;
        r.length = 1;
        ThreeCars heat(day, r, 2);
        RacePage* p = day.page;
        TimingState& t = day.main.timing();
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(17, 1500);
        day.pass(5, 31000);
        day.pass(17, 33000);
        day.clock(60000);
        QCOMPARE(t.RaceElapsedMs, 60000);
        QCOMPARE(t.PracticeElapsedMs, 60000);
        day.sounds->played.clear();
        p->tmrRaceTime_Timer();
        QCOMPARE(p->txtRaceTime->text(), QString("1:00.100"));
        QCOMPARE(RacePage::textColour(p->txtRaceTime), kRed);
        day.pass(5, 61000);
        QVERIFY(t.RaceActive);
        day.pass(17, 64000);

        const int e5 = day.entry(heat.race, 1);
        const int e17 = day.entry(heat.race, 2);
        QCOMPARE(day.laps(heat.race),
                 (QStringList{QString("%1 31000 31.000 31000 31.000").arg(e5),
                              QString("%1 33000 33.000 33000 33.000").arg(e17),
                              QString("%1 61000 61.000 30000 30.000").arg(e5),
                              QString("%1 64000 64.000 31000 31.000").arg(e17)}));
        QCOMPARE(day.results(heat.race), (QStringList{"2 1000 1.000", "2 4000 4.000"}));
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(t.CurrentRaceStatus, int(RaceFinished));
        QCOMPARE(t.TimingMode, int(TimingIdle));
        QVERIFY(!t.RaceActive && !p->tmrRaceTime.isActive());
        QCOMPARE(day.buttons(), QString("--C"));
        QVERIFY(day.toolbarEnabled() && p->cbRaceHeats->isEnabled());
        QCOMPARE(day.soundNames(),
                 (QStringList{"finish.wav", "pass.wav", "pass.wav", "complete.wav"}));
        QCOMPARE(p->lblRaceScoreDriver[0]->text(), QString("5-Car5, FCar5"));
        QCOMPARE(p->lblRaceScoreTotalTime[0]->text(), QString("1:01.000"));
        QCOMPARE(p->lblRaceScoreTotalTimeDifference[1]->text(), QString("0:03.000"));
        QCOMPARE(RacePage::textColour(p->lblRaceScoreTotalTimeDifference[1]), kRed);
        QCOMPARE(p->lblRaceScoreLastTimeDifference[1]->text(), QString("0:01.000"));
        QCOMPARE(p->txtRaceLapCounter->text(), QString("2"));

        day.pass(5, 70000); // after the stop
        QCOMPARE(day.laps(heat.race).size(), 4);
    }

    void lapsRaceEndsByItself() {
        RaceDay day;
        Race r;
        r.category = LapsRace;
        r.length = 2;
        ThreeCars heat(day, r, 2);
        RacePage* p = day.page;
        TimingState& t = day.main.timing();
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(17, 2000);
        day.pass(5, 20000);
        day.pass(17, 25000);
        QCOMPARE(p->txtRaceLapCounter->text(), QString("1/2"));
        QCOMPARE(RacePage::textColour(p->txtRaceLapCounter), kBlue);
        day.sounds->played.clear();
        day.pass(5, 40000);
        QCOMPARE(day.soundNames(), (QStringList{"pass.wav", "finish.wav"}));
        QCOMPARE(p->txtRaceLapCounter->text(), QString("2/2"));
        QCOMPARE(RacePage::textColour(p->txtRaceLapCounter), kRed);
        day.pass(17, 45000);

        QCOMPARE(day.results(heat.race), (QStringList{"2 -80000 -80.000", "2 -75000 -75.000"}));
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(t.CurrentRaceStatus, int(RaceFinished));
        QCOMPARE(t.TimingMode, int(TimingIdle));
        QVERIFY(day.toolbarEnabled());
        QCOMPARE(day.soundNames(),
                 (QStringList{"pass.wav", "finish.wav", "pass.wav", "complete.wav"}));
        // The board stays as the last pass drew it: Stop enabled, Clear not.
        QCOMPARE(day.buttons(), QString("-T-"));
        p->cmdRaceStop->click();
        QCOMPARE(day.soundNames().size(), 4);
        QCOMPARE(day.buttons(), QString("-T-"));
    }

    void transponderDelay_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("5 s") << "5" << QStringList{"8000"};
        QTest::newRow("4 s") << "4" << QStringList{"4500"};
        QTest::newRow("3.5 s, equal is not too soon") << "3.5" << QStringList{"4500", "8000"};
        QTest::newRow("not a number") << "abc" << QStringList{"4500", "8000"};
        QTest::newRow("empty") << "" << QStringList{"4500", "8000"};
    }
    void transponderDelay() {
        QFETCH(QString, delay);
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        day.startAndGo();
        day.w.pageMisc->txtMiscTransponderDelay->setText(delay);
        day.pass(5, 500);
        day.pass(5, 4500);
        day.pass(5, 8000);
        QTEST(day.fx.column(
                  QString("SELECT TotalTime FROM tblLapInRace WHERE RaceID=%1 ORDER BY TotalTime;")
                      .arg(heat.race)),
              "totals");
    }

    void refusedPassesWaitAndAreStored_data() {
        QTest::addColumn<QString>("trigger");
        const QString refuse = " BEGIN SELECT RAISE(ABORT, 'refused'); END;";
        QTest::newRow("lap row") << "CREATE TRIGGER refuse BEFORE INSERT ON tblLapInRace" + refuse;
        QTest::newRow("lap count")
            << "CREATE TRIGGER refuse BEFORE UPDATE OF NumOfLaps ON tblDriverInRace" + refuse;
        QTest::newRow("result")
            << "CREATE TRIGGER refuse BEFORE UPDATE OF TimeToFinish ON tblDriverInRace" + refuse;
    }
    // The board counts a pass the database refuses; the pass waits, told on
    // the page without a box, and is stored before the next pass once the
    // database takes it: the stored race equals one without the fault.
    void refusedPassesWaitAndAreStored() {
        QFETCH(QString, trigger);
        Race r;
        r.category = LapsRace;
        r.length = 2;
        const auto firstPasses = [](RaceDay& day) {
            day.startAndGo();
            day.pass(5, 1000);
            day.pass(17, 1500);
            day.pass(5, 20000);
        };
        // Lap 2 of car 5 gives the finish: lap row, lap count and result;
        // then a pass of the finished car writes its result again.
        const auto finishingPasses = [](RaceDay& day) {
            day.pass(5, 40000);
            day.pass(5, 45000);
        };
        const auto lastPasses = [](RaceDay& day) {
            day.pass(5, 60000);
            day.pass(17, 65000);
        };
        RaceDay clean;
        ThreeCars cleanHeat(clean, r, 2);
        firstPasses(clean);
        finishingPasses(clean);
        lastPasses(clean);

        RaceDay day;
        ThreeCars heat(day, r, 2);
        const TimingState& t = day.main.timing();
        RacePage* p = day.page;
        firstPasses(day);
        QVERIFY(day.fx.sql({trigger}));
        finishingPasses(day);
        QCoreApplication::processEvents();
        QVERIFY(day.messages().isEmpty());
        QVERIFY(!p->lblRaceWaitingPasses->isHidden());
        QCOMPARE(p->lblRaceWaitingPasses->text(),
                 QString("Passes waiting to be stored in the race database: 2. They are stored "
                         "as soon as the database accepts them."));
        QCOMPARE(p->passesWaiting(), 2);
        QVERIFY(p->tmrRaceWaitingPasses.isActive());
        // Counted on the board and by the rules as if stored.
        QCOMPARE(p->lblRaceScoreLaps[0]->text(), QString("2"));
        QVERIFY(t.RaceFinishSignalled);
        QCOMPARE(RacePage::textColour(p->txtRaceLapCounter), kRed);
        QCOMPARE(day.laps(heat.race).size(), 1);
        QCOMPARE(day.status(heat.race), QString("1"));
        QVERIFY(t.RaceActive);
        p->tmrRaceWaitingPasses_Timer(); // still refused
        QCOMPARE(p->passesWaiting(), 2);

        QVERIFY(day.fx.sql({"DROP TRIGGER refuse;"}));
        lastPasses(day);
        QCoreApplication::processEvents();
        QVERIFY(day.messages().isEmpty());
        QVERIFY(p->lblRaceWaitingPasses->isHidden());
        QVERIFY(!p->tmrRaceWaitingPasses.isActive());
        QCOMPARE(day.laps(heat.race), clean.laps(cleanHeat.race));
        QCOMPARE(day.results(heat.race), clean.results(cleanHeat.race));
        QCOMPARE(day.results(heat.race), (QStringList{"2 -80000 -80.000", "1 -55000 -55.000"}));
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(day.board(), clean.board());
    }

    void stopDuringALock_data() {
        QTest::addColumn<bool>("retryByStop"); // else by the retry timer
        QTest::newRow("stored by Stop pressed again") << true;
        QTest::newRow("stored by the retry timer") << false;
    }
    // Stop while another program holds the lock: the race stays Running on
    // the page as in the database, Stop stays available, and the race ends
    // once its waiting pass and its end are stored.
    void stopDuringALock() {
        QFETCH(bool, retryByStop);
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(5, 20000);
        auto lock = std::make_unique<OtherProgramLock>(day.fx.databaseFile());
        day.pass(5, 40000); // kept at once: the lock is not waited out
        QCOMPARE(p->passesWaiting(), 1);
        day.sounds->played.clear();

        for (int press = 0; press < 2; ++press) {
            p->cmdRaceStop->click();
            QCOMPARE(day.status(heat.race), QString("1"));
            QCOMPARE(p->lblRaceInfoStatus->text(), QString("Running"));
            QCOMPARE(day.main.timing().CurrentRaceStatus, int(RaceRunning));
            QCOMPARE(p->lblRaceWaitingPasses->text(),
                     QString("Passes waiting to be stored in the race database: 1. They are "
                             "stored as soon as the database accepts them.\n") +
                         RacePage::kRaceEndNotStoredText);
            QCOMPARE(day.buttons(), QString("-T-"));
            QVERIFY(day.toolbarDisabled() && !p->cbRaceHeats->isEnabled());
            QVERIFY(day.sounds->played.isEmpty());
            QCoreApplication::processEvents();
            QVERIFY(day.messages().isEmpty());
        }
        day.pass(5, 60000); // the lap counter is stopped: nothing more is counted
        QCOMPARE(p->passesWaiting(), 2);

        lock.reset();
        if (retryByStop)
            p->cmdRaceStop->click();
        else
            p->tmrRaceWaitingPasses_Timer();
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(p->lblRaceInfoStatus->text(), QString("Finished"));
        QCOMPARE(day.buttons(), QString("--C"));
        QVERIFY(day.toolbarEnabled() && p->cbRaceHeats->isEnabled());
        QVERIFY(p->lblRaceWaitingPasses->isHidden());
        QVERIFY(!p->tmrRaceWaitingPasses.isActive());
        QCOMPARE(day.soundNames(), QStringList{"complete.wav"});
        QCOMPARE(day.laps(heat.race).size(), 2);
        p->cmdRaceStop->click(); // nothing left to stop
        QCOMPARE(day.soundNames(), QStringList{"complete.wav"});
    }

    void goUnderALock_data() {
        QTest::addColumn<bool>("stopDuringTheLock");
        QTest::newRow("lock released while the race runs") << false;
        QTest::newRow("Stop pressed during the lock") << true;
    }
    // Another program takes the lock during the countdown: the go neither
    // waits the lock out nor gives the heat up. The race runs on the screen,
    // the counter is started, passes count and wait behind the running mark,
    // and once the lock is gone the stored race equals one without it.
    void goUnderALock() {
        QFETCH(bool, stopDuringTheLock);
        Race r;
        r.category = LapsRace;
        r.length = 3;
        const auto passes = [](RaceDay& day) {
            day.pass(5, 1000);
            day.pass(17, 1500);
            day.pass(5, 20000);
            day.pass(17, 24000);
        };
        RaceDay clean;
        ThreeCars cleanHeat(clean, r, 2);
        clean.startAndGo();
        passes(clean);
        clean.page->cmdRaceStop->click();

        RaceDay day;
        ThreeCars heat(day, r, 2);
        RacePage* p = day.page;
        const TimingState& t = day.main.timing();
        p->cmdRaceStart->click();
        auto lock = std::make_unique<OtherProgramLock>(day.fx.databaseFile());
        day.main.port->clearWritten();
        QElapsedTimer go;
        go.start();
        for (int i = 0; i < 10; ++i)
            p->tmrRaceCountdown_Timer();
        QVERIFY2(go.elapsed() < Database::kDefaultBusyTimeoutMs, "the go waited for the lock");
        QCOMPARE(day.main.state().DbConnection.busyTimeout(), kTimingLockWaitMs);
        QCoreApplication::processEvents();
        QVERIFY2(day.messages().isEmpty(), qPrintable(day.platform.boxes->lastText()));
        QCOMPARE(day.main.port->written(), QStringList{"#S$"});
        QCOMPARE(t.CurrentRaceStatus, int(RaceRunning));
        QCOMPARE(p->lblRaceInfoStatus->text(), QString("Running"));
        QCOMPARE(day.buttons(), QString("-T-"));
        QVERIFY(p->tmrRaceTime.isActive());
        QVERIFY(day.toolbarDisabled());
        QCOMPARE(day.soundNames().last(), QString("go.wav"));
        QCOMPARE(p->lblRaceWaitingPasses->text(), RacePage::kRaceStartNotStoredText);
        QVERIFY(!p->lblRaceWaitingPasses->isHidden());
        QCOMPARE(day.status(heat.race), QString("0"));

        passes(day);
        QCOMPARE(p->lblRaceScoreLaps[0]->text(), QString("1"));
        QCOMPARE(p->lblRaceWaitingPasses->text(),
                 RacePage::kRaceStartNotStoredText +
                     "\nPasses waiting to be stored in the race database: 2. They are stored "
                     "as soon as the database accepts them.");
        p->tmrRaceWaitingPasses_Timer(); // still locked
        QCOMPARE(day.status(heat.race), QString("0"));
        QVERIFY(day.laps(heat.race).isEmpty());
        if (stopDuringTheLock) {
            p->cmdRaceStop->click();
            QCOMPARE(p->lblRaceInfoStatus->text(), QString("Running"));
            QCOMPARE(day.buttons(), QString("-T-"));
            // The start, the passes and the end that wait: all of it is seen.
            QLabel* notice = p->lblRaceWaitingPasses;
            QVERIFY(notice->text().endsWith(RacePage::kRaceEndNotStoredText));
            QVERIFY2(notice->heightForWidth(notice->contentsRect().width()) <=
                         notice->contentsRect().height(),
                     "the waiting notice is cut off");
        }

        lock.reset();
        p->tmrRaceWaitingPasses_Timer();
        QVERIFY(p->lblRaceWaitingPasses->isHidden());
        QCOMPARE(day.status(heat.race), stopDuringTheLock ? QString("2") : QString("1"));
        if (!stopDuringTheLock)
            p->cmdRaceStop->click();
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(p->lblRaceInfoStatus->text(), QString("Finished"));
        QCOMPARE(day.laps(heat.race), clean.laps(cleanHeat.race));
        QCOMPARE(day.results(heat.race), clean.results(cleanHeat.race));
        QCOMPARE(day.board(), clean.board());
        QVERIFY(day.messages().isEmpty());
    }

    void closingWhilePassesWaitAsks_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("passes wait, stay") << true << MsgResult::No << false;
        QTest::newRow("passes wait, close anyway") << true << MsgResult::Yes << true;
        QTest::newRow("nothing waits") << false << MsgResult::No << false;
    }
    void closingWhilePassesWaitAsks() {
        QFETCH(bool, locked);
        QFETCH(MsgResult, answer);
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        day.startAndGo();
        day.pass(5, 1000);
        std::unique_ptr<OtherProgramLock> lock;
        if (locked)
            lock = std::make_unique<OtherProgramLock>(day.fx.databaseFile());
        day.pass(5, 20000);
        day.platform.boxes->answers = {answer};
        day.messages().clear();
        day.w.close();
        QTEST(day.w.unloaded(), "closed");
        if (!locked) {
            QCOMPARE(day.messages().size(), 1);
            QCOMPARE(day.messages().first().text,
                     QString("The race is running. Close Kirv Vorel anyway?"));
            return;
        }
        QCOMPARE(day.messages().size(), 1);
        QCOMPARE(day.messages().first().buttons, MsgButtons::YesNo);
        QCOMPARE(day.messages().first().icon, MsgIcon::Question);
        QCOMPARE(day.messages().first().text,
                 QString("1 of the race's passes (or its end) could not be stored in the race "
                         "database yet, because the database does not accept them. If you close "
                         "the program now, they are lost.\n\nClose the program anyway?"));
    }

    void startAndClearUnderALock_data() {
        QTest::addColumn<bool>("clear"); // else Start
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << false
                               << "The race could not be started, because the race database "
                                  "refused a change. Nothing was changed.";
        QTest::newRow("clear") << true << "The race could not be cleared. Nothing was changed.";
    }
    // Another program holds the write lock: Start (before the countdown) and
    // Clear answer at once with a plain refusal and change nothing; once the
    // lock is gone both work.
    void startAndClearUnderALock() {
        QFETCH(bool, clear);
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        QAbstractButton* button = p->cmdRaceStart;
        if (clear) {
            button = p->cmdRaceClear;
            day.startAndGo();
            day.pass(5, 1000);
            day.pass(5, 20000);
            p->cmdRaceStop->click();
            QCOMPARE(day.laps(heat.race).size(), 1);
        }
        const QString buttons = day.buttons();
        const QStringList before = day.snapshot();
        auto lock = std::make_unique<OtherProgramLock>(day.fx.databaseFile());
        day.messages().clear();
        day.sounds->played.clear();

        QElapsedTimer answer;
        answer.start();
        button->click();
        QVERIFY2(answer.elapsed() < 1000, qPrintable(QString::number(answer.elapsed())));
        QCOMPARE(day.messages().size(), clear ? 2 : 1); // Clear asks first
        const RecordedMessage& refusal = day.messages().last();
        QTEST(refusal.text, "text");
        QCOMPARE(refusal.title, QString("Kirv Vorel"));
        QCOMPARE(refusal.icon, MsgIcon::Critical);
        QCOMPARE(refusal.buttons, MsgButtons::OK);
        QCOMPARE(day.snapshot(), before);
        QCOMPARE(day.buttons(), buttons);
        QVERIFY(day.toolbarEnabled() && p->cbRaceHeats->isEnabled());
        QVERIFY(!p->tmrRaceCountdown.isActive());
        QVERIFY(day.sounds->played.isEmpty());
        QVERIFY(!day.main.timing().RaceActive);
        QCOMPARE(day.main.state().DbConnection.busyTimeout(), Database::kDefaultBusyTimeoutMs);

        lock.reset();
        day.messages().clear();
        button->click();
        QCOMPARE(day.messages().size(), clear ? 1 : 0);
        if (clear) {
            QVERIFY(day.laps(heat.race).isEmpty());
            QCOMPARE(day.status(heat.race), QString("0"));
            QCOMPARE(day.buttons(), QString("S--"));
            return;
        }
        QVERIFY(p->tmrRaceCountdown.isActive());
        QVERIFY(day.toolbarDisabled());
        QCOMPARE(day.buttons(), QString("---"));
        QCOMPARE(day.soundNames(), QStringList{"start.wav"});
        QVERIFY(day.snapshot() != before); // the time of the race and the transponder copies
    }

    void participantWithoutTransponderIsNeverCounted() {
        RaceDay day;
        const int none = day.addDriver("Nils", "NULL", "27.1");
        const int zero = day.addDriver("Zero", "0", "27.2");
        const int race = day.addRace(Race{}, {none, zero});
        // A copy left by an earlier run must not survive the start.
        QVERIFY(day.fx.sql(
            {QString("UPDATE tblDriverInRace SET TransponderID=0 WHERE DriverID=%1;").arg(none)}));
        day.select(race);
        QCOMPARE(day.page->lblRaceHeatConflicts->text(), QString("No conflict"));
        day.startAndGo();
        QCOMPARE(day.fx.column(QString("SELECT TransponderID FROM tblDriverInRace WHERE "
                                       "RaceID=%1 ORDER BY StartPosition;")
                                   .arg(race)),
                 (QStringList{"NULL", "0"}));
        QCOMPARE(day.page->lblRaceScoreDriver[0]->text(), QString("none-Nils, FNils"));
        day.pass(0, 1000);
        day.pass(0, 20000);
        day.pass(0, 40000);
        QCOMPARE(day.results(race), (QStringList{"0 100000000 ...", "2 100000000 ..."}));
        QVERIFY(!day.main.timing().CarHasPassed[0]);
    }

    void passesOutsideARunningRace_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("laps");
        // An earlier heat of this run whose go found the counter gone.
        QTest::addColumn<bool>("afterAHeatNotStarted");
        QTest::newRow("idle") << int(TimingIdle) << 0 << false;
        QTest::newRow("practice") << int(TimingPractice) << 0 << false;
        QTest::newRow("race, for comparison") << int(TimingRace) << 1 << false;
        QTest::newRow("race, after a heat whose counter was not started")
            << int(TimingRace) << 1 << true;
    }
    void passesOutsideARunningRace() {
        QFETCH(int, mode);
        QFETCH(bool, afterAHeatNotStarted);
        RaceDay day;
        if (afterAHeatNotStarted) {
            ThreeCars earlier(day, Race{}, 2);
            day.page->cmdRaceStart->click();
            day.main.port->vanish();
            for (int i = 0; i < 10; ++i)
                day.page->tmrRaceCountdown_Timer();
            QCOMPARE(day.page->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
            day.w.tmrLapCounterReconnect_Timer();
            QVERIFY(day.main.port->isOpen());
            day.page->cmdRaceStop->click();
            QCOMPARE(day.status(earlier.race), QString("2"));
            day.sounds->played.clear();
            day.page->cbRaceShowRaceCategory->setCurrentIndex(-1); // lists the next race too
        }
        Race r;
        r.status = RaceRunning; // left running by an earlier run of the program
        ThreeCars heat(day, r);
        QVERIFY(day.fx.sql({"UPDATE tblDriverInRace SET TransponderID=(SELECT TransponderID FROM "
                            "tblDriver WHERE tblDriver.DriverID=tblDriverInRace.DriverID);"}));
        QCOMPARE(day.main.timing().CurrentRaceStatus, int(RaceRunning));
        day.main.timing().TimingMode = mode;
        day.pass(5, 5000); // the control was never started: its repeat filter starts at 0
        day.pass(5, 20000);
        QTEST(int(day.laps(heat.race).size()), "laps");
        QCOMPARE(day.sounds->played.isEmpty(), mode != TimingRace);
    }

    void raceClock_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("finishSounds");
        QTest::newRow("time race of 3 minutes") << int(TimeRace) << kRed << 1;
        QTest::newRow("laps race") << int(LapsRace) << kGreen << 0;
    }
    void raceClock() {
        QFETCH(int, category);
        RaceDay day;
        Race r;
        r.category = category;
        r.length = 3;
        ThreeCars heat(day, r, 1);
        RacePage* p = day.page;
        day.startAndGo();
        day.clock(179900);
        p->tmrRaceTime_Timer();
        QCOMPARE(p->txtRaceTime->text(), QString("3:00.000"));
        QTEST(RacePage::textColour(p->txtRaceTime), "colour");
        p->tmrRaceTime_Timer();
        QCOMPARE(p->txtRaceTime->text(), QString("3:00.100"));
        QTEST(int(day.soundNames().count("finish.wav")), "finishSounds");
        QVERIFY(day.main.timing().RaceActive);
    }

    // A difference is red while the car is behind the leader and blue otherwise, and
    // turns back and forth as the gaps change from pass to pass.
    void differenceColoursFollowTheGaps() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        day.startAndGo();
        const std::array<QLabel*, 3> gaps{p->lblRaceScoreTotalTimeDifference[1],
                                          p->lblRaceScoreLastTimeDifference[1],
                                          p->lblRaceScoreBestTimeDifference[1]};
        QStringList seen;
        const std::pair<int, qint32> passes[] = {{5, 1000},  {17, 1500},  {5, 31000}, {17, 33000},
                                                 {5, 62000}, {17, 63000}, {5, 92000}, {17, 95000}};
        for (const auto& [car, ms] : passes) {
            day.pass(car, ms);
            QString colours;
            for (QLabel* l : gaps) {
                const QColor c = RacePage::textColour(l);
                QCOMPARE(l->palette().color(QPalette::Text), c);
                const QString gap = l->text();
                if (!gap.isEmpty()) // written once the car has a lap
                    QCOMPARE(c, !gap.startsWith('-') && gap != "0:00.000" ? kRed : kBlue);
                colours += c == kRed ? 'R' : 'B';
            }
            seen << colours;
        }
        // Until car 17's first lap its differences stay empty and red.
        QCOMPARE(seen, (QStringList{"RRR", "RRR", "RRR", "RRR", "BRR", "RBB", "BBB", "RRB"}));
    }

    void passFlashesItsRow() {
        RaceDay day;
        ThreeCars heat(day, Race{});
        RacePage* p = day.page;
        day.startAndGo();
        day.pass(17, 1000);
        QString seen;
        for (int i = 0; i < 10; ++i) {
            p->tmrRaceFlash_Timer();
            seen += RacePage::textColour(p->lblRaceScoreBestTime[1]) == kRed ? 'R' : 'B';
        }
        QCOMPARE(seen, QString("BRBRBRBRBB"));
        QCOMPARE(RacePage::textColour(p->lblRaceScoreDriver[0]), QColor(Qt::black));
    }

    // A practice session timed earlier in the run leaves its flash timer
    // running; it neither steps the heat's flashes nor paints the practice board.
    void passFlashesItsRowBesideThePracticeTimer_data() {
        QTest::addColumn<bool>("practiceFirst"); // which timer fires first every 250 ms
        QTest::newRow("race timer first") << false;
        QTest::newRow("practice timer first") << true;
    }
    void passFlashesItsRowBesideThePracticeTimer() {
        QFETCH(bool, practiceFirst);
        RaceDay day;
        ThreeCars heat(day, Race{});
        RacePage* p = day.page;
        PracticePage* practice = day.w.pagePractice;
        day.startAndGo();
        day.pass(17, 1000);
        QString seen;
        for (int i = 0; i < 12; ++i) {
            if (practiceFirst)
                practice->tmrPracticeFlash_Timer();
            p->tmrRaceFlash_Timer();
            if (!practiceFirst)
                practice->tmrPracticeFlash_Timer();
            seen += RacePage::textColour(p->lblRaceScoreBestTime[1]) == kRed ? 'R' : 'B';
        }
        QCOMPARE(seen, QString("BRBRBRBRBBBB"));
        for (size_t r = 0; r < kSlotCount; ++r)
            QCOMPARE(RacePage::textColour(practice->lblPracticeScoreBestTime[r]),
                     QColor(Qt::black));
    }

    // Practice starts right after the heat, and a newcomer takes the slot of
    // the heat's last pass while that row still flashes: the heat's row
    // rests black, after Clear and in the next countdown too, and the
    // practice row flashes as always.
    void rowFlashCutShortByPracticeRestsBlack_data() {
        QTest::addColumn<int>("raceTicks"); // race flash ticks before the practice pass
        QTest::newRow("the heat's row red") << 2;
        QTest::newRow("the heat's row black") << 3;
    }
    void rowFlashCutShortByPracticeRestsBlack() {
        QFETCH(int, raceTicks);
        RaceDay day;
        ThreeCars heat(day, Race{}, 1);
        RacePage* p = day.page;
        PracticePage* practice = day.w.pagePractice;
        auto heatRowBlack = [&] {
            for (const RacePage::Row* column :
                 {&p->lblRaceScoreDriver, &p->lblRaceScoreLaps, &p->lblRaceScoreTotalTime,
                  &p->lblRaceScoreLastTime, &p->lblRaceScoreBestTime})
                if (RacePage::textColour((*column)[0]) != QColor(Qt::black))
                    return false;
            return true;
        };
        day.startAndGo();
        day.pass(5, 1000);
        for (int i = 0; i < raceTicks; ++i)
            p->tmrRaceFlash_Timer();
        QCOMPARE(heatRowBlack(), raceTicks % 2 == 1);
        p->cmdRaceStop->click();

        practice->cmdPracticeStart_Click();
        day.pass(9, 1500);
        QString seen;
        for (int i = 0; i < 12; ++i) {
            p->tmrRaceFlash_Timer();
            practice->tmrPracticeFlash_Timer();
            seen += RacePage::textColour(practice->lblPracticeScoreBestTime[0]) == kRed ? 'R' : 'B';
        }
        QCOMPARE(seen, QString("BRBRBRBRBBBB"));
        QVERIFY(heatRowBlack());
        practice->cmdPracticeStop_Click();

        day.reselect(heat.race);
        day.platform.boxes->answers = {MsgResult::Yes};
        p->cmdRaceClear->click();
        QCOMPARE(day.status(heat.race), QString("0"));
        QVERIFY(heatRowBlack());
        p->cmdRaceStart->click();
        for (int i = 0; i < 4; ++i) {
            p->tmrRaceCountdown_Timer();
            p->tmrRaceFlash_Timer();
        }
        QVERIFY(p->lblRaceScoreDriver[0]->isVisibleTo(p));
        QVERIFY(heatRowBlack());
    }

    // ---- After the race ----

    void clearKeepsTheResults() {
        RaceDay day;
        Race r;
        r.category = LapsRace;
        r.length = 1;
        ThreeCars heat(day, r, 2);
        RacePage* p = day.page;
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(17, 1500);
        day.pass(5, 20000);
        day.pass(17, 22000);
        QCOMPARE(day.status(heat.race), QString("2"));
        day.reselect(heat.race);
        QCOMPARE(day.buttons(), QString("--C"));
        const QStringList results = day.results(heat.race);
        const QString copies = QString("SELECT TransponderID FROM tblDriverInRace WHERE RaceID=%1 "
                                       "ORDER BY StartPosition;")
                                   .arg(heat.race);

        day.platform.boxes->answers = {MsgResult::No};
        p->cmdRaceClear->click();
        QCOMPARE(day.laps(heat.race).size(), 2);
        QCOMPARE(day.status(heat.race), QString("2"));

        day.messages().clear();
        p->cmdRaceClear->click();
        QCOMPARE(day.messages().size(), 1);
        QCOMPARE(
            day.messages().first().text,
            QString("You are about to delete all registeres laps in this race. Are you sure?"));
        QCOMPARE(day.messages().first().title, QString("Clear race?"));
        QCOMPARE(day.messages().first().buttons, MsgButtons::YesNo);
        QCOMPARE(day.messages().first().icon, MsgIcon::None);
        QVERIFY(day.laps(heat.race).isEmpty());
        QCOMPARE(day.fx.column(QString("SELECT Status||IFNULL(TimeOfRace,'-') FROM tblRace WHERE "
                                       "RaceID=%1;")
                                   .arg(heat.race)),
                 QStringList{"0-"});
        QCOMPARE(day.results(heat.race), results);
        QCOMPARE(day.fx.column(copies), (QStringList{"5", "17"}));
        QCOMPARE(day.buttons(), QString("S--"));
        QCOMPARE(p->lblRaceInfoStatus->text(), QString("New race"));
        QVERIFY(p->lblRaceInfoTimeOfRace->text().isEmpty());
        QCOMPARE(day.main.timing().CarFinished, (std::array<bool, 10>{}));
    }

    void finishedBoardIsRebuilt_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("passes"); // car@ms; clock@ms moves the race clock
        QTest::newRow("time race")
            << int(TimeRace)
            << QStringList{"5@1000",      "17@1500", "5@20000",  "17@25000", "5@40000",
                           "clock@60000", "5@61000", "17@64000", "23@65000"};
        QTest::newRow("laps race")
            << int(LapsRace) << QStringList{"5@1000",  "17@1500",  "5@20000", "17@25000",
                                            "5@40000", "23@42000", "17@45000"};
    }
    void finishedBoardIsRebuilt() {
        QFETCH(int, category);
        QFETCH(QStringList, passes);
        RaceDay day;
        Race r;
        r.category = category;
        r.length = category == TimeRace ? 1 : 2;
        ThreeCars heat(day, r);
        const int other = day.addRace(Race{1, 1, TimeRace, 5, RaceNew, "Other"}, {});
        day.startAndGo();
        for (const QString& pass : passes) {
            const qint32 ms = pass.section('@', 1).toInt();
            if (pass.startsWith("clock"))
                day.clock(ms);
            else
                day.pass(pass.section('@', 0, 0).toInt(), ms);
        }
        QCOMPARE(day.status(heat.race), QString("2"));
        const QStringList atTheEnd = day.board();
        QCOMPARE(day.page->lblRaceScoreDriver[2]->text(), QString("23-Car23, FCar23"));

        day.reselect(other);
        QVERIFY(day.page->lblRaceScoreDriver[0]->isHidden());
        day.select(heat.race);
        QCOMPARE(day.board(), atTheEnd);
    }

    void raceLeftRunningCanBeCleared() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        // An earlier run of the program stopped in the middle of this race.
        const int e5 = day.entry(heat.race, 1);
        QVERIFY(day.fx.sql(
            {QString("UPDATE tblRace SET Status=1, TimeOfRace='2024-05-01 10:00:00' WHERE "
                     "RaceID=%1;")
                 .arg(heat.race),
             QString("INSERT INTO tblLapInRace (DriverInRaceID, TotalTime, TotalTimeString, "
                     "LapTime, LapTimeString, RaceID) VALUES (%1, 20000, '20.000', 20000, "
                     "'20.000', %2);")
                 .arg(e5)
                 .arg(heat.race)}));
        day.reselect(heat.race);
        QCOMPARE(day.buttons(), QString("-TC"));
        p->cmdRaceStop->click(); // no race of this program to stop
        QCOMPARE(day.status(heat.race), QString("1"));

        p->cmdRaceClear->click();
        QVERIFY(day.laps(heat.race).isEmpty());
        QCOMPARE(day.status(heat.race), QString("0"));
        QCOMPARE(day.buttons(), QString("S--"));

        // Run again: while this program times it, Clear stays off.
        day.startAndGo();
        QCOMPARE(day.buttons(), QString("-T-"));
        day.pass(5, 1000);
        day.pass(5, 20000);
        QCOMPARE(day.laps(heat.race), QStringList{QString("%1 20000 20.000 20000 20.000").arg(e5)});
    }

    void lapCounterLost() {
        RaceDay day;
        ThreeCars heat(day, Race{});
        RacePage* p = day.page;
        p->LapCounterLost(); // nothing runs
        QVERIFY(p->lblRaceLapCounterLost->isHidden());
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(5, 20000);
        day.main.port->vanish(); // the counter is unplugged
        QCOMPARE(day.main.state().shapeHWStatusIndicator->fillColor(), Colours::DarkRed);
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);
        QVERIFY(day.messages().isEmpty());
        p->cmdRaceStop->click();
        QCOMPARE(day.status(heat.race), QString("2"));
        QCOMPARE(day.laps(heat.race).size(), 1);
        QCOMPARE(day.buttons(), QString("--C"));
        // Stopped: the note no longer asks for Stop.
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(),
                 QString("Contact with the lap counter was lost. Every counted lap is stored."));
    }

    // The counter is gone at the go, so the start command cannot be sent. The
    // page says at once that the counter was not started, and keeps saying it
    // once the port is open again; the start is not sent later, and nothing
    // the counter sends is counted. Stop, Clear and a new Start run the heat.
    void counterGoneAtTheGo() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        frmMain& w = day.w;
        FakeSerialPort* port = day.main.port;
        p->cmdRaceStart->click();
        for (int i = 0; i < 5; ++i)
            p->tmrRaceCountdown_Timer();
        port->vanish();
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostBeforeTheGoText);
        for (int i = 0; i < 5; ++i)
            p->tmrRaceCountdown_Timer();
        QCOMPARE(day.main.timing().CurrentRaceStatus, int(RaceRunning));
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);

        port->clearWritten();
        w.tmrLapCounterReconnect_Timer();
        QVERIFY(port->isOpen());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);
        day.pass(5, 1000);
        day.pass(5, 20000);
        QVERIFY(day.laps(heat.race).isEmpty());
        QCOMPARE(p->lblRaceScoreLaps[0]->text(), QString("0"));
        port->vanish();
        w.tmrLapCounterReconnect_Timer();
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
        QVERIFY(!port->written().contains("#S$"));
        QVERIFY(day.messages().isEmpty());

        p->cmdRaceStop->click();
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
        day.platform.boxes->answers = {MsgResult::Yes};
        p->cmdRaceClear->click();
        // The cleared heat is new: the note about its run goes.
        QVERIFY(p->lblRaceLapCounterLost->isHidden());
        day.startAndGo();
        QVERIFY(p->lblRaceLapCounterLost->isHidden());
        day.pass(5, 1000);
        day.pass(5, 20000);
        QCOMPARE(day.laps(heat.race).size(), 1);
    }

    // The note that contact is back stays after Stop while that is true, and
    // goes once the counter is gone again.
    void backNoteGoesWithTheContact() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        day.startAndGo();
        day.pass(5, 1000);
        day.main.port->vanish();
        day.w.tmrLapCounterReconnect_Timer();
        day.pass(5, 20000);
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterBackText);
        p->cmdRaceStop->click();
        QCOMPARE(day.status(heat.race), QString("2"));
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterBackText);
        day.main.port->vanish();
        QCOMPARE(day.main.state().shapeHWStatusIndicator->fillColor(), Colours::DarkRed);
        QVERIFY(p->lblRaceLapCounterLost->isHidden());
    }

    // Contact lost in the countdown, while Stop is disabled: the note does not
    // ask for Stop. The port opens again before the go, the start command
    // reaches the counter, and from the go the note says the race can be
    // stopped; the counter's first frame says contact is back.
    void lapCounterLostInTheCountdown() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        FakeSerialPort* port = day.main.port;
        p->cmdRaceStart->click();
        for (int i = 0; i < 5; ++i)
            p->tmrRaceCountdown_Timer();
        port->vanish();
        QCOMPARE(day.buttons(), QString("---"));
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(),
                 QString("Contact with the lap counter was lost during the countdown. The race "
                         "can be stopped once it has started."));
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);
        day.w.tmrLapCounterReconnect_Timer();
        QVERIFY(port->isOpen());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostBeforeTheGoText);

        port->clearWritten();
        for (int i = 0; i < 5; ++i)
            p->tmrRaceCountdown_Timer();
        QCOMPARE(port->written(), QStringList{"#S$"});
        QCOMPARE(day.buttons(), QString("-T-"));
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);
        day.pass(5, 1000);
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterBackText);
        day.pass(5, 20000);
        QCOMPARE(day.laps(heat.race).size(), 1);
    }

    // While passes wait for the database, the note of a lost counter does not
    // say that every counted lap is stored; once they are, it does again.
    void lapCounterLostWhilePassesWait() {
        RaceDay day;
        ThreeCars heat(day, Race{}, 2);
        RacePage* p = day.page;
        day.startAndGo();
        day.pass(5, 1000);
        auto lock = std::make_unique<OtherProgramLock>(day.fx.databaseFile());
        day.pass(5, 20000);
        day.main.port->vanish();
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostPassesWaitText);
        QVERIFY(!p->lblRaceWaitingPasses->isHidden());
        lock.reset();
        p->tmrRaceWaitingPasses_Timer();
        QVERIFY(p->lblRaceWaitingPasses->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);
        QCOMPARE(day.laps(heat.race).size(), 1);
    }

    // A counter that comes back while the race runs is opened again on the
    // port it was lost on, and read on: the control's repeat filter and the
    // race go on where they stopped, and the note says passes in the gap were
    // not seen. Nothing is sent to the counter, whose clock kept running.
    void lapCounterComesBack() {
        RaceDay day;
        ThreeCars heat(day, Race{});
        RacePage* p = day.page;
        frmMain& w = day.w;
        FakeSerialPort* port = day.main.port;
        auto indicator = [&] { return day.main.state().shapeHWStatusIndicator->fillColor(); };
        // Only the control's filter holds back a car's repeated pass.
        w.pageMisc->txtMiscTransponderDelay->setText("0");
        day.startAndGo();
        day.pass(5, 1000);
        day.pass(5, 20000);
        port->vanish();
        QVERIFY(w.tmrLapCounterReconnect.isActive());
        QCOMPARE(w.tmrLapCounterReconnect.interval(), 1000);

        // Still gone: the try fails quietly. The port box changed meanwhile;
        // the lost port is the one tried.
        port->refuseDevice("/dev/ttyS0");
        w.pageMisc->txtMiscComport->setText("2");
        w.tmrLapCounterReconnect_Timer();
        QVERIFY(!port->isOpen());
        QCOMPARE(port->openAttempts().last(), QString("/dev/ttyS0"));
        QCOMPARE(indicator(), Colours::DarkRed);
        QVERIFY(w.tmrLapCounterReconnect.isActive());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);

        port->acceptDevice("/dev/ttyS0");
        port->clearWritten();
        w.tmrLapCounterReconnect_Timer();
        QVERIFY(port->isOpen());
        QVERIFY(!w.tmrLapCounterReconnect.isActive());
        // Open, but nothing has come from the counter yet: it may have started
        // again without its start command and time nothing.
        QCOMPARE(indicator(), Colours::DarkRed);
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);

        // 22000 lies within 3000 ms of the pass at 20000: still refused.
        day.pass(5, 22000);
        QCOMPARE(indicator(), Colours::DarkRed);
        day.pass(5, 40000);
        QCOMPARE(indicator(), Colours::Green);
        QVERIFY(!p->lblRaceLapCounterLost->isHidden());
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterBackText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), QColor(Qt::black));
        QVERIFY(port->written().isEmpty());
        const int e5 = day.entry(heat.race, 1);
        QCOMPARE(day.laps(heat.race),
                 (QStringList{QString("%1 20000 20.000 20000 20.000").arg(e5),
                              QString("%1 40000 40.000 20000 20.000").arg(e5)}));
        QVERIFY(day.messages().isEmpty());

        // Lost again: the red note is back.
        port->vanish();
        QCOMPARE(p->lblRaceLapCounterLost->text(), RacePage::kLapCounterLostText);
        QCOMPARE(RacePage::textColour(p->lblRaceLapCounterLost), kRed);

        // Once the race has ended, nothing is tried.
        p->cmdRaceStop->click();
        w.tmrLapCounterReconnect_Timer();
        QVERIFY(!w.tmrLapCounterReconnect.isActive());
        QVERIFY(!port->isOpen());
    }
};

QTEST_MAIN(TestRacePage)
#include "tst_racepage.moc"
