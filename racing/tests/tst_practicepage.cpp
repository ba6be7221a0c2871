// The Practice page on a real database, with passes handed to the lap counter
// control through a fake port: start and stop, newcomers and their links, laps,
// removing cars by hand and when idle, the two lists and the delay box.
#include "DatabaseFaults.h"
#include "ItemTexts.h"
#include "LapCounterConnection.h"
#include "MainFixture.h"
#include "MiscPage.h"
#include "PracticePage.h"
#include "PracticeRules.h"
#include "RacePage.h"
#include "Ui.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

const QString kPortFailure = "Unable to open COM1. Make sure that no other application is using "
                             "that comport, or select a different port.";

QString passFrame(int car, qint32 ms) {
    return QString("#P%1%2$")
        .arg(car, 2, 16, QLatin1Char('0'))
        .arg(ms, 6, 16, QLatin1Char('0'))
        .toUpper();
}

// A started program on the Practice page, with helpers to drive and read it.
class Practice {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    frmMain& w = *main.w;
    PracticePage* page = w.pagePractice;

    // keyBase > 0: every table's keys start above it.
    explicit Practice(qint64 keyBase = 0) {
        if (keyBase > 0)
            for (const char* table : {"tblRace", "tblDriverInRace", "tblDriver", "tblLapInRace"})
                if (!fx.sql({QString("DELETE FROM sqlite_sequence WHERE name='%1';").arg(table),
                             QString("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2);")
                                 .arg(table)
                                 .arg(keyBase)}))
                    qFatal("key base not set");
        if (!main.start())
            qFatal("start-up failed");
        w.cmdToolbarMain[5]->click();
        main.messages().clear();
    }

    qint64 addDriver(const QString& last, const QString& first, int transponder, bool own,
                     bool deleted = false) {
        const bool ok =
            fx.sql({QString("INSERT INTO tblDriver (Lastname, Firstname, Car, TransponderID, "
                            "OwnTransponder, Deleted) VALUES ('%1', '%2', 'Buggy', %3, %4, %5);")
                        .arg(last, first)
                        .arg(transponder)
                        .arg(own ? 1 : 0)
                        .arg(deleted ? 1 : 0)});
        if (!ok)
            qFatal("driver not added");
        return fx.column("SELECT max(DriverID) FROM tblDriver;").value(0).toLongLong();
    }

    void pass(int car, qint32 ms) { main.port->receive(passFrame(car, ms)); }

    QStringList row(int i) const {
        const auto s = size_t(i);
        return {page->lblPracticeScoreDriver[s]->text(), page->lblPracticeScoreLaps[s]->text(),
                page->lblPracticeScoreTotalTime[s]->text(),
                page->lblPracticeScoreLastTime[s]->text(),
                page->lblPracticeScoreBestTime[s]->text()};
    }
    bool rowShown(int i) const {
        const auto s = size_t(i);
        const bool shown = page->lblPracticeScoreDriver[s]->isVisibleTo(page);
        for (QWidget* wdg : std::initializer_list<QWidget*>{
                 page->lblPracticeScoreLaps[s], page->lblPracticeScoreTotalTime[s],
                 page->lblPracticeScoreLastTime[s], page->lblPracticeScoreBestTime[s],
                 page->cmdPracticeLapProgressPreview[s], page->cmdPracticeDelete[s]})
            if (wdg->isVisibleTo(page) != shown)
                qFatal("a row is partly shown");
        return shown;
    }
    QList<int> shownRows() const {
        QList<int> rows;
        for (int i = 0; i < kSlotCount; ++i)
            if (rowShown(i))
                rows << i;
        return rows;
    }
    QString practiceRaceId() const {
        return fx.column("SELECT RaceID FROM tblRace WHERE RaceCode=4;").join(',');
    }
    // The session's entries as "position:transponder:driver".
    QStringList entries() const {
        return fx.column("SELECT StartPosition || ':' || TransponderID || ':' || DriverID FROM "
                         "tblDriverInRace ORDER BY StartPosition;");
    }
    int soundsOf(const QString& name) const {
        int n = 0;
        for (const QString& f : main.platform.sounds->played)
            n += f.endsWith("res/" + name) ? 1 : 0;
        return n;
    }
    bool toolbarEnabled() const {
        for (QToolButton* b : w.cmdToolbarMain)
            if (!b->isEnabled())
                return false;
        return true;
    }
};

enum class Fault { None, FullDisk, Lock };

// What a session leaves: the stored rows (without keys) and the board.
struct SessionRecord {
    QStringList entries;
    QStringList laps;
    QStringList board;
};

// A session of three cars with a removal and a manual link; the fault lasts
// from car 6's first lap until after car 9 took the freed row.
SessionRecord runSession(Fault fault) {
    Practice p;
    PracticePage* page = p.page;
    p.addDriver("Vorel", "Anna", 99, false);
    page->cmdPracticeStart->click();
    p.pass(5, 1000);
    p.pass(6, 1500);
    p.pass(5, 31000);

    Database& db = p.w.state().DbConnection;
    test::FullDisk full(db);
    std::unique_ptr<test::HeldLock> lock;
    if (fault == Fault::FullDisk && !full.begin())
        qFatal("the disk could not be filled");
    if (fault == Fault::Lock) {
        lock = std::make_unique<test::HeldLock>(p.fx.databaseFile());
        if (!lock->held())
            qFatal("no lock");
    }
    const bool faulty = fault != Fault::None;
    p.pass(6, 34000);
    // Queued at once: counted on the board, and said so.
    if (p.row(1).at(1) != "1" || page->lblPracticeWaitingWrites->isVisibleTo(page) != faulty)
        qFatal("the pass during the fault was not counted and queued");
    if (faulty && !page->lblPracticeWaitingWrites->text().startsWith(
                      "Passes waiting to be stored in the race database: 1."))
        qFatal("the notice does not count the pass");
    p.pass(7, 35000);
    p.pass(7, 39000);
    p.pass(5, 62000);
    page->cmdPracticeDelete[1]->click();
    page->lbPracticeUnassignedTransponders->setCurrentRow(0); // car 5
    page->lbPracticeUnassignedDrivers->setCurrentRow(0);
    page->cmdPracticeAssignDriver->click();
    p.pass(9, 66000);
    p.pass(7, 43000);
    if (faulty && !page->lblPracticeWaitingWrites->text().startsWith(
                      "Passes waiting to be stored in the race database: 6."))
        qFatal("the notice does not count the passes");
    if (faulty &&
        p.fx.column("SELECT count(*) FROM tblLapInRace WHERE RaceID<30000;") != QStringList{"1"})
        qFatal("the fault let writes through");

    // Once the database takes writes again, the retry stores them in order.
    if (!full.end())
        qFatal("the disk could not be emptied");
    lock.reset();
    page->tmrPracticeWrites_Timer();
    if (page->lblPracticeWaitingWrites->isVisibleTo(page) || page->tmrPracticeWrites.isActive())
        qFatal("the notice stays after the writes were stored");
    p.pass(9, 70000);
    page->cmdPracticeStop->click();
    if (!p.main.messages().isEmpty())
        qFatal("a box interrupted practice: %s", qPrintable(p.main.messages().first().text));

    SessionRecord r;
    r.entries = p.fx.column("SELECT StartPosition || ':' || TransponderID || ':' || DriverID || "
                            "':' || StartDelay || ':' || NumOfLaps FROM tblDriverInRace ORDER BY "
                            "DriverInRaceID;");
    r.laps = p.fx.column("SELECT TransponderID || ':' || TotalTime || ':' || LapTime || ':' || "
                         "TotalTimeString || ':' || LapTimeString || ':' || tblLapInRace.RaceID "
                         "FROM tblLapInRace INNER JOIN tblDriverInRace ON "
                         "tblLapInRace.DriverInRaceID=tblDriverInRace.DriverInRaceID ORDER BY "
                         "LapInRaceID;");
    r.laps << p.fx.column("SELECT Status FROM tblRace;");
    for (int i = 0; i < 3; ++i)
        r.board << p.row(i).join('|');
    return r;
}

