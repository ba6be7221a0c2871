#pragma once
// What start-up asks of the race database before the windows use it.

#include "Database.h"

#include <QString>

#include <optional>

namespace kv {

// The schema version stored in tblSetup; none when the version row cannot be
// read or there is not exactly one. A refused read is reported through the
// connection.
std::optional<QString> ReadSchemaVersion(Database& db);

// Brings the schema of an older database (stored version number given) up to
// this program's version, all or nothing: up to 1.2 the entries' start delay
// and transponder columns and single races without a tournament, then the
// version row. A refused statement is reported and everything rolled back.
bool UpgradeSchema(Database& db, double storedVersion);

// The journal mode lives in the file: a database this program accepted is
// switched to WAL. Silent: a file that cannot be written stays as it is.
void UseWriteAheadLog(Database& db);

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
