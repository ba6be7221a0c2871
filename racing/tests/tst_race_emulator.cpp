// A heat timed end to end: the main window with its real lap counter control
// on a pseudo-terminal, fed by the lap counter emulator, on a real database.
// Each pass goes the whole way: the control's repeat filter, the transponder
// delay, the race rules, the stored laps and results, the board, the automatic
// stop.
#include "Colours.h"
#include "DatabaseFaults.h"
#include "FakePlatform.h"
#include "InstallFixture.h"
#include "LapCounterEmulator.h"
#include "ManagerPage.h"
#include "MiscPage.h"
#include "RacePage.h"
#include "RaceTiming.h"
#include "Ui.h"
#include "frmMain.h"
#include "frmSplash.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <numeric>

using namespace kv;

namespace {

// Drivers of the heat: transponders 11, 12 and 13. Transponders 77 and 99 are
// not in the race.
const QStringList kDrivers{
    "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES ('Ant', 'Anna', "
    "27.145, 11);",
    "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES ('Bee', 'Bert', "
    "27.195, 12);",
    "INSERT INTO tblDriver (Lastname, Firstname, Frequency, TransponderID) VALUES ('Cat', 'Cleo', "
    "27.255, 13);",
};

using test::OtherProgramLock;

QColor textColour(const QWidget* w) {
    return RacePage::textColour(w);
}

// The counter on a port number of this process's own (the serial layer locks
// devices by name), linked in the install folder's ports and set as the
// program's port. False, with the reason, when it cannot be.
bool linkCounter(test::InstallFixture& fx, LapCounterEmulator& counter, QString& error) {
    if (!counter.open(&error))
        return false;
    const int port = 20100 + int(QCoreApplication::applicationPid() % 10000);
    if (!counter.placeLink(LapCounterEmulator::portLinkPath(fx.appPath() + "ports", port), &error))
        return false;
    fx.setSetting("ComPort", QString::number(port));
    return true;
}

// Heat 7 of tournament 1, a laps race of 20 laps; each driver starts at the
// position of his DriverID.
QStringList heatSeven(QStringList drivers) {
    return drivers << "INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');"
                   << "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, "
                      "QualRound, QualHeat, Length, Description) VALUES (7, 1, 2, 1, 1, 1, 20, "
                      "'Round 1 - Heat 1');"
                   << "INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) SELECT "
                      "DriverID, 7, DriverID FROM tblDriver;";
}

// Starts the program and chooses heat 7 on the race page.
bool chooseHeatSeven(frmMain& w) {
    w.showSplash = [](frmSplash&) {};
    if (!w.Form_Load())
        return false;
    w.state().CurrentTournamentID = 1;
    w.cmdToolbarMain_Click(2);
    w.pageRace->cbRaceShowRaceCategory->setCurrentIndex(0);
    return w.timing().CurrentRaceID == 7;
}

} // namespace

class TestRaceEmulator : public QObject {
    Q_OBJECT
private slots:
    void heatRunsToItsAutomaticStop_data();
    void heatRunsToItsAutomaticStop();
    void passesAfterTheCounterComesBackAreStored();
    void counterGoneAtTheGoIsNotStarted();
};

