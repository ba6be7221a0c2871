#pragma once
// The statements a counted pass writes, shared by races and practice: the lap
// row, the entry's lap count and (races) its result. As text for a single
// write, and prepared once on the connection for the passes of a session, so
// a pass only binds its values.

#include <QString>
#include <QtGlobal>

#include <memory>

namespace kv {

class Database;

QString LapInsertSql(qint32 driverInRaceId, qint32 totalTime, qint32 lapTime, qint32 raceId);
QString LapCountSql(qint32 driverInRaceId, qint32 laps);
QString ResultSql(qint32 driverInRaceId, qint32 result);

// The three statements prepared on one connection. Each call runs one
// statement (inside the caller's transaction) and stores the same values and
// texts as the text forms above; false with *error set when it was refused.
class PassStatements {
public:
    explicit PassStatements(Database& db);
    ~PassStatements();
    PassStatements(const PassStatements&) = delete;
    PassStatements& operator=(const PassStatements&) = delete;

    bool insertLap(qint32 driverInRaceId, qint32 totalTime, qint32 lapTime, qint32 raceId,
                   QString* error);
    bool setLapCount(qint32 driverInRaceId, qint32 laps, QString* error);
    bool setResult(qint32 driverInRaceId, qint32 result, QString* error);
    // Prepared again at the next use (a new session, perhaps a new connection).
    void prepareAgain();

private:
    struct Prepared;
    std::unique_ptr<Prepared> m;
};

} // namespace kv
