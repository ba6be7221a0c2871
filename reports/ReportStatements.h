#pragma once
// The statements behind the reports, the report previews and the details
// window. The records, their order and their filters are wholly the
// statements' doing; the report definitions only lay them out.

#include <QString>
#include <QStringList>

namespace kv {

// The rows of the report list, in the order that decides what a choice does.
enum ReportRow : int {
    ReportParticipants = 0,
    ReportQualResults = 1,
    ReportHeatResults = 2,
    ReportRaceProgress = 3
};
const QStringList& ReportListRows();

// Drivers registered in a tournament, by last name; drivers deleted from the
// register later are still listed.
QString ParticipantsSql(qint32 tournamentID);

// Every entry of every finished time race of a tournament (qualification heats
// and finals alike) as one ranking: most laps first, then the smaller result.
QString QualResultsSql(qint32 tournamentID);

// The entries of one finished race, best first. A race outside any tournament
// (a single race) is listed too, with empty tournament fields.
QString HeatResultsSql(qint32 raceID);

// Every counted lap of a race, per car by start position. Cars without a driver
// (practice transponders not yet linked) are listed with empty names; the
// entry's TransponderID names them.
QString RaceLapProgressSql(qint32 raceID);
// The same for the one car at a start position.
QString CarLapProgressSql(qint32 raceID, qint32 startPosition);

// The finished races of a tournament and every finished single race, time
// races before laps races, each by name: the races the two race reports offer.
QString FinishedRacesSql(qint32 tournamentID);

// Every lap of every car of a race, per car by start position, in the order
// driven; cars without a driver come with empty names.
QString ScoreDetailsSql(qint32 raceID);

} // namespace kv
