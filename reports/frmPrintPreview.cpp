#include "frmPrintPreview.h"

#include "Ui.h"
#include "crvReport.h"

namespace kv {

frmPrintPreview::frmPrintPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print preview"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, bgr(0xC0C0C0));
    setPalette(pal);
    setSizeGripEnabled(true);
    resize(tw(11895), tw(10035));
    // The viewer keeps its size when the window is resized.
    crvReport = new kv::crvReport(this);
    place(crvReport, 0, 0, 11895, 10095);
}

} // namespace kv
