#include "PracticePage.h"

namespace kv {

PracticePage::PracticePage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Practice"), parent) {}

} // namespace kv
