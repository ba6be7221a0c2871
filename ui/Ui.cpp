#include "Ui.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace kv {

QLabel* addLabel(const QString& text, QWidget* parent, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    place(label, left, top, width, height);
    return label;
}

QLabel* addLabel(const char* name, const QString& text, QWidget* parent, int left, int top,
                 int width, int height) {
    QLabel* label = addLabel(text, parent, left, top, width, height);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* addButton(const char* name, const QString& caption, QWidget* parent, int left, int top,
                       int width, int height) {
    auto* button = addControl<QPushButton>(name, parent, left, top, width, height);
    button->setText(caption);
    return button;
}

QFont formFont(double pointSize, bool bold) {
    // A sans serif with the classic dialog font's proportions where it is installed.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QFont blackFont(double pointSize) {
    QFont f(QStringLiteral("Arial Black"));
    f.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setWeight(QFont::Black);
    return f;
}

TabStopDelegate::TabStopDelegate(std::vector<int> stops, QObject* parent)
    : QStyledItemDelegate(parent), m_stops(std::move(stops)) {}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QFontMetrics fm(opt.font);
    const double unit = fm.averageCharWidth() / 4.0;
    const QStringList columns = text.split(QLatin1Char('\t'));
    const QRect r = opt.rect.adjusted(2, 0, -2, 0);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    int x = r.left();
    for (int c = 0; c < columns.size(); ++c) {
        const bool hasNext = c < static_cast<int>(m_stops.size());
        const int stop = hasNext ? m_stops[c] : 0;
        if (hasNext && stop < 0) {
            // Right-aligned: the column ends at the stop.
            const int end = r.left() + int(-stop * unit);
            painter->drawText(QRect(x, r.top(), end - x, r.height()),
                              Qt::AlignRight | Qt::AlignVCenter, columns[c]);
        } else {
            const int end = hasNext ? r.left() + int(stop * unit) : r.right();
            painter->drawText(QRect(x, r.top(), std::max(0, end - x), r.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, columns[c]);
        }
        if (hasNext)
            x = std::max(x, r.left() + int(std::abs(stop) * unit));
        else
            x = r.right();
    }
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    const QFontMetrics fm(option.font);
    int width = 0;
    const QStringList columns = index.data().toString().split(QLatin1Char('\t'));
    const double unit = fm.averageCharWidth() / 4.0;
    if (!m_stops.empty())
        width = int(std::abs(m_stops.back()) * unit);
    width += fm.horizontalAdvance(columns.last()) + 8;
    s.setWidth(std::max(s.width(), width));
    return s;
}

void SetTabStops(QListWidget* list, std::initializer_list<int> stops) {
    QAbstractItemDelegate* old = list->itemDelegate();
    list->setItemDelegate(new TabStopDelegate(std::vector<int>(stops), list));
    if (old && old->parent() == list)
        old->deleteLater();
}

QString ElidingLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidingLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    style()->drawItemText(&p, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

StatusIndicator::StatusIndicator(QWidget* parent) : QWidget(parent), m_color(bgr(0xC000)) {}

void StatusIndicator::setFillColor(const QColor& c) {
    m_color = c;
    update();
}

void StatusIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    const int d = std::min(width(), height()) - 2;
    p.drawEllipse(QRectF((width() - d) / 2.0, (height() - d) / 2.0, d, d));
}

} // namespace kv
