#include "ReportStatements.h"

#include "RaceCodes.h"

namespace kv {

namespace {

QString key(qint32 value) {
    return QString::number(value);
}

// The columns the qualification and heat results share; the heat results add
// the race category key. The keys that two joined tables share are named
// explicitly: SQLite names them "TournamentID:1" and "RaceID:1" otherwise.
QString resultsColumns(bool withCategoryID) {
    return QStringLiteral(
               "SELECT tblTournament.TournamentID AS TournamentID, tblTournament.Name, "
               "tblTournament.Location, tblTournament.RegTime, tblRace.RaceID AS RaceID, ") +
           (withCategoryID ? QStringLiteral("tblRace.RaceCategoryID, ") : QString()) +
           QStringLiteral(
               "tblRaceCategoryDescription.RaceCategoryDescription, tblRace.Status, "
               "tblRaceStatusDescription.RaceStatusDescription, tblRace.Description, "
               "tblRace.TimeOfRace, tblRace.Length, "
               "tblRaceCategoryDescription.RaceCategoryLengthName, tblRace.Comment, "
               "tblDriver.DriverID AS DriverID, tblDriverInRace.StartPosition, tblDriver.Lastname, "
               "tblDriver.Firstname, tblDriver.Car, tblDriverInRace.NumOfLaps, "
               "tblDriverInRace.TimeToFinish, tblDriverInRace.TimeToFinishString");
}

QString lapProgressBase() {
    return QStringLiteral(
        "SELECT tblRace.RaceID, tblRace.Description, tblRace.TimeOfRace, "
        "tblRaceCategoryDescription.RaceCategoryDescription, tblRace.Length, "
        "tblRaceCategoryDescription.RaceCategoryLengthName, tblRace.Comment, "
        "tblDriverInRace.DriverID, tblDriver.Lastname, tblDriver.Firstname, tblDriver.Car, "
        "tblDriverInRace.StartPosition, tblDriverInRace.NumOfLaps, tblDriverInRace.TimeToFinish, "
        "tblDriverInRace.TimeToFinishString, tblLapInRace.TotalTime/1000.0 AS TotalTimeSec, "
        "tblLapInRace.TotalTimeString, tblLapInRace.LapTime/1000.0 as LapTimeSec, "
        "tblLapInRace.LapTimeString, tblDriverInRace.TransponderID"
        " FROM (((tblRace INNER JOIN tblDriverInRace ON tblRace.RaceID = tblDriverInRace.RaceID) "
        "INNER JOIN tblLapInRace ON tblDriverInRace.DriverInRaceID = "
        "tblLapInRace.DriverInRaceID) LEFT JOIN tblDriver ON tblDriverInRace.DriverID = "
        "tblDriver.DriverID) INNER JOIN tblRaceCategoryDescription ON tblRace.RaceCategoryID = "
        "tblRaceCategoryDescription.RaceCategoryID");
}

} // namespace

const QStringList& ReportListRows() {
    static const QStringList rows = {
        QStringLiteral("All participants"),
        QStringLiteral("Qualification results"),
        QStringLiteral("Heat results"),
        QStringLiteral("Individual race progress"),
    };
    return rows;
}

QString ParticipantsSql(qint32 tournamentID) {
    return QStringLiteral(
               "SELECT tblTournament.TournamentID, tblTournament.Name, tblTournament.Location, "
               "tblTournament.RegTime, tblDriverInTournament.DriverID, tblDriver.Lastname, "
               "tblDriver.Firstname, tblDriver.Team, tblDriver.Car, tblDriver.Frequency, "
               "tblDriver.TransponderID") +
           QStringLiteral(
               " FROM (tblDriver INNER JOIN tblDriverInTournament ON tblDriver.DriverID = "
               "tblDriverInTournament.DriverID) INNER JOIN tblTournament ON "
               "tblDriverInTournament.TournamentID = tblTournament.TournamentID") +
           QStringLiteral(" Where (((tblTournament.TournamentID) = ") + key(tournamentID) +
           QStringLiteral("))") + QStringLiteral(" ORDER BY tblDriver.Lastname");
}

QString QualResultsSql(qint32 tournamentID) {
    return resultsColumns(false) +
           QStringLiteral(
               " FROM tblRaceCategoryDescription INNER JOIN (tblRaceStatusDescription INNER JOIN "
               "(((tblDriver INNER JOIN tblDriverInRace ON tblDriver.DriverID = "
               "tblDriverInRace.DriverID) INNER JOIN tblRace ON tblDriverInRace.RaceID = "
               "tblRace.RaceID) INNER JOIN tblTournament ON tblRace.TournamentID = "
               "tblTournament.TournamentID) ON tblRaceStatusDescription.RaceStatus = "
               "tblRace.Status) ON tblRaceCategoryDescription.RaceCategoryID = "
               "tblRace.RaceCategoryID") +
           QStringLiteral(" Where (((tblTournament.TournamentID) = ") + key(tournamentID) +
           QStringLiteral(") And ((tblRace.RaceCategoryID) = ") + RaceCategoryNumber(TimeRace) +
           QStringLiteral(") And ((tblRace.Status) = ") + RaceStatusNumber(RaceFinished) +
           QStringLiteral("))") +
           QStringLiteral(
               " ORDER BY tblDriverInRace.NumOfLaps DESC, tblDriverInRace.TimeToFinish;");
}

QString HeatResultsSql(qint32 raceID) {
    // The tournament is joined from the left so that a single race, which
    // belongs to no tournament, still lists its entries.
    return resultsColumns(true) +
           QStringLiteral(
               " FROM tblRaceCategoryDescription INNER JOIN (tblRaceStatusDescription INNER JOIN "
               "(((tblDriver INNER JOIN tblDriverInRace ON "
               "tblDriver.DriverID=tblDriverInRace.DriverID) INNER JOIN tblRace ON "
               "tblDriverInRace.RaceID=tblRace.RaceID) LEFT JOIN tblTournament ON "
               "tblRace.TournamentID=tblTournament.TournamentID) ON "
               "tblRaceStatusDescription.RaceStatus=tblRace.Status) ON "
               "tblRaceCategoryDescription.RaceCategoryID=tblRace.RaceCategoryID") +
           QStringLiteral(" Where ((tblRace.RaceID = ") + key(raceID) +
           QStringLiteral(") And (tblRace.Status = ") + RaceStatusNumber(RaceFinished) +
           QStringLiteral(")) ORDER BY tblRace.RaceCategoryID, "
                          "tblRace.TimeOfRace, tblDriverInRace.NumOfLaps DESC , "
                          "tblDriverInRace.TimeToFinish;");
}

QString RaceLapProgressSql(qint32 raceID) {
    return lapProgressBase() + QStringLiteral(" Where (((tblRace.RaceID) = ") + key(raceID) +
           QStringLiteral(")) ORDER BY tblDriverInRace.StartPosition, tblLapInRace.TotalTime;");
}

QString CarLapProgressSql(qint32 raceID, qint32 startPosition) {
    return lapProgressBase() + QStringLiteral(" Where (tblRace.RaceID=") + key(raceID) +
           QStringLiteral(" AND tblDriverInRace.StartPosition=") + key(startPosition) +
           QStringLiteral(") ORDER BY tblDriverInRace.StartPosition, tblLapInRace.TotalTime;");
}

QString FinishedRacesSql(qint32 tournamentID) {
    return QStringLiteral("SELECT * from tblRace WHERE (TournamentID=") + key(tournamentID) +
           QStringLiteral(" OR ") + RaceCodeIs(SingleRaceCode) + QStringLiteral(") AND ") +
           RaceStatusIs(RaceFinished) + QStringLiteral(" ORDER BY RaceCategoryID, Description;");
}

QString ScoreDetailsSql(qint32 raceID) {
    // The driver is joined from the left: entries without a driver come with
    // empty names.
    return QStringLiteral(
               "SELECT tblDriverInRace.StartPosition, tblDriverInRace.TransponderID, "
               "tblDriver.Lastname, tblDriver.Firstname, tblLapInRace.LapTime, "
               "tblLapInRace.LapTimeString FROM (tblDriverInRace INNER JOIN tblLapInRace ON "
               "(tblDriverInRace.DriverInRaceID=tblLapInRace.DriverInRaceID)) LEFT JOIN tblDriver "
               "ON (tblDriver.DriverID=tblDriverInRace.DriverID) WHERE tblDriverInRace.RaceID=") +
           key(raceID) +
           QStringLiteral(" ORDER BY tblDriverInRace.StartPosition, tblLapInRace.TotalTime;");
}

} // namespace kv
