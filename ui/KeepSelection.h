#pragma once
// Keeps the row a person has chosen in a list while the program refills it.

#include <QPointer>
#include <QVariant>

class QListWidget;

namespace kv {

// Taken before a list is cleared and refilled; when it goes out of scope it
// chooses again the row whose key (Qt::UserRole) was chosen before, if that row
// is still in the list and the refill chose no row of its own. Rows without a
// key (0) are never chosen again: a list whose rows may not have their key
// yet gives each row an identity of its own in another role, `identityRole`,
// and is kept by that. Choosing the row again raises no signal of the
// list: the person made that choice already, and a click handler must not run
// twice for it. A chosen row that has gone leaves nothing chosen, as a refill
// always did.
//
// `shows` names what the list is a list of (a race, a tournament). A refill
// that shows something else is another list, not a refill: a row chosen in the
// last one is not chosen there, where a button would act on a row nobody chose.
class KeepSelection {
public:
    explicit KeepSelection(QListWidget* list, const QVariant& shows = {},
                           int identityRole = Qt::UserRole);
    ~KeepSelection();
    KeepSelection(const KeepSelection&) = delete;
    KeepSelection& operator=(const KeepSelection&) = delete;

private:
    QPointer<QListWidget> m_list;
    QVariant m_key;
    QVariant m_shows;
    int m_role;
};

} // namespace kv
