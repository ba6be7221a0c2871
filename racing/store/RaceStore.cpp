#include "RaceStore.h"

#include "Helpers.h"
#include "RaceCodes.h"

#include <QSqlRecord>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv {

namespace {

QString Num(qint64 v) {
    return QString::number(v);
}

// A transponder ID as statement text; a driver without one stays without.
QString TransponderSql(const QVariant& v) {
    return v.isNull() ? QStringLiteral("NULL") : Num(v.toLongLong());
}

QString RaceCondition(int category, qint32 tournament) {
    const QString inTournament = QStringLiteral("TournamentID=") + Num(tournament);
    switch (category) {
    case RaceStore::Qualification:
        return inTournament + QStringLiteral(" AND ") +
               RaceCodeIs(QualificationHeatCode, QStringLiteral("tblRace."));
    case RaceStore::Final:
        return inTournament + QStringLiteral(" AND ") +
               FinalRaceCondition(QStringLiteral("tblRace."));
    case RaceStore::QualAndFinal:
        return inTournament;
    default:
        return RaceCodeIs(SingleRaceCode, QStringLiteral("tblRace."));
    }
}

} // namespace

qint32 StartPositionOf(const QSqlRecord& r) {
    const QVariant v = r.value(QStringLiteral("StartPosition"));
    if (v.isNull())
        return 0;
    return static_cast<qint32>(std::clamp<qint64>(
        v.toLongLong(), std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

RaceStore::RaceStore(Database& db) : m_db(db), m_statements(db), m_writes(db) {}
RaceStore::~RaceStore() = default;

bool RaceStore::races(int category, qint32 tournamentId, Recordset& rs) {
    return m_db.Select(QStringLiteral("SELECT * from tblRace WHERE ") +
                           RaceCondition(category, tournamentId) +
                           QStringLiteral(" ORDER BY Status, RaceCode DESC, Description;"),
                       rs);
}

bool RaceStore::startList(qint32 raceId, Recordset& rs) {
    return m_db.Select(
        QStringLiteral("SELECT tblDriver.* FROM tblDriver INNER JOIN tblDriverInRace ON "
                       "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                       "tblDriverInRace.RaceID=") +
            Num(raceId) + QStringLiteral(" ORDER BY tblDriverInRace.StartPosition;"),
        rs);
}

bool RaceStore::raceInformation(qint32 raceId, Recordset& rs) {
    return m_db.Select(QStringLiteral("SELECT * FROM tblRace WHERE RaceID=") + Num(raceId) +
                           QStringLiteral(";"),
                       rs);
}

bool RaceStore::saveComment(qint32 raceId, const QString& comment) {
    return m_db.Execute(QStringLiteral("UPDATE tblRace SET Comment='") + ReplaceQuotes(comment) +
                        QStringLiteral("' WHERE RaceID=") + Num(raceId) + QStringLiteral(";"));
}

bool RaceStore::startPositions(qint32 raceId, QList<qint32>& positions) {
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT StartPosition FROM tblDriverInRace WHERE RaceID=") +
                         Num(raceId) + QStringLiteral(";"),
                     rs))
        return false;
    positions.clear();
    for (const QSqlRecord& r : rs)
        positions << StartPositionOf(r);
    return true;
}

std::optional<int> RaceStore::storedStatus(qint32 raceId) {
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT Status FROM tblRace WHERE RaceID=") + Num(raceId) +
                         QStringLiteral(";"),
                     rs) ||
        rs.isEmpty())
        return std::nullopt;
    return rs.value(0, 0).toInt();
}

bool RaceStore::startEntries(qint32 raceId, Recordset& rs) {
    return m_db.Select(
        QStringLiteral("SELECT tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, "
                       "tblDriverInRace.StartPosition, tblDriver.TransponderID FROM tblDriver "
                       "INNER JOIN tblDriverInRace ON "
                       "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                       "tblDriverInRace.RaceID=") +
            Num(raceId) + QStringLiteral(";"),
        rs);
}

bool RaceStore::finishedEntries(qint32 raceId, Recordset& rs) {
    return m_db.Select(
        QStringLiteral("SELECT tblDriver.DriverID, tblDriver.Lastname, "
                       "tblDriver.Firstname, tblDriverInRace.StartPosition, "
                       "tblDriverInRace.TransponderID FROM tblDriver INNER JOIN "
                       "tblDriverInRace ON (tblDriver.DriverID=tblDriverInRace.DriverID) "
                       "WHERE tblDriverInRace.RaceID=") +
            Num(raceId) + QStringLiteral(";"),
        rs);
}

bool RaceStore::finishedLaps(qint32 raceId, int startPosition, QList<StoredLap>& laps) {
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT tblDriverInRace.TransponderID, "
                                    "tblDriverInRace.StartPosition, tblLapInRace.TotalTime, "
                                    "tblLapInRace.LapTime FROM tblDriverInRace INNER JOIN "
                                    "tblLapInRace ON "
                                    "(tblDriverInRace.DriverInRaceID=tblLapInRace.DriverInRaceID) "
                                    "WHERE tblDriverInRace.RaceID=") +
                         Num(raceId) + QStringLiteral(" AND tblDriverInRace.StartPosition=") +
                         Num(startPosition) +
                         QStringLiteral(" ORDER BY tblLapInRace.TotalTime DESC;"),
                     rs))
        return false;
    laps.clear();
    for (const QSqlRecord& r : rs)
        laps.append({r.value(QStringLiteral("TotalTime")).toInt(),
                     r.value(QStringLiteral("LapTime")).toInt()});
    return true;
}

