#include "PracticeStore.h"

#include "Database.h"
#include "Helpers.h"
#include "PassStatements.h"
#include "PracticeRules.h"
#include "RaceCodes.h"

#include <QSqlRecord>

#include <algorithm>
#include <limits>
#include <utility>

namespace kv {

namespace {

// A key as stored: a whole number of 32 bits; 0 (no row has it) otherwise.
qint32 KeyOf(const QVariant& field) {
    bool ok = false;
    const qint64 v = field.toLongLong(&ok);
    return ok && v > 0 && v <= std::numeric_limits<qint32>::max() ? static_cast<qint32>(v) : 0;
}

QString Number(qint64 v) {
    return QString::number(v);
}

QString EntryInsertSql(qint32 driverId, qint32 raceId, int startPosition, qint32 carId) {
    return QStringLiteral("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
                          "TransponderID, TimeToFinish, TimeToFinishString) VALUES (") +
           Number(driverId) + QLatin1Char(',') + Number(raceId) + QLatin1Char(',') +
           Number(startPosition) + QStringLiteral(", ") + Number(carId) + QStringLiteral(", ") +
           Number(NoResultTime) + QStringLiteral(", '") + NoResultText + QStringLiteral("');");
}

QString StartDelaySql(qint32 driverInRaceId, qint32 startDelay) {
    return QStringLiteral("UPDATE tblDriverInRace SET StartDelay=") + Number(startDelay) +
           QStringLiteral(" WHERE DriverInRaceID=") + Number(driverInRaceId) + QLatin1Char(';');
}

// The statements of one pass of a stored entry.
bool WritePass(Database& db, PassStatements& statements, qint32 entry, qint32 raceId,
               const PracticePassOutcome& out, QString* error) {
    if (entry == 0) {
        *error = QStringLiteral("The car's entry has not been stored.");
        return false;
    }
    if (out.firstCrossing && !db.tryExecute(StartDelaySql(entry, out.startDelay), error))
        return false;
    if (out.lapCounted &&
        (!statements.insertLap(entry, out.totalTime, out.lapTime, raceId, error) ||
         !statements.setLapCount(entry, out.laps, error)))
        return false;
    return true;
}

} // namespace

PracticeStore::PracticeStore(Database& db)
    : m_db(db), m_writes(db), m_statements(std::make_unique<PassStatements>(db)) {}

PracticeStore::~PracticeStore() = default;

// ---- Start ------------------------------------------------------------------

bool PracticeStore::findOrCreateRace(qint32* raceId, bool* made, QString* error) {
    *raceId = 0;
    *made = false;
    // A refusal is told plainly by the page, never as a statement.
    QuietDatabase quiet(m_db);
    TimingWriteMode brief(m_db, kPracticeStartLockWaitMs);
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE ") +
                         RaceCodeIs(PracticeRaceCode) + QStringLiteral(";"),
                     rs))
        return false;
    if (!rs.isEmpty()) {
        *raceId = KeyOf(rs.value(0, QStringLiteral("RaceID")));
    } else {
        qint64 newKey = 0;
        if (!m_db.Insert(QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, "
                                        "RaceCode, Length, Description) VALUES(") +
                             QStringLiteral("0,") + RaceCategoryNumber(TimeRace) +
                             QStringLiteral(",") + QString::number(PracticeRaceCode) +
                             QStringLiteral(",0,'Practice');"),
                         newKey))
            return false;
        *raceId = KeyOf(newKey);
        *made = true;
    }
    if (*raceId == 0) {
        *error = QStringLiteral("The practice race's key does not fit a whole number of 32 bits. "
                                "Practice cannot be started with this race database.");
        return false;
    }
    if (*made) {
        m_raceId = *raceId;
        m_entries.clear();
    }
    return true;
}

bool PracticeStore::resetRace(qint32 raceId) {
    TimingWriteMode brief(m_db, kPracticeStartLockWaitMs);
    QString error;
    if (!WriteAllOrNone(m_db,
                        {QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") + Number(raceId) +
                             QLatin1Char(';'),
                         QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") +
                             Number(raceId) + QLatin1Char(';')},
                        &error))
        return false;
    m_raceId = raceId;
    m_entries.clear();
    return true;
}

