#pragma once
// Rankings of a tournament's finished races and the start lists of final and
// single races, without any window: the Manager page's final heats and the
// single race registration run them.

#include "RaceCodes.h"

#include <QList>
#include <QString>

namespace kv {

class Database;

// A race's start list holds at most this many cars (the score board's slots).
inline constexpr int MaxCarsInRace = 10;

enum class RankingKind {
    QualAll,     // every entry of every finished qualification heat
    QualBest,    // each driver's best finished qualification heat
    QualBestLap, // each driver's fastest qualification lap
    LevelByHeat, // the finished finals of one level, race by race
    LevelTotal,  // the finished finals of one level, ranked together
    OneRace,     // the results of one race
};

struct RankingRow {
    enum class Kind { Entry, Heading, Separator };
    Kind kind = Kind::Entry;
    qint32 driverID = 0;
    QString name;    // "Lastname, Firstname"; a heading's race description
    QString result;  // laps "-" finishing time, or the best lap's time
    QString details; // "F=" frequency "/ID=" transponder
};

// Ranks by more laps, then less finishing time (entries without a result after
// every finisher with as many laps); equal results keep the database's order.
// level is the race code for the level rankings; raceID the race for OneRace.
bool ReadRanking(Database& db, qint32 tournamentID, RankingKind kind, int level, qint32 raceID,
                 QList<RankingRow>& rows);

// Whether the driver already stands on the destination's level: for a final of
// a level, in any race of that level in the tournament; for an unassigned
// final, in that race itself. Never with no destination (raceID 0 or less).
bool IsDriverPlacedOnFinalLevel(Database& db, qint32 tournamentID, qint32 driverID, int raceCode,
                                qint32 raceID);

// The start list rows of a race in start position order, as the builders show them.
struct StartListRow {
    qint32 driverID = 0;
    QString name;    // "Lastname, Firstname"
    QString details; // "F=" frequency "/ID=" transponder
    QString car;
};
bool ReadStartList(Database& db, qint32 raceID, QList<StartListRow>& rows);

enum class EntryChange {
    Done,
    Nothing,   // race started or finished, driver already in it, no such race
    Full,      // the race already holds MaxCarsInRace cars
    SameLevel, // the driver stands in another race of the level (otherRace named)
    Failed,    // the database refused; it has reported why
};

// Adds a driver to a new race as the last starter and renumbers the start
// positions 1, 2, 3 ... in their order. With oneRacePerLevel, a driver who
// already stands in a race of the same level of the race's tournament is
// refused and that race's description returned.
EntryChange AddDriverToRace(Database& db, qint32 raceID, qint32 driverID, bool oneRacePerLevel,
                            QString* otherRace = nullptr);
// Takes a driver out of a new race; the others keep their start positions.
EntryChange RemoveDriverFromRace(Database& db, qint32 raceID, qint32 driverID);

// The message shown when a race is full.
QString RaceFullText();

} // namespace kv
