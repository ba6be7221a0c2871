#pragma once
// What the numbers in tblRace.RaceCode, tblRace.Status and tblRace.RaceCategoryID
// mean, the texts that show them, and the pieces of statement text that select
// races by them.

#include <QString>

namespace kv {

// tblRace.RaceCode: the kind of a race.
// A heat of a tournament's qualification rounds (QualRound and QualHeat set).
inline constexpr int QualificationHeatCode = 1;
// A final without a level; only older databases hold one, every list of final
// races still takes it.
inline constexpr int UnassignedFinalCode = 2;
// A race outside any tournament (TournamentID 0).
inline constexpr int SingleRaceCode = 3;
// The one practice race, reused by every practice session.
inline constexpr int PracticeRaceCode = 4;
// The final levels: 9 plus the level row chosen in the add race dialog.
inline constexpr int FinalCode = 10;
inline constexpr int SemiFinalCode = 11;
inline constexpr int QuarterFinalCode = 12;
inline constexpr int EightFinalCode = 13;

// A final race: unassigned or of a level.
constexpr bool IsFinalRaceCode(int raceCode) {
    return raceCode == UnassignedFinalCode || raceCode >= FinalCode;
}

// Statement pieces on the code column; `table` qualifies it ("tblRace.").
// "RaceCode=1"
inline QString RaceCodeIs(int raceCode, const QString& table = QString()) {
    return table + QStringLiteral("RaceCode=") + QString::number(raceCode);
}
// "(RaceCode=2 OR RaceCode>=10)": the races IsFinalRaceCode takes.
inline QString FinalRaceCondition(const QString& table = QString()) {
    return QStringLiteral("(") + RaceCodeIs(UnassignedFinalCode, table) + QStringLiteral(" OR ") +
           table + QStringLiteral("RaceCode>=") + QString::number(FinalCode) + QStringLiteral(")");
}

// tblRace.Status.
enum RaceStatusValue : int { RaceNew = 0, RaceRunning = 1, RaceFinished = 2 };

// The status number as it stands in a statement text: "2".
inline QString RaceStatusNumber(RaceStatusValue status) {
    return QString::number(status);
}
// Statement piece on the status column, in a condition or after SET; `table`
// qualifies it ("tblRace."). "Status=2"
inline QString RaceStatusIs(RaceStatusValue status, const QString& table = QString()) {
    return table + QStringLiteral("Status=") + RaceStatusNumber(status);
}

// The texts of a status; nothing for any other value.
// After a race's description in the race lists: " (New)", " (Running)", " (Finished)".
QString RaceStatusSuffix(int status);
// The race information's status: "New race", "Running", "Finished".
QString RaceStatusText(int status);

// A final race's row in the final heats' destination list: its description,
// then its status and level, "Final A (New - Final)". The levels read
// "Final", "Semifinal", "Quartfinal", "Eight-final", and "Unassigned" for a
// final without a level; a status or code the program does not know leaves
// its word out.
QString FinalRaceLabel(const QString& description, int status, int raceCode);

// tblRace.RaceCategoryID: a time race (Length in minutes) or a laps race
// (Length in laps).
enum RaceCategoryValue : int { TimeRace = 1, LapsRace = 2 };

// The category number as it stands in a statement text: "1".
inline QString RaceCategoryNumber(RaceCategoryValue category) {
    return QString::number(category);
}

} // namespace kv
