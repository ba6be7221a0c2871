#include "KeepSelection.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace kv {

namespace {

bool isKey(const QVariant& key) {
    return key.isValid() && key.toLongLong() != 0;
}

} // namespace

KeepSelection::KeepSelection(QListWidget* list) : m_list(list) {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (!chosen.isEmpty())
        m_key = chosen.first()->data(Qt::UserRole);
}

KeepSelection::~KeepSelection() {
    if (!m_list || !isKey(m_key) || !m_list->selectedItems().isEmpty())
        return;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->data(Qt::UserRole) == m_key) {
            const QSignalBlocker quiet(m_list.data());
            m_list->setCurrentItem(item);
            return;
        }
    }
}

} // namespace kv
