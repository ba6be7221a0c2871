#include "PracticeRules.h"

#include "Helpers.h"
#include "LapCounterSettings.h"

#include <algorithm>
#include <limits>

namespace kv {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

} // namespace

int PracticeFreeStartPosition(const QList<qint32>& takenStartPositions) {
    std::array<bool, kSlotCount> taken{};
    for (qint32 p : takenStartPositions)
        if (p >= 1 && p <= kSlotCount)
            taken[static_cast<size_t>(p - 1)] = true;
    int p = 1;
    while (p <= kSlotCount && taken[static_cast<size_t>(p - 1)])
        ++p;
    return p;
}

QString TransponderCaption(qint32 carId) {
    return QStringLiteral("Transponder: ") + QString::number(carId);
}

QString LinkedCaption(qint32 carId, const QString& lastname, const QString& firstname) {
    return QString::number(carId) + QLatin1Char('-') + lastname + QStringLiteral(", ") + firstname;
}

PracticeLink PracticeAutoLink(qint32 carId, bool autoAssign, const QList<PracticeOwner>& owners) {
    // Two owners of one transponder: nobody can tell whose car it is.
    if (autoAssign && owners.size() == 1) {
        const PracticeOwner& o = owners.first();
        return {o.DriverID, LinkedCaption(carId, o.Lastname, o.Firstname)};
    }
    return {0, TransponderCaption(carId)};
}

PracticePassOutcome RegisterPracticePass(TimingState& st, int slot, qint32 lMilliseconds,
                                         double transponderDelaySeconds) {
    PracticePassOutcome out;
    const std::optional<qint32> passTime =
        AcceptedPassTime(st, slot, lMilliseconds, transponderDelaySeconds);
    if (!passTime)
        return out;
    const auto s = static_cast<size_t>(slot);
    const qint32 t = *passTime;

    out.ignored = false;
    StartRowFlash(st, slot, FlashBoard::Practice);
    if (!st.CarHasPassed[s]) {
        // The car's own clock starts at its first crossing: no lap yet.
        st.CarHasPassed[s] = true;
        st.CarStartDelay[s] = lMilliseconds;
        out.firstCrossing = true;
        out.startDelay = lMilliseconds;
    } else {
        out.lapCounted = true;
        out.totalTime = t;
        out.lapTime = CountLap(st, slot, t);
    }
    out.laps = st.CarLaps[s];
    return out;
}

void ResetPracticeSlot(TimingState& st, int slot) {
    if (!validSlot(slot))
        return;
    const auto s = static_cast<size_t>(slot);
    st.CarHasPassed[s] = false;
    st.CarStartDelay[s] = 0;
    st.CarTotalTime[s] = 0;
    st.CarLastLapTime[s] = NoLapTime;
    st.CarBestLapTime[s] = NoLapTime;
    st.CarLaps[s] = 0;
    st.ScoreDriverCaption[s] = FreeSlotCaption;
}

void ResetPracticeSlots(TimingState& st) {
    for (int s = 0; s < kSlotCount; ++s)
        ResetPracticeSlot(st, s);
}

bool PracticeClockTick(TimingState& st, qint32 intervalMs) {
    st.PracticeElapsedMs = ClampMs(qint64(st.PracticeElapsedMs) + intervalMs);
    if (intervalMs <= 0)
        return false;
    if (st.AutoDeleteTickCount > AutoDeleteCheckMs / intervalMs) {
        st.AutoDeleteTickCount = 0;
        return true;
    }
    st.AutoDeleteTickCount += 1;
    return false;
}

double PracticeDeleteDelayMinutes(const QString& text) {
    return LapCounterSettings::ReadPracticeDeleteDelay(text);
}

QList<int> IdlePracticeSlots(const TimingState& st, double delayMinutes) {
    QList<int> idle;
    if (!(delayMinutes >= 1))
        return idle;
    // In floating point: whole numbers of the clock's range are exact, and a
    // delay beyond it simply lies ahead of any clock.
    const double delayMs = delayMinutes * 60000.0;
    for (int s = 0; s < kSlotCount; ++s) {
        const auto i = static_cast<size_t>(s);
        const double lastCrossing = double(st.CarStartDelay[i]) + double(st.CarTotalTime[i]);
        if (double(st.PracticeElapsedMs) > lastCrossing + delayMs)
            idle << s;
    }
    return idle;
}

std::array<PracticeBoardRow, kSlotCount> PracticeBoardRows(const TimingState& st) {
    std::array<PracticeBoardRow, kSlotCount> rows;
    for (size_t s = 0; s < kSlotCount; ++s) {
        PracticeBoardRow& row = rows[s];
        row.visible = st.CarHasPassed[s];
        if (!row.visible)
            continue;
        row.driver = st.ScoreDriverCaption[s];
        row.laps = QString::number(st.CarLaps[s]);
        row.totalTime = FormatRaceTime(st.CarTotalTime[s], true);
        row.lastTime = FormatRaceTime(st.CarLastLapTime[s], true);
        row.bestTime = FormatRaceTime(st.CarBestLapTime[s], true);
    }
    return rows;
}

std::array<std::optional<FlashColour>, kSlotCount> PracticeFlashTick(TimingState& st) {
    std::array<std::optional<FlashColour>, kSlotCount> colours;
    for (size_t s = 0; s < kSlotCount; ++s) {
        if (st.RowFlashCut[s] == FlashBoard::Practice) {
            st.RowFlashCut[s] = FlashBoard::Either;
            colours[s] = FlashColour::Black;
        }
        qint16& count = st.RowFlashCount[s];
        if (count <= 0 || st.RowFlashBoard[s] == FlashBoard::Race)
            continue;
        count += 1;
        if (count <= 10)
            colours[s] = count % 2 == 1 ? FlashColour::Red : FlashColour::Black;
        else
            count = 0;
    }
    return colours;
}

QString UnassignedTransponderText(const QString& startPosition, const QString& transponderId) {
    return QStringLiteral("Started: ") + startPosition + QStringLiteral(", TransponderID: ") +
           transponderId;
}

QString UnassignedDriverText(const QString& lastname, const QString& firstname, const QString& car,
                             const QString& transponderId) {
    return lastname + QStringLiteral(", ") + firstname + QStringLiteral(" (") + car +
           QStringLiteral(") [ID=") + transponderId + QLatin1Char(']');
}

} // namespace kv
