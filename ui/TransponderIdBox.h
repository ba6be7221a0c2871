#pragma once
// The transponder ID box with its "Read" and "Write" buttons, as the
// tournament, race and Miscellaneous pages show it: reads the ID on the lap
// counter's reader into the box, writes the box's number into the transponder,
// colours the box after each and tells the user what went wrong.

#include "Colours.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QRect>

class QLineEdit;
class QPushButton;

namespace kv {

class MainContext;

class TransponderIdBox final : public QObject {
public:
    struct Names {
        const char* box;
        const char* read;
        const char* write;
    };
    // Lays out the label "ID:" at `label` and the box at `boxAt` (twips on
    // `parent`), the two buttons to the box's right.
    TransponderIdBox(MainContext& main, QWidget* parent, const Names& names, const QRect& label,
                     const QPoint& boxAt);

    // The page's handlers of the box and its buttons call these.
    void Read();
    void Write();
    // An edit of the box: a typed text becomes its number, and the text turns black.
    void BoxChanged();

    static void setTextColor(QLineEdit* box, const QColor& color);
    static QColor textColor(const QLineEdit* box);

    QLineEdit* box = nullptr;
    QPushButton* cmdRead = nullptr;
    QPushButton* cmdWrite = nullptr;

private:
    MainContext& m_main;
};

} // namespace kv
