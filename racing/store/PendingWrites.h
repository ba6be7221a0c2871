#pragma once
// The writes of a timed race or practice session, in the order they happened.
// Each write is one transaction. A write the database refuses (full disk, a
// lock held by another program, a file that cannot be written) is kept, with
// every later write behind it, and tried again until the database takes it:
// nothing that was counted on the board is ever dropped.

#include <QString>

#include <array>
#include <deque>
#include <functional>

namespace kv {

class Database;

// How long a write of a timed race or practice waits for a lock another
// program holds before it is kept for later: short enough that the clock, the
// board and Stop never stall, long enough to ride out a reader's brief lock.
inline constexpr int kTimingLockWaitMs = 30;

// While it lives, every statement on the connection waits at most waitMs for
// a lock; the wait in force before comes back at its end (outside timing the
// connection's long default wait).
class TimingWriteMode {
public:
    explicit TimingWriteMode(Database& db, int waitMs = kTimingLockWaitMs);
    ~TimingWriteMode();
    TimingWriteMode(const TimingWriteMode&) = delete;
    TimingWriteMode& operator=(const TimingWriteMode&) = delete;

private:
    Database& m_db;
    int m_saved;
};

// What a write is, so that those who wait can be told apart: a race's start
// (its running mark), a car's pass, a race's end, or anything else.
enum class WriteKind { Start, Pass, End, Other };

class PendingWrites {
public:
    // One unit of work, run inside an open transaction on the given database.
    // Returns false (with *error set) when a statement was refused; the
    // transaction is then rolled back and the step is kept for the next try.
    // A step may run more than once (after a refusal), so it must write the
    // same rows each time it runs.
    using Step = std::function<bool(Database& db, QString* error)>;

    explicit PendingWrites(Database& db);

    // Queues the step behind every write that is still waiting, then writes as
    // many as the database takes, in order. True when nothing is left waiting.
    bool write(WriteKind kind, Step step);
    bool write(Step step) { return write(WriteKind::Other, std::move(step)); }
    // Tries the waiting writes again, in order. True when nothing is left waiting.
    bool flush();

    int waiting() const { return static_cast<int>(m_queue.size()); }
    // How many of the waiting writes are of the kind.
    int waiting(WriteKind kind) const { return m_waitingOf[static_cast<size_t>(kind)]; }
    bool empty() const { return m_queue.empty(); }
    // The database's reason for the last refusal (empty when none yet).
    QString lastError() const { return m_lastError; }

private:
    struct Write {
        WriteKind kind;
        Step step;
    };
    bool runOne(const Step& step, QString* error);

    Database& m_db;
    std::deque<Write> m_queue;
    std::array<int, 4> m_waitingOf{};
    QString m_lastError;
};

} // namespace kv
