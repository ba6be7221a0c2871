#pragma once
// The main window's timing state and the rules of a timed race: what a passing
// car means, how the ten slots are ranked, when a car and a race finish, and the
// texts of every time shown or stored. Nothing here touches a window or the
// database: the race page asks, writes what the rules decided in one
// transaction, then draws.

#include "RaceCodes.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace kv {

// What a passing car means.
enum TimingModeValue : int {
    TimingIdle = 0,
    TimingRace = 1,
    TimingMonitor = 2,
    TimingPractice = 3
};

// A car without a lap yet; shown as zero, never stored.
inline constexpr qint32 NoLapTime = 2147483645;
// At most ten cars are timed at once: slot = start position - 1.
inline constexpr int kSlotCount = 10;

// A time in ms as text: "m:ss.mmm" with minutes, "s.mmm" (whole seconds) without;
// a negative time gets a leading "-"; NoLapTime shows as zero; "Error" from
// 1,966,080,000 ms on.
QString FormatRaceTime(qint32 lTime, bool bWithMinutes);

// The race clock display: minutes (as many digits as needed), ":", two-digit
// seconds, ".", three-digit milliseconds.
QString RaceClockText(qint32 elapsedMs);

// The board whose pass set a slot's flash. The race and practice flash timers
// both keep running once started and share the counts; each steps only its own
// board's flashes, so a count steps once every 250 ms and its row rests black.
enum class FlashBoard : qint8 { Either, Race, Practice };

struct TimingState {
    int TimingMode = TimingIdle;
    qint32 CurrentRaceID = -1;
    int CurrentRaceCategoryID = 0;
    int CurrentRaceStatus = RaceNew;
    qint32 CurrentRaceLength = 0;
    qint32 LeaderLaps = 0;
    qint32 RaceElapsedMs = 0;
    qint32 PracticeElapsedMs = 0;
    bool RaceFinishSignalled = false;
    bool HeatHasConflict = true;
    bool RaceActive = false;
    // Ticks of the practice clock since the last idle-car check; kept from one
    // practice session to the next.
    qint32 AutoDeleteTickCount = 0;

    // Indexed by slot (start position - 1).
    std::array<qint16, kSlotCount> RowFlashCount{};
    std::array<FlashBoard, kSlotCount> RowFlashBoard{};
    // The board whose flash of the slot a pass of the other board cut short
    // (Either: none): that board's row rests black at its next tick.
    std::array<FlashBoard, kSlotCount> RowFlashCut{};
    std::array<qint32, kSlotCount> CarStartDelay{};
    std::array<bool, kSlotCount> CarHasPassed{};
    std::array<bool, kSlotCount> CarFinished{};
    std::array<qint32, kSlotCount> CarTotalTime{};
    std::array<qint32, kSlotCount> CarLastLapTime{};
    std::array<qint32, kSlotCount> CarBestLapTime{};
    std::array<qint32, kSlotCount> CarLaps{};
    std::array<QString, kSlotCount> ScoreDriverCaption{};
    // Indexed by display row: the slot shown in that row.
    std::array<qint16, kSlotCount> ScoreRowPosition{};

    TimingState();

    // A race was selected: every slot empty and not finished, rows in slot order.
    void ResetSlotsForSelection();
    // The go: every slot without laps and not passed, rows in slot order, race
    // clock, leader laps and finish signal back to zero. CarFinished and the
    // captions set at Start are kept.
    void ResetAtGo();
    // Rows by laps descending, then total time ascending, then lower slot first.
    void RankRaceBoard();
    bool AllCarsFinished() const;
    // The highest lap count of all slots (also stored in LeaderLaps).
    qint32 UpdateLeaderLaps();
    // The lap counter box: "3" in a time race, "3/10" in a laps race.
    QString LapCounterText() const;
    // A laps race whose finish was given and whose cars have all finished.
    bool LapsRaceComplete() const;
};

