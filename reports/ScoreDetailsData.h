#pragma once
// The lap table of the details window, built from the laps of one race, and
// the automatic refresh period typed under it. No window here.

#include <QString>
#include <QStringList>

#include <optional>

namespace kv {

class Recordset;

// Start positions 1 to 10 are the table's ten car columns.
inline constexpr int kDetailsPositions = 10;

// A car's caption: the first 12 characters of "Lastname, Firstname", or
// "Transp.ID = " and the entry's transponder when the car has no names.
QString ScoreDetailsCaption(const QString& lastname, const QString& firstname,
                            const QString& transponderID);

// The rows of the lap table from the result set of ScoreDetailsSql: the caption
// row, one row per lap number ("#1", "#2", ...), an empty row and the rows
// "Laps:", "Best:" and "Avg:". After each row's first text come ten cells, each
// after a tab, for start positions 1 to 10; a car without such a lap leaves its
// cell empty. Entries at other start positions have no column and are left out.
QStringList ScoreDetailsRows(const Recordset& laps);

// The refresh period in ms for a period typed in seconds (its leading number;
// fractions allowed). None, and so no automatic refresh, for 0, empty or
// non-numeric text, a negative period, and a period the timer cannot hold.
std::optional<int> AutomaticRefreshInterval(const QString& text);

} // namespace kv