void TestRaceEmulator::heatRunsToItsAutomaticStop_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("delay"); // stored transponder delay, seconds
    QTest::addColumn<QString>("script");
    // Stored laps in the order they were counted: transponder, total, lap.
    QTest::addColumn<QStringList>("laps");
    // Per transponder 11, 12, 13: laps, result and its text.
    QTest::addColumn<QStringList>("entries");
    // The board's rows from the top: driver, laps, total time.
    QTest::addColumn<QStringList>("board");
    QTest::addColumn<QString>("lapCounter");
    QTest::addColumn<QColor>("lapCounterColour");
    // Another program holds the database's write lock from the go (or from
    // before it) until four laps are counted: the same rows are stored in the
    // end.
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("lockedBeforeTheGo");

    // Time race of one minute, transponder delay 4 s. The race ends by the
    // counter's clock frames: a car's first pass after the minute finishes it.
    const char* timeRaceNames[] = {
        "time race of one minute", "time race of one minute, database locked for its first laps",
        "time race of one minute, database locked from before the go to its first laps"};
    for (const int lock : {0, 1, 2})
        QTest::newRow(timeRaceNames[lock])
            << int(TimeRace) << 1 << "4"
            << "500 11\n800 12\n1000 13\n1200 99\n"
               // 12: exactly the delay after go counts.
               "4000 12\n"
               // 11: the filter lets 3900 through, the delay then ignores it; the
               // filter measures from 3900, so 6500 is refused although the delay
               // would have let it count; 7000 counts.
               "3900 11\n6500 11\n7000 11\n"
               // 13: 8000 is exactly 3000 after 5000 and refused by the filter;
               // 8001 passes the filter but not the delay, and then holds the filter
               // shut until 11001.
               "5000 13\n8000 13\n8001 13\n10500 13\n11500 13\n"
               "12000 99\n30000 12\n45000 12\n"
               "55000 U\n56000 11\n"
               // The minute is over by the counter's clock: each car's next pass
               // is its last lap.
               "62000 U\n63000 12\n64000 11\n65000 U\n"
               // 12 has finished: this pass counts nothing and keeps its result.
               "67000 12\n"
               // 13 finishes last; the race stops itself and ignores what follows.
               "70000 13\n71000 11\n75000 12\n"
            << QStringList{"12 4000/4.000 4000/4.000",     "13 5000/5.000 5000/5.000",
                           "11 7000/7.000 7000/7.000",     "13 11500/11.500 6500/6.500",
                           "12 30000/30.000 26000/26.000", "12 45000/45.000 15000/15.000",
                           "11 56000/56.000 49000/49.000", "12 63000/63.000 18000/18.000",
                           "11 64000/64.000 8000/8.000",   "13 70000/70.000 58500/58.500"}
            << QStringList{"11: 3 laps, 4000/4.000", "12: 4 laps, 3000/3.000",
                           "13: 3 laps, 10000/10.000"}
            << QStringList{"12-Bee, Bert 4 1:03.000", "11-Ant, Anna 3 1:04.000",
                           "13-Cat, Cleo 3 1:10.000"}
            << "4" << QColor(Qt::blue) << (lock > 0) << (lock == 2);

    // Laps race of three laps, transponder delay 5 s. The first car to complete
    // three laps gives the finish; every other car finishes at its next pass.
    QTest::newRow("laps race of three laps")
        << int(LapsRace) << 3 << "5"
        << "0 11\n200 12\n400 13\n"
           // 11: 4500 passes the filter but is inside the delay after go; the
           // filter then refuses 7000 (within 3000 of 4500); 7600 counts.
           "4500 11\n7000 11\n7600 11\n"
           // 12: exactly the delay after go counts; 9999 is inside the delay
           // of that lap and 10000, which the delay would let through, is
           // refused by the filter.
           "5000 12\n9000 13\n9999 12\n10000 12\n13000 12\n14000 11\n15000 77\n"
           "20000 11\n21000 13\n22000 12\n27000 11\n"
        << QStringList{"12 5000/5.000 5000/5.000",     "11 7600/7.600 7600/7.600",
                       "13 9000/9.000 9000/9.000",     "12 13000/13.000 8000/8.000",
                       "11 14000/14.000 6400/6.400",   "11 20000/20.000 6000/6.000",
                       "13 21000/21.000 12000/12.000", "12 22000/22.000 9000/9.000"}
        << QStringList{"11: 3 laps, -160000/-160.000", "12: 3 laps, -158000/-158.000",
                       "13: 2 laps, -159000/-159.000"}
        << QStringList{"11-Ant, Anna 3 0:20.000", "12-Bee, Bert 3 0:22.000",
                       "13-Cat, Cleo 2 0:21.000"}
        << "3/3" << QColor(Qt::red) << false << false;
}

