#pragma once
// Page 1, "Manager": qualification heats and final heats.

#include "PageFrame.h"

namespace kv {

class ManagerPage final : public PageFrame {
    Q_OBJECT
public:
    ManagerPage(MainContext& main, QWidget* parent);

    void RefreshManagerTab();
};

} // namespace kv
