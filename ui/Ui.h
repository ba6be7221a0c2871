#pragma once
// Helpers for laying out the system's windows from their twips geometry, and the
// fonts, colours and list columns they share.

#include "Colours.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QStyledItemDelegate>
#include <QWidget>

#include <initializer_list>
#include <vector>

class QAbstractItemView;
class QHelpEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

// 15 twips are one pixel at 96 dpi.
constexpr int tw(int twips) {
    return (twips * 2 + 15) / 30;
}
inline QRect twRect(int left, int top, int width, int height) {
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
inline void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twRect(left, top, width, height));
}

// A label at a place in twips; the second form also names it.
QLabel* addLabel(const QString& text, QWidget* parent, int left, int top, int width, int height);
QLabel* addLabel(const char* name, const QString& text, QWidget* parent, int left, int top,
                 int width, int height);

// A control with its system name as object name, at a place in twips.
template <typename T>
T* addControl(const char* name, QWidget* parent, int left, int top, int width, int height) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    place(w, left, top, width, height);
    return w;
}
// Shows a stored text whole. A box keeps typing to its column's width, but a
// longer value written by an older database is shown and kept as it is: the box
// takes it instead of cutting it, so a save on change never shortens it.
void setStoredText(QLineEdit* box, const QString& text);

QPushButton* addButton(const char* name, const QString& caption, QWidget* parent, int left, int top,
                       int width, int height);

// The colour a label draws its text in, and a box its typed text.
void setTextColour(QWidget* w, const QColor& c);

// The form font: a plain sans serif at the given point size.
QFont formFont(double pointSize = 8.25, bool bold = true);

// What every window of the system shares: its system name as object name, its
// title and the grey window colour.
void SetUpWindow(QWidget* window, const char* name, const QString& title);
// The same for a window of a fixed size (in twips) drawn in the given font.
void SetUpFixedWindow(QWidget* window, const char* name, const QString& title, int widthTwips,
                      int heightTwips, const QFont& font);
// A heavy display font in place of Arial Black.
QFont blackFont(double pointSize);

// Draws list rows whose columns are separated by tab characters at tab stops
// given in dialog units (a horizontal unit is a quarter of the average character
// width; a negative stop right-aligns the column that ends there). A column that
// cannot hold its text up to the next stop ends in "…", and the row then shows
// its whole text as its tooltip. The last column runs as far as its text needs:
// its row is as wide as that, and the list scrolls sideways to it.
class TabStopDelegate final : public QStyledItemDelegate {
public:
    TabStopDelegate(std::vector<int> stops, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    const std::vector<int>& stops() const { return m_stops; }

    // One column of a row as it is drawn.
    struct Column {
        QRect rect;
        QString text; // cut with "…" where the column cannot hold it
        bool rightAligned = false;
        bool cut = false;
    };
    // The columns of `row` drawn with `font` in the item rectangle `rect`.
    std::vector<Column> columns(const QString& row, const QFont& font, const QRect& rect) const;

private:
    std::vector<int> m_stops;
};

// Sets the column stops of a list; a list wider than its box scrolls sideways.
void SetTabStops(QListWidget* list, std::initializer_list<int> stops);

// Readies a combo box for tens of thousands of rows of one line each, such as the races
// of a large tournament, which Qt sizes afresh each time the drop-down opens: the rows
// are laid out by the height of one of them instead of each one's, and the texts are
// measured (and drawn) without the shaping that scripts such as Latin do not need
// (their kerning and ligatures), which costs about four fifths of measuring them.
// Scripts that need shaping keep it.
void SetUpLongList(QComboBox* combo);

// A one-line label that keeps to its own width: a text too long for it ends in
// "…" rather than running over its neighbours or being cut in the middle of a
// letter, and then shows itself whole as its tooltip (unless the label has a
// tooltip of its own). text() stays the whole text.
class ElidingLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The text as it is drawn.
    QString shownText() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
};

// A combo box that cuts a chosen row too long for its box with "…" rather than in
// the middle of a letter, and then shows the whole row as its tooltip (unless it
// has a tooltip of its own). currentText() stays the whole row.
class ElidingComboBox final : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    // The chosen row as it is drawn.
    QString shownText() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
};

// Makes the controls in a window (or in a part of one) tell themselves apart to
// assistive technology; every window calls it once its controls stand.
// - A text box, list, table, combo or spin box is named by its caption: the label
//   just left of it on its row, or else just above it (the label becomes its
//   buddy; lists and tables, which ignore buddies, take the label's text as
//   their name). Without a caption it keeps the name of its frame.
// - A picture button (no caption of its own) is named by its tooltip.
// A control that already has an accessible name or a buddy label is left as it
// is. Labels keep no accessible name of their own, so their text stays readable.
void DescribeControls(QWidget* root);
// Announces plain top-level widgets as windows rather than as fillers. Called
// once the application exists and before the first window is built; repeated
// calls do nothing.
void AnnounceWindows();

// The round status indicator of the top strip.
class StatusIndicator final : public QWidget {
    Q_OBJECT
public:
    explicit StatusIndicator(QWidget* parent = nullptr);
    void setFillColor(const QColor& c);
    QColor fillColor() const { return m_color; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_color;
};

} // namespace kv
