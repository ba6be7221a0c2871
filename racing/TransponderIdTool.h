#pragma once
// Reading and writing the ID of the transponder on the lap counter's reader,
// into and from an ID box. Every page with an ID box uses this one tool.

#include "LapCounterConnection.h"

#include <QColor>

class QLineEdit;

namespace kv {

class MainContext;

inline const QColor kIdGreen = kLinkGreen;
inline const QColor kIdLightRed = QColor(255, 0, 0);

class TransponderIdTool {
public:
    explicit TransponderIdTool(MainContext& main) : m_main(main) {}

    void Read(QLineEdit* box);
    void Write(QLineEdit* box);
    // An edit of the box: a typed text becomes its number, and the text turns black.
    static void BoxChanged(QLineEdit* box);
    static void setTextColor(QLineEdit* box, const QColor& color);
    static QColor textColor(const QLineEdit* box);

private:
    MainContext& m_main;
};

} // namespace kv