void TestRaceEmulator::heatRunsToItsAutomaticStop() {
    QFETCH(int, category);
    QFETCH(int, length);
    QFETCH(QString, delay);
    QFETCH(QString, script);
    QFETCH(QStringList, laps);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, board);
    QFETCH(QString, lapCounter);
    QFETCH(QColor, lapCounterColour);
    QFETCH(bool, locked);
    QFETCH(bool, lockedBeforeTheGo);

    test::InstallFixture fx;
    FakePlatform platform;

    // The counter's clock runs 500 times as fast as real time, its frames still
    // paced by the 19200-baud line.
    LapCounterEmulator counter;
    QString error;
    QVERIFY2(linkCounter(fx, counter, error), qPrintable(error));
    counter.setClockInterval(0);
    counter.setClockRate(500);
    const auto frames = LapCounterEmulator::parseScript(script, &error);
    QVERIFY2(frames, qPrintable(error));
    counter.setScript(*frames);
    fx.setSetting("TransponderDelay", delay);

    QStringList setup = kDrivers;
    setup << "INSERT INTO tblTournament (TournamentID, Name, RegTime, QualNumOfRounds, "
             "QualNumOfCarsInHeat, QualRaceTime) VALUES (1, 'Cup', '2024-05-01 10:00:00', 2, 4, "
             "1);"
          << "INSERT INTO tblDriverInTournament (DriverID, TournamentID, Reserved) SELECT "
             "DriverID, 1, 0 FROM tblDriver;";
    QVERIFY(fx.sql(setup));

    frmMain w;
    w.showSplash = [](frmSplash&) {};
    QVERIFY(w.Form_Load());
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
    QCOMPARE(w.pageMisc->txtMiscTransponderDelay->text(), delay);

    // The qualification heats of the tournament; the first heat is timed, as
    // the kind of race this row is about.
    w.state().CurrentTournamentID = 1;
    w.cmdToolbarMain_Click(1);
    w.pageManager->cmdManagerGenerateQualHeats->click();
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
    const QString race =
        fx.column("SELECT RaceID FROM tblRace WHERE TournamentID=1 AND QualRound=1 AND "
                  "QualHeat=1;")
            .value(0);
    QVERIFY(!race.isEmpty());
    QVERIFY(fx.sql({QString("UPDATE tblRace SET RaceCategoryID=%1, Length=%2 WHERE RaceID=%3;")
                        .arg(category)
                        .arg(length)
                        .arg(race)}));

    RacePage* page = w.pageRace;
    w.cmdToolbarMain_Click(2);
    page->cbRaceShowRaceCategory->setCurrentIndex(0);
    QCOMPARE(w.timing().CurrentRaceID, race.toInt());
    QCOMPARE(w.timing().CurrentRaceCategoryID, category);
    QVERIFY(!w.timing().HeatHasConflict);

    page->cmdRaceStart_Click();
    std::unique_ptr<OtherProgramLock> lock;
    if (lockedBeforeTheGo)
        lock = std::make_unique<OtherProgramLock>(fx.databaseFile());
    for (int i = 0; i < 10; ++i)
        page->tmrRaceCountdown_Timer();
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
    QCOMPARE(w.timing().CurrentRaceStatus, int(RaceRunning));
    if (lockedBeforeTheGo) {
        // Running on the screen and on the counter, not yet in the database.
        QCOMPARE(page->lblRaceInfoStatus->text(), QString("Running"));
        QTRY_VERIFY(counter.commandsReceived().contains("#S$"));
        QCOMPARE(fx.column("SELECT Status FROM tblRace WHERE RaceID=" + race + ";"),
                 QStringList{"0"});
    }
    if (locked) {
        if (!lock)
            lock = std::make_unique<OtherProgramLock>(fx.databaseFile());
        const TimingState& t = w.timing();
        QTRY_VERIFY_WITH_TIMEOUT(std::accumulate(t.CarLaps.begin(), t.CarLaps.end(), 0) >= 4,
                                 20000);
        // Counted on the board, none stored yet.
        QVERIFY(page->passesWaiting() >= 4);
        QVERIFY(!page->lblRaceWaitingPasses->isHidden());
        QCOMPARE(fx.column("SELECT COUNT(*) FROM tblLapInRace;"), QStringList{"0"});
        lock.reset();
    }

    // The last car's finish stops the race by itself.
    QTRY_COMPARE_WITH_TIMEOUT(fx.column("SELECT Status FROM tblRace WHERE RaceID=" + race + ";"),
                              QStringList{"2"}, 20000);
    QCOMPARE(w.timing().TimingMode, int(TimingIdle));
    QCOMPARE(w.timing().CurrentRaceStatus, int(RaceFinished));
    const QStringList commands = counter.commandsReceived();
    QCOMPARE(commands.mid(commands.size() - 2), (QStringList{"#S$", "#F$"}));

    QCOMPARE(fx.column("SELECT e.TransponderID || ' ' || l.TotalTime || '/' || l.TotalTimeString "
                       "|| ' ' || l.LapTime || '/' || l.LapTimeString FROM tblLapInRace l JOIN "
                       "tblDriverInRace e ON e.DriverInRaceID=l.DriverInRaceID WHERE l.RaceID=" +
                       race + " ORDER BY l.LapInRaceID;"),
             laps);
    QCOMPARE(fx.column("SELECT TransponderID || ': ' || NumOfLaps || ' laps, ' || TimeToFinish || "
                       "'/' || TimeToFinishString FROM tblDriverInRace WHERE RaceID=" +
                       race + " ORDER BY TransponderID;"),
             entries);
    // No lap of the heat went to another race.
    QCOMPARE(fx.column("SELECT COUNT(*) FROM tblLapInRace WHERE RaceID<>" + race + ";"),
             QStringList{"0"});

    QStringList shown;
    for (int row = 0; row < board.size(); ++row)
        shown << page->lblRaceScoreDriver[row]->text() + ' ' + page->lblRaceScoreLaps[row]->text() +
                     ' ' + page->lblRaceScoreTotalTime[row]->text();
    QCOMPARE(shown, board);
    QCOMPARE(page->txtRaceLapCounter->text(), lapCounter);
    QCOMPARE(textColour(page->txtRaceLapCounter), lapCounterColour);
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
}

