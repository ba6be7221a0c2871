#pragma once
// Keeps the row a person has chosen in a list while the program refills it.

#include <QPointer>
#include <QVariant>

class QListWidget;

namespace kv {

// Taken before a list is cleared and refilled; when it goes out of scope it
// chooses again the row whose key (Qt::UserRole) was chosen before, if that row
// is still in the list and the refill chose no row of its own. Rows without a
// key (0) are never chosen again. Choosing the row again raises no signal of the
// list: the person made that choice already, and a click handler must not run
// twice for it. A chosen row that has gone leaves nothing chosen, as a refill
// always did.
class KeepSelection {
public:
    explicit KeepSelection(QListWidget* list);
    ~KeepSelection();
    KeepSelection(const KeepSelection&) = delete;
    KeepSelection& operator=(const KeepSelection&) = delete;

private:
    QPointer<QListWidget> m_list;
    QVariant m_key;
};

} // namespace kv
