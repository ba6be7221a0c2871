#include "ReportContent.h"

#include "Database.h"
#include "Helpers.h"
#include "LapTimes.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace kv {

namespace {

QString text(const QSqlRecord& r, const char* name) {
    return FieldToString(r.value(QString::fromLatin1(name)));
}

QStringList nonEmpty(const QStringList& lines) {
    QStringList out;
    for (const QString& line : lines)
        if (!line.isEmpty())
            out.append(line);
    return out;
}

// "Time: 5 minutes"; nothing for a race without a length (practice).
QString lengthLine(const QSqlRecord& r) {
    if (r.value(QStringLiteral("Length")).toInt() == 0)
        return QString();
    return text(r, "RaceCategoryDescription") + QStringLiteral(": ") + text(r, "Length") +
           QLatin1Char(' ') + text(r, "RaceCategoryLengthName");
}

QString labelled(const QString& label, const QString& value) {
    return value.isEmpty() ? QString() : label + value;
}

// The tournament the first record names.
void tournamentHeading(const Recordset& rs, ReportContent& c) {
    if (rs.isEmpty())
        return;
    const QSqlRecord& first = rs.row(0);
    c.heading = text(first, "Name");
    c.headingDetails = nonEmpty({text(first, "Location"), DateTimeText(first.value("RegTime"))});
}

QString countLine(int n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
}

// The name of a car in the lap progress: its driver, or its transponder when
// no driver is linked to it.
QString carName(const QSqlRecord& r) {
    const QString last = text(r, "Lastname");
    const QString first = text(r, "Firstname");
    if ((last + first).isEmpty())
        return QStringLiteral("Transponder: ") + text(r, "TransponderID");
    if (first.isEmpty())
        return last;
    return last + QStringLiteral(", ") + first;
}

// What an export offers as the file's name: what the report is, then the race
// or tournament it is about.
QString exportName(const QString& what, const QString& about) {
    const QString name = SafeFileName(what + QLatin1Char(' ') + about);
    return name.isEmpty() ? what : name;
}

// Whether the car has finished and its result is stored.
bool hasResult(const QSqlRecord& r) {
    const QVariant result = r.value(QStringLiteral("TimeToFinish"));
    return !result.isNull() && result.toLongLong() != NoResultTime;
}

// The time a car's race took: from the go to its last counted lap. The stored
// result is that time less the race's length x 60000 ms, a key that only ranks
// the cars (in a laps race, whose length counts laps, it is mostly negative);
// adding the length back gives the time in both kinds of race. A car without a
// result keeps its stored text ("...").
QString raceTime(const QSqlRecord& r) {
    if (!hasResult(r))
        return text(r, "TimeToFinishString");
    return RaceTimeText(r.value(QStringLiteral("TimeToFinish")).toLongLong() +
                        r.value(QStringLiteral("Length")).toLongLong() * 60000);
}

qint32 secondsToMs(const QVariant& seconds) {
    return static_cast<qint32>(std::llround(seconds.toDouble() * 1000.0));
}

} // namespace

QString SafeFileName(const QString& text) {
    // Long enough for a title and a race name, short of any file system's limit.
    constexpr qsizetype kMaxLength = 100;
    QString name;
    for (const QChar ch : text)
        name += ch.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(ch) ? QChar('-') : ch;
    name = name.simplified().left(kMaxLength);
    qsizetype begin = 0, end = name.size();
    while (begin < end && (name[begin] == '.' || name[begin] == ' '))
        ++begin;
    while (end > begin && (name[end - 1] == '.' || name[end - 1] == ' '))
        --end;
    return name.mid(begin, end - begin);
}

QList<RaceChoice> RaceChoices(const Recordset& rs) {
    QList<RaceChoice> out;
    DateTimeTexts startTime;
    for (const QSqlRecord& r : rs)
        out.append({text(r, "Description") + QStringLiteral(" (") +
                        startTime(r.value(QStringLiteral("TimeOfRace"))) + QStringLiteral(")"),
                    r.value(QStringLiteral("RaceID")).toInt()});
    return out;
}

ReportContent ParticipantsContent(const Recordset& rs) {
    ReportContent c;
    c.recordCount = rs.RecordCount();
    tournamentHeading(rs, c);
    c.columns = {{QStringLiteral("Lastname"), 3},
                 {QStringLiteral("Firstname"), 3},
                 {QStringLiteral("Team"), 3},
                 {QStringLiteral("Car"), 3},
                 {QStringLiteral("Frequency"), 2, true},
                 {QStringLiteral("Transponder ID"), 3, true}};
    ReportGroup all;
    for (const QSqlRecord& r : rs) {
        const QVariant frequency = r.value(QStringLiteral("Frequency"));
        all.rows.append({text(r, "Lastname"), text(r, "Firstname"), text(r, "Team"), text(r, "Car"),
                         frequency.isNull() ? QString() : RegionalNumberText(frequency.toDouble()),
                         text(r, "TransponderID")});
    }
    c.groups.append(all);
    c.summary = {countLine(c.recordCount, "driver", "drivers")};
    c.fileName = exportName(QStringLiteral("Participants"), c.heading);
    return c;
}

