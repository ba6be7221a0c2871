#pragma once
// Writing races and their entries, and deleting races with everything that
// hangs on them, without any window. Every event page and dialog that creates,
// fills or removes a race goes through these.

#include "RaceCodes.h"

#include <QList>
#include <QString>

namespace kv {

class Database;

// The races one deletion takes.
class RacesToDelete {
public:
    static RacesToDelete race(qint32 raceID);
    // Every race of a tournament, of any kind.
    static RacesToDelete tournament(qint32 tournamentID);
    // The qualification heats of a tournament in the rounds above aboveRound
    // (0: every round).
    static RacesToDelete qualHeats(qint32 tournamentID, int aboveRound = 0);

    // The selection as a condition on tblRace.
    const QString& where() const { return m_where; }

private:
    explicit RacesToDelete(QString where) : m_where(std::move(where)) {}
    QString m_where;
};

// Deletes the selected races, whatever their status, with their entries and
// every lap that belongs to them, whether the lap names the race or one of its
// entries, all in one transaction. False (nothing deleted) when a statement
// was refused; the database has then reported it.
bool DeleteRaces(Database& db, const RacesToDelete& races);

// The same statements inside a transaction the caller holds.
bool DeleteRacesInTransaction(Database& db, const RacesToDelete& races);

// Inserts a not-yet-raced entry (no result time, "..." as its text). newKey, when
// given, receives the entry's key.
bool InsertEntry(Database& db, qint64 driverID, qint64 raceID, int startPosition,
                 qint64* newKey = nullptr);

// A race described in the add race dialog.
struct NewRace {
    qint32 tournamentID = 0; // 0 for a single race
    int category = TimeRace;
    int raceCode = SingleRaceCode;
    qint16 length = 1;
    QString description; // taken to the column's length
    QString comment;
};
// Inserts the race as New; newKey receives its key.
bool InsertRace(Database& db, const NewRace& race, qint64& newKey);

// A typed race length: 1 to 32767 (laps or minutes), read from its leading
// number and rounded halves to even.
enum class LengthReading { Ok, TooSmall, TooLarge };
LengthReading ReadRaceLength(const QString& typed, qint16& length);

// A driver as the event lists show one.
struct DriverRow {
    qint32 driverID = 0;
    QString lastname;
    QString firstname;
    QString car;
    QString frequency; // in the regional form; empty when none is stored
};

// A race as the race choosers show one.
struct RaceRow {
    qint32 raceID = 0;
    QString description;
    int status = 0;
    int raceCode = 0;
};

// Reads DriverRows from a statement that returns DriverID, Lastname, Firstname
// and, where it has them, Car and Frequency.
bool ReadDriverRows(Database& db, const QString& sql, QList<DriverRow>& rows);

// The final races of a tournament (unassigned or of a level) by race code, or
// only the finished ones by description.
bool ReadFinalRaces(Database& db, qint32 tournamentID, bool finishedOnly, QList<RaceRow>& rows);
// Every single race, by description.
bool ReadSingleRaces(Database& db, QList<RaceRow>& rows);
// A race's code; 0 when there is no such race.
bool ReadRaceCode(Database& db, qint32 raceID, int& raceCode);

// The drivers with an entry in a race, and the drivers of the register (also
// those marked deleted) without one, each by last and first name.
bool ReadDriversInRace(Database& db, qint32 raceID, QList<DriverRow>& rows);
bool ReadDriversNotInRace(Database& db, qint32 raceID, QList<DriverRow>& rows);

// A tournament's name, or empty text when there is no such tournament. False
// when the statement was refused.
bool ReadTournamentName(Database& db, qint32 tournamentID, QString& name);

} // namespace kv
