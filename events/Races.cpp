#include "Races.h"

#include "Database.h"
#include "Helpers.h"
#include "RaceCodes.h"
#include "Schema.h"

#include <cmath>
#include <limits>

namespace kv {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

const QString kDriverRowColumns = QStringLiteral(
    "SELECT tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, tblDriver.Car FROM ");
const QString kByName = QStringLiteral(" ORDER BY tblDriver.Lastname, tblDriver.Firstname;");

bool readRaces(Database& db, const QString& sql, QList<RaceRow>& rows) {
    rows.clear();
    Recordset rs;
    if (!db.Select(sql, rs))
        return false;
    for (const QSqlRecord& r : rs)
        rows.append({r.value(QStringLiteral("RaceID")).toInt(),
                     FieldToString(r.value(QStringLiteral("Description"))),
                     r.value(QStringLiteral("Status")).toInt(),
                     r.value(QStringLiteral("RaceCode")).toInt()});
    return true;
}

} // namespace

bool ReadDriverRows(Database& db, const QString& sql, QList<DriverRow>& rows) {
    rows.clear();
    Recordset rs;
    if (!db.Select(sql, rs))
        return false;
    for (const QSqlRecord& r : rs) {
        const QVariant frequency = r.value(QStringLiteral("Frequency"));
        rows.append({r.value(QStringLiteral("DriverID")).toInt(),
                     FieldToString(r.value(QStringLiteral("Lastname"))),
                     FieldToString(r.value(QStringLiteral("Firstname"))),
                     FieldToString(r.value(QStringLiteral("Car"))),
                     frequency.isNull() ? QString() : RegionalNumberText(frequency.toDouble())});
    }
    return true;
}

bool ReadFinalRaces(Database& db, qint32 tournamentID, bool finishedOnly, QList<RaceRow>& rows) {
    return readRaces(db,
                     QStringLiteral("SELECT * FROM tblRace WHERE ") + FinalRaceCondition() +
                         QStringLiteral(" AND TournamentID=") + num(tournamentID) +
                         (finishedOnly ? QStringLiteral(" AND ") + RaceStatusIs(RaceFinished) +
                                             QStringLiteral(" ORDER BY Description;")
                                       : QStringLiteral(" ORDER BY RaceCode;")),
                     rows);
}

bool ReadSingleRaces(Database& db, QList<RaceRow>& rows) {
    return readRaces(db,
                     QStringLiteral("SELECT * FROM tblRace WHERE ") + RaceCodeIs(SingleRaceCode) +
                         QStringLiteral(" ORDER BY Description;"),
                     rows);
}

bool ReadRaceCode(Database& db, qint32 raceID, int& raceCode) {
    raceCode = 0;
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT RaceCode FROM tblRace WHERE RaceID=") + num(raceID) +
                       QStringLiteral(";"),
                   rs))
        return false;
    if (!rs.isEmpty())
        raceCode = rs.value(0, 0).toInt();
    return true;
}

bool ReadDriversInRace(Database& db, qint32 raceID, QList<DriverRow>& rows) {
    return ReadDriverRows(db,
                          kDriverRowColumns +
                              QStringLiteral("tblDriver INNER JOIN tblDriverInRace ON "
                                             "tblDriver.DriverID = tblDriverInRace.DriverID WHERE "
                                             "tblDriverInRace.RaceID=") +
                              num(raceID) + kByName,
                          rows);
}

bool ReadDriversNotInRace(Database& db, qint32 raceID, QList<DriverRow>& rows) {
    return ReadDriverRows(
        db,
        kDriverRowColumns +
            QStringLiteral("tblDriver WHERE tblDriver.DriverID NOT IN (SELECT tblDriver.DriverID "
                           "FROM tblDriver INNER JOIN tblDriverInRace ON tblDriver.DriverID = "
                           "tblDriverInRace.DriverID WHERE tblDriverInRace.RaceID=") +
            num(raceID) + QStringLiteral(")") + kByName,
        rows);
}

