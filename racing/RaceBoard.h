#pragma once
// The race page's score board: the five columns of every row and, under each
// row but the first, the differences to the car ahead in red (behind) or blue.

#include "RaceTiming.h"
#include "ScoreBoard.h"

#include <QColor>

#include <array>
#include <optional>
#include <vector>

class QWidget;

namespace kv {

class Recordset;

class RaceBoard {
public:
    // Builds the board, every row hidden, on the page.
    explicit RaceBoard(QWidget* page);

    void hideRows();
    void clearDifferences();
    // Shows the drivers of a race's entries in the rows of their start
    // positions, each row with its differences but the first, and keeps their
    // captions in the timing state. Returns the rows shown.
    std::vector<size_t> showDrivers(const Recordset& entries, TimingState& t);
    // Writes the rows as the timing state ranks them.
    void draw(const std::array<RaceBoardRow, kSlotCount>& rows);
    void paintFlash(const std::array<std::optional<FlashColour>, kSlotCount>& colours);

    ScoreBoard values;
    ScoreRow lapsDifference{};
    ScoreRow totalTimeDifference{};
    ScoreRow lastTimeDifference{};
    ScoreRow bestTimeDifference{};

private:
    std::array<QLabel*, 4> differences(size_t row) const;

    // The colour each row's last, total and best time difference shows. Only the
    // board colours them, so a label is painted again only when its gap changes
    // sign: setting a palette, even an unchanged one, costs more than a row's texts.
    std::array<std::array<QColor, 3>, kSlotCount> m_timeColours;
};

} // namespace kv
