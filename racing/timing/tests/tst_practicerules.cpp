// The practice rules without a window: slots for newcomers, the automatic link,
// what each pass does, the idle-car check with its clock, flashing and the board.
#include "PracticeRules.h"

#include <QtTest>

#include <limits>

using namespace kv;

Q_DECLARE_METATYPE(kv::FlashBoard)

namespace {

// One pass of a practice car and what it must do.
struct Pass {
    qint32 ms = 0; // the lap counter's time of the pass
    bool ignored = false;
    qint32 lapTime = 0; // above 0: a lap of this time; 0 and not ignored: the first crossing
    qint32 laps = 0;    // the car's laps after the pass
    qint32 total = 0;   // the car's total time after the pass
    qint32 best = 0;    // the car's best lap after the pass; 0: not checked
};

// The race board's ticks, as seen on row 3 showing slot 3.
QString raceFlashTrace(TimingState& st, int ticks) {
    QString trace;
    for (int i = 0; i < ticks; ++i) {
        const auto colours = FlashTick(st);
        const auto& c = colours[3];
        trace += !c                       ? QLatin1Char('-')
                 : *c == FlashColour::Red ? QLatin1Char('R')
                                          : QLatin1Char('B');
    }
    return trace;
}

QString flashTrace(TimingState& st, int slot, int ticks) {
    QString trace;
    for (int i = 0; i < ticks; ++i) {
        const auto colours = PracticeFlashTick(st);
        const auto& c = colours[static_cast<size_t>(slot)];
        trace += !c                       ? QLatin1Char('-')
                 : *c == FlashColour::Red ? QLatin1Char('R')
                                          : QLatin1Char('B');
    }
    return trace;
}

// A car in `slot` whose first crossing was at `firstMs` with no lap since.
void seatCar(TimingState& st, int slot, qint32 firstMs) {
    ResetPracticeSlot(st, slot);
    st.ScoreDriverCaption[static_cast<size_t>(slot)] = TransponderCaption(slot + 1);
    RegisterPracticePass(st, slot, firstMs, 3);
}

} // namespace

Q_DECLARE_METATYPE(QList<Pass>)
Q_DECLARE_METATYPE(QList<PracticeOwner>)

class TestPracticeRules : public QObject {
    Q_OBJECT
private slots:
    void freeStartPosition_data() {
        QTest::addColumn<QList<qint32>>("taken");
        QTest::addColumn<int>("position");
        QTest::newRow("first newcomer") << QList<qint32>{} << 1;
        QTest::newRow("after one") << QList<qint32>{1} << 2;
        QTest::newRow("freed slot 2") << QList<qint32>{1, 3} << 2;
        QTest::newRow("in any order") << QList<qint32>{3, 1, 2} << 4;
        QTest::newRow("slot 1 freed") << QList<qint32>{2, 3} << 1;
        QTest::newRow("a doubled position holds one slot") << QList<qint32>{1, 1, 2} << 3;
        QTest::newRow("ten taken: no slot") << QList<qint32>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 11;
    }
    void freeStartPosition() {
        QFETCH(QList<qint32>, taken);
        QTEST(PracticeFreeStartPosition(taken), "position");
    }

    void autoLink_data() {
        QTest::addColumn<bool>("autoAssign");
        QTest::addColumn<QList<PracticeOwner>>("owners");
        QTest::addColumn<qint32>("driver");
        QTest::addColumn<QString>("caption");
        const PracticeOwner anna{70001, "Vorel", "Anna"};
        const PracticeOwner ben{12, "Kirv", "Ben"};
        QTest::newRow("box off") << false << QList<PracticeOwner>{anna} << 0 << "Transponder: 7";
        QTest::newRow("no owner") << true << QList<PracticeOwner>{} << 0 << "Transponder: 7";
        QTest::newRow("one owner, a key beyond 16 bits")
            << true << QList<PracticeOwner>{anna} << 70001 << "7-Vorel, Anna";
        QTest::newRow("two owners: nobody")
            << true << QList<PracticeOwner>{anna, ben} << 0 << "Transponder: 7";
    }
    void autoLink() {
        QFETCH(bool, autoAssign);
        QFETCH(QList<PracticeOwner>, owners);
        const PracticeLink link = PracticeAutoLink(7, autoAssign, owners);
        QTEST(link.DriverID, "driver");
        QTEST(link.caption, "caption");
    }

