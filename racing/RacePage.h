#pragma once
// Page 2, "Race": heat selection, the score board and the race run.

#include "PageFrame.h"

namespace kv {

class RacePage final : public PageFrame {
    Q_OBJECT
public:
    RacePage(MainContext& main, QWidget* parent);

    void cbRaceShowRaceCategory_Click();
};

} // namespace kv
