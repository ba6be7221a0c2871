#include "RaceBoard.h"

#include "Colours.h"
#include "Database.h"
#include "Helpers.h"
#include "RaceStore.h"
#include "Ui.h"

#include <QLabel>
#include <QSqlRecord>

namespace kv {

namespace {

// The driver cell of a score row: transponder, "-", last name, ", ", first name.
QString DriverCaption(const QSqlRecord& r) {
    const QVariant id = r.value(QStringLiteral("TransponderID"));
    return (id.isNull() ? QStringLiteral("none") : NumberText(id.toDouble())) + QLatin1Char('-') +
           FieldToString(r.value(QStringLiteral("Lastname"))) + QStringLiteral(", ") +
           FieldToString(r.value(QStringLiteral("Firstname")));
}

const QString kZero = QStringLiteral("0:00.000");

} // namespace

RaceBoard::RaceBoard(QWidget* page)
    : values(page, "lblRaceScore", ScoreBoard::Designs{QStringLiteral("0"), kZero, kZero, kZero}) {
    const ScoreColumn columns[] = {
        {"lblRaceScoreLapsDifference", &lapsDifference, 8160, 975, QStringLiteral("0")},
        {"lblRaceScoreTotalTimeDifference", &totalTimeDifference, 9360, 1455, kZero},
        {"lblRaceScoreLastTimeDifference", &lastTimeDifference, 11040, 1215, kZero},
        {"lblRaceScoreBestTimeDifference", &bestTimeDifference, 12360, 1335, kZero},
    };
    for (const ScoreColumn& c : columns)
        addScoreColumn(page, c, {3300, 240, formFont(9, true), Colours::Red, false});
    for (auto& row : m_timeColours)
        row.fill(Colours::Red);
}

std::array<QLabel*, 4> RaceBoard::differences(size_t row) const {
    return {lapsDifference[row], totalTimeDifference[row], lastTimeDifference[row],
            bestTimeDifference[row]};
}

void RaceBoard::hideRows() {
    for (size_t r = 0; r < static_cast<size_t>(kSlotCount); ++r) {
        values.setRowVisible(r, false);
        for (QLabel* l : differences(r))
            l->setVisible(false);
    }
}

void RaceBoard::clearDifferences() {
    for (size_t r = 0; r < static_cast<size_t>(kSlotCount); ++r)
        for (QLabel* l : differences(r))
            l->clear();
}

std::vector<size_t> RaceBoard::showDrivers(const Recordset& entries, TimingState& t) {
    std::vector<size_t> shown;
    for (const QSqlRecord& r : entries) {
        const qint32 position = StartPositionOf(r);
        if (position < 1 || position > kSlotCount)
            continue; // no row on the board
        const auto s = static_cast<size_t>(position - 1);
        t.ScoreDriverCaption[s] = DriverCaption(r);
        values.driver[s]->setText(t.ScoreDriverCaption[s]);
        values.setRowVisible(s, true);
        if (position > 1)
            for (QLabel* l : differences(s))
                l->setVisible(true);
        shown.push_back(s);
    }
    return shown;
}

void RaceBoard::draw(const std::array<RaceBoardRow, kSlotCount>& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const RaceBoardRow& row = rows[r];
        values.setRowTexts(r, row.driver, row.laps, row.totalTime, row.lastTime, row.bestTime);
        if (!row.writeDifferences)
            continue;
        lapsDifference[r]->setText(row.lapsDifference);
        std::array<QColor, 3>& shown = m_timeColours[r];
        const struct {
            QLabel* label;
            const QString& text;
            bool behind;
            QColor& colour;
        } times[] = {
            {lastTimeDifference[r], row.lastTimeDifference, row.lastTimeBehind, shown[0]},
            {totalTimeDifference[r], row.totalTimeDifference, row.totalTimeBehind, shown[1]},
            {bestTimeDifference[r], row.bestTimeDifference, row.bestTimeBehind, shown[2]},
        };
        for (const auto& d : times) {
            const QColor colour = d.behind ? Colours::Red : Colours::Blue;
            if (d.colour != colour) {
                setTextColour(d.label, colour);
                d.colour = colour;
            }
            d.label->setText(d.text);
        }
    }
}

void RaceBoard::paintFlash(const std::array<std::optional<FlashColour>, kSlotCount>& colours) {
    for (size_t r = 0; r < colours.size(); ++r)
        if (colours[r])
            values.paintFlash(r, *colours[r] == FlashColour::Red);
}

} // namespace kv
