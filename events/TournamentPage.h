#pragma once
// Page 0, "Tournament registration": tournaments, the driver form and the
// tournament's participants.

#include "PageFrame.h"

namespace kv {

class TournamentPage final : public PageFrame {
    Q_OBJECT
public:
    TournamentPage(MainContext& main, QWidget* parent);

    void FillTournamentCombo();
    void FillDriverCombo(int driverToSelect);
};

} // namespace kv
