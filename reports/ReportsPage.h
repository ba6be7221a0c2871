#pragma once
// Page 3, "Reports": the report list, the race selector of the two race
// reports and the report viewer; also the report previews of the race and
// practice pages, each in a modal print preview window.

#include "PageFrame.h"

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;

namespace kv {

class ReportDefinition;
class crvReport;
class frmPrintPreview;

class ReportsPage final : public PageFrame {
    Q_OBJECT
public:
    ReportsPage(MainContext& main, QWidget* parent);

    // Start-up: the four reports, none chosen.
    void FillReportList();

    void cbReportsMain_Click();
    void PrepareHeatResultsReport();
    void PrepareRaceProgressReport();
    void cbReportsLapProgressRace_Click();
    void ShowParticipantsReport();
    void ShowQualificationResultsReport();

    // The previews: the heat results of a race, and the laps of the car at a
    // start position. False, with no window shown, when the statement yields no
    // record (a race not finished, a car without laps).
    bool PreviewHeatResults(qint32 raceID);
    bool PreviewLapProgress(qint32 raceID, qint32 startPosition);

    // How a preview window is shown; tests replace the modal run.
    std::function<void(frmPrintPreview&)> showPrintPreview;

    QLabel* Label34 = nullptr;
    QComboBox* cbReportsMain = nullptr;
    QGroupBox* frameReportsAdditionalInfo = nullptr;
    QLabel* Label35 = nullptr;
    QComboBox* cbReportsLapProgressRace = nullptr;
    kv::crvReport* crvReport = nullptr;

private:
    void fillRaceSelector();
    // Reads the statement's records into a fresh report and shows it in the
    // page's viewer; a statement the database refuses leaves the viewer as it is.
    void showReport(std::shared_ptr<ReportDefinition> report, const QString& sql,
                    bool displayGroupTree);
    bool preview(std::shared_ptr<ReportDefinition> report, const QString& sql);
};

} // namespace kv
