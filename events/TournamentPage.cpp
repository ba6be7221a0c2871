#include "TournamentPage.h"

namespace kv {

TournamentPage::TournamentPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Tournament registration"), parent) {}

void TournamentPage::FillTournamentCombo() {}

void TournamentPage::FillDriverCombo(int) {}

} // namespace kv
