#pragma once
// The modal "Print preview" window of the race and practice pages: a report
// viewer and nothing else. A fresh window is made for every preview.

#include <QDialog>

namespace kv {

class crvReport;

class frmPrintPreview final : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintPreview(QWidget* parent = nullptr);

    kv::crvReport* crvReport = nullptr;
};

} // namespace kv
