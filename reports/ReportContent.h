#pragma once
// What a report shows, as texts ready to lay out: a heading, the table's
// columns, groups of rows with their captions and summaries, and the series of
// a chart. The builders turn the result set of a report's statement into it;
// which records come and in what order is the statement's doing, while the
// grouping, the running positions and the summaries are done here.

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kv {

class Recordset;

struct ReportColumn {
    QString caption;
    int width = 1; // share of the table's width
    bool alignRight = false;
};

struct ReportGroup {
    QString caption;         // bold line above the rows; the group's entry in the group tree
    QStringList details;     // lines under the caption
    QList<QStringList> rows; // one text per column
    QStringList summary;     // lines under the rows
};

// One line of the chart: x is the lap number, y the lap time in seconds.
struct ChartSeries {
    QString name;
    QList<QPointF> points;
};

struct ReportContent {
    QString title;   // the report's title; empty when it carries none
    QString heading; // what the report is about: a tournament or a race
    QStringList headingDetails;
    QList<ReportColumn> columns;
    QList<ReportGroup> groups;
    QStringList summary; // lines at the end of the report
    QList<ChartSeries> chart;
    QString chartAxisX;
    QString chartAxisY;
    int recordCount = 0;
    QString fileName; // the name an export offers, without the suffix
};

// The text made fit for a file name on any desktop: characters that a file
// name cannot hold become "-", blanks are made single, and leading and trailing
// blanks and dots go. Empty when nothing is left.
QString SafeFileName(const QString& text);

// Drivers registered in the tournament (crdTournamentParticipants).
ReportContent ParticipantsContent(const Recordset& rs);
// One ranking of the entries of the tournament's finished time races (crdQualResults).
ReportContent QualResultsContent(const Recordset& rs);
// The entries of finished races, one group per race, ranked within it (crdHeatResults).
ReportContent HeatResultsContent(const Recordset& rs);
// The laps of a race: a chart of every car's lap times, then one group per car
// with its laps, best lap and average (crdRaceLapProgress).
ReportContent LapProgressContent(const Recordset& rs);

// A row of the race selector of the Reports page.
struct RaceChoice {
    QString text;
    qint32 raceID = 0;
};
// "Description (date and time)" for each race of FinishedRacesSql, in order.
QList<RaceChoice> RaceChoices(const Recordset& rs);

} // namespace kv
