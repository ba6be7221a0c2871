#include "PassStatements.h"

#include "Database.h"
#include "RaceTiming.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

namespace kv {

QString LapInsertSql(qint32 driverInRaceId, qint32 totalTime, qint32 lapTime, qint32 raceId) {
    return QStringLiteral("INSERT INTO tblLapInRace "
                          "(DriverInRaceID,TotalTime,TotalTimeString,LapTime,LapTimeString,RaceID) "
                          "VALUES (") +
           QString::number(driverInRaceId) + QLatin1Char(',') + QString::number(totalTime) +
           QStringLiteral(",'") + FormatRaceTime(totalTime, false) + QStringLiteral("',") +
           QString::number(lapTime) + QStringLiteral(",'") + FormatRaceTime(lapTime, false) +
           QStringLiteral("',") + QString::number(raceId) + QStringLiteral(");");
}

QString LapCountSql(qint32 driverInRaceId, qint32 laps) {
    return QStringLiteral("UPDATE tblDriverInRace SET NumOfLaps=") + QString::number(laps) +
           QStringLiteral(" WHERE DriverInRaceID=") + QString::number(driverInRaceId) +
           QLatin1Char(';');
}

QString ResultSql(qint32 driverInRaceId, qint32 result) {
    return QStringLiteral("UPDATE tblDriverInRace SET TimeToFinish=") + QString::number(result) +
           QStringLiteral(", TimeToFinishString='") + FormatRaceTime(result, false) +
           QStringLiteral("' WHERE DriverInRaceID=") + QString::number(driverInRaceId) +
           QLatin1Char(';');
}

struct PassStatements::Prepared {
    Database& db;
    QSqlQuery lap;
    QSqlQuery count;
    QSqlQuery result;
    bool ready = false;

    explicit Prepared(Database& d) : db(d) {}

    // Prepared at the first use, when the connection is surely open.
    bool prepare(QString* error) {
        if (ready)
            return true;
        const QSqlDatabase conn = QSqlDatabase::database(db.connectionName(), false);
        lap = QSqlQuery(conn);
        count = QSqlQuery(conn);
        result = QSqlQuery(conn);
        ready = lap.prepare(QStringLiteral(
                    "INSERT INTO tblLapInRace (DriverInRaceID,TotalTime,TotalTimeString,"
                    "LapTime,LapTimeString,RaceID) VALUES (?,?,?,?,?,?);")) &&
                count.prepare(QStringLiteral(
                    "UPDATE tblDriverInRace SET NumOfLaps=? WHERE DriverInRaceID=?;")) &&
                result.prepare(QStringLiteral("UPDATE tblDriverInRace SET TimeToFinish=?, "
                                              "TimeToFinishString=? WHERE DriverInRaceID=?;"));
        if (!ready && error)
            *error = conn.isOpen() ? conn.lastError().text()
                                   : QStringLiteral("The database is not open.");
        return ready;
    }

    static bool run(QSqlQuery& q, std::initializer_list<QVariant> values, QString* error) {
        int i = 0;
        for (const QVariant& v : values)
            q.bindValue(i++, v);
        if (q.exec())
            return true;
        if (error)
            *error = q.lastError().text();
        return false;
    }
};

PassStatements::PassStatements(Database& db) : m(std::make_unique<Prepared>(db)) {}
PassStatements::~PassStatements() = default;

void PassStatements::prepareAgain() {
    m->lap = QSqlQuery();
    m->count = QSqlQuery();
    m->result = QSqlQuery();
    m->ready = false;
}

bool PassStatements::insertLap(qint32 driverInRaceId, qint32 totalTime, qint32 lapTime,
                               qint32 raceId, QString* error) {
    return m->prepare(error) &&
           Prepared::run(m->lap,
                         {driverInRaceId, totalTime, FormatRaceTime(totalTime, false), lapTime,
                          FormatRaceTime(lapTime, false), raceId},
                         error);
}

bool PassStatements::setLapCount(qint32 driverInRaceId, qint32 laps, QString* error) {
    return m->prepare(error) && Prepared::run(m->count, {laps, driverInRaceId}, error);
}

bool PassStatements::setResult(qint32 driverInRaceId, qint32 result, QString* error) {
    return m->prepare(error) &&
           Prepared::run(m->result, {result, FormatRaceTime(result, false), driverInRaceId}, error);
}

} // namespace kv
