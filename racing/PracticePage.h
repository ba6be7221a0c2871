#pragma once
// Page 5, "Practice": open practice timed by the lap counter.

#include "PageFrame.h"

namespace kv {

class PracticePage final : public PageFrame {
    Q_OBJECT
public:
    PracticePage(MainContext& main, QWidget* parent);
};

} // namespace kv
