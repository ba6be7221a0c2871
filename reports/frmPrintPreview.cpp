#include "frmPrintPreview.h"

#include "Ui.h"
#include "crvReport.h"

namespace kv {

frmPrintPreview::frmPrintPreview(QWidget* parent) : QDialog(parent) {
    SetUpWindow(this, "frmPrintPreview", QStringLiteral("Print preview"));
    setSizeGripEnabled(true);
    resize(tw(11895), tw(10035));
    // The viewer keeps its size when the window is resized.
    crvReport = new kv::crvReport(this);
    place(crvReport, 0, 0, 11895, 10095);
}

} // namespace kv
