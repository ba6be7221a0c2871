#include "KeepSelection.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace kv {

namespace {

// A number 0 is no key, nor is an empty text.
bool isKey(const QVariant& key) {
    if (!key.isValid())
        return false;
    bool number = false;
    const qlonglong n = key.toLongLong(&number);
    return number ? n != 0 : !key.toString().isEmpty();
}

// The list's property that holds what it showed at its last refill.
constexpr char kShowsProperty[] = "kvKeepSelectionShows";

} // namespace

KeepSelection::KeepSelection(QListWidget* list, const QVariant& shows, int identityRole)
    : m_list(list), m_shows(shows), m_role(identityRole) {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    // A row chosen while the list showed something else is not this list's.
    if (!chosen.isEmpty() && list->property(kShowsProperty) == shows)
        m_key = chosen.first()->data(m_role);
}

KeepSelection::~KeepSelection() {
    if (!m_list)
        return;
    m_list->setProperty(kShowsProperty, m_shows);
    if (!isKey(m_key) || !m_list->selectedItems().isEmpty())
        return;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->data(m_role) == m_key) {
            const QSignalBlocker quiet(m_list.data());
            m_list->setCurrentItem(item);
            return;
        }
    }
}

} // namespace kv
