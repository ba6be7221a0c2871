#include "ManagerPage.h"

namespace kv {

ManagerPage::ManagerPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Manager"), parent) {}

void ManagerPage::RefreshManagerTab() {}

} // namespace kv
