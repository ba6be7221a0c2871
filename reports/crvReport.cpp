#include "crvReport.h"

#include "Platform.h"
#include "ReportDefinition.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

QToolButton* toolButton(const char* name, const QString& text, const QString& accessibleName,
                        QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(accessibleName);
    b->setAccessibleName(accessibleName);
    return b;
}

QToolButton* pageButton(const char* name, const QString& accessibleName, QWidget* parent,
                        QStyle::StandardPixmap icon) {
    QToolButton* b = toolButton(name, accessibleName, accessibleName, parent);
    b->setIcon(parent->style()->standardIcon(icon));
    return b;
}

struct ZoomRow {
    const char* text;
    int percent; // 0: fit
};
// The user's documents folder, or the home folder where there is none.
QString exportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

constexpr ZoomRow kZoomRows[] = {{"Page width", 0}, {"Whole page", 0}, {"50%", 50},  {"75%", 75},
                                 {"100%", 100},     {"150%", 150},     {"200%", 200}};

} // namespace

crvReport::crvReport(QWidget* parent) : QWidget(parent), m_printer(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("crvReport"));
    setAccessibleName(QStringLiteral("Report viewer"));
    m_printer.setPageLayout(DefaultReportPageLayout());

    auto* bar = new QHBoxLayout();
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);
    cmdFirstPage = pageButton("cmdFirstPage", QStringLiteral("First page"), this,
                              QStyle::SP_MediaSkipBackward);
    cmdPreviousPage = pageButton("cmdPreviousPage", QStringLiteral("Previous page"), this,
                                 QStyle::SP_MediaSeekBackward);
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setMinimumWidth(90);
    lblPage->setAlignment(Qt::AlignCenter);
    cmdNextPage =
        pageButton("cmdNextPage", QStringLiteral("Next page"), this, QStyle::SP_MediaSeekForward);
    cmdLastPage =
        pageButton("cmdLastPage", QStringLiteral("Last page"), this, QStyle::SP_MediaSkipForward);
    cmdZoomOut =
        toolButton("cmdZoomOut", QStringLiteral("\u2212"), QStringLiteral("Zoom out"), this);
    cbZoom = new QComboBox(this);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    cbZoom->setAccessibleName(QStringLiteral("Zoom"));
    for (const ZoomRow& z : kZoomRows)
        cbZoom->addItem(QString::fromLatin1(z.text));
    cmdZoomIn = toolButton("cmdZoomIn", QStringLiteral("+"), QStringLiteral("Zoom in"), this);
    cmdPrint = toolButton("cmdPrint", QStringLiteral("Print..."), QStringLiteral("Print"), this);
    cmdExport = toolButton("cmdExport", QStringLiteral("Export PDF..."),
                           QStringLiteral("Export as PDF"), this);
    for (QWidget* w : {static_cast<QWidget*>(cmdFirstPage), static_cast<QWidget*>(cmdPreviousPage),
                       static_cast<QWidget*>(lblPage), static_cast<QWidget*>(cmdNextPage),
                       static_cast<QWidget*>(cmdLastPage)})
        bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(cmdZoomOut);
    bar->addWidget(cbZoom);
    bar->addWidget(cmdZoomIn);
    bar->addSpacing(12);
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdExport);
    bar->addStretch(1);

    tvGroups = new QTreeWidget(this);
    tvGroups->setObjectName(QStringLiteral("tvGroups"));
    tvGroups->setAccessibleName(QStringLiteral("Report groups"));
    tvGroups->setHeaderHidden(true);
    tvGroups->setRootIsDecorated(false);
    tvGroups->setVisible(false);

    preview = new QPrintPreviewWidget(&m_printer, this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setAccessibleName(QStringLiteral("Report pages"));
    preview->setZoomMode(QPrintPreviewWidget::FitToWidth);

    // Without a report the viewer shows an empty area, not an empty page.
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(new QWidget(m_pages));
    m_pages->addWidget(preview);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(tvGroups);
    split->addWidget(m_pages);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 600});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (m_report)
            m_report->print(*printer);
    });
    connect(preview, &QPrintPreviewWidget::previewChanged, this, &crvReport::updateControls);
    connect(cmdFirstPage, &QToolButton::clicked, this, &crvReport::ShowFirstPage);
    connect(cmdPreviousPage, &QToolButton::clicked, this, &crvReport::ShowPreviousPage);
    connect(cmdNextPage, &QToolButton::clicked, this, &crvReport::ShowNextPage);
    connect(cmdLastPage, &QToolButton::clicked, this, &crvReport::ShowLastPage);
    connect(cmdZoomIn, &QToolButton::clicked, this, &crvReport::ZoomIn);
    connect(cmdZoomOut, &QToolButton::clicked, this, &crvReport::ZoomOut);
    connect(cbZoom, &QComboBox::activated, this, &crvReport::cbZoom_Click);
    connect(cmdPrint, &QToolButton::clicked, this, &crvReport::PrintReport);
    connect(cmdExport, &QToolButton::clicked, this, &crvReport::ExportReport);
    connect(tvGroups, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { tvGroups_Click(item); });
    updateControls();
}