    // The first newcomer with the box off: slot 1, its caption and list row.
    void firstNewcomer() {
        TimingState st;
        ResetPracticeSlots(st);
        const int position = PracticeFreeStartPosition({});
        QCOMPARE(position, 1);
        const int slot = position - 1;
        st.ScoreDriverCaption[0] = PracticeAutoLink(7, false, {}).caption;
        const PracticePassOutcome out = RegisterPracticePass(st, slot, 12000, 3);
        QVERIFY(out.firstCrossing);
        QVERIFY(!out.lapCounted);
        QCOMPARE(out.startDelay, 12000);
        const auto rows = PracticeBoardRows(st);
        QVERIFY(rows[0].visible);
        QCOMPARE(rows[0].driver, QString("Transponder: 7"));
        QCOMPARE(QStringList({rows[0].laps, rows[0].totalTime, rows[0].lastTime, rows[0].bestTime}),
                 QStringList({"0", "0:00.000", "0:00.000", "0:00.000"}));
        for (size_t s = 1; s < rows.size(); ++s)
            QVERIFY(!rows[s].visible);
        QCOMPARE(UnassignedTransponderText(QString::number(position), "7"),
                 QString("Started: 1, TransponderID: 7"));
    }

    void passes_data() {
        QTest::addColumn<double>("delaySeconds");
        QTest::addColumn<QList<Pass>>("passes");
        QTest::addColumn<QStringList>("board"); // laps, time, last, best after the passes
        QTest::newRow("second crossing 30.5 s later")
            << 3.0 << QList<Pass>{{12000}, {42500, false, 30500, 1, 30500}}
            << QStringList{"1", "0:30.500", "0:30.500", "0:30.500"};
        QTest::newRow("2 s after a lap is too soon")
            << 3.0
            << QList<Pass>{{12000}, {42500, false, 30500, 1, 30500}, {44500, true, 0, 1, 30500}}
            << QStringList{"1", "0:30.500", "0:30.500", "0:30.500"};
        QTest::newRow("exactly 3000 ms counts")
            << 3.0
            << QList<Pass>{{12000},
                           {42500, false, 30500, 1, 30500},
                           {45500, false, 3000, 2, 33500, 3000}}
            << QStringList{"2", "0:33.500", "0:03.000", "0:03.000"};
        QTest::newRow("too soon after the first crossing")
            << 3.0 << QList<Pass>{{12000}, {14999, true}, {15000, false, 3000, 1, 3000}}
            << QStringList{"1", "0:03.000", "0:03.000", "0:03.000"};
        QTest::newRow("a fractional delay")
            << 1.5 << QList<Pass>{{0}, {1499, true}, {1500, false, 1500, 1, 1500}}
            << QStringList{"1", "0:01.500", "0:01.500", "0:01.500"};
        QTest::newRow("a slower lap keeps the best, a faster one takes it")
            << 3.0
            << QList<Pass>{{1000},
                           {31000, false, 30000, 1, 30000, 30000},
                           {66000, false, 35000, 2, 65000, 30000},
                           {91000, false, 25000, 3, 90000, 25000}}
            << QStringList{"3", "1:30.000", "0:25.000", "0:25.000"};
    }
    void passes() {
        QFETCH(double, delaySeconds);
        QFETCH(QList<Pass>, passes);
        const int slot = 4;
        const auto s = static_cast<size_t>(slot);
        TimingState st;
        ResetPracticeSlots(st);
        st.ScoreDriverCaption[s] = TransponderCaption(9);
        // The practice clock plays no part in a car's times.
        st.PracticeElapsedMs = 987654;
        const qint32 first = passes.first().ms;
        for (int i = 0; i < passes.size(); ++i) {
            const Pass& p = passes[i];
            st.RowFlashCount[s] = 0;
            const PracticePassOutcome out = RegisterPracticePass(st, slot, p.ms, delaySeconds);
            const QByteArray where = "pass " + QByteArray::number(i + 1);
            QVERIFY2(out.ignored == p.ignored, where);
            QVERIFY2(st.RowFlashCount[s] == (p.ignored ? 0 : 1), where);
            QVERIFY2(out.firstCrossing == (i == 0), where);
            QVERIFY2(out.lapCounted == (p.lapTime > 0), where);
            if (out.lapCounted) {
                QCOMPARE(out.lapTime, p.lapTime);
                QCOMPARE(out.totalTime, p.total);
            }
            QCOMPARE(st.CarLaps[s], p.laps);
            QCOMPARE(st.CarTotalTime[s], p.total);
            QCOMPARE(st.CarStartDelay[s], first);
            if (p.best > 0)
                QCOMPARE(st.CarBestLapTime[s], p.best);
        }
        QCOMPARE(st.PracticeElapsedMs, 987654);
        const PracticeBoardRow row = PracticeBoardRows(st)[s];
        QVERIFY(row.visible);
        QCOMPARE(row.driver, QString("Transponder: 9"));
        QTEST(QStringList({row.laps, row.totalTime, row.lastTime, row.bestTime}), "board");
    }

