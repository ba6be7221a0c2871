#pragma once
// The report viewer: the pages of a report as a print preview with paging,
// zoom, printing and export to PDF. Its display option DisplayGroupTree shows
// the report's groups (races, cars) beside the pages; choosing one turns to the
// page on which it begins.

#include <QPrinter>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv {

class ReportDefinition;

class crvReport final : public QWidget {
    Q_OBJECT
public:
    explicit crvReport(QWidget* parent = nullptr);
    ~crvReport() override;

    // The report to show. The viewer keeps it, with its records, until it is
    // given the next one.
    void setReportSource(std::shared_ptr<ReportDefinition> report);
    ReportDefinition* ReportSource() const { return m_report.get(); }
    // Renders the report source and shows its first page.
    void ViewReport();

    void setDisplayGroupTree(bool on);
    bool DisplayGroupTree() const { return m_displayGroupTree; }

    int pageCount() const;
    int currentPage() const; // from 1; 0 without a report
    void ShowPage(int page);
    void ShowFirstPage();
    void ShowPreviousPage();
    void ShowNextPage();
    void ShowLastPage();

    // The zoom in percent of the page's printed size.
    double zoomPercent() const;
    void ZoomIn();
    void ZoomOut();
    // A row of the zoom box: "Page width", "Whole page" or a percentage.
    void cbZoom_Click(int row);

    // Asks for a printer, then prints the pages and copies chosen in the dialog.
    void PrintReport();
    // Prints the printer's page range (all pages when none is set) and its
    // copies.
    bool printTo(QPrinter& printer);
    // Asks for a file name, then writes the report as PDF.
    void ExportReport();
    // Writes the report as PDF; tells the user when the file cannot be written.
    bool exportTo(const QString& file);

    QToolButton* cmdFirstPage = nullptr;
    QToolButton* cmdPreviousPage = nullptr;
    QToolButton* cmdNextPage = nullptr;
    QToolButton* cmdLastPage = nullptr;
    QLabel* lblPage = nullptr;
    QToolButton* cmdZoomOut = nullptr;
    QComboBox* cbZoom = nullptr;
    QToolButton* cmdZoomIn = nullptr;
    QToolButton* cmdPrint = nullptr;
    QToolButton* cmdExport = nullptr;
    QTreeWidget* tvGroups = nullptr;
    QPrintPreviewWidget* preview = nullptr;

private:
    void fillGroupTree();
    void updateControls();
    void tvGroups_Click(QTreeWidgetItem* item);

    std::shared_ptr<ReportDefinition> m_report;
    QPrinter m_printer;
    QStackedWidget* m_pages = nullptr;
    bool m_displayGroupTree = false;
};

} // namespace kv
