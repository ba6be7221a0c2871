#pragma once
// What start-up asks of the race database before the windows use it.

#include "Database.h"

#include <QString>

namespace kv {

// Whether the database takes a write now: a write that changes nothing,
// committed. A read-only file refuses the write, another program's lock refuses
// it once the wait is over, a full disk refuses the commit. Nothing is
// reported; error gets the engine's text.
bool DatabaseTakesWrites(Database& db, QString* error = nullptr);

// While it lives, every write on the connection fails at once and unreported;
// reads go on. For start-up on a database that cannot be written: its writes
// would each fail (after waiting out a lock) and report.
class SkippedWrites {
public:
    explicit SkippedWrites(Database& db);
    ~SkippedWrites();
    SkippedWrites(const SkippedWrites&) = delete;
    SkippedWrites& operator=(const SkippedWrites&) = delete;

private:
    Database& m_db;
    QuietDatabase m_quiet;
};

} // namespace kv
