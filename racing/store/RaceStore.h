#pragma once
// Everything the race page reads from and writes to the race database: the
// races of a category, a race's information, start list and comment, the
// race run (started, running, finished, cleared), the passes of the running
// race and a finished race's laps. The passes and the race's end go through
// the writer that keeps what the database refused, so a lap counted on the
// board is stored in the end, in order. No windows.

#include "Database.h"
#include "PassStatements.h"
#include "PendingWrites.h"
#include "RaceTiming.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kv {

// How long Start (its writes before the countdown) and Clear wait for another
// program's lock before they are refused: long enough for a reader's brief
// lock, short enough that the window does not seem to hang.
inline constexpr int kRaceStartClearLockWaitMs = 250;

class RaceStore {
public:
    explicit RaceStore(Database& db);
    ~RaceStore();
    RaceStore(const RaceStore&) = delete;
    RaceStore& operator=(const RaceStore&) = delete;

    // Which races a category of the race page shows.
    enum Category { Qualification = 0, Final = 1, QualAndFinal = 2, SingleRace = 3 };

    // ---- Reads and writes around the race (reported as any statement) ----
    bool races(int category, qint32 tournamentId, Recordset& rs);
    // Every field of the race's drivers, by start position.
    bool startList(qint32 raceId, Recordset& rs);
    bool raceInformation(qint32 raceId, Recordset& rs);
    bool saveComment(qint32 raceId, const QString& comment);
    bool startPositions(qint32 raceId, QList<qint32>& positions);
    // The status stored now; nullopt when unreadable or no such race.
    std::optional<int> storedStatus(qint32 raceId);
    // The drivers of the race with their current transponder, as Start copies it.
    bool startEntries(qint32 raceId, Recordset& rs);
    // A finished race's board: its drivers, and the laps of one start
    // position, largest total first.
    bool finishedEntries(qint32 raceId, Recordset& rs);
    bool finishedLaps(qint32 raceId, int startPosition, QList<StoredLap>& laps);

    // ---- The race run ----
    // The time of the race and the copy of each driver's transponder into the
    // entries, all or none (a refusal returned, not reported). Waits only
    // briefly for a lock.
    bool markStarted(qint32 raceId, const Recordset& startEntries, const QString& now);
    // The go: New to Running, the first write of the timed race. From here
    // until the end is stored the connection waits only briefly for a lock;
    // a mark the database refuses waits first in line, with every pass and
    // the end behind it. True when it is stored.
    bool markRunning(qint32 raceId);
    // The race's end, after every waiting pass. True when it is stored; else
    // it waits with them (flush() goes on trying) and the timed mode stays.
    bool markFinished(qint32 raceId);
    // Laps and time of the race deleted and back to New, all or none. Waits
    // only briefly for a lock.
    bool clear(qint32 raceId);

    // The entry and start position of a passing car, from the copies the Start
    // made; read once when the race was not started through this store.
    struct Entry {
        qint32 DriverInRaceID = 0;
        qint32 StartPosition = 0;
    };
    // Nullopt: the transponder is not in the race, or two entries share it.
    std::optional<Entry> entryOf(qint32 raceId, qint16 transponderId);

    // A pass's lap row, lap count and result as one write, behind any that
    // wait. True when nothing waits afterwards.
    bool storePass(qint32 raceId, qint32 driverInRaceId, const RacePassOutcome& out);

    // ---- What waits ----
    // Tries the waiting writes again, in order; true when none is left.
    bool flush();
    // Passes (and the race's start and end) not yet stored.
    int waiting() const { return m_writes.waiting(); }
    int waitingPasses() const { return m_writes.waiting(WriteKind::Pass); }
    bool endWaiting() const { return m_writes.waiting(WriteKind::End) > 0; }
    // The race's running mark is not stored yet.
    bool runningWaiting() const { return m_writes.waiting(WriteKind::Start) > 0; }
    QString lastError() const { return m_writes.lastError(); }

private:
    bool loadEntries(qint32 raceId);
    void endTiming();

    Database& m_db;
    PassStatements m_statements;
    PendingWrites m_writes;
    std::unique_ptr<TimingWriteMode> m_timing;
    // The race's end is queued: timing ends once it is stored.
    bool m_endQueued = false;
    // Transponder -> entries of the race with that copy.
    qint32 m_entriesOf = -1;
    QHash<qint64, QList<Entry>> m_entries;
};

// A start position as a whole number (0 for none).
qint32 StartPositionOf(const QSqlRecord& r);

} // namespace kv
