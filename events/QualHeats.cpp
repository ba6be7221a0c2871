#include "QualHeats.h"

#include "Database.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "QualHeatDeal.h"
#include "RaceCodes.h"
#include "Tournaments.h"

#include <map>
#include <utility>

namespace kv {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

const QString kQualHeatEntries =
    QStringLiteral(" FROM tblDriverInRace INNER JOIN tblRace ON (tblDriverInRace.RaceID = "
                   "tblRace.RaceID) WHERE tblRace.TournamentID=");

bool hasRow(Database& db, const QString& sql, bool& found) {
    Recordset rs;
    if (!db.Select(sql, rs))
        return false;
    found = !rs.isEmpty();
    return true;
}

QString columnOf(QualSetting which) {
    switch (which) {
    case QualSetting::Rounds:
        return QStringLiteral("QualNumOfRounds");
    case QualSetting::CarsInHeat:
        return QStringLiteral("QualNumOfCarsInHeat");
    case QualSetting::RaceTime:
        return QStringLiteral("QualRaceTime");
    }
    return QString();
}

} // namespace

bool ReadQualSettings(Database& db, qint32 tournamentID, QualSettings& settings, bool& found) {
    QSqlRecord r;
    if (!ReadTournamentRecord(db, tournamentID, r, found))
        return false;
    if (found)
        settings = {r.value(QStringLiteral("QualNumOfRounds")).toInt(),
                    r.value(QStringLiteral("QualNumOfCarsInHeat")).toInt(),
                    r.value(QStringLiteral("QualRaceTime")).toInt()};
    return true;
}

bool StoreQualSetting(Database& db, qint32 tournamentID, QualSetting which, qint32 value) {
    return db.Execute(QStringLiteral("UPDATE tblTournament SET ") + columnOf(which) +
                      QStringLiteral("=") + num(value) + QStringLiteral(" WHERE TournamentID=") +
                      num(tournamentID) + QStringLiteral(";"));
}

bool ReadQualHeats(Database& db, qint32 tournamentID, int round, QList<RaceRow>& heats) {
    heats.clear();
    // Row by row, by column: a tournament may hold many thousands of heats.
    const bool read = db.SelectRows(
        QStringLiteral("SELECT RaceID, Description, Status, RaceCode from tblRace WHERE "
                       "TournamentID=") +
            num(tournamentID) + QStringLiteral(" AND ") + RaceCodeIs(QualificationHeatCode) +
            (round > 0 ? QStringLiteral(" AND QualRound=") + num(round) : QString()) +
            QStringLiteral(" ORDER BY QualRound, QualHeat, RaceID;"),
        [&heats](const QVariantList& r) {
            heats.append({r[0].toInt(), FieldToString(r[1]), r[2].toInt(), r[3].toInt()});
        });
    if (!read)
        heats.clear();
    return read;
}

bool HasQualHeats(Database& db, qint32 tournamentID, bool& found) {
    return hasRow(db,
                  QStringLiteral("SELECT QualRound FROM tblRace WHERE TournamentID=") +
                      num(tournamentID) + QStringLiteral(" AND ") +
                      RaceCodeIs(QualificationHeatCode) +
                      QStringLiteral(" ORDER BY QualRound DESC;"),
                  found);
}

bool HasStartedQualHeats(Database& db, qint32 tournamentID, int aboveRound, bool& found) {
    return hasRow(db,
                  QStringLiteral("SELECT RaceID, QualRound FROM tblRace WHERE ") +
                      RacesToDelete::qualHeats(tournamentID, aboveRound).where() +
                      QStringLiteral(" AND Status>") + RaceStatusNumber(RaceNew) +
                      QStringLiteral(";"),
                  found);
}

