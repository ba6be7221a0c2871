#include "Tournaments.h"

#include "Database.h"
#include "Helpers.h"

namespace kv {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

TournamentRow rowOf(const QSqlRecord& r) {
    return {r.value(QStringLiteral("TournamentID")).toInt(),
            FieldToString(r.value(QStringLiteral("Name"))),
            FieldToString(r.value(QStringLiteral("Location"))), r.value(QStringLiteral("RegTime"))};
}

const QString kParticipantColumns = QStringLiteral(
    "SELECT tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, tblDriver.Car ");

} // namespace

bool ReadTournaments(Database& db, QList<TournamentRow>& rows) {
    rows.clear();
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT * FROM tblTournament ORDER BY TournamentID;"), rs))
        return false;
    for (const QSqlRecord& r : rs)
        rows.append(rowOf(r));
    return true;
}

bool ReadTournamentRecord(Database& db, qint32 tournamentID, QSqlRecord& record, bool& found) {
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT * FROM tblTournament WHERE TournamentID=") +
                       num(tournamentID) + QStringLiteral(";"),
                   rs))
        return false;
    found = !rs.isEmpty();
    if (found)
        record = rs.row(0);
    return true;
}

bool ReadTournament(Database& db, qint32 tournamentID, TournamentRow& row, bool& found) {
    QSqlRecord record;
    if (!ReadTournamentRecord(db, tournamentID, record, found))
        return false;
    if (found)
        row = rowOf(record);
    return true;
}

bool AddTournament(Database& db) {
    return db.Execute(
        QStringLiteral("INSERT INTO tblTournament (Name, RegTime) VALUES ('New tournament','") +
        NowText() + QStringLiteral("');"));
}

bool SaveTournamentText(Database& db, qint32 tournamentID, TournamentText which,
                        const QString& text) {
    return db.Execute(
        QStringLiteral("UPDATE tblTournament SET ") +
        (which == TournamentText::Name ? QStringLiteral("Name") : QStringLiteral("Location")) +
        QStringLiteral("='") + ReplaceQuotes(text) + QStringLiteral("' WHERE TournamentID=") +
        num(tournamentID) + QStringLiteral(";"));
}

bool ReadParticipants(Database& db, qint32 tournamentID, QList<DriverRow>& rows) {
    return ReadDriverRows(
        db,
        kParticipantColumns +
            QStringLiteral("FROM tblDriver INNER JOIN tblDriverInTournament ON tblDriver.DriverID "
                           "= tblDriverInTournament.DriverID WHERE "
                           "tblDriverInTournament.TournamentID=") +
            num(tournamentID) +
            QStringLiteral(" ORDER BY tblDriver.Lastname, tblDriver.Firstname;"),
        rows);
}

bool ReadPotentialParticipants(Database& db, qint32 tournamentID, QList<DriverRow>& rows) {
    return ReadDriverRows(
        db,
        kParticipantColumns +
            QStringLiteral("FROM tblDriver WHERE tblDriver.Deleted=0 AND tblDriver.DriverID NOT IN "
                           "(SELECT tblDriver.DriverID FROM tblDriver INNER JOIN "
                           "tblDriverInTournament ON tblDriver.DriverID = "
                           "tblDriverInTournament.DriverID WHERE "
                           "tblDriverInTournament.TournamentID=") +
            num(tournamentID) +
            QStringLiteral(") ORDER BY tblDriver.Lastname, tblDriver.Firstname;"),
        rows);
}

bool RegisterParticipant(Database& db, qint32 tournamentID, qint32 driverID) {
    return db.Execute(QStringLiteral("INSERT INTO tblDriverInTournament VALUES (") + num(driverID) +
                      QStringLiteral(", ") + num(tournamentID) + QStringLiteral(", 0);"));
}

bool UnregisterParticipant(Database& db, qint32 tournamentID, qint32 driverID) {
    return db.Execute(QStringLiteral("DELETE FROM tblDriverInTournament WHERE DriverID=") +
                      num(driverID) + QStringLiteral(" AND TournamentID=") + num(tournamentID) +
                      QStringLiteral(";"));
}

} // namespace kv