// The counter's adapter is unplugged in the middle of a heat and plugged in
// again on the same ports/COM<N> link: the program opens the port again and
// stores the passes sent after the return. Passes sent while the line was gone
// are lost on the wire.
void TestRaceEmulator::passesAfterTheCounterComesBackAreStored() {
    test::InstallFixture fx;
    FakePlatform platform;

    // The counter's clock runs twice as fast as real time. Each step below has
    // seconds of real time before the counter's next frames fall due, so that
    // a loaded machine (sanitizers, parallel tests) still takes it in time.
    constexpr double kRate = 2;
    constexpr qint64 kGapFrames = 10000;   // sent while unplugged
    constexpr qint64 kPlugInAfter = 11000; // counter time
    constexpr qint64 kReturnFrames = 16000;
    LapCounterEmulator counter;
    QString error;
    QVERIFY2(linkCounter(fx, counter, error), qPrintable(error));
    counter.setClockInterval(0);
    counter.setClockRate(kRate);
    const auto frames = LapCounterEmulator::parseScript("100 11\n300 12\n4000 11\n4200 12\n"
                                                        "10000 11\n10200 12\n"
                                                        "16000 11\n16200 12\n20000 11\n",
                                                        &error);
    QVERIFY2(frames, qPrintable(error));
    counter.setScript(*frames);
    fx.setSetting("TransponderDelay", "3");
    QVERIFY(fx.sql(heatSeven({kDrivers[0], kDrivers[1]})));

    frmMain w;
    QVERIFY(chooseHeatSeven(w));
    RacePage* page = w.pageRace;
    page->cmdRaceStart_Click();
    for (int i = 0; i < 10; ++i)
        page->tmrRaceCountdown_Timer();
    QElapsedTimer sinceGo; // the counter's clock started a moment later
    sinceGo.start();
    auto laps = [&] {
        return fx.column("SELECT e.TransponderID || ' ' || l.TotalTime FROM tblLapInRace l JOIN "
                         "tblDriverInRace e ON e.DriverInRaceID=l.DriverInRaceID WHERE l.RaceID=7 "
                         "ORDER BY l.LapInRaceID;");
    };
    QTRY_COMPARE_WITH_TIMEOUT(laps(), (QStringList{"11 4000", "12 4200"}), 10000);

    counter.unplug();
    QVERIFY2(sinceGo.elapsed() * kRate < kGapFrames, "too slow to unplug before the gap");
    QTRY_VERIFY_WITH_TIMEOUT(!page->lblRaceLapCounterLost->isHidden(), 5000);
    QVERIFY(w.tmrLapCounterReconnect.isActive());
    w.tmrLapCounterReconnect_Timer(); // still gone
    QVERIFY(w.tmrLapCounterReconnect.isActive());

    QTRY_VERIFY_WITH_TIMEOUT(sinceGo.elapsed() * kRate > kPlugInAfter, 10000);
    QVERIFY2(counter.plugIn(&error), qPrintable(error));
    w.tmrLapCounterReconnect_Timer();
    QVERIFY(!w.tmrLapCounterReconnect.isActive());
    QVERIFY2(sinceGo.elapsed() * kRate < kReturnFrames, "too slow to plug in before the return");
    // The counter's clock frames say that it is back.
    QTRY_COMPARE_WITH_TIMEOUT(page->lblRaceLapCounterLost->text(), RacePage::kLapCounterBackText,
                              5000);
    QCOMPARE(w.state().shapeHWStatusIndicator->fillColor(), Colours::Green);

    QTRY_COMPARE_WITH_TIMEOUT(
        laps(), (QStringList{"11 4000", "12 4200", "11 16000", "12 16200", "11 20000"}), 15000);
    page->cmdRaceStop_Click();
    QCOMPARE(fx.column("SELECT Status FROM tblRace WHERE RaceID=7;"), QStringList{"2"});
    QCOMPARE(fx.column("SELECT TransponderID || ': ' || NumOfLaps FROM tblDriverInRace WHERE "
                       "RaceID=7 ORDER BY TransponderID;"),
             (QStringList{"11: 3", "12: 2"}));
    // The counter was started once and never stopped or restarted by the return.
    QCOMPARE(counter.commandsReceived().count("#S$"), 1);
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
}