// Chooses the row of a list that shows the text; false when none does.
bool choose(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    list->setCurrentItem(found.first());
    return true;
}

// Links, newcomers and a removal, with or without another program's lock
// from the first link until the end: the two lists after each step, then
// the stored entries once the lock is gone.
QStringList listsOfASession(bool locked) {
    Practice p;
    PracticePage* page = p.page;
    p.addDriver("Aas", "Per", 51, true);
    p.addDriver("Berg", "Ben", 40, false);
    p.addDriver("Cole", "Cleo", 61, false);
    p.addDriver("Dahl", "Dan", 62, true);
    page->cmdPracticeStart->click();
    p.pass(51, 1000); // Per's own transponder links him
    p.pass(40, 1200);
    p.pass(9, 1400);
    QStringList out;
    auto lists = [&](const QString& step) {
        out << step + ": " + itemTexts(page->lbPracticeUnassignedTransponders).join(" | ") + " / " +
                   itemTexts(page->lbPracticeUnassignedDrivers).join(" | ");
    };
    lists("at the start");
    std::unique_ptr<test::HeldLock> lock;
    if (locked) {
        lock = std::make_unique<test::HeldLock>(p.fx.databaseFile());
        if (!lock->held())
            qFatal("no lock");
    }
    auto link = [&](const QString& transponder, const QString& driver) {
        const bool chosen = choose(page->lbPracticeUnassignedTransponders, transponder) &&
                            choose(page->lbPracticeUnassignedDrivers, driver);
        page->cmdPracticeAssignDriver->click();
        lists(QString("link %1 to %2%3").arg(transponder, driver, chosen ? "" : " (not offered)"));
    };
    link("Started: 2, TransponderID: 40", "Berg, Ben (Buggy) [ID=40]");
    p.pass(61, 2000); // a newcomer
    lists("newcomer 61");
    p.pass(62, 2200); // a newcomer linked by his own transponder
    lists("newcomer 62");
    page->cmdPracticeDelete[2]->click(); // car 9
    lists("car 9 removed");
    p.pass(7, 2500); // takes the freed row
    lists("newcomer 7");
    link("Started: 3, TransponderID: 7", "Cole, Cleo (Buggy) [ID=61]");
    p.pass(40, 32000);
    lists("a lap of 40");
    if (locked &&
        page->lblPracticeWaitingWrites->palette().color(QPalette::WindowText) != QColor(255, 0, 0))
        qFatal("the waiting notice is not red");

    lock.reset();
    page->tmrPracticeWrites_Timer();
    lists("stored");
    out << p.fx.column("SELECT StartPosition || ':' || TransponderID || ':' || DriverID || ':' || "
                       "ifnull(NumOfLaps, '-') FROM tblDriverInRace ORDER BY StartPosition;");
    if (!p.main.messages().isEmpty())
        qFatal("a box interrupted practice: %s", qPrintable(p.main.messages().first().text));
    return out;
}

// A driver who has transponder 7.
struct Owner {
    QString lastname;
    bool own;
    bool deleted;
};

} // namespace

Q_DECLARE_METATYPE(QList<Owner>)
Q_DECLARE_METATYPE(Fault)