bool PracticeStore::markRunning(qint32 raceId, const QString& timeOfRace) {
    const QString id = Number(raceId);
    TimingWriteMode brief(m_db, kPracticeStartLockWaitMs);
    QString error;
    return WriteAllOrNone(m_db,
                          {QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceNew) +
                               QStringLiteral(", TimeOfRace='") + timeOfRace +
                               QStringLiteral("' WHERE RaceID=") + id + QLatin1Char(';'),
                           QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceRunning) +
                               QStringLiteral(" WHERE RaceID=") + id + QStringLiteral(" AND ") +
                               RaceStatusIs(RaceNew) + QStringLiteral(";")},
                          &error);
}

// ---- The session --------------------------------------------------------------

const PracticeEntry* PracticeStore::entryOfCar(qint32 carId) const {
    for (const auto& [position, entry] : m_entries)
        if (entry.carId == carId)
            return &entry;
    return nullptr;
}

const PracticeEntry* PracticeStore::entryAt(int startPosition) const {
    const auto it = m_entries.find(startPosition);
    return it == m_entries.end() ? nullptr : &it->second;
}

PracticeEntry* PracticeStore::entryWithKey(qint32 key) {
    if (key == 0)
        return nullptr;
    for (auto& [position, entry] : m_entries)
        if (*entry.key == key)
            return &entry;
    return nullptr;
}

PracticeEntry* PracticeStore::entryAtPosition(int startPosition) {
    const auto it = m_entries.find(startPosition);
    return it == m_entries.end() ? nullptr : &it->second;
}

int PracticeStore::freeStartPosition() const {
    QList<qint32> taken;
    for (const auto& [position, entry] : m_entries)
        taken << position;
    return PracticeFreeStartPosition(taken);
}

bool PracticeStore::ownersOf(qint32 carId, QList<PracticeOwner>* owners) {
    owners->clear();
    QuietDatabase quiet(m_db);
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT DriverID, Lastname, Firstname FROM tblDriver "
                                    "WHERE TransponderID=") +
                         Number(carId) + QStringLiteral(" AND Deleted=0 AND OwnTransponder<>0;"),
                     rs))
        return false;
    for (const QSqlRecord& r : rs)
        *owners << PracticeOwner{KeyOf(r.value(QStringLiteral("DriverID"))),
                                 FieldToString(r.value(QStringLiteral("Lastname"))),
                                 FieldToString(r.value(QStringLiteral("Firstname")))};
    return true;
}

// ---- Writes -----------------------------------------------------------------

// Every write of the queue waits only briefly for another program's lock: it
// is kept for later rather than holding up the clock and the board.
bool PracticeStore::write(WriteKind kind, PendingWrites::Step step) {
    TimingWriteMode brief(m_db);
    return m_writes.write(kind, std::move(step));
}

bool PracticeStore::flush() {
    if (m_writes.empty())
        return true;
    TimingWriteMode brief(m_db);
    return m_writes.flush();
}

bool PracticeStore::storeNewcomerPass(int startPosition, qint32 carId, qint32 driverId,
                                      const PracticePassOutcome& out) {
    PracticeEntry entry{carId, startPosition, driverId, std::make_shared<qint32>(0)};
    m_entries[startPosition] = entry;
    const qint32 raceId = m_raceId;
    PassStatements* statements = m_statements.get();
    return write(WriteKind::Pass, [raceId, entry, out, statements](Database& db, QString* error) {
        qint64 newKey = 0;
        // A step that was rolled back runs again and gets its key anew.
        *entry.key = 0;
        if (!db.Insert(EntryInsertSql(entry.driverId, raceId, entry.startPosition, entry.carId),
                       newKey))
            return false;
        *entry.key = KeyOf(newKey);
        if (*entry.key == 0) {
            *error = QStringLiteral("The new entry's key does not fit a whole number of 32 bits.");
            return false;
        }
        return WritePass(db, *statements, *entry.key, raceId, out, error);
    });
}

