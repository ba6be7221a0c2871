// The timing rules without a window: time texts, the ranking and the score board
// rows, what each pass of a running race does, the clocks and the row flashing.
#include "RaceTiming.h"

#include <QtTest>

#include <limits>

using namespace kv;

namespace {

// One pass of a race car and what it must do. Expectations not named in a step
// are: not ignored, no lap, not finished, no finish signal, race not complete.
struct Pass {
    int slot = 0;
    qint32 ms = 0;    // the lap counter's time of the pass
    qint32 clock = 0; // the window's race clock at the pass
    bool ignored = false;
    qint32 lapTime = 0; // above 0: a lap of this time is counted
    qint32 laps = 0;    // the car's laps after the pass
    qint32 best = 0;    // the car's best lap after the pass; 0: not checked
    bool finished = false;
    qint32 result = 0;   // checked when finished
    bool signal = false; // this pass gives the finish signal
    bool complete = false;
};

// A state as the race Start and the go leave it: the entries' slots not
// finished, the empty slots finished, the race running.
TimingState runningRace(int category, qint32 length, const QList<int>& entrySlots) {
    TimingState st;
    st.TimingMode = TimingRace;
    st.CurrentRaceID = 4;
    st.CurrentRaceCategoryID = category;
    st.CurrentRaceLength = length;
    st.CarFinished.fill(true);
    for (int s : entrySlots)
        st.CarFinished[static_cast<size_t>(s)] = false;
    st.ResetAtGo();
    st.CurrentRaceStatus = RaceRunning;
    return st;
}

QList<int> rowsOf(const TimingState& st) {
    QList<int> rows;
    for (qint16 s : st.ScoreRowPosition)
        rows << s;
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(QList<Pass>)
Q_DECLARE_METATYPE(QList<StoredLap>)

class TestRaceTiming : public QObject {
    Q_OBJECT
private slots:
    void formatRaceTime_data() {
        QTest::addColumn<qint32>("ms");
        QTest::addColumn<bool>("withMinutes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << true << "0:00.000";
        QTest::newRow("zero, seconds") << 0 << false << "0.000";
        QTest::newRow("1:23.456") << 83456 << true << "1:23.456";
        QTest::newRow("83.456") << 83456 << false << "83.456";
        QTest::newRow("5 ms, seconds") << 5 << false << "0.005";
        QTest::newRow("59,999") << 59999 << true << "0:59.999";
        QTest::newRow("60,000") << 60000 << true << "1:00.000";
        QTest::newRow("600,000, seconds") << 600000 << false << "600.000";
        QTest::newRow("62:03.004") << 3723004 << true << "62:03.004";
        QTest::newRow("no lap") << NoLapTime << true << "0:00.000";
        QTest::newRow("no lap, seconds") << NoLapTime << false << "0.000";
        QTest::newRow("-1") << -1 << true << "-0:00.001";
        QTest::newRow("-5,123") << -5123 << true << "-0:05.123";
        QTest::newRow("-1,500, seconds") << -1500 << false << "-1.500";
        QTest::newRow("-61,000") << -61000 << true << "-1:01.000";
        QTest::newRow("last minute that fits") << 1966079999 << true << "32767:59.999";
        QTest::newRow("last minute that fits, seconds") << 1966079999 << false << "1966079.999";
        QTest::newRow("first minute beyond") << 1966080000 << true << "Error";
        QTest::newRow("first minute beyond, seconds") << 1966080000 << false << "Error";
        QTest::newRow("negative beyond") << -1966080000 << true << "Error";
        QTest::newRow("just below negative beyond") << -1966079999 << false << "-1966079.999";
        QTest::newRow("largest") << std::numeric_limits<qint32>::max() << true << "Error";
        QTest::newRow("smallest") << std::numeric_limits<qint32>::min() << false << "Error";
    }
    void formatRaceTime() {
        QFETCH(qint32, ms);
        QFETCH(bool, withMinutes);
        QFETCH(QString, text);
        QCOMPARE(FormatRaceTime(ms, withMinutes), text);
    }

    void raceClockText_data() {
        QTest::addColumn<qint32>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("go") << 0 << "0:00.000";
        QTest::newRow("100 ms") << 100 << "0:00.100";
        QTest::newRow("12:05.300") << 725300 << "12:05.300";
        QTest::newRow("62:03.004") << 3723004 << "62:03.004";
        QTest::newRow("last minute that fits") << 1966079999 << "32767:59.999";
        QTest::newRow("minutes beyond 16 bits") << 1966080000 << "0:00.000";
    }
    void raceClockText() {
        QFETCH(qint32, ms);
        QFETCH(QString, text);
        QCOMPARE(RaceClockText(ms), text);
    }

    void rankRaceBoard_data() {
        QTest::addColumn<QList<int>>("laps");
        QTest::addColumn<QList<int>>("totals");
        QTest::addColumn<QList<int>>("rows");
        const QList<int> none(kSlotCount, 0);
        QTest::newRow("no laps: identity")
            << none << none << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("laps, then total, then slots without laps")
            << QList<int>{0, 5, 0, 5, 0, 0, 0, 6, 0, 0}
            << QList<int>{0, 60000, 0, 61000, 0, 0, 0, 70000, 0, 0}
            << QList<int>{7, 1, 3, 0, 2, 4, 5, 6, 8, 9};
        QTest::newRow("equal laps and total: lower slot ahead")
            << QList<int>{0, 0, 4, 0, 0, 0, 4, 0, 0, 0}
            << QList<int>{0, 0, 40000, 0, 0, 0, 40000, 0, 0, 0}
            << QList<int>{2, 6, 0, 1, 3, 4, 5, 7, 8, 9};
        QTest::newRow("lower total ahead of lower slot")
            << QList<int>{0, 0, 5, 0, 0, 0, 0, 0, 5, 0}
            << QList<int>{0, 0, 51000, 0, 0, 0, 0, 0, 50000, 0}
            << QList<int>{8, 2, 0, 1, 3, 4, 5, 6, 7, 9};
        QTest::newRow("one lap more beats any total")
            << QList<int>{2, 0, 0, 0, 0, 0, 0, 0, 0, 3}
            << QList<int>{10000, 0, 0, 0, 0, 0, 0, 0, 0, 900000}
            << QList<int>{9, 0, 1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("every slot alike: slot order")
            << QList<int>(kSlotCount, 3) << QList<int>(kSlotCount, 30000)
            << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("every slot different")
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
            << QList<int>{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}
            << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    }
    void rankRaceBoard() {
        QFETCH(QList<int>, laps);
        QFETCH(QList<int>, totals);
        QFETCH(QList<int>, rows);
        TimingState st;
        for (size_t i = 0; i < kSlotCount; ++i) {
            st.CarLaps[i] = laps[qsizetype(i)];
            st.CarTotalTime[i] = totals[qsizetype(i)];
            // An earlier ranking must not shape this one.
            st.ScoreRowPosition[i] = static_cast<qint16>(kSlotCount - 1 - i);
        }
        st.RankRaceBoard();
        QCOMPARE(rowsOf(st), rows);
    }

    void raceBoardRows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QStringList>("values");      // driver, laps, total, last, best
        QTest::addColumn<QStringList>("differences"); // empty: not written
        QTest::addColumn<QList<bool>>("behind");      // total, last, best
        QTest::newRow("leader: zero differences")
            << 0 << 4 << QStringList{"12-Lane, Ada", "5", "5:00.000", "0:58.000", "0:55.000"}
            << QStringList{"0", "0:00.000", "0:00.000", "0:00.000"}
            << QList<bool>{false, false, false};
        QTest::newRow("two laps behind, faster best")
            << 1 << 1 << QStringList{"7-Moss, Bo", "3", "3:20.000", "1:10.000", "0:52.000"}
            << QStringList{"2", "-1:40.000", "0:12.000", "-0:03.000"}
            << QList<bool>{false, true, false};
        QTest::newRow("start crossing only: not written")
            << 2 << 0 << QStringList{"3-Ito, Cy", "0", "0:00.000", "0:00.000", "0:00.000"}
            << QStringList{} << QList<bool>{};
        QTest::newRow("not passed: not written")
            << 3 << 2 << QStringList{"", "0", "0:00.000", "0:00.000", "0:00.000"} << QStringList{}
            << QList<bool>{};
    }
    void raceBoardRows() {
        QFETCH(int, row);
        QFETCH(int, slot);
        QFETCH(QStringList, values);
        QFETCH(QStringList, differences);
        QFETCH(QList<bool>, behind);

        TimingState st;
        st.ScoreDriverCaption[4] = "12-Lane, Ada";
        st.CarHasPassed[4] = true;
        st.CarLaps[4] = 5;
        st.CarTotalTime[4] = 300000;
        st.CarLastLapTime[4] = 58000;
        st.CarBestLapTime[4] = 55000;
        st.ScoreDriverCaption[1] = "7-Moss, Bo";
        st.CarHasPassed[1] = true;
        st.CarLaps[1] = 3;
        st.CarTotalTime[1] = 200000;
        st.CarLastLapTime[1] = 70000;
        st.CarBestLapTime[1] = 52000;
        st.ScoreDriverCaption[0] = "3-Ito, Cy";
        st.CarHasPassed[0] = true;
        st.RankRaceBoard();

        const RaceBoardRow r = RaceBoardRows(st)[static_cast<size_t>(row)];
        QCOMPARE(int(r.slot), slot);
        QCOMPARE((QStringList{r.driver, r.laps, r.totalTime, r.lastTime, r.bestTime}), values);
        QCOMPARE(r.writeDifferences, !differences.isEmpty());
        if (!r.writeDifferences)
            return;
        QCOMPARE((QStringList{r.lapsDifference, r.totalTimeDifference, r.lastTimeDifference,
                              r.bestTimeDifference}),
                 differences);
        QCOMPARE((QList<bool>{r.totalTimeBehind, r.lastTimeBehind, r.bestTimeBehind}), behind);
    }

    void lapCounterText_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<qint32>("length");
        QTest::addColumn<QList<int>>("laps");
        QTest::addColumn<QString>("text");
        const QList<int> leaderAtThree{1, 0, 3, 2, 0, 0, 0, 0, 0, 0};
        QTest::newRow("time race") << int(TimeRace) << 5 << leaderAtThree << "3";
        QTest::newRow("laps race") << int(LapsRace) << 10 << leaderAtThree << "3/10";
        QTest::newRow("laps race before any lap")
            << int(LapsRace) << 20 << QList<int>(kSlotCount, 0) << "0/20";
    }
    void lapCounterText() {
        QFETCH(int, category);
        QFETCH(qint32, length);
        QFETCH(QList<int>, laps);
        QFETCH(QString, text);
        TimingState st;
        st.CurrentRaceCategoryID = category;
        st.CurrentRaceLength = length;
        st.LeaderLaps = 99; // stale from an earlier race
        for (size_t i = 0; i < kSlotCount; ++i)
            st.CarLaps[i] = laps[qsizetype(i)];
        st.UpdateLeaderLaps();
        QCOMPARE(st.LapCounterText(), text);
    }

    void racePasses_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<qint32>("length");
        QTest::addColumn<double>("delay");
        QTest::addColumn<QList<int>>("entries");
        QTest::addColumn<QList<Pass>>("passes");
        // clang-format off
        QTest::newRow("transponder delay from go, then from the last lap")
            << int(TimeRace) << 10 << 5.0 << QList<int>{0} << QList<Pass>{
                {.slot = 0, .ms = 1000},
                {.slot = 0, .ms = 4500, .ignored = true},
                {.slot = 0, .ms = 5000, .lapTime = 5000, .laps = 1},
                {.slot = 0, .ms = 9999, .ignored = true, .laps = 1},
                {.slot = 0, .ms = 10000, .lapTime = 5000, .laps = 2}};
        QTest::newRow("no delay: nothing too soon")
            << int(TimeRace) << 10 << 0.0 << QList<int>{0} << QList<Pass>{
                {.slot = 0, .ms = 1000},
                {.slot = 0, .ms = 1001, .lapTime = 1001, .laps = 1},
                {.slot = 0, .ms = 1002, .lapTime = 1, .laps = 2}};
        QTest::newRow("lap 1 from go; slower lap keeps the best")
            << int(TimeRace) << 10 << 0.0 << QList<int>{0} << QList<Pass>{
                {.slot = 0, .ms = 8000},
                {.slot = 0, .ms = 30000, .lapTime = 30000, .laps = 1, .best = 30000},
                {.slot = 0, .ms = 52000, .lapTime = 22000, .laps = 2, .best = 22000},
                {.slot = 0, .ms = 80000, .lapTime = 28000, .laps = 3, .best = 22000}};
        QTest::newRow("cars are timed apart")
            << int(TimeRace) << 10 << 3.0 << QList<int>{2, 5} << QList<Pass>{
                {.slot = 2, .ms = 1000},
                {.slot = 5, .ms = 1500},
                {.slot = 2, .ms = 20000, .lapTime = 20000, .laps = 1},
                {.slot = 5, .ms = 21000, .lapTime = 21000, .laps = 1},
                {.slot = 5, .ms = 23000, .ignored = true, .laps = 1},
                {.slot = 2, .ms = 23000, .lapTime = 3000, .laps = 2}};
        QTest::newRow("time race: first pass after the clock's length finishes")
            << int(TimeRace) << 5 << 0.0 << QList<int>{0, 1, 2} << QList<Pass>{
                {.slot = 0, .ms = 2000, .clock = 2000},
                {.slot = 1, .ms = 2100, .clock = 2100},
                {.slot = 0, .ms = 100000, .clock = 100000, .lapTime = 100000, .laps = 1},
                // The counter's time is past 5:00, the window's clock is not.
                {.slot = 1, .ms = 300200, .clock = 299999, .lapTime = 300200, .laps = 1},
                {.slot = 0, .ms = 300500, .clock = 300100, .lapTime = 200500, .laps = 2,
                 .finished = true, .result = 500},
                // A finished car: no lap, the same result again.
                {.slot = 0, .ms = 310000, .clock = 310000, .laps = 2,
                 .finished = true, .result = 500},
                // First crossing after the time: finished without laps.
                {.slot = 2, .ms = 320000, .clock = 320000,
                 .finished = true, .result = -300000},
                {.slot = 1, .ms = 399900, .clock = 400000, .lapTime = 99700, .laps = 2,
                 .finished = true, .result = 99900, .complete = true}};
        QTest::newRow("time race: result below zero when the clock runs ahead")
            << int(TimeRace) << 1 << 0.0 << QList<int>{3} << QList<Pass>{
                {.slot = 3, .ms = 500, .clock = 500},
                {.slot = 3, .ms = 59900, .clock = 60000, .lapTime = 59900, .laps = 1,
                 .finished = true, .result = -100, .complete = true}};
        QTest::newRow("laps race: first to the laps signals, the others at their next pass")
            << int(LapsRace) << 3 << 0.0 << QList<int>{0, 1, 2} << QList<Pass>{
                {.slot = 0, .ms = 1000},
                {.slot = 1, .ms = 1200},
                {.slot = 0, .ms = 20000, .lapTime = 20000, .laps = 1},
                {.slot = 1, .ms = 22000, .lapTime = 22000, .laps = 1},
                {.slot = 0, .ms = 40000, .lapTime = 20000, .laps = 2},
                {.slot = 0, .ms = 60000, .lapTime = 20000, .laps = 3,
                 .finished = true, .result = 60000 - 180000, .signal = true},
                {.slot = 1, .ms = 65000, .lapTime = 43000, .laps = 2,
                 .finished = true, .result = 65000 - 180000},
                {.slot = 0, .ms = 80000, .laps = 3, .finished = true, .result = 60000 - 180000},
                {.slot = 2, .ms = 81000, .finished = true, .result = -180000, .complete = true}};
        QTest::newRow("laps race: a second car at the laps gives no second signal")
            << int(LapsRace) << 1 << 0.0 << QList<int>{0, 1} << QList<Pass>{
                {.slot = 0, .ms = 1000},
                {.slot = 1, .ms = 1100},
                {.slot = 1, .ms = 20000, .lapTime = 20000, .laps = 1,
                 .finished = true, .result = 20000 - 60000, .signal = true},
                {.slot = 0, .ms = 20100, .lapTime = 20100, .laps = 1,
                 .finished = true, .result = 20100 - 60000, .complete = true}};
        QTest::newRow("a slot outside the ten is ignored")
            << int(LapsRace) << 1 << 0.0 << QList<int>{0} << QList<Pass>{
                {.slot = 10, .ms = 1000, .ignored = true},
                {.slot = -1, .ms = 1000, .ignored = true},
                {.slot = 0, .ms = 1000}};
        // clang-format on
    }

    void racePasses() {
        QFETCH(int, category);
        QFETCH(qint32, length);
        QFETCH(double, delay);
        QFETCH(QList<int>, entries);
        QFETCH(QList<Pass>, passes);

        TimingState st = runningRace(category, length, entries);
        for (qsizetype i = 0; i < passes.size(); ++i) {
            const Pass& p = passes[i];
            const QByteArray stepName = "pass " + QByteArray::number(i + 1);
            const char* step = stepName.constData();
            const bool inSlots = p.slot >= 0 && p.slot < kSlotCount;
            const auto s = static_cast<size_t>(inSlots ? p.slot : 0);
            st.RaceElapsedMs = p.clock;
            const bool signalledBefore = st.RaceFinishSignalled;
            if (inSlots)
                st.RowFlashCount[s] = 0;

            const RacePassOutcome out = RegisterRacePass(st, p.slot, p.ms, delay);

            QVERIFY2(out.ignored == p.ignored, step);
            QVERIFY2(out.flash == !p.ignored && out.playPassSound == !p.ignored, step);
            QVERIFY2(out.lapCounted == (p.lapTime > 0), step);
            QVERIFY2(out.finished == p.finished, step);
            QVERIFY2(out.finishSignalNow == p.signal, step);
            QVERIFY2(out.raceComplete == p.complete, step);
            QVERIFY2(st.RaceFinishSignalled == (signalledBefore || p.signal), step);
            if (!inSlots)
                continue;
            QVERIFY2(st.RowFlashCount[s] == (p.ignored ? 0 : 1), step);
            QVERIFY2(st.CarLaps[s] == p.laps, step);
            QVERIFY2(st.CarFinished[s] == p.finished, step);
            if (!p.ignored)
                QVERIFY2(out.laps == p.laps, step);
            if (p.lapTime > 0) {
                QVERIFY2(out.lapTime == p.lapTime && st.CarLastLapTime[s] == p.lapTime, step);
                QVERIFY2(out.totalTime == p.ms && st.CarTotalTime[s] == p.ms, step);
            }
            if (p.best)
                QVERIFY2(st.CarBestLapTime[s] == p.best, step);
            if (p.finished)
                QVERIFY2(out.result == p.result, step);
        }
    }

    void countedLapRanksTheBoard() {
        TimingState st = runningRace(LapsRace, 10, {0, 1});
        for (const auto& [slot, ms] : {std::pair{0, 1000}, {1, 1100}, {1, 20000}})
            RegisterRacePass(st, slot, ms, 0);
        QCOMPARE(rowsOf(st), (QList<int>{1, 0, 2, 3, 4, 5, 6, 7, 8, 9}));
        RegisterRacePass(st, 0, 19000, 0);
        // Same laps, lower total: slot 0 leads again.
        QCOMPARE(rowsOf(st), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }

    void raceClockTick_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<qint32>("length");
        QTest::addColumn<qint32>("startMs");
        QTest::addColumn<QString>("expected"); // per 100 ms tick: S finish signal, . none
        QTest::newRow("time race of 3 minutes") << int(TimeRace) << 3 << 179800 << ".S....";
        QTest::newRow("laps race never") << int(LapsRace) << 3 << 179800 << "......";
        QTest::newRow("clock beyond 16-bit minutes") << int(TimeRace) << 5 << 1966079900 << "...";
    }
    void raceClockTick() {
        QFETCH(int, category);
        QFETCH(qint32, length);
        QFETCH(qint32, startMs);
        QFETCH(QString, expected);
        TimingState st = runningRace(category, length, {0});
        st.RaceElapsedMs = startMs;
        QString got;
        for (qsizetype i = 0; i < expected.size(); ++i)
            got += RaceClockTick(st, 100) ? 'S' : '.';
        QCOMPARE(got, expected);
        QCOMPARE(st.RaceElapsedMs, startMs + 100 * qint32(expected.size()));
        QCOMPARE(st.RaceFinishSignalled, expected.contains('S'));
    }

    void flashTick_data() {
        QTest::addColumn<int>("restartAt");   // tick before which the car passes again; -1 none
        QTest::addColumn<QString>("colours"); // per tick: R red, B black, . unchanged
        QTest::newRow("one pass") << -1 << "BRBRBRBRB...";
        QTest::newRow("passing again mid-flash starts over") << 4 << "BRBRBRBRBRBRB...";
    }
    void flashTick() {
        QFETCH(int, restartAt);
        QFETCH(QString, colours);
        TimingState st;
        // Slot 3 shown in display row 1; the colours belong to the display row.
        st.ScoreRowPosition = {6, 3, 0, 1, 2, 4, 5, 7, 8, 9};
        st.RowFlashCount[3] = 1;
        QString got;
        for (qsizetype i = 0; i < colours.size(); ++i) {
            if (i == restartAt)
                st.RowFlashCount[3] = 1;
            const auto tick = FlashTick(st);
            for (size_t r = 0; r < kSlotCount; ++r)
                if (r != 1)
                    QVERIFY2(!tick[r].has_value(), qPrintable(QString::number(r)));
            got += !tick[1] ? '.' : *tick[1] == FlashColour::Red ? 'R' : 'B';
        }
        QCOMPARE(got, colours);
        QCOMPARE(st.RowFlashCount[3], qint16(0));
    }

    void loadFinishedSlot_data() {
        QTest::addColumn<QList<StoredLap>>("stored");
        QTest::addColumn<bool>("passed");
        QTest::addColumn<qint32>("laps");
        QTest::addColumn<qint32>("total");
        QTest::addColumn<qint32>("last");
        QTest::addColumn<qint32>("best");
        QTest::newRow("best in the middle")
            << QList<StoredLap>{{90000, 31000}, {59000, 27000}, {32000, 32000}} << true << 3
            << 90000 << 31000 << 27000;
        QTest::newRow("last lap is the best")
            << QList<StoredLap>{{80000, 25000}, {55000, 25000}, {30000, 30000}} << true << 3
            << 80000 << 25000 << 25000;
        QTest::newRow("one lap") << QList<StoredLap>{{41000, 41000}} << true << 1 << 41000 << 41000
                                 << 41000;
        QTest::newRow("no laps: reset values")
            << QList<StoredLap>{} << false << 0 << 0 << NoLapTime << NoLapTime;
    }
    void loadFinishedSlot() {
        QFETCH(QList<StoredLap>, stored);
        QFETCH(bool, passed);
        QFETCH(qint32, laps);
        QFETCH(qint32, total);
        QFETCH(qint32, last);
        QFETCH(qint32, best);
        TimingState st;
        st.ResetSlotsForSelection();
        st.CarBestLapTime[5] = 1000; // from the race shown before
        LoadFinishedSlot(st, 5, stored);
        QCOMPARE(st.CarHasPassed[5], passed);
        QCOMPARE(st.CarLaps[5], laps);
        QCOMPARE(st.CarTotalTime[5], total);
        QCOMPARE(st.CarLastLapTime[5], last);
        QCOMPARE(st.CarBestLapTime[5], best);
        QVERIFY(st.CarFinished[5]);
    }

    void startListProblem_data() {
        QTest::addColumn<QList<qint32>>("positions");
        QTest::addColumn<QString>("names"); // a number the refusal names; empty: accepted
        QTest::newRow("empty heat") << QList<qint32>{} << "";
        QTest::newRow("gaps") << QList<qint32>{1, 5, 9} << "";
        QTest::newRow("ten in any order") << QList<qint32>{10, 2, 3, 4, 5, 6, 7, 8, 9, 1} << "";
        QTest::newRow("eleven entries") << QList<qint32>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << "11";
        QTest::newRow("start position 0") << QList<qint32>{1, 0} << "0";
        QTest::newRow("start position 11") << QList<qint32>{11, 1} << "11";
        QTest::newRow("negative start position") << QList<qint32>{-3} << "-3";
        QTest::newRow("provisional start position") << QList<qint32>{1000} << "1000";
        QTest::newRow("two on one position") << QList<qint32>{1, 4, 2, 4} << "4";
    }
    void startListProblem() {
        QFETCH(QList<qint32>, positions);
        QFETCH(QString, names);
        const QString problem = StartListProblem(positions);
        QCOMPARE(problem.isEmpty(), names.isEmpty());
        QVERIFY2(problem.contains(names), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestRaceTiming)
#include "tst_racetiming.moc"