class TestPracticePage : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        Practice p;
        PracticePage* page = p.page;
        QCOMPARE(page->title(), QString("Practice"));
        QCOMPARE(page->cmdPracticeStart->toolTip(), QString("Start practice."));
        QCOMPARE(page->cmdPracticeStop->toolTip(), QString("Stop practice."));
        QVERIFY(page->cmdPracticeStart->isEnabled());
        QVERIFY(!page->cmdPracticeStop->isEnabled());
        QVERIFY(page->chkPracticeAutoAssign->isChecked());
        QCOMPARE(page->txtPracticeTime->text(), QString("0:00.000"));
        QCOMPARE(page->txtPracticeTime->geometry(), twRect(4080, 840, 10695, 1335));
        QCOMPARE(page->cmdPracticeDelete[9]->geometry(), twRect(14280, 8400, 375, 375));
        QCOMPARE(page->lblPracticeScoreTotalTime[0]->text(), QString("99:12.100"));
        QVERIFY(p.shownRows().isEmpty());
        // Picture buttons are named by their purpose.
        QCOMPARE(page->cmdPracticeDelete[2]->accessibleName(), QString("Remove the car of row 3"));
        QVERIFY(!page->cmdPracticeStart->accessibleName().isEmpty());
        QVERIFY(page->cmdPracticeLapProgressPreview[0]->isEnabled());
        QVERIFY(page->cmdPracticeScoreCompareShow->isEnabled());
    }

    // A session of two cars, one linked automatically, then Stop and a new Start.
    void session_data() {
        QTest::addColumn<qint64>("keyBase");
        QTest::newRow("small keys") << qint64(0);
        QTest::newRow("keys beyond 16 bits") << qint64(70000);
    }
    void session() {
        QFETCH(qint64, keyBase);
        Practice p(keyBase);
        PracticePage* page = p.page;
        const qint64 anna = p.addDriver("Vorel", "Anna", 12, true);
        const QString annaRow = "Vorel, Anna (Buggy) [ID=12]";

        page->cmdPracticeStart->click();
        const QString race = p.practiceRaceId();
        QVERIFY(race.toLongLong() > keyBase);
        QCOMPARE(p.w.timing().CurrentRaceID, race.toInt());
        QCOMPARE(p.w.timing().TimingMode, int(TimingPractice));
        QCOMPARE(p.fx.column("SELECT Status || ',' || Description || ',' || (TimeOfRace IS NOT "
                             "NULL) FROM tblRace;"),
                 QStringList{"1,Practice,1"});
        QVERIFY(!p.toolbarEnabled());
        QVERIFY(!page->cmdPracticeStart->isEnabled());
        QVERIFY(page->cmdPracticeStop->isEnabled());
        QVERIFY(page->tmrPracticeTime.isActive() && page->tmrPracticeFlash.isActive());
        QCOMPARE(p.main.port->written().last(), QString("#S$"));
        QCOMPARE(p.soundsOf("go.wav"), 1);
        QCOMPARE(itemTexts(page->lbPracticeUnassignedDrivers), QStringList{annaRow});

        // The first newcomer: row 1 by its number, no lap, its first crossing stored.
        p.pass(7, 12000);
        QCOMPARE(p.shownRows(), QList<int>{0});
        QCOMPARE(p.row(0),
                 (QStringList{"Transponder: 7", "0", "0:00.000", "0:00.000", "0:00.000"}));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 QStringList{"Started: 1, TransponderID: 7"});
        QCOMPARE(p.fx.column("SELECT RaceID || ':' || StartDelay || ':' || TimeToFinish || ':' || "
                             "TimeToFinishString FROM tblDriverInRace;"),
                 QStringList{race + ":12000:100000000:..."});
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"0"});
        QCOMPARE(p.soundsOf("pass.wav"), 1);

        // Anna's own transponder links her at once.
        p.pass(12, 13000);
        QCOMPARE(p.row(1).first(), QString("12-Vorel, Anna"));
        QCOMPARE(p.entries(), (QStringList{"1:7:0", "2:12:" + QString::number(anna)}));
        QVERIFY(itemTexts(page->lbPracticeUnassignedDrivers).isEmpty());

        // Car 7's second crossing 30.5 s later: lap 1, whatever the practice clock says.
        for (int i = 0; i < 7; ++i)
            page->tmrPracticeTime_Timer();
        QCOMPARE(page->txtPracticeTime->text(), QString("0:00.700"));
        p.pass(7, 42500);
        QCOMPARE(p.row(0),
                 (QStringList{"Transponder: 7", "1", "0:30.500", "0:30.500", "0:30.500"}));
        QCOMPARE(p.fx.column("SELECT LapTime || ',' || TotalTime || ',' || LapTimeString || ',' || "
                             "TotalTimeString || ',' || RaceID FROM tblLapInRace;"),
                 QStringList{"30500,30500,30.500,30.500," + race});
        QCOMPARE(p.fx.column("SELECT NumOfLaps FROM tblDriverInRace WHERE TransponderID=7;"),
                 QStringList{"1"});

        // The row of the passing car flashes red.
        page->tmrPracticeFlash_Timer();
        page->tmrPracticeFlash_Timer();
        QCOMPARE(page->lblPracticeScoreBestTime[0]->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));

        page->cmdPracticeStop->click();
        QCOMPARE(p.fx.column("SELECT Status FROM tblRace;"), QStringList{"2"});
        QCOMPARE(p.w.timing().TimingMode, int(TimingIdle));
        QVERIFY(p.toolbarEnabled());
        QVERIFY(page->cmdPracticeStart->isEnabled());
        QVERIFY(!page->cmdPracticeStop->isEnabled());
        QVERIFY(!page->tmrPracticeTime.isActive());
        QVERIFY(page->tmrPracticeFlash.isActive());
        QCOMPARE(p.main.port->written().last(), QString("#F$"));
        QCOMPARE(p.soundsOf("complete.wav"), 1);
        // Passes no longer count; the board and the lists stay.
        p.pass(7, 80000);
        p.pass(9, 81000);
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"1"});
        QCOMPARE(p.shownRows(), (QList<int>{0, 1}));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders).size(), 1);

        // A new Start reuses the race and throws the old session away.
        QVERIFY(p.fx.sql({"UPDATE tblRace SET TimeOfRace='2001-01-01 00:00:00';"}));
        page->cmdPracticeStart->click();
        QCOMPARE(p.practiceRaceId(), race);
        QCOMPARE(p.fx.column("SELECT Status || ',' || (TimeOfRace <> '2001-01-01 00:00:00') FROM "
                             "tblRace;"),
                 QStringList{"1,1"});
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblDriverInRace;"), QStringList{"0"});
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"0"});
        QVERIFY(p.shownRows().isEmpty());
        QVERIFY(itemTexts(page->lbPracticeUnassignedTransponders).isEmpty());
        QCOMPARE(itemTexts(page->lbPracticeUnassignedDrivers), QStringList{annaRow});
        QCOMPARE(p.w.timing().PracticeElapsedMs, 0);
        QVERIFY(p.main.messages().isEmpty());
    }

    void automaticLink_data() {
        QTest::addColumn<bool>("autoAssign");
        QTest::addColumn<QList<Owner>>("owners"); // drivers with transponder 7
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("driverListed"); // rows left in the unassigned drivers list
        QTest::newRow("one owner")
            << true << QList<Owner>{{"Vorel", true, false}} << "7-Vorel, Anna" << 1;
        QTest::newRow("two owners: nobody")
            << true << QList<Owner>{{"Vorel", true, false}, {"Kirv", true, false}}
            << "Transponder: 7" << 3;
        QTest::newRow("not a personal transponder")
            << true << QList<Owner>{{"Vorel", false, false}} << "Transponder: 7" << 2;
        QTest::newRow("a deleted owner and a present one")
            << true << QList<Owner>{{"Vorel", true, true}, {"Kirv", true, false}} << "7-Kirv, Anna"
            << 1;
        QTest::newRow("box off") << false << QList<Owner>{{"Vorel", true, false}}
                                 << "Transponder: 7" << 2;
    }
    void automaticLink() {
        QFETCH(bool, autoAssign);
        QFETCH(QList<Owner>, owners);
        Practice p;
        p.addDriver("Other", "Olga", 99, true);
        for (const Owner& o : owners)
            p.addDriver(o.lastname, "Anna", 7, o.own, o.deleted);
        p.page->chkPracticeAutoAssign->setChecked(autoAssign);
        p.page->cmdPracticeStart->click();
        p.pass(7, 5000);
        QTEST(p.row(0).first(), "caption");
        QTEST(p.page->lbPracticeUnassignedDrivers->count(), "driverListed");
        // A linked car is no unassigned transponder.
        QCOMPARE(p.page->lbPracticeUnassignedTransponders->count(),
                 p.row(0).first().startsWith("Transponder") ? 1 : 0);
    }

    // The whole road: the control's own 3000 ms filter, then the page's delay.
    void repeatFilter_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<qint32>("gap");
        QTest::addColumn<bool>("counted");
        QTest::newRow("2 s, delay 3") << "3" << 2000 << false;
        QTest::newRow("3000 ms: the control drops it") << "3" << 3000 << false;
        QTest::newRow("3001 ms, delay 3") << "3" << 3001 << true;
        QTest::newRow("4999 ms, delay 5") << "5" << 4999 << false;
        QTest::newRow("5000 ms, delay 5") << "5" << 5000 << true;
    }
    void repeatFilter() {
        QFETCH(QString, delay);
        QFETCH(qint32, gap);
        QFETCH(bool, counted);
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(7, 10000);
        p.pass(7, 40000);
        p.w.pageMisc->txtMiscTransponderDelay->setText(delay);
        p.w.timing().RowFlashCount[0] = 0;
        const int sounds = p.soundsOf("pass.wav");
        p.pass(7, 40000 + gap);
        QCOMPARE(p.row(0).at(1), counted ? QString("2") : QString("1"));
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"),
                 QStringList{counted ? "2" : "1"});
        QCOMPARE(p.w.timing().RowFlashCount[0], qint16(counted ? 1 : 0));
        QCOMPARE(p.soundsOf("pass.wav"), sounds + (counted ? 1 : 0));
    }

    // A counter that vanishes during practice is opened again while the
    // session runs, and its passes count on; after Stop nothing is tried.
    void counterComesBack() {
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(7, 10000);
        p.main.port->vanish();
        QVERIFY(p.w.tmrLapCounterReconnect.isActive());
        QLabel* note = p.page->lblPracticeLapCounterLost;
        QVERIFY(note->isVisibleTo(p.page));
        QCOMPARE(note->text(), PracticePage::kLapCounterLostText);
        QCOMPARE(note->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        p.w.tmrLapCounterReconnect_Timer();
        QVERIFY(p.main.port->isOpen());
        QVERIFY(!p.w.tmrLapCounterReconnect.isActive());
        // Contact is back with the counter's first frame on the open port.
        QCOMPARE(p.main.state().shapeHWStatusIndicator->fillColor(), Colours::DarkRed);
        QCOMPARE(note->text(), PracticePage::kLapCounterLostText);
        p.pass(7, 40000);
        QCOMPARE(p.main.state().shapeHWStatusIndicator->fillColor(), Colours::Green);
        QCOMPARE(note->text(), PracticePage::kLapCounterBackText);
        QCOMPARE(note->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(p.row(0).at(1), QString("1"));
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"1"});

        p.main.port->vanish();
        p.page->cmdPracticeStop->click();
        p.w.tmrLapCounterReconnect_Timer();
        QVERIFY(!p.main.port->isOpen());
        QVERIFY(!p.w.tmrLapCounterReconnect.isActive());
        // A new session starts without the note.
        QVERIFY(p.w.OpenLapCounterPort());
        p.page->cmdPracticeStart->click();
        QVERIFY(!note->isVisibleTo(p.page));
    }

    // After Stop the note that contact is back stays while that is true. Once
    // the counter is gone again (the light dark red, Start refused with the
    // port box) it goes.
    void backNoteGoesWithTheContact_data() {
        QTest::addColumn<bool>("lossReported");
        QTest::newRow("the counter is unplugged") << true;
        QTest::newRow("the port is gone at the next Start") << false;
    }
    void backNoteGoesWithTheContact() {
        QFETCH(bool, lossReported);
        Practice p;
        PracticePage* page = p.page;
        auto indicator = [&] { return p.main.state().shapeHWStatusIndicator->fillColor(); };
        QLabel* note = page->lblPracticeLapCounterLost;
        page->cmdPracticeStart->click();
        p.pass(7, 10000);
        p.main.port->vanish();
        p.w.tmrLapCounterReconnect_Timer();
        p.pass(7, 40000);
        QCOMPARE(note->text(), PracticePage::kLapCounterBackText);
        page->cmdPracticeStop->click();
        QVERIFY(note->isVisibleTo(page));
        QCOMPARE(note->text(), PracticePage::kLapCounterBackText);

        p.main.port->refuseDevice("/dev/ttyS0");
        if (lossReported) {
            p.main.port->vanish();
            QCOMPARE(indicator(), Colours::DarkRed);
            QVERIFY(!note->isVisibleTo(page));
        } else {
            p.w.state().KirvOCX->CloseConnection();
        }
        page->cmdPracticeStart->click();
        QCOMPARE(p.main.messages().size(), 1);
        QCOMPARE(p.main.messages().first().text, kPortFailure);
        QCOMPARE(indicator(), Colours::DarkRed);
        QVERIFY(!note->isVisibleTo(page));
    }

    // A start command that does not reach the counter: the page says so in
    // practice's words, counts nothing, and keeps saying it when the contact
    // goes and comes back. A new Start that reaches the counter times again.
    void counterNotStartedForPractice() {
        Practice p;
        PracticePage* page = p.page;
        QLabel* note = page->lblPracticeLapCounterLost;
        p.main.port->failWrites(true);
        page->cmdPracticeStart->click();
        QVERIFY(p.w.timing().RaceActive);
        QVERIFY(note->isVisibleTo(page));
        QCOMPARE(note->text(), QString("The lap counter was not started for this practice "
                                       "session: no laps are counted. Stop practice and start "
                                       "it again."));
        QCOMPARE(note->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        p.pass(7, 1000);
        p.pass(7, 31000);
        QVERIFY(p.shownRows().isEmpty());
        QVERIFY(p.entries().isEmpty());
        p.main.port->vanish();
        p.w.tmrLapCounterReconnect_Timer();
        p.pass(7, 61000);
        QCOMPARE(note->text(), PracticePage::kLapCounterNotStartedText);
        QVERIFY(p.entries().isEmpty());
        QVERIFY(p.main.messages().isEmpty());

        page->cmdPracticeStop->click();
        QVERIFY(!note->isVisibleTo(page)); // the session it spoke of is over
        p.main.port->failWrites(false);
        page->cmdPracticeStart->click();
        QVERIFY(!note->isVisibleTo(page));
        p.pass(7, 91000);
        p.pass(7, 121000);
        QCOMPARE(p.row(0).at(1), QString("1"));
    }

    // While passes wait for the database, the note of a lost counter does not
    // say that every counted lap is stored; once they are, it does again.
    void lapCounterLostWhilePassesWait() {
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(7, 10000);
        auto lock = std::make_unique<test::HeldLock>(p.fx.databaseFile());
        QVERIFY(lock->held());
        p.pass(7, 40000);
        p.main.port->vanish();
        QLabel* note = p.page->lblPracticeLapCounterLost;
        QCOMPARE(note->text(), PracticePage::kLapCounterLostPassesWaitText);
        lock.reset();
        p.page->tmrPracticeWrites_Timer();
        QVERIFY(!p.page->lblPracticeWaitingWrites->isVisibleTo(p.page));
        QCOMPARE(note->text(), PracticePage::kLapCounterLostText);
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"1"});
    }

    void freedRowTakenByTheNextNewcomer() {
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        p.pass(6, 1100);
        p.pass(7, 1200);
        p.pass(6, 31100);
        QVERIFY(p.page->cmdPracticeDelete[1]->isVisibleTo(p.page));
        p.page->cmdPracticeDelete[1]->click();
        QCOMPARE(p.shownRows(), (QList<int>{0, 2}));
        QCOMPARE(p.entries(), (QStringList{"1:5:0", "3:7:0"}));
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"0"});
        QCOMPARE(itemTexts(p.page->lbPracticeUnassignedTransponders),
                 (QStringList{"Started: 1, TransponderID: 5", "Started: 3, TransponderID: 7"}));
        QVERIFY(p.main.messages().isEmpty());

        p.pass(8, 40000);
        QCOMPARE(p.row(1),
                 (QStringList{"Transponder: 8", "0", "0:00.000", "0:00.000", "0:00.000"}));
        p.pass(8, 70000);
        QCOMPARE(p.row(1).at(2), QString("0:30.000"));
        QCOMPARE(p.entries(), (QStringList{"1:5:0", "2:8:0", "3:7:0"}));
    }

    void eleventhCarWaitsForAFreeRow() {
        Practice p;
        p.page->cmdPracticeStart->click();
        for (int car = 1; car <= 10; ++car)
            p.pass(car, 1000 + car);
        const int sounds = p.soundsOf("pass.wav");
        p.pass(11, 2000);
        QCOMPARE(p.shownRows().size(), 10);
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblDriverInRace WHERE TransponderID=11;"),
                 QStringList{"0"});
        QCOMPARE(p.page->lbPracticeUnassignedTransponders->count(), 10);
        QCOMPARE(p.soundsOf("pass.wav"), sounds);

        p.page->cmdPracticeDelete_Click(3);
        p.pass(11, 6000);
        QCOMPARE(p.row(3).first(), QString("Transponder: 11"));
        QCOMPARE(p.shownRows().size(), 10);
    }

    void manualLink() {
        Practice p;
        p.page->chkPracticeAutoAssign->setChecked(false);
        const qint64 ben = p.addDriver("Kirv", "Ben", 7, true);
        p.addDriver("Vorel", "Anna", 12, true);
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        p.pass(6, 1100);
        p.pass(7, 1200);
        QListWidget* transponders = p.page->lbPracticeUnassignedTransponders;
        QListWidget* drivers = p.page->lbPracticeUnassignedDrivers;

        // Without both selections nothing happens.
        transponders->setCurrentRow(2);
        p.page->cmdPracticeAssignDriver->click();
        QCOMPARE(p.entries(), (QStringList{"1:5:0", "2:6:0", "3:7:0"}));

        QCOMPARE(transponders->currentItem()->text(), QString("Started: 3, TransponderID: 7"));
        drivers->setCurrentRow(0);
        QCOMPARE(drivers->currentItem()->text(), QString("Kirv, Ben (Buggy) [ID=7]"));
        p.page->cmdPracticeAssignDriver->click();
        QCOMPARE(p.row(2).first(), QString("7-Kirv, Ben"));
        QCOMPARE(p.entries(), (QStringList{"1:5:0", "2:6:0", "3:7:" + QString::number(ben)}));
        QCOMPARE(itemTexts(transponders),
                 (QStringList{"Started: 1, TransponderID: 5", "Started: 2, TransponderID: 6"}));
        QCOMPARE(itemTexts(drivers), QStringList{"Vorel, Anna (Buggy) [ID=12]"});

        // Also after Stop.
        p.page->cmdPracticeStop->click();
        transponders->setCurrentRow(0);
        drivers->setCurrentRow(0);
        p.page->cmdPracticeAssignDriver->click();
        QCOMPARE(p.row(0).first(), QString("5-Vorel, Anna"));
        QVERIFY(itemTexts(drivers).isEmpty());
        QVERIFY(p.main.messages().isEmpty());
    }

    // The lists are refilled at every pass; a choice made before it still links.
    void manualLinkAcrossAPass() {
        Practice p;
        p.page->chkPracticeAutoAssign->setChecked(false);
        p.addDriver("Aas", "Per", 30, true);
        const qint64 ben = p.addDriver("Kirv", "Ben", 7, true);
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        p.pass(7, 1200);
        QListWidget* transponders = p.page->lbPracticeUnassignedTransponders;
        QListWidget* drivers = p.page->lbPracticeUnassignedDrivers;
        transponders->setCurrentRow(1);
        drivers->setCurrentRow(1);

        // A newcomer takes a row before the chosen one.
        p.page->cmdPracticeDelete_Click(0);
        p.pass(9, 4000);
        QCOMPARE(itemTexts(transponders),
                 (QStringList{"Started: 1, TransponderID: 9", "Started: 2, TransponderID: 7"}));
        QCOMPARE(transponders->selectedItems().size(), 1);
        QCOMPARE(transponders->currentRow(), 1);
        QCOMPARE(drivers->currentItem()->text(), QString("Kirv, Ben (Buggy) [ID=7]"));

        p.page->cmdPracticeAssignDriver->click();
        QCOMPARE(p.entries(), (QStringList{"1:9:0", "2:7:" + QString::number(ben)}));
        QCOMPARE(p.row(1).first(), QString("7-Kirv, Ben"));

        // A chosen row that went away leaves nothing chosen.
        transponders->setCurrentRow(0);
        p.page->cmdPracticeDelete_Click(0);
        QVERIFY(transponders->selectedItems().isEmpty());
    }

    // Idle for more than a minute of practice clock: removed at the next check.
    void idleCarIsRemoved() {
        Practice p;
        p.page->txtPracticeAutomaticDeleteDelay->setText("1");
        p.w.timing().AutoDeleteTickCount = 0;
        p.page->cmdPracticeStart->click();
        p.pass(5, 400);
        p.pass(7, 30000);
        QCOMPARE(p.shownRows(), (QList<int>{0, 1}));
        // Checks run at 5.2 s steps: 57.2 s keeps both, 62.4 s is past 0.4 s + 60 s.
        for (int tick = 0; tick < 572; ++tick)
            p.page->tmrPracticeTime_Timer();
        QCOMPARE(p.shownRows(), (QList<int>{0, 1}));
        for (int tick = 0; tick < 52; ++tick)
            p.page->tmrPracticeTime_Timer();
        QCOMPARE(p.page->txtPracticeTime->text(), QString("1:02.400"));
        QCOMPARE(p.shownRows(), QList<int>{1});
        QCOMPARE(p.entries(), QStringList{"2:7:0"});
        QCOMPARE(itemTexts(p.page->lbPracticeUnassignedTransponders),
                 QStringList{"Started: 2, TransponderID: 7"});
        // The car's slot is free for the next newcomer.
        p.pass(9, 63000);
        QCOMPARE(p.row(0).first(), QString("Transponder: 9"));
    }

    void deleteDelayBox_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a fraction") << true << "1.5"
                                    << "1.5";
        QTest::newRow("text") << true << "five"
                              << "five";
        QTest::newRow("never stored") << false << ""
                                      << "";
    }
    void deleteDelayBox() {
        QFETCH(bool, stored);
        QFETCH(QString, setting);
        test::MainFixture m;
        if (stored)
            m.fx.setSetting("PracticeDeleteDelay", setting);
        QVERIFY(m.start());
        QLineEdit* box = m.w->pagePractice->txtPracticeAutomaticDeleteDelay;
        QTEST(box->text(), "shown");
        // Stored as typed, at every change.
        box->clear();
        QTest::keyClicks(box, "2.5x");
        QCOMPARE(m.fx.setting("PracticeDeleteDelay"), QString("2.5x"));
        QCOMPARE(m.state().LapCounter.PracticeDeleteDelayMinutes(), 2.0);
    }

    // After practice a heat is picked on the race page; the practice board
    // still shows its cars, and removing one must not touch the heat.
    void deleteAfterAnotherRaceIsCurrent() {
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        p.pass(5, 31000);
        p.page->cmdPracticeStop->click();
        QVERIFY(p.fx.sql(
            {"INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, Description) "
             "VALUES (1, 1, 1, 5, 'Heat 1');",
             "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, TransponderID, "
             "TimeToFinish, TimeToFinishString) SELECT 0, max(RaceID), 1, 9, 100000000, '...' "
             "FROM tblRace;",
             "INSERT INTO tblLapInRace (DriverInRaceID, TotalTime, TotalTimeString, LapTime, "
             "LapTimeString, RaceID) SELECT max(DriverInRaceID), 20000, '20.000', 20000, "
             "'20.000', max(RaceID) FROM tblDriverInRace;"}));
        p.w.timing().CurrentRaceID =
            p.fx.column("SELECT max(RaceID) FROM tblRace;").value(0).toInt();
        QCOMPARE(p.shownRows(), QList<int>{0});

        p.page->cmdPracticeDelete[0]->click();
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblDriverInRace;"), QStringList{"2"});
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"2"});
        QVERIFY(p.main.messages().isEmpty());
    }

    void startWithoutPort() {
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        p.pass(5, 31000);
        p.page->cmdPracticeStop->click();
        p.w.state().KirvOCX->CloseConnection();
        p.main.port->refuseDevice("/dev/ttyS0");

        p.page->cmdPracticeStart->click();
        QCOMPARE(p.main.messages().size(), 1);
        QCOMPARE(p.main.messages().first().text, kPortFailure);
        QCOMPARE(p.main.messages().first().title, QString("Unable to open comport!"));
        QVERIFY(p.page->cmdPracticeStart->isEnabled());
        QVERIFY(!p.page->cmdPracticeStop->isEnabled());
        QVERIFY(p.toolbarEnabled());
        QVERIFY(!p.page->tmrPracticeTime.isActive());
        QVERIFY(!p.w.timing().RaceActive);
        // The previous session is gone all the same.
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblDriverInRace;"), QStringList{"0"});
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"0"});
        QCOMPARE(p.fx.column("SELECT Status FROM tblRace;"), QStringList{"2"});
    }

    // The statements of a pass are written together or not at all. A pass the
    // database refuses counts on the board all the same, no box interrupts
    // practice, and the pass is stored before the next one.
    void passIsStoredWholeOrNotAtAll_data() {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QList<qint32>>("passes"); // of car 7; the last one is refused
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("board"); // laps, time, last while refused
        QTest::addColumn<QStringList>("afterwards");
        QTest::newRow("a newcomer's first crossing")
            << "BEFORE UPDATE OF StartDelay ON tblDriverInRace" << QList<qint32>{1000}
            << QStringList{} << QStringList{"0", "0:00.000", "0:00.000"}
            << QStringList{"1", "0:40.000", "0:40.000"};
        QTest::newRow("a lap") << "BEFORE UPDATE OF NumOfLaps ON tblDriverInRace"
                               << QList<qint32>{1000, 31000} << QStringList{"1:7:0"}
                               << QStringList{"1", "0:30.000", "0:30.000"}
                               << QStringList{"2", "1:10.000", "0:40.000"};
    }
    void passIsStoredWholeOrNotAtAll() {
        QFETCH(QString, trigger);
        QFETCH(QList<qint32>, passes);
        Practice p;
        p.page->cmdPracticeStart->click();
        for (int i = 0; i + 1 < passes.size(); ++i)
            p.pass(7, passes[i]);
        QVERIFY(p.fx.sql({"CREATE TRIGGER refuse " + trigger +
                          " BEGIN SELECT RAISE(ABORT, 'disk full'); END;"}));
        p.pass(7, passes.last());
        QTEST(p.entries(), "entries");
        QCOMPARE(p.fx.column("SELECT count(*) FROM tblLapInRace;"), QStringList{"0"});
        QCOMPARE(p.fx.column("SELECT NumOfLaps FROM tblDriverInRace WHERE NumOfLaps<>0;"),
                 QStringList{});
        QCOMPARE(p.shownRows(), QList<int>{0});
        QTEST(p.row(0).mid(1, 3), "board");
        QCoreApplication::processEvents();
        QVERIFY(p.main.messages().isEmpty());

        QVERIFY(p.fx.sql({"DROP TRIGGER refuse;"}));
        p.pass(7, passes.last() + 40000);
        QTEST(p.row(0).mid(1, 3), "afterwards");
        QCOMPARE(p.fx.column("SELECT StartDelay FROM tblDriverInRace;"), QStringList{"1000"});
        QCOMPARE(p.fx.column("SELECT group_concat(LapTime) FROM tblLapInRace;"),
                 QStringList{passes.size() == 1 ? "40000" : "30000,40000"});
        QVERIFY(p.main.messages().isEmpty());
    }

    // Passes, a removal and a link made while the database refuses writes are
    // kept in order and stored as a fault-free session stores them.
    void faultsLoseNothing_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("disk full") << Fault::FullDisk;
        QTest::newRow("locked by another program") << Fault::Lock;
    }
    void faultsLoseNothing() {
        QFETCH(Fault, fault);
        const SessionRecord clean = runSession(Fault::None);
        QCOMPARE(clean.entries.size(), 3);
        QCOMPARE(clean.laps.size(), 6);
        QCOMPARE(clean.laps.last(), QString("2"));
        QCOMPARE(clean.board, (QStringList{"5-Vorel, Anna|2|1:01.000|0:31.000|0:30.000",
                                           "Transponder: 9|1|0:04.000|0:04.000|0:04.000",
                                           "Transponder: 7|2|0:08.000|0:04.000|0:04.000"}));
        const SessionRecord faulty = runSession(fault);
        QCOMPARE(faulty.entries, clean.entries);
        QCOMPARE(faulty.laps, clean.laps);
        QCOMPARE(faulty.board, clean.board);
    }

    // The lists are built from the session the page holds: the same whether
    // or not the database has taken its writes yet, and a driver linked
    // while it has not is not offered a second time.
    void listsUnderALock() {
        const QStringList clean = listsOfASession(false);
        const QString cole = "Cole, Cleo (Buggy) [ID=61]";
        const QString dahl = "Dahl, Dan (Buggy) [ID=62]";
        QCOMPARE(clean.mid(0, 4),
                 (QStringList{"at the start: Started: 2, TransponderID: 40 | Started: 3, "
                              "TransponderID: 9 / Berg, Ben (Buggy) [ID=40] | " +
                                  cole + " | " + dahl,
                              "link Started: 2, TransponderID: 40 to Berg, Ben (Buggy) [ID=40]: "
                              "Started: 3, TransponderID: 9 / " +
                                  cole + " | " + dahl,
                              "newcomer 61: Started: 3, TransponderID: 9 | Started: 4, "
                              "TransponderID: 61 / " +
                                  cole + " | " + dahl,
                              "newcomer 62: Started: 3, TransponderID: 9 | Started: 4, "
                              "TransponderID: 61 / " +
                                  cole}));
        QCOMPARE(clean.last(), QString("5:62:4:0"));
        const QStringList locked = listsOfASession(true);
        QCOMPARE(locked, clean);
    }

    // A newcomer's row is chosen while its entry's insert waits for another
    // program's lock; another car passes before Assign is pressed. The row
    // stays chosen across the refill, also once the insert is stored, and
    // the link is made as without the lock.
    void waitingNewcomerStaysChosenAcrossAPass_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("lockEndsBeforeThePass");
        QTest::newRow("no lock") << false << false;
        QTest::newRow("locked until the link") << true << false;
        QTest::newRow("the pass stores the insert") << true << true;
    }
    void waitingNewcomerStaysChosenAcrossAPass() {
        QFETCH(bool, locked);
        QFETCH(bool, lockEndsBeforeThePass);
        Practice p;
        PracticePage* page = p.page;
        const qint64 ben = p.addDriver("Berg", "Ben", 40, false);
        page->cmdPracticeStart->click();
        p.pass(5, 1000);
        std::unique_ptr<test::HeldLock> lock;
        if (locked) {
            lock = std::make_unique<test::HeldLock>(p.fx.databaseFile());
            QVERIFY(lock->held());
        }
        p.pass(9, 1500); // the newcomer
        const QString newcomer = "Started: 2, TransponderID: 9";
        QVERIFY(choose(page->lbPracticeUnassignedTransponders, newcomer));
        QVERIFY(choose(page->lbPracticeUnassignedDrivers, "Berg, Ben (Buggy) [ID=40]"));
        if (lockEndsBeforeThePass)
            lock.reset();
        p.pass(5, 31000);
        QCOMPARE(p.row(0).at(1), QString("1"));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 (QStringList{"Started: 1, TransponderID: 5", newcomer}));
        const QList<QListWidgetItem*> chosen =
            page->lbPracticeUnassignedTransponders->selectedItems();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first()->text(), newcomer);

        page->cmdPracticeAssignDriver->click();
        QCOMPARE(p.row(1).first(), QString("9-Berg, Ben"));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 QStringList{"Started: 1, TransponderID: 5"});
        QVERIFY(itemTexts(page->lbPracticeUnassignedDrivers).isEmpty());
        lock.reset();
        page->tmrPracticeWrites_Timer();
        QCOMPARE(p.entries(), (QStringList{"1:5:0", "2:9:" + QString::number(ben)}));
        QVERIFY(p.main.messages().isEmpty());
    }

    void startUnderALock_data() {
        QTest::addColumn<bool>("raceMade"); // else a first session's race is reused
        QTest::newRow("the practice race not made yet") << false;
        QTest::newRow("the last session's race") << true;
    }
    // Start while another program holds the lock: a plain refusal after a
    // short wait, nothing changed.
    void startUnderALock() {
        QFETCH(bool, raceMade);
        Practice p;
        PracticePage* page = p.page;
        if (raceMade) {
            page->cmdPracticeStart->click();
            p.pass(5, 1000);
            p.pass(5, 31000);
            page->cmdPracticeStop->click();
        }
        const QStringList before =
            p.fx.column("SELECT quote(RaceID)||quote(Status)||quote(TimeOfRace) FROM tblRace;") +
            p.entries() + p.fx.column("SELECT count(*) FROM tblLapInRace;");
        test::HeldLock lock(p.fx.databaseFile());
        QVERIFY(lock.held());
        QElapsedTimer pressed;
        pressed.start();
        page->cmdPracticeStart->click();
        QVERIFY2(pressed.elapsed() < Database::kDefaultBusyTimeoutMs, "Start waited for the lock");
        QCOMPARE(p.main.messages().size(), 1);
        QCOMPARE(p.main.messages().first().text, PracticePage::kStartRefusedText);
        QCOMPARE(p.main.messages().first().icon, MsgIcon::Critical);
        QVERIFY(page->cmdPracticeStart->isEnabled());
        QVERIFY(p.toolbarEnabled());
        QVERIFY(!p.w.timing().RaceActive);
        QCOMPARE(p.w.timing().TimingMode, int(TimingIdle));
        lock.release();
        QCOMPARE(p.fx.column("SELECT quote(RaceID)||quote(Status)||quote(TimeOfRace) FROM "
                             "tblRace;") +
                     p.entries() + p.fx.column("SELECT count(*) FROM tblLapInRace;"),
                 before);
        // The connection waits as long as before outside timing.
        QCOMPARE(p.w.state().DbConnection.busyTimeout(), Database::kDefaultBusyTimeoutMs);
    }

    // Stop stores the end behind the passes that wait; a new session starts
    // only once the last one is stored.
    void stopAndStartWhileWritesWait() {
        Practice p;
        PracticePage* page = p.page;
        page->cmdPracticeStart->click();
        p.pass(5, 1000);
        auto lock = std::make_unique<test::HeldLock>(p.fx.databaseFile());
        QVERIFY(lock->held());
        p.pass(5, 31000);
        page->cmdPracticeStop->click();
        QVERIFY(page->cmdPracticeStart->isEnabled());
        QVERIFY(page->lblPracticeWaitingWrites->isVisibleTo(page));
        QVERIFY(page->tmrPracticeWrites.isActive());
        page->tmrPracticeWrites_Timer();
        QCOMPARE(p.fx.column("SELECT Status FROM tblRace;"), QStringList{"1"});

        page->cmdPracticeStart->click();
        QCOMPARE(p.main.messages().size(), 1);
        QVERIFY(p.main.messages().first().text.startsWith("Practice cannot start yet"));
        QVERIFY(page->cmdPracticeStart->isEnabled());
        QCOMPARE(p.w.timing().TimingMode, int(TimingIdle));
        QCOMPARE(p.shownRows(), QList<int>{0});

        lock.reset();
        page->tmrPracticeWrites_Timer();
        QVERIFY(!page->lblPracticeWaitingWrites->isVisibleTo(page));
        QVERIFY(!page->tmrPracticeWrites.isActive());
        QCOMPARE(p.fx.column("SELECT Status FROM tblRace;"), QStringList{"2"});
        QCOMPARE(p.fx.column("SELECT LapTime FROM tblLapInRace;"), QStringList{"30000"});
        page->cmdPracticeStart->click();
        QCOMPARE(p.w.timing().TimingMode, int(TimingPractice));
        QCOMPARE(p.main.messages().size(), 1);
    }

    void closingWhileWritesWaitAsks_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("yes") << MsgResult::Yes << true;
        QTest::newRow("no") << MsgResult::No << false;
    }
    void closingWhileWritesWaitAsks() {
        QFETCH(MsgResult, answer);
        Practice p;
        p.page->cmdPracticeStart->click();
        p.pass(5, 1000);
        test::HeldLock lock(p.fx.databaseFile());
        p.pass(5, 31000);
        p.page->cmdPracticeStop->click();
        p.main.platform.boxes->answers = {answer};
        p.w.close();
        QTEST(p.w.unloaded(), "closed");
        QCOMPARE(p.main.messages().size(), 1);
        QCOMPARE(p.main.messages().first().buttons, MsgButtons::YesNo);
        QCOMPARE(p.main.messages().first().text,
                 QString("2 of the practice session's passes and changes could not be stored in "
                         "the race database yet, because the database does not accept them. If "
                         "you close the program now, they are lost.\n\nClose the program "
                         "anyway?"));
    }

    // A row added to tblRace alongside the practice race (as by another writer
    // at the same moment) does not become the practice race.
    void practiceRaceKeyFromItsInsert() {
        Practice p;
        QVERIFY(p.fx.sql({"CREATE TRIGGER alongside AFTER INSERT ON tblRace WHEN NEW.RaceCode=4 "
                          "BEGIN INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, "
                          "Length, Description) VALUES (0, 1, 3, 5, 'Alongside'); END;"}));
        p.page->cmdPracticeStart->click();
        QCOMPARE(QString::number(p.w.timing().CurrentRaceID), p.practiceRaceId());
        p.pass(7, 1000);
        QCOMPARE(p.fx.column("SELECT tblRace.RaceCode FROM tblDriverInRace INNER JOIN tblRace ON "
                             "tblRace.RaceID=tblDriverInRace.RaceID;"),
                 QStringList{"4"});
        QCOMPARE(p.fx.column("SELECT Status FROM tblRace ORDER BY RaceID;"),
                 (QStringList{"1", "0"}));
    }
    // Both pages' flash timers run once a heat and a practice session have been
    // timed in one run. A pass flashes its own board's row black, red, ...
    // once, and that row rests black; the other board's rows are not touched.
    void passFlashesOnlyItsBoard_data() {
        QTest::addColumn<QString>("timers"); // every 250 ms, in the order they fire
        QTest::newRow("practice timer alone") << "P";
        QTest::newRow("race timer first") << "RP";
        QTest::newRow("practice timer first") << "PR";
    }
    void passFlashesOnlyItsBoard() {
        QFETCH(QString, timers);
        Practice p;
        PracticePage* page = p.page;
        RacePage* race = p.w.pageRace;
        page->cmdPracticeStart->click();
        p.pass(7, 1000);
        QString seen;
        for (int tick = 0; tick < 12; ++tick) {
            for (QChar timer : timers)
                timer == 'P' ? page->tmrPracticeFlash_Timer() : race->tmrRaceFlash_Timer();
            seen += RacePage::textColour(page->lblPracticeScoreBestTime[0]) == QColor(255, 0, 0)
                        ? 'R'
                        : 'B';
        }
        QCOMPARE(seen, QString("BRBRBRBRBBBB"));
        for (size_t r = 0; r < kSlotCount; ++r)
            for (const auto* row :
                 {&race->lblRaceScoreDriver, &race->lblRaceScoreLaps, &race->lblRaceScoreTotalTime,
                  &race->lblRaceScoreLastTime, &race->lblRaceScoreBestTime})
                QCOMPARE(RacePage::textColour((*row)[r]), QColor(Qt::black));
    }
};

QTEST_MAIN(TestPracticePage)
#include "tst_practicepage.moc"
