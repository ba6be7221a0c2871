#include "ScoreDetailsData.h"

#include "Database.h"
#include "Helpers.h"
#include "LapTimes.h"

#include <array>
#include <limits>

namespace kv {

namespace {

QString field(const QSqlRecord& r, const char* name) {
    return FieldToString(r.value(QString::fromLatin1(name)));
}

} // namespace

QString ScoreDetailsCaption(const QString& lastname, const QString& firstname,
                            const QString& transponderID) {
    if ((lastname + firstname).isEmpty())
        return QStringLiteral("Transp.ID = ") + transponderID;
    return (lastname + QStringLiteral(", ") + firstname).left(12);
}

QStringList ScoreDetailsRows(const Recordset& laps) {
    // grid[p][k]: column 1 holds the caption of the car at start position p,
    // column k >= 2 the text of its lap k - 1. Position 0 is never shown.
    std::array<QStringList, kDetailsPositions + 1> grid;
    std::array<LapStats, kDetailsPositions + 1> stats;
    int lastColumn = 1;
    int position = -1;
    for (const QSqlRecord& r : laps) {
        const int p = r.value(QStringLiteral("StartPosition")).toInt();
        if (p < 1 || p > kDetailsPositions)
            continue;
        QStringList& cells = grid[static_cast<size_t>(p)];
        if (p != position) {
            position = p;
            cells = {QString(), ScoreDetailsCaption(field(r, "Lastname"), field(r, "Firstname"),
                                                    field(r, "TransponderID"))};
        }
        cells.append(field(r, "LapTimeString"));
        lastColumn = std::max(lastColumn, static_cast<int>(cells.size()) - 1);
        stats[static_cast<size_t>(p)].add(r.value(QStringLiteral("LapTime")).toInt());
    }

    QStringList rows;
    for (int k = 1; k <= lastColumn; ++k) {
        QString row = k == 1 ? QString() : QStringLiteral("#") + QString::number(k - 1);
        for (int p = 1; p <= kDetailsPositions; ++p) {
            const QStringList& cells = grid[static_cast<size_t>(p)];
            row += QLatin1Char('\t') + (k < cells.size() ? cells[k] : QString());
        }
        rows.append(row);
    }
    rows.append(QString());
    const char* summaries[] = {"Laps:", "Best:", "Avg:"};
    for (int s = 0; s < 3; ++s) {
        QString row = QString::fromLatin1(summaries[s]);
        for (int p = 1; p <= kDetailsPositions; ++p) {
            const LapStats& st = stats[static_cast<size_t>(p)];
            row += QLatin1Char('\t');
            if (st.count() == 0 || st.best() < 1)
                continue;
            if (s == 0)
                row += QString::number(st.count());
            else if (s == 1)
                row += st.bestText();
            else
                row += st.averageText();
        }
        rows.append(row);
    }
    return rows;
}

std::optional<int> AutomaticRefreshInterval(const QString& text) {
    const double seconds = Val(text);
    if (!(seconds > 0))
        return std::nullopt;
    const double ms = RoundHalfEven(seconds * 1000.0);
    if (!(ms >= 1) || ms > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(ms);
}

} // namespace kv