bool ReadHeatDrivers(Database& db, qint32 raceID, HeatDriverOrder order, QList<DriverRow>& rows) {
    return ReadDriverRows(
        db,
        QStringLiteral("SELECT tblDriver.* FROM tblDriver INNER JOIN tblDriverInRace ON "
                       "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                       "tblDriverInRace.RaceID=") +
            num(raceID) +
            (order == HeatDriverOrder::Frequency
                 ? QStringLiteral(" ORDER BY tblDriver.Frequency;")
                 : QStringLiteral(" ORDER BY tblDriverInRace.StartPosition;")),
        rows);
}

bool ReadParticipantsForHeats(Database& db, qint32 tournamentID, QList<qint64>& driverIDs) {
    driverIDs.clear();
    Recordset rs;
    if (!db.Select(
            QStringLiteral("SELECT tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, "
                           "tblDriver.Car FROM tblDriver INNER JOIN tblDriverInTournament ON "
                           "tblDriver.DriverID = tblDriverInTournament.DriverID WHERE "
                           "tblDriverInTournament.TournamentID=") +
                num(tournamentID) + QStringLiteral(" ORDER BY tblDriver.Frequency;"),
            rs))
        return false;
    for (const QSqlRecord& r : rs)
        driverIDs.append(r.value(0).toLongLong());
    return true;
}

bool WriteQualRounds(Database& db, qint32 tournamentID, int firstRound, int lastRound,
                     int carsInHeat, int minutes, const QList<qint64>& driverIDs) {
    const int participants = static_cast<int>(driverIDs.size());
    const int heats = QualHeatDeal::heatsPerRound(participants, carsInHeat);
    const QString tournament = num(tournamentID);
    // The heats and their start lists appear whole or not at all.
    Transaction trans(db);
    if (!trans.active())
        return false;
    std::map<std::pair<int, int>, qint64> keys; // (round, heat) -> RaceID
    for (int r = firstRound; r <= lastRound; ++r)
        for (int h = 1; h <= heats; ++h) {
            const QString round = num(r);
            const QString heat = num(h);
            qint64 key = 0;
            if (!db.Insert(QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, "
                                          "RaceCode, QualRound, QualHeat, Length, Description) "
                                          "VALUES(") +
                               tournament + QStringLiteral(",") + RaceCategoryNumber(TimeRace) +
                               QStringLiteral(",") + num(QualificationHeatCode) +
                               QStringLiteral(",") + round + QStringLiteral(",") + heat +
                               QStringLiteral(",") + num(minutes) + QStringLiteral(",'Round ") +
                               round + QStringLiteral(" - Heat ") + heat + QStringLiteral("');"),
                           key))
                return false;
            keys[{r, h}] = key;
        }
    for (const QualHeatDeal::Seat& seat :
         QualHeatDeal::deal(participants, carsInHeat, lastRound - firstRound + 1))
        if (!InsertEntry(db, driverIDs.at(seat.participant),
                         keys[{firstRound - 1 + seat.round, seat.heat}], seat.startPosition))
            return false;
    return trans.commit();
}

int LowestFreeStartPosition(const QList<int>& taken, int max) {
    for (int p = 1; p <= max; ++p)
        if (!taken.contains(p))
            return p;
    return 0;
}

HeatMove MoveDriverToHeat(Database& db, qint32 tournamentID, qint32 driverID, qint32 heatRaceID) {
    Recordset chosen;
    if (!db.Select(QStringLiteral("SELECT * FROM tblRace WHERE RaceID=") + num(heatRaceID) +
                       QStringLiteral(";"),
                   chosen))
        return HeatMove::Failed;
    if (chosen.isEmpty())
        return HeatMove::NoSuchHeat;
    const QString heat = num(chosen.value(0, QStringLiteral("QualHeat")).toInt());
    const QString driver = num(driverID);
    const QString qualEntries = kQualHeatEntries + num(tournamentID) + QStringLiteral(" AND ") +
                                RaceCodeIs(QualificationHeatCode, QStringLiteral("tblRace."));

    // Out of the old heats and into the new ones together; a refusal leaves
    // everything as it was.
    Transaction trans(db);
    if (!trans.active())
        return HeatMove::Failed;
    // A heat not yet run that already holds a full field of other drivers
    // takes no one more.
    Recordset fullest;
    if (!db.Select(QStringLiteral("SELECT COUNT(*)") + qualEntries + QStringLiteral(" AND ") +
                       RaceStatusIs(RaceNew, QStringLiteral("tblRace.")) +
                       QStringLiteral(" AND tblRace.QualHeat=") + heat +
                       QStringLiteral(" AND tblDriverInRace.DriverID<>") + driver +
                       QStringLiteral(" GROUP BY tblRace.RaceID ORDER BY 1 DESC;"),
                   fullest))
        return HeatMove::Failed;
    if (!fullest.isEmpty() && fullest.value(0, 0).toInt() >= MaxCarsInRace)
        return HeatMove::Full;
    if (!db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE DriverInRaceID IN "
                                   "(SELECT DriverInRaceID") +
                    qualEntries + QStringLiteral(" AND ") +
                    RaceStatusIs(RaceNew, QStringLiteral("tblRace.")) +
                    QStringLiteral(" AND tblDriverInRace.DriverID=") + driver +
                    QStringLiteral(");")))
        return HeatMove::Failed;
    Recordset targets;
    if (!db.Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE TournamentID=") +
                       num(tournamentID) + QStringLiteral(" AND ") +
                       RaceCodeIs(QualificationHeatCode) + QStringLiteral(" AND ") +
                       RaceStatusIs(RaceNew) + QStringLiteral(" AND QualHeat=") + heat +
                       QStringLiteral(";"),
                   targets))
        return HeatMove::Failed;
    for (const QSqlRecord& target : targets) {
        const qint64 race = target.value(0).toLongLong();
        // The board has ten slots, so a start position above ten could never
        // start; the full-field check leaves at least one of them free.
        Recordset positions;
        if (!db.Select(QStringLiteral("SELECT StartPosition FROM tblDriverInRace WHERE RaceID=") +
                           num(race) + QStringLiteral(";"),
                       positions))
            return HeatMove::Failed;
        QList<int> taken;
        for (const QSqlRecord& p : positions)
            taken.append(p.value(0).toInt());
        if (!InsertEntry(db, driverID, race, LowestFreeStartPosition(taken, MaxCarsInRace)))
            return HeatMove::Failed;
    }
    return trans.commit() ? HeatMove::Moved : HeatMove::Failed;
}

} // namespace kv