bool PracticeStore::storePass(const PracticeEntry& entry, const PracticePassOutcome& out) {
    const qint32 raceId = m_raceId;
    const std::shared_ptr<qint32> key = entry.key;
    PassStatements* statements = m_statements.get();
    return write(WriteKind::Pass, [raceId, key, out, statements](Database& db, QString* error) {
        return WritePass(db, *statements, *key, raceId, out, error);
    });
}

bool PracticeStore::removeEntry(int startPosition) {
    const auto it = m_entries.find(startPosition);
    if (it == m_entries.end())
        return m_writes.empty();
    const std::shared_ptr<qint32> key = it->second.key;
    m_entries.erase(it);
    return write(WriteKind::Other, [key](Database& db, QString* error) {
        const QString id = Number(*key);
        return db.tryExecute(QStringLiteral("DELETE FROM tblLapInRace WHERE DriverInRaceID=") + id +
                                 QLatin1Char(';'),
                             error) &&
               db.tryExecute(QStringLiteral("DELETE FROM tblDriverInRace WHERE DriverInRaceID=") +
                                 id + QLatin1Char(';'),
                             error);
    });
}

std::optional<PracticeCaption> PracticeStore::linkDriver(qint32 raceId, qint32 entryKey,
                                                         qint32 driverId, int sessionPosition) {
    // The link takes an unlinked entry of the race only; memory follows it.
    PracticeEntry* entry =
        entryKey != 0 ? entryWithKey(entryKey) : entryAtPosition(sessionPosition);
    if (entry && entry->driverId == 0 && raceId == m_raceId)
        entry->driverId = driverId;
    // An entry whose insert waits has its key once the insert is stored,
    // before this write runs.
    const std::shared_ptr<qint32> key = entry ? entry->key : std::make_shared<qint32>(entryKey);
    const bool stored =
        write(WriteKind::Other, [raceId, key, driverId](Database& db, QString* error) {
            return db.tryExecute(
                QStringLiteral("UPDATE tblDriverInRace SET DriverID=") + Number(driverId) +
                    QStringLiteral(" WHERE DriverID=0 AND RaceID=") + Number(raceId) +
                    QStringLiteral(" AND DriverInRaceID=") + Number(*key) + QLatin1Char(';'),
                error);
        });
    if (stored)
        return captionAsStored(*key);
    // Waiting behind other writes: an entry this session does not hold (any
    // more) keeps its row as it is.
    if (!entry)
        return std::nullopt;
    return captionAsItWillBe(*entry);
}

std::optional<PracticeCaption> PracticeStore::captionAsStored(qint32 entryKey) {
    const QString entry = Number(entryKey);
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT tblDriver.Lastname, tblDriver.Firstname, "
                                    "tblDriverInRace.StartPosition, tblDriverInRace.TransponderID "
                                    "FROM tblDriver INNER JOIN tblDriverInRace ON "
                                    "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                                    "DriverInRaceID=") +
                         entry + QLatin1Char(';'),
                     rs))
        return std::nullopt;
    if (rs.RecordCount() == 1) {
        const QSqlRecord& r = rs.row(0);
        return PracticeCaption{
            r.value(QStringLiteral("StartPosition")).toInt(),
            FieldToString(r.value(QStringLiteral("TransponderID"))) + QLatin1Char('-') +
                FieldToString(r.value(QStringLiteral("Lastname"))) + QStringLiteral(", ") +
                FieldToString(r.value(QStringLiteral("Firstname")))};
    }
    // The link did not take: the row shows the transponder again.
    if (!m_db.Select(QStringLiteral("SELECT StartPosition, TransponderID FROM tblDriverInRace "
                                    "WHERE DriverInRaceID=") +
                         entry + QLatin1Char(';'),
                     rs) ||
        rs.RecordCount() != 1)
        return std::nullopt;
    return PracticeCaption{rs.value(0, QStringLiteral("StartPosition")).toInt(),
                           QStringLiteral("Transponder: ") +
                               FieldToString(rs.value(0, QStringLiteral("TransponderID")))};
}