    // A deleted car's slot holds nothing of it: the next newcomer there starts
    // its own clock at its first crossing.
    void freedSlotStartsAfresh() {
        TimingState st;
        ResetPracticeSlots(st);
        seatCar(st, 1, 50000);
        RegisterPracticePass(st, 1, 80000, 3);
        st.RowFlashCount[1] = 4;
        ResetPracticeSlot(st, 1);
        QVERIFY(!PracticeBoardRows(st)[1].visible);
        QCOMPARE(st.ScoreDriverCaption[1], FreeSlotCaption);
        QCOMPARE(st.RowFlashCount[1], qint16(4)); // the flash runs out by itself

        const PracticePassOutcome first = RegisterPracticePass(st, 1, 81000, 3);
        QVERIFY(first.firstCrossing);
        const PracticePassOutcome lap = RegisterPracticePass(st, 1, 111000, 3);
        QCOMPARE(lap.lapTime, 30000);
        QCOMPARE(lap.totalTime, 30000);
        QCOMPARE(lap.laps, 1);
        QCOMPARE(st.CarBestLapTime[1], 30000);
    }

    void clockTickCadence_data() {
        QTest::addColumn<qint32>("countAtStart");
        QTest::addColumn<int>("firstCheck"); // the tick that runs the first check
        QTest::newRow("program start") << 0 << 52;
        QTest::newRow("carried from the last session") << 30 << 22;
        QTest::newRow("just before a check") << 51 << 1;
    }
    void clockTickCadence() {
        QFETCH(qint32, countAtStart);
        QFETCH(int, firstCheck);
        TimingState st;
        st.AutoDeleteTickCount = countAtStart;
        QList<int> checks;
        for (int tick = 1; tick <= firstCheck + 104; ++tick)
            if (PracticeClockTick(st, 100))
                checks << tick;
        QCOMPARE(checks, QList<int>({firstCheck, firstCheck + 52, firstCheck + 104}));
        QCOMPARE(st.PracticeElapsedMs, (firstCheck + 104) * 100);
    }