// One display row of the race score board as RefreshRaceBoard writes it.
struct RaceBoardRow {
    qint16 slot = 0;
    QString driver;
    QString laps;
    QString totalTime;
    QString lastTime;
    QString bestTime;
    // Only for a car with at least one lap; otherwise the row's difference labels
    // keep their earlier texts and colours.
    bool writeDifferences = false;
    QString lapsDifference;
    QString totalTimeDifference;
    QString lastTimeDifference;
    QString bestTimeDifference;
    // A time difference above zero is red, zero or below blue.
    bool totalTimeBehind = false;
    bool lastTimeBehind = false;
    bool bestTimeBehind = false;
};
std::array<RaceBoardRow, kSlotCount> RaceBoardRows(const TimingState& state);

// The entry of the race that a passing transponder belongs to.
struct RaceEntry {
    qint32 DriverInRaceID = 0;
    qint32 StartPosition = 0;
};

// What one pass of a running race does. The caller writes the statements (lap
// row, lap count, result) in one transaction, then redraws and plays the sounds.
struct RacePassOutcome {
    bool ignored = true; // nothing at all happens
    bool flash = false;  // the car's row flashes (RowFlashCount set to 1)
    bool playPassSound = false;
    bool lapCounted = false; // a lap row and the lap count are written
    qint32 totalTime = 0;    // the lap's total time since go
    qint32 lapTime = 0;
    qint32 laps = 0;              // the car's lap count after the pass
    bool finished = false;        // the result is written
    qint32 result = 0;            // TimeToFinish
    bool finishSignalNow = false; // laps race: this pass gave the finish (red counter, sound)
    bool raceComplete = false;    // every slot finished: the race stops
};

// Shared by the race and practice rules. Times are worked out in 64 bits and
// kept within 32.
qint32 ClampMs(qint64 v);
// The time of a pass since the slot's own start (its start delay).
qint32 SlotPassTime(const TimingState& state, int slot, qint32 lMilliseconds);
// A pass of a car that has crossed before comes too soon when the transponder
// delay is longer than the time since the car's last counted lap (equal counts).
bool PassTooSoon(const TimingState& state, int slot, qint32 passTime,
                 double transponderDelaySeconds);
// The time of a pass since the slot's own start when the pass counts at all:
// nothing for a slot that is none of the board's or a pass that comes too soon.
std::optional<qint32> AcceptedPassTime(const TimingState& state, int slot, qint32 lMilliseconds,
                                       double transponderDelaySeconds);
// Counts a lap of the slot ending at passTime (since the slot's own start): one
// lap more, the lap's time as last lap and, when faster, as best lap, and
// passTime as the total. Returns the lap's time.
qint32 CountLap(TimingState& state, int slot, qint32 passTime);

// A pass of a race car: slot 0..9 of its entry, the lap counter's time of the
// pass and the transponder delay in seconds. Updates the slot, ranks the board
// when a lap was counted, and says what to write. Assumes the race is Running
// (the caller checks mode, race and status, and finds the entry).
RacePassOutcome RegisterRacePass(TimingState& state, int slot, qint32 lMilliseconds,
                                 double transponderDelaySeconds);

// The race clock's tick: adds the interval; true when this tick gives a time
// race its finish signal (clock turns red, finish sound).
bool RaceClockTick(TimingState& state, qint32 intervalMs);

// A pass sets the slot's flash going on its board. A flash of the other board
// that still runs there is cut short: that board's row, perhaps red just now,
// rests black at its next tick.
void StartRowFlash(TimingState& state, int slot, FlashBoard board);

// The flash tick over the display rows: for each row, the colour its five value
// labels take now (nullopt: unchanged). Steps RowFlashCount of the rows' slots
// whose flash a race pass set; a row whose flash a practice pass cut short
// turns black.
enum class FlashColour { Red, Black };
std::array<std::optional<FlashColour>, kSlotCount> FlashTick(TimingState& state);

// A finished race's stored laps of one slot, largest total first: fills the
// slot's laps, total, last and best lap.
struct StoredLap {
    qint32 TotalTime = 0;
    qint32 LapTime = 0;
};
void LoadFinishedSlot(TimingState& state, int slot, const QList<StoredLap>& lapsByTotalDesc);

// The start positions of a race's entries are fit for timing when there are at
// most ten, each within 1..10 and none twice. Returns the refusal text, or an
// empty text when the race can be started.
QString StartListProblem(const QList<qint32>& startPositions);

} // namespace kv
