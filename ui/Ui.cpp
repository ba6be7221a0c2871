#include "Ui.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextEdit>
#include <QToolTip>

#include <algorithm>

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

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

QFont formFont(double pointSize, bool bold) {
    // A sans serif with the classic dialog font's proportions where it is installed.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void SetUpWindow(QWidget* window, const char* name, const QString& title) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(title);
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Colours::WindowGrey);
    window->setPalette(pal);
}

void SetUpFixedWindow(QWidget* window, const char* name, const QString& title, int widthTwips,
                      int heightTwips, const QFont& font) {
    SetUpWindow(window, name, title);
    window->setFixedSize(tw(widthTwips), tw(heightTwips));
    window->setFont(font);
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

namespace {

// Text and item edges keep this far apart, as the list's own rows do.
constexpr int kRowMargin = 2;

} // namespace

std::vector<TabStopDelegate::Column> TabStopDelegate::columns(const QString& row, const QFont& font,
                                                              const QRect& rect) const {
    const QFontMetrics fm(font);
    const double unit = fm.averageCharWidth() / 4.0;
    // A cut column keeps this much room before the next one.
    const int gap = std::max(2, fm.averageCharWidth() / 2);
    const QRect r = rect.adjusted(kRowMargin, 0, -kRowMargin, 0);
    const QStringList texts = row.split(QLatin1Char('\t'));
    std::vector<Column> out;
    int x = r.left();
    for (int c = 0; c < texts.size(); ++c) {
        const QString& text = texts[c];
        const int advance = fm.horizontalAdvance(text);
        const bool hasStop = c < static_cast<int>(m_stops.size());
        const int stop = hasStop ? m_stops[static_cast<size_t>(c)] : 0;
        const int stopX = r.left() + int(std::abs(stop) * unit);
        const bool last = c == texts.size() - 1;
        Column col;
        col.rightAligned = hasStop && stop < 0;
        int room = 0;
        if (col.rightAligned) {
            // The column ends at the stop.
            col.rect = QRect(x, r.top(), std::max(0, stopX - x), r.height());
            room = col.rect.width();
        } else if (last || !hasStop || stopX <= x) {
            // The row's last column, a column past the stops, or one whose stop
            // lies at or before its start (a first stop of 0): its own width.
            col.rect =
                QRect(x, r.top(), std::max(last ? r.right() + 1 - x : 0, advance + 1), r.height());
            room = col.rect.width();
        } else {
            col.rect = QRect(x, r.top(), stopX - x, r.height());
            room = col.rect.width() - gap;
        }
        col.cut = advance > room && !text.isEmpty();
        col.text = col.cut ? fm.elidedText(text, Qt::ElideRight, std::max(0, room)) : text;
        out.push_back(col);
        x = hasStop ? std::max(x, stopX) : col.rect.right() + 1 + gap;
    }
    return out;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    for (const Column& c : columns(text, opt.font, opt.rect))
        painter->drawText(
            c.rect, (c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, c.text);
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    // Laid out from 0 with no width of its own, the row ends where its last
    // column does (the base width would measure the tabs as text).
    const std::vector<Column> cols =
        columns(index.data().toString(), option.font, QRect(0, 0, 2 * kRowMargin, s.height()));
    int width = 0;
    for (const Column& c : cols)
        width = std::max(width, c.rect.right() + 1);
    s.setWidth(width + kRowMargin + 4);
    return s;
}

bool TabStopDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event && view && event->type() == QEvent::ToolTip && index.isValid()) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString row = index.data().toString();
        const std::vector<Column> cols = columns(row, opt.font, opt.rect);
        if (std::any_of(cols.begin(), cols.end(), [](const Column& c) { return c.cut; })) {
            QToolTip::showText(event->globalPos(), row, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void SetTabStops(QListWidget* list, std::initializer_list<int> stops) {
    QAbstractItemDelegate* old = list->itemDelegate();
    list->setItemDelegate(new TabStopDelegate(std::vector<int>(stops), list));
    if (old && old->parent() == list)
        old->deleteLater();
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void SetUpLongList(QComboBox* combo) {
    if (auto* rows = qobject_cast<QListView*>(combo->view()))
        rows->setUniformItemSizes(true);
    // Only the strategy is the box's own: face and size still come from its window.
    QFont unshaped;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    combo->setFont(unshaped);
}

namespace {

QAccessibleInterface* windowInterface(const QString& className, QObject* object) {
    // Asked for each class of the object from the most derived one up: a widget that
    // reaches plain QWidget without being a dialog or another known window is one.
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

// Controls a person types into or picks from.
bool isInputControl(const QWidget* w) {
    const QWidget* owner = w->parentWidget();
    if (qobject_cast<const QLineEdit*>(w))
        // The box inside a combo or spin box is named with its owner.
        return !qobject_cast<const QComboBox*>(owner) &&
               !qobject_cast<const QAbstractSpinBox*>(owner);
    if (qobject_cast<const QHeaderView*>(w))
        return false;
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

// The label that captions a control: the nearest one just left of it on its row, or
// else the nearest one just above it over its columns (geometry in the parent).
QLabel* captionOf(const QWidget* control, const QList<QLabel*>& labels) {
    constexpr int slack = 4; // a label may reach a few pixels into its control
    constexpr int farthest = 24;
    const QRect c = control->geometry();
    QLabel* best = nullptr;
    int bestGap = farthest + 1;
    for (QLabel* label : labels) {
        const QRect r = label->geometry();
        const int gap = c.left() - (r.right() + 1);
        const int middle = r.center().y();
        if (gap >= -slack && gap < bestGap && middle >= c.top() && middle <= c.bottom()) {
            best = label;
            bestGap = gap;
        }
    }
    if (best)
        return best;
    for (QLabel* label : labels) {
        const QRect r = label->geometry();
        const int gap = c.top() - (r.bottom() + 1);
        if (gap >= -slack && gap < bestGap && r.left() <= c.right() && r.right() >= c.left()) {
            best = label;
            bestGap = gap;
        }
    }
    return best;
}

// A label's text as spoken: without the "&" that marks its access key.
QString spokenText(const QLabel* label) {
    QString text = label->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

bool hasBuddyLabel(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return false;
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == control)
            return true;
    return false;
}

void nameByCaption(QWidget* control) {
    if (control->accessibleName().isEmpty() && !hasBuddyLabel(control)) {
        QList<QLabel*> free;
        for (QLabel* label :
             control->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (!label->buddy() && !label->isHidden() && !label->text().trimmed().isEmpty())
                free << label;
        if (QLabel* caption = captionOf(control, free)) {
            caption->setBuddy(control);
            // Lists and tables take their name from themselves only.
            if (qobject_cast<QAbstractItemView*>(control))
                control->setAccessibleName(spokenText(caption));
        }
    }
    // The box inside an editable combo is announced by the combo's name.
    auto* combo = qobject_cast<QComboBox*>(control);
    if (combo && combo->lineEdit() && combo->lineEdit()->accessibleName().isEmpty()) {
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(combo))
            combo->lineEdit()->setAccessibleName(iface->text(QAccessible::Name));
    }
}

// "Results," and "Race." as names: without the closing punctuation.
QString nameFromToolTip(QString tip) {
    tip = tip.trimmed();
    while (!tip.isEmpty() && QStringLiteral(".,;:").contains(tip.back()))
        tip.chop(1);
    return tip.trimmed();
}

} // namespace

void AnnounceWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

void DescribeControls(QWidget* root) {
    AnnounceWindows();
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->window() != root->window())
            continue; // popups of combos and the like
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty() && button->accessibleName().isEmpty() &&
                !button->toolTip().isEmpty())
                button->setAccessibleName(nameFromToolTip(button->toolTip()));
        } else if (isInputControl(w) && w->parentWidget()) {
            nameByCaption(w);
        }
    }
}

QString ElidingLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool ElidingLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty() && shownText() != text()) {
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(e);
}

void ElidingLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    style()->drawItemText(&p, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

QString ElidingComboBox::shownText() const {
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (!opt.currentIcon.isNull())
        field.adjust(opt.iconSize.width() + 4, 0, 0, 0);
    // The label is drawn a pixel in from each side of the field.
    return fontMetrics().elidedText(opt.currentText, Qt::ElideRight, field.width() - 2);
}

bool ElidingComboBox::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty() && currentIndex() >= 0 &&
        shownText() != currentText()) {
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), currentText(), this);
        return true;
    }
    return QComboBox::event(e);
}

void ElidingComboBox::paintEvent(QPaintEvent*) {
    // As the combo box paints itself, with the chosen row cut to the box.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (currentIndex() < 0 && !placeholderText().isEmpty()) {
        opt.palette.setBrush(QPalette::ButtonText, opt.palette.placeholderText());
        opt.currentText = placeholderText();
    } else {
        opt.currentText = shownText();
    }
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

StatusIndicator::StatusIndicator(QWidget* parent) : QWidget(parent), m_color(Colours::Green) {}

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

void setStoredText(QLineEdit* box, const QString& text) {
    const char* kTypedLimit = "kvTypedMaxLength";
    QVariant limit = box->property(kTypedLimit);
    if (!limit.isValid()) {
        limit = box->maxLength();
        box->setProperty(kTypedLimit, limit);
    }
    box->setMaxLength(std::max(limit.toInt(), static_cast<int>(text.size())));
    box->setText(text);
}

} // namespace kv
