#include "RacePage.h"

namespace kv {

RacePage::RacePage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Race"), parent) {}

void RacePage::cbRaceShowRaceCategory_Click() {}

} // namespace kv
