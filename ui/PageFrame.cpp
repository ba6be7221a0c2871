#include "PageFrame.h"

#include "MainContext.h"
#include "Ui.h"

namespace kv {

PageFrame::PageFrame(MainContext& main, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), m_main(main) {
    setFont(formFont());
}

} // namespace kv
