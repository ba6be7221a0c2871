#pragma once
// A tournament's qualification heats on the database, without any window: the
// settings, the heats and their drivers, writing whole rounds as QualHeatDeal
// deals them, and moving a driver to another heat number.

#include "Races.h"

#include <QList>
#include <QString>

namespace kv {

class Database;

// The three qualification settings of a tournament.
struct QualSettings {
    int rounds = 0;
    int carsInHeat = 0;
    int minutes = 0;
};
enum class QualSetting { Rounds, CarsInHeat, RaceTime };

// False when the statement was refused; found tells whether the tournament exists.
bool ReadQualSettings(Database& db, qint32 tournamentID, QualSettings& settings, bool& found);
bool StoreQualSetting(Database& db, qint32 tournamentID, QualSetting which, qint32 value);

// The qualification heats of a tournament by round and heat number, or those of
// one round (round above 0).
bool ReadQualHeats(Database& db, qint32 tournamentID, int round, QList<RaceRow>& heats);
// Whether a heat exists at all, or one has been started, in the rounds above
// aboveRound (0: in any round).
bool HasQualHeats(Database& db, qint32 tournamentID, bool& found);
bool HasStartedQualHeats(Database& db, qint32 tournamentID, int aboveRound, bool& found);

// The drivers of one heat, by frequency (with it) or by start position.
enum class HeatDriverOrder { Frequency, StartPosition };
bool ReadHeatDrivers(Database& db, qint32 raceID, HeatDriverOrder order, QList<DriverRow>& rows);

// The participants of a tournament in the order heats are dealt: by frequency
// (equal frequencies in the database's order).
bool ReadParticipantsForHeats(Database& db, qint32 tournamentID, QList<qint64>& driverIDs);
// Told when a tournament has nobody to deal into heats.
inline const QString kNoParticipantsForHeatsText =
    QStringLiteral("There are no drivers registered as participants in this tournament. "
                   "First add participants, before generating qualification heats.");

// Inserts the heats of rounds firstRound..lastRound ("Round r - Heat h", time
// races of the given minutes) and deals the drivers into them, every round
// alike; all in one transaction. False (nothing written) when a statement was
// refused.
bool WriteQualRounds(Database& db, qint32 tournamentID, int firstRound, int lastRound,
                     int carsInHeat, int minutes, const QList<qint64>& driverIDs);

// Moves a driver to heat number h (that of the chosen heat) in every round not
// yet started: out of the heats they are in, into each heat h at its lowest
// free start position 1..10. A heat that already holds a full field of other
// drivers refuses the move, and nothing changes.
enum class HeatMove { Moved, NoSuchHeat, Full, Failed };
HeatMove MoveDriverToHeat(Database& db, qint32 tournamentID, qint32 driverID, qint32 heatRaceID);

// The lowest start position 1..max not among the taken ones; 0 when all are.
int LowestFreeStartPosition(const QList<int>& taken, int max);

} // namespace kv
