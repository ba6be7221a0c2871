#include "RaceTiming.h"

#include "Helpers.h"

#include <algorithm>
#include <limits>

namespace kv {

namespace {

QString pad(qint64 value, int width) {
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

// Minutes beyond 16 bits cannot be shown.
constexpr qint64 kLargestMinutes = std::numeric_limits<qint16>::max();

} // namespace

QString FormatRaceTime(qint32 lTime, bool bWithMinutes) {
    qint64 v = lTime == NoLapTime ? 0 : lTime;
    const bool negative = v < 0;
    if (negative)
        v = -v;
    const qint64 minutes = v / 60000;
    if (minutes > kLargestMinutes)
        return QStringLiteral("Error");
    const qint64 seconds = (v - minutes * 60000) / 1000;
    const qint64 milliseconds = v % 1000;
    // Written backwards into one buffer: a redraw of the race board formats some
    // sixty of these, and the parts made one string each cost more than the rest.
    char text[24];
    char* const end = text + sizeof text;
    char* at = end;
    const auto digits = [&at](qint64 n, int width) {
        do {
            *--at = char('0' + n % 10);
            n /= 10;
        } while (--width > 0 || n > 0);
    };
    digits(milliseconds, 3);
    *--at = '.';
    if (bWithMinutes) {
        digits(seconds, 2);
        *--at = ':';
        digits(minutes, 1);
    } else {
        digits(minutes * 60 + seconds, 1);
    }
    if (negative)
        *--at = '-';
    return QString::fromLatin1(at, end - at);
}

QString RaceClockText(qint32 elapsedMs) {
    if (elapsedMs < 0) // only before the counter's first clock report
        return FormatRaceTime(elapsedMs, true);
    // A clock whose minutes do not fit 16 bits splits into zeros and shows 0:00.000.
    qint16 minutes = 0, seconds = 0, milliseconds = 0;
    SplitTime(elapsedMs, minutes, seconds, milliseconds);
    return QString::number(minutes) + QLatin1Char(':') + pad(seconds, 2) + QLatin1Char('.') +
           pad(milliseconds, 3);
}

TimingState::TimingState() {
    CarLastLapTime.fill(NoLapTime);
    CarBestLapTime.fill(NoLapTime);
    for (int i = 0; i < kSlotCount; ++i)
        ScoreRowPosition[static_cast<size_t>(i)] = static_cast<qint16>(i);
}

void TimingState::ResetSlotsForSelection() {
    for (size_t i = 0; i < kSlotCount; ++i) {
        CarHasPassed[i] = false;
        CarStartDelay[i] = 0;
        CarTotalTime[i] = 0;
        CarLastLapTime[i] = NoLapTime;
        CarBestLapTime[i] = NoLapTime;
        CarLaps[i] = 0;
        CarFinished[i] = false;
        ScoreRowPosition[i] = static_cast<qint16>(i);
    }
}

void TimingState::ResetAtGo() {
    RaceElapsedMs = 0;
    LeaderLaps = 0;
    for (size_t i = 0; i < kSlotCount; ++i) {
        CarHasPassed[i] = false;
        CarStartDelay[i] = 0;
        CarTotalTime[i] = 0;
        CarLaps[i] = 0;
        CarLastLapTime[i] = NoLapTime;
        CarBestLapTime[i] = NoLapTime;
        ScoreRowPosition[i] = static_cast<qint16>(i);
    }
    RaceFinishSignalled = false;
}

void TimingState::RankRaceBoard() {
    std::array<bool, kSlotCount> placed{};
    for (size_t r = 0; r < kSlotCount; ++r) {
        ScoreRowPosition[r] = 0;
        qint32 bestLaps = 0;
        qint32 bestTotal = 0;
        // From the last slot down, taking ties: the lower slot wins a tie.
        for (int j = kSlotCount - 1; j >= 0; --j) {
            const auto s = static_cast<size_t>(j);
            if (placed[s])
                continue;
            if (CarLaps[s] > bestLaps || (CarLaps[s] == bestLaps && CarTotalTime[s] <= bestTotal)) {
                ScoreRowPosition[r] = static_cast<qint16>(j);
                bestLaps = CarLaps[s];
                bestTotal = CarTotalTime[s];
            }
        }
        placed[static_cast<size_t>(ScoreRowPosition[r])] = true;
    }
}

bool TimingState::AllCarsFinished() const {
    return std::all_of(CarFinished.begin(), CarFinished.end(), [](bool f) { return f; });
}

qint32 TimingState::UpdateLeaderLaps() {
    LeaderLaps = 0;
    for (qint32 laps : CarLaps)
        LeaderLaps = std::max(LeaderLaps, laps);
    return LeaderLaps;
}

QString TimingState::LapCounterText() const {
    if (CurrentRaceCategoryID == TimeRace)
        return QString::number(LeaderLaps);
    return QString::number(LeaderLaps) + QLatin1Char('/') + QString::number(CurrentRaceLength);
}

bool TimingState::LapsRaceComplete() const {
    return CurrentRaceCategoryID == LapsRace && RaceFinishSignalled && AllCarsFinished();
}

std::array<RaceBoardRow, kSlotCount> RaceBoardRows(const TimingState& st) {
    std::array<RaceBoardRow, kSlotCount> rows;
    const auto L = static_cast<size_t>(st.ScoreRowPosition[0]);
    for (size_t r = 0; r < kSlotCount; ++r) {
        const auto s = static_cast<size_t>(st.ScoreRowPosition[r]);
        RaceBoardRow& row = rows[r];
        row.slot = static_cast<qint16>(s);
        row.driver = st.ScoreDriverCaption[s];
        row.laps = QString::number(st.CarLaps[s]);
        row.totalTime = FormatRaceTime(st.CarTotalTime[s], true);
        row.lastTime = FormatRaceTime(st.CarLastLapTime[s], true);
        row.bestTime = FormatRaceTime(st.CarBestLapTime[s], true);
        if (!st.CarHasPassed[s] || st.CarLastLapTime[s] >= NoLapTime)
            continue;
        row.writeDifferences = true;
        row.lapsDifference = QString::number(qint64(st.CarLaps[L]) - st.CarLaps[s]);
        const qint32 last = ClampMs(qint64(st.CarLastLapTime[s]) - st.CarLastLapTime[L]);
        const qint32 total = ClampMs(qint64(st.CarTotalTime[s]) - st.CarTotalTime[L]);
        const qint32 best = ClampMs(qint64(st.CarBestLapTime[s]) - st.CarBestLapTime[L]);
        row.lastTimeDifference = FormatRaceTime(last, true);
        row.totalTimeDifference = FormatRaceTime(total, true);
        row.bestTimeDifference = FormatRaceTime(best, true);
        row.lastTimeBehind = last > 0;
        row.totalTimeBehind = total > 0;
        row.bestTimeBehind = best > 0;
    }
    return rows;
}

qint32 ClampMs(qint64 v) {
    return static_cast<qint32>(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

qint32 SlotPassTime(const TimingState& st, int slot, qint32 lMilliseconds) {
    return ClampMs(qint64(lMilliseconds) - st.CarStartDelay[static_cast<size_t>(slot)]);
}

bool PassTooSoon(const TimingState& st, int slot, qint32 passTime, double transponderDelaySeconds) {
    const auto s = static_cast<size_t>(slot);
    return st.CarHasPassed[s] &&
           transponderDelaySeconds * 1000.0 > double(qint64(passTime) - st.CarTotalTime[s]);
}

std::optional<qint32> AcceptedPassTime(const TimingState& st, int slot, qint32 lMilliseconds,
                                       double transponderDelaySeconds) {
    if (slot < 0 || slot >= kSlotCount)
        return std::nullopt;
    const qint32 t = SlotPassTime(st, slot, lMilliseconds);
    // Before the first lap the reference is the go.
    if (PassTooSoon(st, slot, t, transponderDelaySeconds))
        return std::nullopt;
    return t;
}

qint32 CountLap(TimingState& st, int slot, qint32 passTime) {
    const auto s = static_cast<size_t>(slot);
    st.CarLaps[s] += 1;
    const qint32 lapTime = ClampMs(qint64(passTime) - st.CarTotalTime[s]);
    if (lapTime < st.CarBestLapTime[s])
        st.CarBestLapTime[s] = lapTime;
    st.CarTotalTime[s] = passTime;
    st.CarLastLapTime[s] = lapTime;
    return lapTime;
}

RacePassOutcome RegisterRacePass(TimingState& st, int slot, qint32 lMilliseconds,
                                 double transponderDelaySeconds) {
    RacePassOutcome out;
    const std::optional<qint32> passTime =
        AcceptedPassTime(st, slot, lMilliseconds, transponderDelaySeconds);
    if (!passTime)
        return out;
    const auto s = static_cast<size_t>(slot);
    const qint32 t = *passTime;

    out.ignored = false;
    out.flash = true;
    out.playPassSound = true;
    StartRowFlash(st, slot, FlashBoard::Race);

    if (st.CarFinished[s] || !st.CarHasPassed[s]) {
        // The start crossing, or a car that has finished: no lap.
        st.CarHasPassed[s] = true;
    } else {
        out.lapCounted = true;
        out.totalTime = t;
        out.lapTime = CountLap(st, slot, t);
        st.RankRaceBoard();
    }
    out.laps = st.CarLaps[s];

    const qint32 result =
        ClampMs(qint64(st.CarTotalTime[s]) - qint64(st.CurrentRaceLength) * 60000);
    if (st.CurrentRaceCategoryID == TimeRace && st.RaceElapsedMs / 60000 >= st.CurrentRaceLength) {
        st.CarFinished[s] = true;
        out.finished = true;
        out.result = result;
    }
    if (st.CurrentRaceCategoryID == LapsRace) {
        if (st.CarLaps[s] >= st.CurrentRaceLength && !st.RaceFinishSignalled) {
            st.RaceFinishSignalled = true;
            out.finishSignalNow = true;
        }
        if (st.RaceFinishSignalled) {
            st.CarFinished[s] = true;
            out.finished = true;
            out.result = result;
        }
    }
    out.raceComplete = st.AllCarsFinished();
    return out;
}

bool RaceClockTick(TimingState& st, qint32 intervalMs) {
    st.RaceElapsedMs = ClampMs(qint64(st.RaceElapsedMs) + intervalMs);
    if (st.CurrentRaceCategoryID != TimeRace || st.RaceFinishSignalled)
        return false;
    // The minutes the clock shows: zero for a clock that cannot be split.
    qint16 minutes = 0, seconds = 0, milliseconds = 0;
    SplitTime(st.RaceElapsedMs, minutes, seconds, milliseconds);
    if (minutes < st.CurrentRaceLength)
        return false;
    st.RaceFinishSignalled = true;
    return true;
}

void StartRowFlash(TimingState& st, int slot, FlashBoard board) {
    const auto s = static_cast<size_t>(slot);
    const FlashBoard running = st.RowFlashBoard[s];
    if (st.RowFlashCount[s] > 0 && running != board && running != FlashBoard::Either)
        st.RowFlashCut[s] = running;
    st.RowFlashCount[s] = 1;
    st.RowFlashBoard[s] = board;
}

std::array<std::optional<FlashColour>, kSlotCount> FlashTick(TimingState& st) {
    std::array<std::optional<FlashColour>, kSlotCount> colours;
    for (size_t r = 0; r < kSlotCount; ++r) {
        const auto s = static_cast<size_t>(st.ScoreRowPosition[r]);
        if (st.RowFlashCut[s] == FlashBoard::Race) {
            st.RowFlashCut[s] = FlashBoard::Either;
            colours[r] = FlashColour::Black;
        }
        if (st.RowFlashCount[s] <= 0 || st.RowFlashBoard[s] == FlashBoard::Practice)
            continue;
        st.RowFlashCount[s] += 1;
        if (st.RowFlashCount[s] <= 10)
            colours[r] = st.RowFlashCount[s] % 2 == 1 ? FlashColour::Red : FlashColour::Black;
        else
            st.RowFlashCount[s] = 0;
    }
    return colours;
}

void LoadFinishedSlot(TimingState& st, int slot, const QList<StoredLap>& lapsByTotalDesc) {
    if (slot < 0 || slot >= kSlotCount)
        return;
    const auto s = static_cast<size_t>(slot);
    st.CarBestLapTime[s] = NoLapTime;
    if (!lapsByTotalDesc.isEmpty()) {
        st.CarHasPassed[s] = true;
        st.CarLaps[s] = static_cast<qint32>(lapsByTotalDesc.size());
        st.CarTotalTime[s] = lapsByTotalDesc.first().TotalTime;
        st.CarLastLapTime[s] = lapsByTotalDesc.first().LapTime;
        for (const StoredLap& lap : lapsByTotalDesc)
            if (lap.LapTime < st.CarBestLapTime[s])
                st.CarBestLapTime[s] = lap.LapTime;
    }
    st.CarFinished[s] = true;
}

QString StartListProblem(const QList<qint32>& startPositions) {
    if (startPositions.size() > kSlotCount)
        return QStringLiteral(
                   "This race has %1 drivers, but only %2 cars can be timed in one race. "
                   "Please move drivers to another race before starting.")
            .arg(startPositions.size())
            .arg(kSlotCount);
    std::array<bool, kSlotCount> taken{};
    for (qint32 p : startPositions) {
        if (p < 1 || p > kSlotCount)
            return QStringLiteral("A driver of this race has start position %1. Start positions "
                                  "must lie between 1 and %2. Please correct the start list "
                                  "before starting.")
                .arg(p)
                .arg(kSlotCount);
        if (taken[static_cast<size_t>(p - 1)])
            return QStringLiteral("Two drivers of this race have start position %1. Please "
                                  "correct the start list before starting.")
                .arg(p);
        taken[static_cast<size_t>(p - 1)] = true;
    }
    return QString();
}

} // namespace kv
