#pragma once
// What the practice page reads from and writes to the race database. The one
// practice race is found or made, emptied and marked running at Start; the
// session's entries are also kept in memory, so a pass is handled without a
// read. Every write made while practice times (passes, removals, links, the
// stop) goes through one queue of PendingWrites: a write the database refuses
// waits, in order, with everything after it, until the database takes it.

#include "PendingWrites.h"

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace kv {

class Database;
class PassStatements;
class Recordset;
struct PracticeOwner;
struct PracticePassOutcome;

// A car of the session as the store remembers it.
struct PracticeEntry {
    qint32 carId = 0;
    int startPosition = 0; // 1..10
    qint32 driverId = 0;   // 0: not linked
    // The entry's key, filled when its insert is stored: 0 while it waits.
    // Writes queued behind the insert read it when they run.
    std::shared_ptr<qint32> key;
};

// A caption the board takes after a link: the row of a start position.
struct PracticeCaption {
    int startPosition = 0;
    QString caption;
};

// A row of the unassigned transponders list.
struct UnassignedTransponder {
    QString startPosition;
    QString transponderId;
    // The entry's key; 0 while the insert of a car of the session waits.
    qint32 key = 0;
    // The start position of a car of the session; 0 for an entry of another race.
    int sessionPosition = 0;
};

// A row of the unassigned drivers list.
struct UnassignedDriver {
    qint32 driverId = 0;
    QString lastname;
    QString firstname;
    QString car;
    QString transponderId;
};

// How long practice Start waits for another program's lock before it is
// refused: long enough for a reader's brief lock, short enough that the
// window does not seem to hang.
inline constexpr int kPracticeStartLockWaitMs = 250;

class PracticeStore {
public:
    explicit PracticeStore(Database& db);
    ~PracticeStore();
    PracticeStore(const PracticeStore&) = delete;
    PracticeStore& operator=(const PracticeStore&) = delete;

    // ---- Start: outside timing, each waiting only briefly for a lock ----
    // The practice race's key; made when there is none (then *made is true).
    // False with *error empty when the database refused; *error holds the
    // reason when the race cannot be used.
    bool findOrCreateRace(qint32* raceId, bool* made, QString* error);
    // Throws the race's last session away (laps first), and forgets it.
    bool resetRace(qint32 raceId);
    // New with the time of this start, then Running, together.
    bool markRunning(qint32 raceId, const QString& timeOfRace);

    // ---- The session, from memory ----
    // The race whose entries are remembered (the last reset one; -1 before).
    qint32 sessionRaceId() const { return m_raceId; }
    const PracticeEntry* entryOfCar(qint32 carId) const;
    const PracticeEntry* entryAt(int startPosition) const;
    // The lowest start position no entry holds; 11 when all ten are taken.
    int freeStartPosition() const;
    // The drivers who own the transponder (not deleted, own transponder set).
    bool ownersOf(qint32 carId, QList<PracticeOwner>* owners);

    // ---- Writes through the queue; true when nothing waits afterwards ----
    // A newcomer's entry with its first crossing, as one transaction.
    bool storeNewcomerPass(int startPosition, qint32 carId, qint32 driverId,
                           const PracticePassOutcome& out);
    // A later pass of a remembered car: its lap row and lap count.
    bool storePass(const PracticeEntry& entry, const PracticePassOutcome& out);
    // Removes the car at a start position (its laps, then the entry); a start
    // position without a car does nothing.
    bool removeEntry(int startPosition);
    // Links a driver to an unlinked entry of the race: by its key, or for a
    // car of the session whose insert still waits (key 0) by its start
    // position. Returns the caption the entry's row takes, if any: as read
    // back when the link was stored at once, as the link will leave it when it
    // waits.
    std::optional<PracticeCaption> linkDriver(qint32 raceId, qint32 entryKey, qint32 driverId,
                                              int sessionPosition = 0);
    // Running to Finished, after every write that waits.
    bool storeStop(qint32 raceId);
    // Tries the waiting writes again.
    bool flush();

    int waitingWrites() const { return m_writes.waiting(); }
    // How many of the waiting writes are passes.
    int waitingPasses() const { return m_writes.waiting(WriteKind::Pass); }
    QString lastError() const { return m_writes.lastError(); }

    // ---- The page's lists ----
    // The cars of the session come from memory, with the writes that wait
    // applied, so the lists are the same whether or not the database has
    // taken them yet.
    // Every unlinked entry, by start position.
    bool unassignedTransponders(QList<UnassignedTransponder>* rows);
    // The drivers not in the race, by name.
    bool unassignedDrivers(qint32 raceId, QList<UnassignedDriver>* rows);

private:
    bool write(WriteKind kind, PendingWrites::Step step);
    PracticeEntry* entryWithKey(qint32 key);
    PracticeEntry* entryAtPosition(int startPosition);
    std::optional<PracticeCaption> captionAsStored(qint32 entryKey);
    std::optional<PracticeCaption> captionAsItWillBe(const PracticeEntry& entry);

    Database& m_db;
    PendingWrites m_writes;
    // The lap row and lap count, prepared once for every session.
    std::unique_ptr<PassStatements> m_statements;
    qint32 m_raceId = -1;
    // The session's cars by start position.
    std::map<int, PracticeEntry> m_entries;
};

} // namespace kv
