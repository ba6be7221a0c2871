#include "ScoreBoard.h"

#include "Colours.h"
#include "Ui.h"

#include <QLabel>

namespace kv {

void addScoreBoardHeadings(QWidget* page) {
    const QFont heading = blackFont(20.25);
    struct Heading {
        const char* text;
        int left;
        int width;
        Qt::Alignment align;
    };
    const Heading headings[] = {
        {"#", 3840, 855, Qt::AlignHCenter},    {"Driver", 4680, 3255, Qt::AlignLeft},
        {"Laps", 7680, 1455, Qt::AlignRight},  {"Time", 9120, 1695, Qt::AlignRight},
        {"Last", 11040, 1215, Qt::AlignRight}, {"Best", 12480, 1215, Qt::AlignRight},
    };
    for (const Heading& h : headings) {
        QLabel* label = addLabel(QString::fromLatin1(h.text), page, h.left, 2280, h.width, 570);
        label->setFont(heading);
        label->setAlignment(h.align | Qt::AlignVCenter);
    }
    for (int n = 1; n <= 10; ++n) {
        QLabel* label = addLabel(QString::number(n), page, 3960, 2880 + 600 * (n - 1), 615, 570);
        label->setFont(heading);
        label->setAlignment(Qt::AlignCenter);
    }
}

void addScoreColumn(QWidget* page, const ScoreColumn& column, const ScoreColumnStyle& style) {
    for (int i = 0; i < 10; ++i) {
        const QByteArray name = QByteArray(column.name) + '_' + QByteArray::number(i);
        // A name too long for its column ends in "…" rather than in a cut letter.
        QLabel* label = style.leftAligned ? new ElidingLabel(column.design, page)
                                          : new QLabel(column.design, page);
        label->setObjectName(QString::fromLatin1(name));
        place(label, column.left, style.top + 600 * i, column.width, style.height);
        label->setFont(style.font);
        label->setAlignment((style.leftAligned ? Qt::AlignLeft : Qt::AlignRight) |
                            Qt::AlignVCenter);
        setTextColour(label, style.colour);
        label->setVisible(false);
        (*column.labels)[static_cast<size_t>(i)] = label;
    }
}

ScoreBoard::ScoreBoard(QWidget* page, const char* prefix, const Designs& designs) {
    addScoreBoardHeadings(page);
    const struct {
        const char* name;
        ScoreRow* labels;
        int left;
        int width;
        QString design;
    } columns[] = {
        {"Driver", &driver, 4680, 3255, QStringLiteral("Driver")},
        {"Laps", &laps, 8040, 1095, designs.laps},
        {"TotalTime", &totalTime, 9240, 1575, designs.totalTime},
        {"LastTime", &lastTime, 10920, 1335, designs.lastTime},
        {"BestTime", &bestTime, 12360, 1335, designs.bestTime},
    };
    for (const auto& c : columns) {
        const QByteArray name = QByteArray(prefix) + c.name;
        addScoreColumn(page, {name.constData(), c.labels, c.left, c.width, c.design},
                       {3000, 375, formFont(15.75, false), Qt::black, c.labels == &driver});
    }
}

std::array<QLabel*, 5> ScoreBoard::rowLabels(size_t row) const {
    return {driver[row], laps[row], totalTime[row], lastTime[row], bestTime[row]};
}

void ScoreBoard::setRowVisible(size_t row, bool visible) {
    for (QLabel* l : rowLabels(row))
        l->setVisible(visible);
}

void ScoreBoard::setRowTexts(size_t row, const QString& driverText, const QString& lapsText,
                             const QString& totalTimeText, const QString& lastTimeText,
                             const QString& bestTimeText) {
    laps[row]->setText(lapsText);
    totalTime[row]->setText(totalTimeText);
    lastTime[row]->setText(lastTimeText);
    bestTime[row]->setText(bestTimeText);
    driver[row]->setText(driverText);
}

void ScoreBoard::paintFlash(size_t row, bool red) {
    for (QLabel* l : rowLabels(row))
        setTextColour(l, red ? Colours::Red : QColor(Qt::black));
}

} // namespace kv
