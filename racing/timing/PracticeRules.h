#pragma once
// The rules of open practice: which of the ten slots a newcomer takes, who it
// is linked to, what each pass does, the practice clock with its idle-car check,
// the row flashing and the texts of the board and the two lists. Nothing here
// touches a window or the database: the practice page asks, has the practice
// store write what the rules decided in one transaction, then draws.

#include "RaceTiming.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kv {

// The caption of a slot nobody uses.
inline const QString FreeSlotCaption = QStringLiteral("<unknown>");
// Ticks of the practice clock between two idle-car checks: the check runs when
// the count exceeds this many milliseconds' worth of ticks.
inline constexpr qint32 AutoDeleteCheckMs = 5000;

// The start position (1..10) a newcomer takes: the lowest one no entry of the
// session holds; 11 when all ten are taken.
int PracticeFreeStartPosition(const QList<qint32>& takenStartPositions);

// A driver who owns a transponder, as the automatic link finds him.
struct PracticeOwner {
    qint32 DriverID = 0;
    QString Lastname;
    QString Firstname;
};

// Who a newcomer belongs to: a driver (0 = nobody) and the caption of its row.
struct PracticeLink {
    qint32 DriverID = 0;
    QString caption;
};

// "Transponder: 7"
QString TransponderCaption(qint32 carId);
// "7-Lastname, Firstname"
QString LinkedCaption(qint32 carId, const QString& lastname, const QString& firstname);
// The automatic link: with the box checked and exactly one owner of the
// transponder, that driver; otherwise nobody.
PracticeLink PracticeAutoLink(qint32 carId, bool autoAssign, const QList<PracticeOwner>& owners);

// What one pass of a practice car does.
struct PracticePassOutcome {
    bool ignored = true;        // too soon after the car's last crossing: nothing happens
    bool firstCrossing = false; // the car's clock starts: its StartDelay is written
    qint32 startDelay = 0;
    bool lapCounted = false; // a lap row and the lap count are written
    qint32 totalTime = 0;    // since the car's first crossing
    qint32 lapTime = 0;
    qint32 laps = 0;
};

// A pass of the car in `slot` (0..9) at the lap counter's time `lMilliseconds`,
// with the transponder delay in seconds. The first crossing starts the car's own
// clock; every later one counts a lap measured from it. Flashes the row.
PracticePassOutcome RegisterPracticePass(TimingState& state, int slot, qint32 lMilliseconds,
                                         double transponderDelaySeconds);

// A slot as a practice start leaves it: free, no laps, "<unknown>". The row's
// flash count is left alone.
void ResetPracticeSlot(TimingState& state, int slot);
void ResetPracticeSlots(TimingState& state);

// One tick of the practice clock: the clock grows by the interval, and every
// 52nd tick (at 100 ms) is an idle-car check. Returns true when this tick runs
// the check. The tick count carries over from one session to the next.
bool PracticeClockTick(TimingState& state, qint32 intervalMs);

// The idle delay in whole minutes from the box's text (its leading number,
// rounded halves to even). Below 1: cars are never removed.
double PracticeDeleteDelayMinutes(const QString& text);

// The slots (in order) whose car last crossed more than `delayMinutes` minutes
// of practice clock ago; free slots count as crossing at 0. None for a delay
// below 1. Delays of any size are compared exactly: one too large for the
// clock never expires.
QList<int> IdlePracticeSlots(const TimingState& state, double delayMinutes);

// One row of the practice board: slot s in row s.
struct PracticeBoardRow {
    bool visible = false; // only a slot in use is shown, with its buttons
    QString driver;
    QString laps;
    QString totalTime;
    QString lastTime;
    QString bestTime;
};
std::array<PracticeBoardRow, kSlotCount> PracticeBoardRows(const TimingState& state);

// The practice flash tick over the slots (row s shows slot s): the colour the
// row's five labels take now (nullopt: unchanged). Steps RowFlashCount of the
// slots whose flash a practice pass set; a row whose flash a race pass cut
// short turns black.
std::array<std::optional<FlashColour>, kSlotCount> PracticeFlashTick(TimingState& state);

// Rows of the two lists.
QString UnassignedTransponderText(const QString& startPosition, const QString& transponderId);
QString UnassignedDriverText(const QString& lastname, const QString& firstname, const QString& car,
                             const QString& transponderId);

} // namespace kv