// The counter's adapter is unplugged during the countdown and plugged in
// again after the go: the start command never reached the counter, which
// times only after it. The page says so, also once the port is open again,
// and the program does not send the start on its own later.
void TestRaceEmulator::counterGoneAtTheGoIsNotStarted() {
    test::InstallFixture fx;
    FakePlatform platform;
    LapCounterEmulator counter;
    QString error;
    QVERIFY2(linkCounter(fx, counter, error), qPrintable(error));
    counter.setClockInterval(500);
    counter.setScript(*LapCounterEmulator::parseScript("1000 11\n5000 11\n9000 11\n"));
    fx.setSetting("TransponderDelay", "3");
    QVERIFY(fx.sql(heatSeven({kDrivers[0]})));

    frmMain w;
    QVERIFY(chooseHeatSeven(w));
    RacePage* page = w.pageRace;
    page->cmdRaceStart_Click();
    for (int i = 0; i < 5; ++i)
        page->tmrRaceCountdown_Timer();
    // The stop commands of the connection test and of Start have arrived.
    QTRY_COMPARE(counter.commandsReceived().count("#F$"), 2);
    counter.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!page->lblRaceLapCounterLost->isHidden(), 5000);
    for (int i = 0; i < 5; ++i)
        page->tmrRaceCountdown_Timer();
    QCOMPARE(page->lblRaceInfoStatus->text(), QString("Running"));
    QCOMPARE(page->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);

    QVERIFY2(counter.plugIn(&error), qPrintable(error));
    w.tmrLapCounterReconnect_Timer();
    QVERIFY(!w.tmrLapCounterReconnect.isActive());
    QCOMPARE(page->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
    QCOMPARE(fx.column("SELECT Status FROM tblRace WHERE RaceID=7;"), QStringList{"1"});

    // Once Stop's command has arrived, everything sent before it has too: the
    // start was never sent, and the counter never timed.
    page->cmdRaceStop_Click();
    QTRY_COMPARE(counter.commandsReceived().count("#F$"), 3);
    QVERIFY(!counter.commandsReceived().contains("#S$"));
    QVERIFY(!counter.clockRunning());
    QCOMPARE(fx.column("SELECT COUNT(*) FROM tblLapInRace;"), QStringList{"0"});
    QCOMPARE(page->lblRaceLapCounterLost->text(), RacePage::kLapCounterNotStartedText);
    QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
}

QTEST_MAIN(TestRaceEmulator)
#include "tst_race_emulator.moc"
