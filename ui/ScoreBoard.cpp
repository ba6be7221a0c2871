#include "ScoreBoard.h"

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

} // namespace kv
