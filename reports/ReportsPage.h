#pragma once
// Page 3, "Reports": the report list and the report viewer.

#include "PageFrame.h"

namespace kv {

class ReportsPage final : public PageFrame {
    Q_OBJECT
public:
    ReportsPage(MainContext& main, QWidget* parent);
};

} // namespace kv