bool RaceStore::markStarted(qint32 raceId, const Recordset& startEntries, const QString& now) {
    const QString race = Num(raceId);
    QStringList sql{QStringLiteral("UPDATE tblRace SET TimeOfRace='") + now +
                    QStringLiteral("' WHERE RaceID=") + race + QStringLiteral(";")};
    // Passes find their car by this copy of the driver's transponder.
    for (const QSqlRecord& r : startEntries)
        sql << QStringLiteral("UPDATE tblDriverInRace SET TransponderID=") +
                   TransponderSql(r.value(QStringLiteral("TransponderID"))) +
                   QStringLiteral(" WHERE DriverID=") +
                   Num(r.value(QStringLiteral("DriverID")).toLongLong()) +
                   QStringLiteral(" AND RaceID=") + race + QStringLiteral(";");
    m_entriesOf = -1;
    {
        const TimingWriteMode brief(m_db, kRaceStartClearLockWaitMs);
        QString error;
        if (!WriteAllOrNone(m_db, sql, &error))
            return false;
    }
    // The copies as stored, so no pass needs a read.
    QuietDatabase quiet(m_db);
    loadEntries(raceId);
    return true;
}

bool RaceStore::markRunning(qint32 raceId) {
    // The go is timing already: the cars are on their way, so a lock of
    // another program is waited out only briefly and the mark queued.
    if (!m_timing)
        m_timing = std::make_unique<TimingWriteMode>(m_db);
    // The pass statements are prepared once for the race, at its first lap.
    if (m_writes.empty())
        m_statements.prepareAgain();
    return m_writes.write(WriteKind::Start, [raceId](Database& db, QString* error) {
        return db.tryExecute(QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceRunning) +
                                 QStringLiteral(" WHERE RaceID=") + Num(raceId) +
                                 QStringLiteral(" AND ") + RaceStatusIs(RaceNew) +
                                 QStringLiteral(";"),
                             error);
    });
}

bool RaceStore::markFinished(qint32 raceId) {
    m_endQueued = true;
    m_writes.write(WriteKind::End, [raceId](Database& db, QString* error) {
        return db.tryExecute(QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceFinished) +
                                 QStringLiteral(" WHERE RaceID=") + Num(raceId) +
                                 QStringLiteral(" AND ") + RaceStatusIs(RaceRunning) +
                                 QStringLiteral(";"),
                             error);
    });
    return flush();
}

bool RaceStore::clear(qint32 raceId) {
    const QString race = Num(raceId);
    m_entriesOf = -1;
    const TimingWriteMode brief(m_db, kRaceStartClearLockWaitMs);
    QString error;
    return WriteAllOrNone(
        m_db,
        {QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") + race + QStringLiteral(";"),
         QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceNew) +
             QStringLiteral(", TimeOfRace=NULL WHERE RaceID=") + race + QStringLiteral(";")},
        &error);
}

bool RaceStore::loadEntries(qint32 raceId) {
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT DriverInRaceID, StartPosition, TransponderID FROM "
                                    "tblDriverInRace WHERE RaceID=") +
                         Num(raceId) + QStringLiteral(";"),
                     rs))
        return false;
    m_entries.clear();
    for (const QSqlRecord& r : rs) {
        const QVariant id = r.value(QStringLiteral("TransponderID"));
        const double v = id.toDouble();
        // An entry without a copy, or with one no car can send, is nobody's.
        if (id.isNull() || v != std::floor(v) || std::abs(v) > 1e15)
            continue;
        m_entries[static_cast<qint64>(v)].append(
            {r.value(QStringLiteral("DriverInRaceID")).toInt(), StartPositionOf(r)});
    }
    m_entriesOf = raceId;
    return true;
}

std::optional<RaceStore::Entry> RaceStore::entryOf(qint32 raceId, qint16 transponderId) {
    if (m_entriesOf != raceId) {
        QuietDatabase quiet(m_db); // inside the lap counter's receive handling
        if (!loadEntries(raceId))
            return std::nullopt;
    }
    const auto it = m_entries.constFind(transponderId);
    if (it == m_entries.cend() || it->size() != 1)
        return std::nullopt;
    return it->first();
}

bool RaceStore::storePass(qint32 raceId, qint32 driverInRaceId, const RacePassOutcome& out) {
    if (!out.lapCounted && !out.finished)
        return flush();
    PassStatements* statements = &m_statements;
    return m_writes.write(WriteKind::Pass, [=](Database&, QString* error) {
        if (out.lapCounted &&
            (!statements->insertLap(driverInRaceId, out.totalTime, out.lapTime, raceId, error) ||
             !statements->setLapCount(driverInRaceId, out.laps, error)))
            return false;
        return !out.finished || statements->setResult(driverInRaceId, out.result, error);
    });
}

bool RaceStore::flush() {
    if (!m_writes.flush())
        return false;
    if (m_endQueued) {
        m_endQueued = false;
        endTiming();
    }
    return true;
}

void RaceStore::endTiming() {
    m_timing.reset();
}

} // namespace kv