ReportContent QualResultsContent(const Recordset& rs) {
    ReportContent c;
    c.title = QStringLiteral("Qualification results");
    c.recordCount = rs.RecordCount();
    tournamentHeading(rs, c);
    c.columns = {{QStringLiteral("Pos."), 1, true}, {QStringLiteral("Lastname"), 3},
                 {QStringLiteral("Firstname"), 3},  {QStringLiteral("Car"), 3},
                 {QStringLiteral("Heat"), 4},       {QStringLiteral("Laps"), 1, true},
                 {QStringLiteral("Time"), 2, true}};
    ReportGroup ranking;
    int position = 0;
    for (const QSqlRecord& r : rs)
        ranking.rows.append({QString::number(++position), text(r, "Lastname"), text(r, "Firstname"),
                             text(r, "Car"), text(r, "Description"), text(r, "NumOfLaps"),
                             raceTime(r)});
    c.groups.append(ranking);
    c.fileName = exportName(c.title, c.heading);
    return c;
}

ReportContent HeatResultsContent(const Recordset& rs) {
    ReportContent c;
    c.title = QStringLiteral("Results");
    c.recordCount = rs.RecordCount();
    tournamentHeading(rs, c);
    c.columns = {{QStringLiteral("Pos."), 1, true}, {QStringLiteral("Start"), 1, true},
                 {QStringLiteral("Lastname"), 3},   {QStringLiteral("Firstname"), 3},
                 {QStringLiteral("Car"), 3},        {QStringLiteral("Laps"), 1, true},
                 {QStringLiteral("Time"), 2, true}};
    QVariant race;
    int position = 0;
    for (const QSqlRecord& r : rs) {
        if (c.groups.isEmpty() || r.value(QStringLiteral("RaceID")) != race) {
            race = r.value(QStringLiteral("RaceID"));
            position = 0;
            ReportGroup g;
            g.caption = text(r, "Description");
            g.details = nonEmpty(
                {lengthLine(r),
                 labelled(QStringLiteral("Started: "), DateTimeText(r.value("TimeOfRace"))),
                 labelled(QStringLiteral("Status: "), text(r, "RaceStatusDescription")),
                 labelled(QStringLiteral("Comment: "), text(r, "Comment"))});
            c.groups.append(g);
        }
        c.groups.last().rows.append({QString::number(++position), text(r, "StartPosition"),
                                     text(r, "Lastname"), text(r, "Firstname"), text(r, "Car"),
                                     text(r, "NumOfLaps"), raceTime(r)});
    }
    c.fileName = exportName(c.title, c.groups.isEmpty() ? QString() : c.groups.first().caption);
    return c;
}

ReportContent LapProgressContent(const Recordset& rs) {
    ReportContent c;
    c.recordCount = rs.RecordCount();
    c.columns = {{QStringLiteral("Lap"), 1, true},
                 {QStringLiteral("Lap time"), 2, true},
                 {QStringLiteral("Total time"), 2, true}};
    c.chartAxisX = QStringLiteral("Lap");
    c.chartAxisY = QStringLiteral("Lap time [s]");
    if (!rs.isEmpty()) {
        const QSqlRecord& first = rs.row(0);
        c.heading = text(first, "Description");
        c.headingDetails = nonEmpty(
            {labelled(QStringLiteral("Started: "), DateTimeText(first.value("TimeOfRace"))),
             lengthLine(first), labelled(QStringLiteral("Comment: "), text(first, "Comment"))});
    }

    QList<LapStats> stats;
    QVariant position;
    QVariant driver;
    for (const QSqlRecord& r : rs) {
        if (c.groups.isEmpty() || r.value(QStringLiteral("StartPosition")) != position ||
            r.value(QStringLiteral("DriverID")) != driver) {
            position = r.value(QStringLiteral("StartPosition"));
            driver = r.value(QStringLiteral("DriverID"));
            ReportGroup g;
            // The cars come in the order of their start positions, not of
            // their places: the caption says which number it shows.
            g.caption = QStringLiteral("Start ") + text(r, "StartPosition") + QStringLiteral(": ") +
                        carName(r);
            QString result = QStringLiteral("Laps: ") + text(r, "NumOfLaps");
            if (hasResult(r))
                result += QStringLiteral(", race time: ") + raceTime(r);
            g.details = nonEmpty({labelled(QStringLiteral("Car: "), text(r, "Car")), result});
            c.groups.append(g);
            c.chart.append({g.caption, {}});
            stats.append(LapStats());
        }
        ReportGroup& g = c.groups.last();
        const int lap = static_cast<int>(g.rows.size()) + 1;
        g.rows.append({QString::number(lap), text(r, "LapTimeString"), text(r, "TotalTimeString")});
        c.chart.last().points.append(
            QPointF(lap, r.value(QStringLiteral("LapTimeSec")).toDouble()));
        stats.last().add(secondsToMs(r.value(QStringLiteral("LapTimeSec"))));
    }
    for (qsizetype i = 0; i < c.groups.size(); ++i)
        c.groups[i].summary = {QStringLiteral("Best lap: ") + stats[i].bestText(),
                               QStringLiteral("Average: ") + stats[i].averageText()};
    c.fileName = exportName(QStringLiteral("Lap progress"), c.heading);
    return c;
}

} // namespace kv
