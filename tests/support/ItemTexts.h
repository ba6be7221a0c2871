#pragma once
// The row texts of a combo box or a list, top to bottom, as a test compares them.

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace kv::test {

inline QStringList itemTexts(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

inline QStringList itemTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace kv::test
