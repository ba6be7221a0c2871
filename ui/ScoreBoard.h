#pragma once
// What the race and practice score boards share: the column headings, the row
// numbers, and the columns of ten labels, one per display row.

#include <QColor>
#include <QFont>
#include <QString>

#include <array>

class QLabel;
class QWidget;

namespace kv {

using ScoreRow = std::array<QLabel*, 10>;

// The headings "#", "Driver", "Laps", "Time", "Last", "Best" and the row numbers
// 1 to 10.
void addScoreBoardHeadings(QWidget* page);

// One column of a board: labels named <name>_0 to <name>_9, hidden, a row every
// 600 twips from `top`. A left-aligned column (the driver's) cuts a text too
// long for it with "…" and shows it whole as tooltip.
struct ScoreColumn {
    const char* name;
    ScoreRow* labels;
    int left;
    int width;
    QString design;
};
struct ScoreColumnStyle {
    int top;
    int height;
    QFont font;
    QColor colour;
    bool leftAligned;
};
void addScoreColumn(QWidget* page, const ScoreColumn& column, const ScoreColumnStyle& style);

// A board of ten rows: the headings and row numbers, and the five columns of a
// row, <prefix>Driver, <prefix>Laps, <prefix>TotalTime, <prefix>LastTime and
// <prefix>BestTime, in black, hidden until a row is shown.
class ScoreBoard {
public:
    // The texts the labels hold before anything is written.
    struct Designs {
        QString laps;
        QString totalTime;
        QString lastTime;
        QString bestTime;
    };
    ScoreBoard(QWidget* page, const char* prefix, const Designs& designs);

    void setRowVisible(size_t row, bool visible);
    void setRowTexts(size_t row, const QString& driverText, const QString& lapsText,
                     const QString& totalTimeText, const QString& lastTimeText,
                     const QString& bestTimeText);
    // A flashing row is red, and black again between flashes.
    void paintFlash(size_t row, bool red);

    ScoreRow driver{};
    ScoreRow laps{};
    ScoreRow totalTime{};
    ScoreRow lastTime{};
    ScoreRow bestTime{};

private:
    std::array<QLabel*, 5> rowLabels(size_t row) const;
};

} // namespace kv