crvReport::~crvReport() = default;

void crvReport::setReportSource(std::shared_ptr<ReportDefinition> report) {
    m_report = std::move(report);
}

void crvReport::ViewReport() {
    m_pages->setCurrentIndex(m_report ? 1 : 0);
    preview->updatePreview();
    preview->setCurrentPage(1);
    fillGroupTree();
    updateControls();
}

void crvReport::setDisplayGroupTree(bool on) {
    m_displayGroupTree = on;
    tvGroups->setVisible(on);
}

void crvReport::fillGroupTree() {
    tvGroups->clear();
    if (!m_report)
        return;
    const QList<int> pages = m_report->groupPages(m_printer.pageLayout());
    const QList<ReportGroup>& groups = m_report->content().groups;
    for (qsizetype i = 0; i < groups.size() && i < pages.size(); ++i) {
        if (groups[i].caption.isEmpty())
            continue;
        auto* item = new QTreeWidgetItem(tvGroups, {groups[i].caption});
        item->setData(0, Qt::UserRole, pages[i] + 1);
    }
}

void crvReport::tvGroups_Click(QTreeWidgetItem* item) {
    if (item)
        ShowPage(item->data(0, Qt::UserRole).toInt());
}

int crvReport::pageCount() const {
    return m_report ? preview->pageCount() : 0;
}

int crvReport::currentPage() const {
    return m_report ? preview->currentPage() : 0;
}

void crvReport::ShowPage(int page) {
    if (!m_report)
        return;
    preview->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    updateControls();
}

void crvReport::ShowFirstPage() {
    ShowPage(1);
}
void crvReport::ShowPreviousPage() {
    ShowPage(currentPage() - 1);
}
void crvReport::ShowNextPage() {
    ShowPage(currentPage() + 1);
}
void crvReport::ShowLastPage() {
    ShowPage(pageCount());
}

double crvReport::zoomPercent() const {
    // A zoom factor of 1 shows the page at its printed size.
    return preview->zoomFactor() * 100.0;
}

void crvReport::ZoomIn() {
    preview->zoomIn();
    updateControls();
}

void crvReport::ZoomOut() {
    preview->zoomOut();
    updateControls();
}

void crvReport::cbZoom_Click(int row) {
    if (row < 0 || row >= static_cast<int>(std::size(kZoomRows)))
        return;
    const ZoomRow& z = kZoomRows[row];
    if (row == 0)
        preview->fitToWidth();
    else if (row == 1)
        preview->fitInView();
    else
        preview->setZoomFactor(z.percent / 100.0);
    updateControls();
}

void crvReport::PrintReport() {
    if (!m_report)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_printer.pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

bool crvReport::printTo(QPrinter& printer) {
    if (!m_report)
        return false;
    PrintRange range;
    range.pages = printer.pageRanges();
    // A printer that makes the copies itself is given each page once.
    range.copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    range.collate = printer.collateCopies();
    if (!m_report->print(printer, range)) {
        MsgBox(QStringLiteral("The report could not be printed."), MsgButtons::OK,
               MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void crvReport::ExportReport() {
    if (!m_report)
        return;
    // The dialog adds the suffix itself, so that its question before
    // replacing a file covers the name the user typed.
    const QString file = fileDialogs().saveFileName(
        this, {QStringLiteral("Export report"),
               exportFolder() + QLatin1Char('/') + m_report->fileName() + QStringLiteral(".pdf"),
               QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf")});
    if (!file.isEmpty())
        exportTo(file);
}

bool crvReport::exportTo(const QString& file) {
    if (!m_report)
        return false;
    if (!m_report->ExportPdf(file)) {
        MsgBox(QStringLiteral("The report could not be written to ") + file + QStringLiteral("."),
               MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void crvReport::updateControls() {
    const int pages = pageCount();
    const int page = currentPage();
    lblPage->setText(m_report ? QStringLiteral("%1 of %2").arg(page).arg(pages) : QString());
    cmdFirstPage->setEnabled(m_report && page > 1);
    cmdPreviousPage->setEnabled(m_report && page > 1);
    cmdNextPage->setEnabled(m_report && page < pages);
    cmdLastPage->setEnabled(m_report && page < pages);
    for (QWidget* w : {static_cast<QWidget*>(cmdZoomIn), static_cast<QWidget*>(cmdZoomOut),
                       static_cast<QWidget*>(cbZoom), static_cast<QWidget*>(cmdPrint),
                       static_cast<QWidget*>(cmdExport)})
        w->setEnabled(m_report != nullptr);
}

} // namespace kv
