#include "ReportsPage.h"

#include "MainContext.h"
#include "ReportContent.h"
#include "ReportDefinition.h"
#include "ReportStatements.h"
#include "Ui.h"
#include "crvReport.h"
#include "frmPrintPreview.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

namespace kv {

ReportsPage::ReportsPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Reports"), parent) {
    showPrintPreview = [](frmPrintPreview& window) { window.exec(); };

    Label34 = addLabel("Label34", QStringLiteral("Select report:"), this, 240, 360, 3135, 255);
    cbReportsMain = addControl<QComboBox>("cbReportsMain", this, 240, 660, 3135, 315);
    Label34->setBuddy(cbReportsMain);

    frameReportsAdditionalInfo =
        addControl<QGroupBox>("frameReportsAdditionalInfo", this, 240, 1200, 3135, 1095);
    frameReportsAdditionalInfo->setTitle(QStringLiteral("Additional info"));
    frameReportsAdditionalInfo->setVisible(false);
    Label35 = addLabel("Label35", QStringLiteral("Select heat:"), frameReportsAdditionalInfo, 120,
                       300, 2895, 255);
    cbReportsLapProgressRace = addControl<ElidingComboBox>(
        "cbReportsLapProgressRace", frameReportsAdditionalInfo, 120, 600, 2895, 315);
    cbReportsLapProgressRace->setPlaceholderText(QStringLiteral("<Select heat>"));
    SetUpLongList(cbReportsLapProgressRace); // every finished race of the tournament
    Label35->setBuddy(cbReportsLapProgressRace);

    crvReport = new kv::crvReport(this);
    place(crvReport, 3600, 240, 11295, 9015);

    // Every choice of a row counts, the row shown already included: choosing
    // it again shows the report afresh from the data current then.
    connect(cbReportsMain, &QComboBox::activated, this, &ReportsPage::cbReportsMain_Click);
    connect(cbReportsLapProgressRace, &QComboBox::activated, this,
            &ReportsPage::cbReportsLapProgressRace_Click);
}

void ReportsPage::FillReportList() {
    const QSignalBlocker blocker(cbReportsMain);
    cbReportsMain->clear();
    cbReportsMain->addItems(ReportListRows());
    cbReportsMain->setCurrentIndex(-1);
}

void ReportsPage::cbReportsMain_Click() {
    frameReportsAdditionalInfo->setVisible(false);
    switch (cbReportsMain->currentIndex()) {
    case ReportParticipants:
        ShowParticipantsReport();
        break;
    case ReportQualResults:
        ShowQualificationResultsReport();
        break;
    case ReportHeatResults:
        PrepareHeatResultsReport();
        break;
    case ReportRaceProgress:
        PrepareRaceProgressReport();
        break;
    default:
        break;
    }
}

void ReportsPage::PrepareHeatResultsReport() {
    fillRaceSelector();
}

void ReportsPage::PrepareRaceProgressReport() {
    fillRaceSelector();
}

void ReportsPage::fillRaceSelector() {
    frameReportsAdditionalInfo->setVisible(true);
    const QSignalBlocker blocker(cbReportsLapProgressRace);
    cbReportsLapProgressRace->clear();
    Recordset rs;
    if (m_main.db().Select(FinishedRacesSql(m_main.state().CurrentTournamentID), rs))
        for (const RaceChoice& race : RaceChoices(rs))
            cbReportsLapProgressRace->addItem(race.text, race.raceID);
    cbReportsLapProgressRace->setCurrentIndex(-1);
    // The list opens wide enough for whole race names.
    cbReportsLapProgressRace->view()->setMinimumWidth(
        cbReportsLapProgressRace->view()->sizeHintForColumn(0) + 24);
}

void ReportsPage::cbReportsLapProgressRace_Click() {
    const int row = cbReportsLapProgressRace->currentIndex();
    if (row < 0)
        return;
    const qint32 raceID = cbReportsLapProgressRace->itemData(row).toInt();
    switch (cbReportsMain->currentIndex()) {
    case ReportHeatResults:
        showReport(std::make_shared<crdHeatResults>(), HeatResultsSql(raceID), false);
        break;
    case ReportRaceProgress:
        showReport(std::make_shared<crdRaceLapProgress>(), RaceLapProgressSql(raceID), true);
        break;
    default:
        break;
    }
}

void ReportsPage::ShowParticipantsReport() {
    showReport(std::make_shared<crdTournamentParticipants>(),
               ParticipantsSql(m_main.state().CurrentTournamentID), false);
}

void ReportsPage::ShowQualificationResultsReport() {
    showReport(std::make_shared<crdQualResults>(),
               QualResultsSql(m_main.state().CurrentTournamentID), false);
}

void ReportsPage::showReport(std::shared_ptr<ReportDefinition> report, const QString& sql,
                             bool displayGroupTree) {
    Recordset rs;
    if (!m_main.db().Select(sql, rs))
        return;
    report->SetDataSource(rs);
    crvReport->setReportSource(std::move(report));
    crvReport->setDisplayGroupTree(displayGroupTree);
    crvReport->ViewReport();
}

bool ReportsPage::preview(std::shared_ptr<ReportDefinition> report, const QString& sql) {
    Recordset rs;
    if (!m_main.db().Select(sql, rs) || rs.isEmpty())
        return false;
    report->SetDataSource(rs);
    frmPrintPreview window(this->window());
    window.crvReport->setReportSource(std::move(report));
    window.crvReport->setDisplayGroupTree(false);
    window.crvReport->ViewReport();
    showPrintPreview(window);
    return true;
}

bool ReportsPage::PreviewHeatResults(qint32 raceID) {
    return preview(std::make_shared<crdHeatResults>(), HeatResultsSql(raceID));
}

bool ReportsPage::PreviewLapProgress(qint32 raceID, qint32 startPosition) {
    return preview(std::make_shared<crdRaceLapProgress>(),
                   CarLapProgressSql(raceID, startPosition));
}

} // namespace kv
