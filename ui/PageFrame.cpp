#include "PageFrame.h"

#include "MainContext.h"
#include "Ui.h"

#include <QEvent>

namespace kv {

PageFrame::PageFrame(MainContext& main, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), m_main(main) {
    setFont(formFont());
}

bool PageFrame::event(QEvent* e) {
    const bool handled = QGroupBox::event(e);
    if (e->type() == QEvent::Polish)
        DescribeControls(this);
    return handled;
}

} // namespace kv