    // A car last seen at 60000 on the lap counter's clock; the practice clock
    // runs from 0 and is checked every 52nd tick.
    void idleCarRemoval_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<qint32>("removedAt"); // practice clock; -1: not within an hour
        QTest::newRow("5 minutes") << "5" << 364000;
        QTest::newRow("1 minute") << "1" << 124800;
        QTest::newRow("1.5 is 2 minutes") << "1.5" << 182000;
        QTest::newRow("2.5 is 2 minutes") << "2.5" << 182000;
        QTest::newRow("a number then text") << "3 min" << 244400;
        QTest::newRow("0") << "0" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("0.4") << "0.4" << -1;
        QTest::newRow("0.5 is 0") << "0.5" << -1;
        QTest::newRow("-2") << "-2" << -1;
        QTest::newRow("not a number") << "abc" << -1;
    }
    void idleCarRemoval() {
        QFETCH(QString, delay);
        const double minutes = PracticeDeleteDelayMinutes(delay);
        for (bool withLaps : {false, true}) {
            TimingState st;
            ResetPracticeSlots(st);
            if (withLaps) { // first crossing at 20000, last lap ends at 60000
                seatCar(st, 3, 20000);
                RegisterPracticePass(st, 3, 60000, 3);
            } else {
                seatCar(st, 3, 60000);
            }
            qint32 removedAt = -1;
            for (int tick = 0; tick < 36000 && removedAt < 0; ++tick)
                if (PracticeClockTick(st, 100) && IdlePracticeSlots(st, minutes).contains(3))
                    removedAt = st.PracticeElapsedMs;
            QTEST(removedAt, "removedAt");
        }
    }

    // Delays whose milliseconds do not fit 32 bits never expire, and nothing
    // overflows on the way (the sanitizer build checks the arithmetic).
    void hugeDelays_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<bool>("removed");
        QTest::newRow("largest that fits") << "35791" << true;
        QTest::newRow("one minute more") << "35792" << false;
        QTest::newRow("beyond 32 bits") << "5000000000" << false;
        QTest::newRow("beyond 64 bits") << "99999999999999999999999" << false;
        QTest::newRow("beyond any number") << "1e999" << false;
    }
    void hugeDelays() {
        QFETCH(QString, delay);
        TimingState st;
        ResetPracticeSlots(st);
        seatCar(st, 0, 1);
        RegisterPracticePass(st, 0, 20001, 3); // last crossing at 20001
        st.PracticeElapsedMs = std::numeric_limits<qint32>::max() - 50;
        PracticeClockTick(st, 100); // the clock stops at its largest value
        QCOMPARE(st.PracticeElapsedMs, std::numeric_limits<qint32>::max());
        QTEST(IdlePracticeSlots(st, PracticeDeleteDelayMinutes(delay)).contains(0), "removed");
    }

    // Row s shows slot s, whatever the race board's ranking says.
    void flashingBySlot() {
        TimingState st;
        for (size_t r = 0; r < kSlotCount; ++r)
            st.ScoreRowPosition[r] = static_cast<qint16>(kSlotCount - 1 - r);
        st.RowFlashCount[3] = 1;
        QCOMPARE(flashTrace(st, 3, 12), QString("BRBRBRBRB---"));
        QCOMPARE(st.RowFlashCount[3], qint16(0));
    }

    // One slot, flashed by a pass on one board and then by a pass on a board
    // of the same or the other kind: a flash the second pass cuts short rests
    // black at its board's next tick, and only then.
    void flashCutShortByTheOtherBoard_data() {
        QTest::addColumn<FlashBoard>("first");
        QTest::addColumn<int>("ticksBetween"); // of the first pass's board
        QTest::addColumn<FlashBoard>("second");
        QTest::addColumn<QString>("raceTrace");
        QTest::addColumn<QString>("practiceTrace");
        QTest::newRow("race cut by practice")
            << FlashBoard::Race << 2 << FlashBoard::Practice << "B--"
            << "BRB";
        QTest::newRow("practice cut by race")
            << FlashBoard::Practice << 2 << FlashBoard::Race << "BRB"
            << "B--";
        QTest::newRow("race flashed again") << FlashBoard::Race << 2 << FlashBoard::Race << "BRB"
                                            << "---";
        QTest::newRow("race flash over, then practice")
            << FlashBoard::Race << 10 << FlashBoard::Practice << "---"
            << "BRB";
        QTest::newRow("practice flash over, then race")
            << FlashBoard::Practice << 10 << FlashBoard::Race << "BRB"
            << "---";
    }
    void flashCutShortByTheOtherBoard() {
        QFETCH(FlashBoard, first);
        QFETCH(int, ticksBetween);
        QFETCH(FlashBoard, second);
        TimingState st;
        for (size_t r = 0; r < kSlotCount; ++r)
            st.ScoreRowPosition[r] = static_cast<qint16>(r);
        StartRowFlash(st, 3, first);
        for (int i = 0; i < ticksBetween; ++i) {
            if (first == FlashBoard::Race)
                FlashTick(st);
            else
                PracticeFlashTick(st);
        }
        StartRowFlash(st, 3, second);
        QTEST(raceFlashTrace(st, 3), "raceTrace");
        QTEST(flashTrace(st, 3, 3), "practiceTrace");
    }
};

QTEST_APPLESS_MAIN(TestPracticeRules)
#include "tst_practicerules.moc"