std::optional<PracticeCaption> PracticeStore::captionAsItWillBe(const PracticeEntry& entry) {
    if (entry.driverId != 0) {
        Recordset rs;
        if (!m_db.Select(
                QStringLiteral("SELECT Lastname, Firstname FROM tblDriver WHERE DriverID=") +
                    Number(entry.driverId) + QLatin1Char(';'),
                rs))
            return std::nullopt;
        if (rs.RecordCount() == 1)
            return PracticeCaption{
                entry.startPosition,
                LinkedCaption(entry.carId, FieldToString(rs.value(0, QStringLiteral("Lastname"))),
                              FieldToString(rs.value(0, QStringLiteral("Firstname"))))};
    }
    return PracticeCaption{entry.startPosition, TransponderCaption(entry.carId)};
}

bool PracticeStore::storeStop(qint32 raceId) {
    return write(WriteKind::End, [raceId](Database& db, QString* error) {
        return db.tryExecute(QStringLiteral("UPDATE tblRace SET ") + RaceStatusIs(RaceFinished) +
                                 QStringLiteral(" WHERE RaceID=") + Number(raceId) +
                                 QStringLiteral(" AND ") + RaceStatusIs(RaceRunning) +
                                 QStringLiteral(";"),
                             error);
    });
}

// ---- The page's reads -----------------------------------------------------------

bool PracticeStore::unassignedTransponders(QList<UnassignedTransponder>* rows) {
    rows->clear();
    QuietDatabase quiet(m_db); // also read inside the lap counter's receive handling
    // Unlinked entries of other races are listed as stored; the session's
    // cars as the session holds them.
    Recordset rs;
    if (!m_db.Select(QStringLiteral("SELECT * FROM tblDriverInRace WHERE DriverID=0 AND "
                                    "RaceID<>") +
                         Number(m_raceId) + QStringLiteral(" ORDER BY StartPosition;"),
                     rs))
        return false;
    QList<std::pair<double, UnassignedTransponder>> sorted;
    for (const QSqlRecord& r : rs) {
        const QVariant position = r.value(QStringLiteral("StartPosition"));
        sorted.append(
            {position.toDouble(),
             {FieldToString(position), FieldToString(r.value(QStringLiteral("TransponderID"))),
              KeyOf(r.value(QStringLiteral("DriverInRaceID"))), 0}});
    }
    for (const auto& [position, entry] : m_entries)
        if (entry.driverId == 0)
            sorted.append(
                {double(position), {Number(position), Number(entry.carId), *entry.key, position}});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [position, row] : sorted)
        rows->append(row);
    return true;
}

bool PracticeStore::unassignedDrivers(qint32 raceId, QList<UnassignedDriver>* rows) {
    rows->clear();
    QuietDatabase quiet(m_db);
    const bool session = raceId == m_raceId;
    Recordset rs;
    // The session's drivers as the session holds them; another race's as stored.
    const QString others = session ? QString()
                                   : QStringLiteral(" AND DriverID NOT IN (SELECT DriverID FROM "
                                                    "tblDriverInRace WHERE RaceID=") +
                                         Number(raceId) + QLatin1Char(')');
    if (!m_db.Select(QStringLiteral("SELECT DriverID, Lastname, Firstname, Car, TransponderID "
                                    "FROM tblDriver WHERE Deleted=0") +
                         others +
                         QStringLiteral(" ORDER BY tblDriver.Lastname, tblDriver.Firstname;"),
                     rs))
        return false;
    for (const QSqlRecord& r : rs) {
        const qint32 driverId = KeyOf(r.value(QStringLiteral("DriverID")));
        if (session && driverId != 0 &&
            std::any_of(m_entries.begin(), m_entries.end(),
                        [driverId](const auto& e) { return e.second.driverId == driverId; }))
            continue;
        rows->append({driverId, FieldToString(r.value(QStringLiteral("Lastname"))),
                      FieldToString(r.value(QStringLiteral("Firstname"))),
                      FieldToString(r.value(QStringLiteral("Car"))),
                      FieldToString(r.value(QStringLiteral("TransponderID")))});
    }
    return true;
}

} // namespace kv
