#include "ReportsPage.h"

namespace kv {

ReportsPage::ReportsPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Reports"), parent) {}

} // namespace kv
