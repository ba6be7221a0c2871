#pragma once
// Tournaments and their participants on the database, without any window.

#include "Races.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace kv {

class Database;

struct TournamentRow {
    qint32 tournamentID = 0;
    QString name;
    QString location;
    QVariant regTime;
};

// Every tournament by key (the newest last).
bool ReadTournaments(Database& db, QList<TournamentRow>& rows);
// The stored row of one tournament, every column; found tells whether it exists.
bool ReadTournamentRecord(Database& db, qint32 tournamentID, QSqlRecord& record, bool& found);
// One tournament; found tells whether it exists.
bool ReadTournament(Database& db, qint32 tournamentID, TournamentRow& row, bool& found);
// A new tournament named "New tournament", registered now.
bool AddTournament(Database& db);
// Stores the name or the location as typed (apostrophes as "?").
enum class TournamentText { Name, Location };
bool SaveTournamentText(Database& db, qint32 tournamentID, TournamentText which,
                        const QString& text);

// The drivers registered for a tournament (also those deleted from the
// register), and those of the register who are not, each by last and first name.
bool ReadParticipants(Database& db, qint32 tournamentID, QList<DriverRow>& rows);
bool ReadPotentialParticipants(Database& db, qint32 tournamentID, QList<DriverRow>& rows);
bool RegisterParticipant(Database& db, qint32 tournamentID, qint32 driverID);
bool UnregisterParticipant(Database& db, qint32 tournamentID, qint32 driverID);

} // namespace kv