RacesToDelete RacesToDelete::race(qint32 raceID) {
    return RacesToDelete(QStringLiteral("RaceID=") + num(raceID));
}

RacesToDelete RacesToDelete::tournament(qint32 tournamentID) {
    return RacesToDelete(QStringLiteral("TournamentID=") + num(tournamentID));
}

RacesToDelete RacesToDelete::qualHeats(qint32 tournamentID, int aboveRound) {
    QString where = QStringLiteral("TournamentID=") + num(tournamentID) + QStringLiteral(" AND ") +
                    RaceCodeIs(QualificationHeatCode);
    if (aboveRound > 0)
        where += QStringLiteral(" AND QualRound>") + num(aboveRound);
    return RacesToDelete(where);
}

bool DeleteRacesInTransaction(Database& db, const RacesToDelete& races) {
    const QString raceIDs =
        QStringLiteral("(SELECT RaceID FROM tblRace WHERE ") + races.where() + QStringLiteral(")");
    // A lap goes with its race and with its entry: neither may be left naming
    // a row that is gone.
    return db.Execute(QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID IN ") + raceIDs +
                      QStringLiteral(" OR DriverInRaceID IN (SELECT DriverInRaceID FROM "
                                     "tblDriverInRace WHERE RaceID IN ") +
                      raceIDs + QStringLiteral(");")) &&
           db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID IN ") + raceIDs +
                      QStringLiteral(";")) &&
           db.Execute(QStringLiteral("DELETE FROM tblRace WHERE ") + races.where() +
                      QStringLiteral(";"));
}

bool DeleteRaces(Database& db, const RacesToDelete& races) {
    Transaction trans(db);
    return trans.active() && DeleteRacesInTransaction(db, races) && trans.commit();
}

bool InsertEntry(Database& db, qint64 driverID, qint64 raceID, int startPosition, qint64* newKey) {
    qint64 key = 0;
    const bool ok =
        db.Insert(QStringLiteral("INSERT INTO tblDriverInRace (DriverID, RaceID, "
                                 "StartPosition, TimeToFinish, TimeToFinishString) "
                                 "VALUES (") +
                      num(driverID) + QStringLiteral(",") + num(raceID) + QStringLiteral(",") +
                      num(startPosition) + QStringLiteral(",") + num(NoResultTime) +
                      QStringLiteral(",'") + NoResultText + QStringLiteral("');"),
                  key);
    if (ok && newKey)
        *newKey = key;
    return ok;
}

bool InsertRace(Database& db, const NewRace& race, qint64& newKey) {
    return db.Insert(
        QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, "
                       "Status, Description, Comment) VALUES (") +
            num(race.tournamentID) + QStringLiteral(",") + num(race.category) +
            QStringLiteral(",") + num(race.raceCode) + QStringLiteral(",") + num(race.length) +
            QStringLiteral(",") + RaceStatusNumber(RaceNew) + QStringLiteral(",'") +
            ReplaceQuotes(race.description.left(kShortTextLength)) + QStringLiteral("','") +
            ReplaceQuotes(race.comment) + QStringLiteral("');"),
        newKey);
}

LengthReading ReadRaceLength(const QString& typed, qint16& length) {
    // A number too large to read is too large, not 0.
    const double value = RoundHalfEven(ValOrInfinity(typed));
    if (value < 1)
        return LengthReading::TooSmall;
    if (value > std::numeric_limits<qint16>::max())
        return LengthReading::TooLarge;
    length = static_cast<qint16>(value);
    return LengthReading::Ok;
}

bool ReadTournamentName(Database& db, qint32 tournamentID, QString& name) {
    name.clear();
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT * FROM tblTournament WHERE TournamentID=") +
                       num(tournamentID) + QStringLiteral(";"),
                   rs))
        return false;
    if (!rs.isEmpty())
        name = FieldToString(rs.value(0, QStringLiteral("Name")));
    return true;
}

} // namespace kv
