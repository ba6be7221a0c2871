#include "frmMain.h"

#include "Artwork.h"
#include "DatabaseSetup.h"
#include "DriverDelete.h"
#include "Helpers.h"
#include "KirvOCX.h"
#include "LapCounterConnection.h"
#include "ManagerPage.h"
#include "MiscPage.h"
#include "Platform.h"
#include "PracticePage.h"
#include "RacePage.h"
#include "ReportsPage.h"
#include "SerialPort.h"
#include "TournamentPage.h"
#include "TransponderIdTool.h"
#include "Ui.h"
#include "frmLiveUpdate.h"
#include "frmScoreDetails.h"
#include "frmSingleRaceRegistration.h"
#include "frmSplash.h"
#include "mdlRegistry.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include <optional>

namespace kv {

const QString frmMain::kHomepageUrl = QStringLiteral("https://www.vevevur.example/kirvvorel/");

QString frmMain::DatabaseNotWritableText(const QString& file) {
    return QStringLiteral("The race database cannot be written. The file may be read-only, the "
                          "disk may be full, or another program may be using the file.\n\n"
                          "Kirv Vorel starts so that you can look at tournaments and results, "
                          "but nothing you change can be stored.\n\n"
                          "To work normally, close Kirv Vorel, then make the file writable, free "
                          "space on the disk or close the other program, and start Kirv Vorel "
                          "again. The file is:\n") +
           QDir::toNativeSeparators(file);
}

QString frmMain::DatabaseWriteLogUnreadText(const QString& file) {
    const QFileInfo info(file);
    return QStringLiteral("The race database cannot be opened. Its latest changes are kept in "
                          "the file %1 beside it, which can be read only in a folder that can "
                          "be written, and this folder cannot be written.\n\n"
                          "Keep the two files together. Make the folder writable (for a "
                          "write-protected medium, remove the protection) and start Kirv Vorel "
                          "again. The folder is:\n")
               .arg(info.fileName() + QStringLiteral("-wal")) +
           QDir::toNativeSeparators(info.absolutePath());
}

QString GetAccessConnectionString() {
    // The file name goes in whole, also when the install folder's name holds a ";".
    return QStringLiteral("Provider=SQLite;") + QStringLiteral("Data Source=") +
           Database::connectionStringValue(GetAppPath() + QStringLiteral("zadiva.dat")) +
           QStringLiteral(";") + QStringLiteral("User Id=;") + QStringLiteral("Password=;");
}

namespace {

struct ToolbarButton {
    int index;
    int left;
    const char* tooltip;
};
// Screen order, left to right: index 5 stands before index 4.
constexpr ToolbarButton kToolbar[] = {
    {0, 120, "Tournament registration."},
    {1, 1200, "Manage qual-heats and final heats."},
    {2, 2280, "Race."},
    {3, 3360, "Results,"},
    {5, 4440, "Practice mode."},
    {4, 5520, "Setup."},
};

} // namespace

frmMain::frmMain(QWidget* parent, std::unique_ptr<SerialPort> lapCounterPort) : QWidget(parent) {
    AnnounceWindows();
    SetUpFixedWindow(this, "frmMain", QStringLiteral("- Kirv Vorel - Race management system"),
                     15255, 10725, formFont());

    showSplash = [](frmSplash& splash) { splash.exec(); };
    showLiveUpdate = [](frmLiveUpdate& dialog) { dialog.exec(); };
    showSingleRaceRegistration = [](frmSingleRaceRegistration& dialog) { dialog.exec(); };

    m_state.DbConnection.setErrorReporter(
        [](const QString& what, const QString& sql, const QString& error) {
            MsgBox(what + QStringLiteral("\n\n") + sql + QStringLiteral("\n\n") + error,
                   MsgButtons::OK, MsgIcon::Critical, kProgramName);
        });

    buildTopStrip();
    buildPages();

    // The lap counter control lives on the window, hidden for the whole run.
    m_state.KirvOCX =
        lapCounterPort ? new KirvOCX(std::move(lapCounterPort), this) : new KirvOCX(this);
    m_state.KirvOCX->setObjectName(QStringLiteral("KirvOCX"));
    place(m_state.KirvOCX, 8160, 720, 6975, 735);
    m_state.KirvOCX->setVisible(false);
    connect(m_state.KirvOCX, &KirvOCX::RegisterCar, this, &frmMain::KirvOCX_RegisterCar);
    connect(m_state.KirvOCX, &KirvOCX::ConnectionLost, this, &frmMain::KirvOCX_ConnectionLost);
    connect(m_state.KirvOCX, &KirvOCX::UpdateRaceClock, this, &frmMain::KirvOCX_UpdateRaceClock);
    tmrLapCounterReconnect.setInterval(1000);
    connect(&tmrLapCounterReconnect, &QTimer::timeout, this,
            &frmMain::tmrLapCounterReconnect_Timer);
    m_link = std::make_unique<LapCounterConnection>(m_state);
    m_idTool = std::make_unique<TransponderIdTool>(*this);

    setDialogParent(this);
    DescribeControls(this);
}

frmMain::~frmMain() {
    setDialogParent(nullptr);
    // The grid's read-only connection goes first, so that the race database's
    // own connection is the last and folds the write-ahead log into the file
    // as it closes: the file alone then holds every change.
    pageMisc->adodcDriver->Close();
}

void frmMain::buildTopStrip() {
    for (const ToolbarButton& b : kToolbar) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("cmdToolbarMain_%1").arg(b.index));
        place(button, b.left, 120, 1095, 975);
        button->setToolTip(QString::fromLatin1(b.tooltip));
        button->setIcon(QIcon(toolbarPicture(b.index, 96)));
        button->setIconSize(QSize(tw(1095) - 14, tw(975) - 12));
        button->setAutoRaise(false);
        const int index = b.index;
        connect(button, &QToolButton::clicked, this,
                [this, index] { cmdToolbarMain_Click(index); });
        cmdToolbarMain[static_cast<size_t>(index)] = button;
    }

    Frame6 = new QGroupBox(QStringLiteral("Kirv Status"), this);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    place(Frame6, 6720, 120, 1455, 735);
    m_state.lblHWStatusComport = new QLabel(QStringLiteral("COM1"), Frame6);
    m_state.lblHWStatusComport->setObjectName(QStringLiteral("lblHWStatusComport"));
    place(m_state.lblHWStatusComport, 120, 330, 855, 255);
    m_state.shapeHWStatusIndicator = new StatusIndicator(Frame6);
    m_state.shapeHWStatusIndicator->setObjectName(QStringLiteral("shapeHWStatusIndicator"));
    place(m_state.shapeHWStatusIndicator, 1080, 330, 255, 255);

    // The name keeps clear of the status frame to its left; a long name ends in "...".
    m_state.lblTournamentName = new ElidingLabel(QStringLiteral("No tournament"), this);
    m_state.lblTournamentName->setObjectName(QStringLiteral("lblTournamentName"));
    place(m_state.lblTournamentName, 8295, 240, 6840, 495);
    m_state.lblTournamentName->setFont(blackFont(15.75));
    m_state.lblTournamentName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_state.lblTournamentName->setStyleSheet(QStringLiteral("color: #0000C0;"));

    m_state.lblTournamentLocation = new ElidingLabel(QString(), this);
    m_state.lblTournamentLocation->setObjectName(QStringLiteral("lblTournamentLocation"));
    place(m_state.lblTournamentLocation, 11640, 720, 3495, 375);
    m_state.lblTournamentLocation->setFont(formFont(9.75, true));
    m_state.lblTournamentLocation->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmMain::buildPages() {
    pageTournament = new TournamentPage(*this, this);
    pageManager = new ManagerPage(*this, this);
    pageRace = new RacePage(*this, this);
    pageReports = new ReportsPage(*this, this);
    pageMisc = new MiscPage(*this, this);
    pagePractice = new PracticePage(*this, this);
    frameMain = {pageTournament, pageManager, pageRace, pageReports, pageMisc, pagePractice};
    for (size_t i = 0; i < frameMain.size(); ++i) {
        frameMain[i]->setObjectName(QStringLiteral("frameMain_%1").arg(i));
        const bool tall = i == 2 || i == 5;
        place(frameMain[i], 120, 1200, 15015, tall ? 9495 : 9375);
        frameMain[i]->setVisible(false);
    }
    pageRace->showSingleRaceRegistration = [this] {
        frmSingleRaceRegistration dialog;
        dialog.m_dbConnection = &m_state.DbConnection;
        showSingleRaceRegistration(dialog);
    };
    connect(pageMisc->cmdMiscDatabaseDeleteSelectedDriver, &QPushButton::clicked, this,
            &frmMain::cmdMiscDatabaseDeleteSelectedDriver_Click);
    connect(pageMisc->cmdMiscLiveUpdate, &QPushButton::clicked, this,
            &frmMain::cmdMiscLiveUpdate_Click);
}

bool frmMain::Form_Load() {
    // 1. The program version.
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("Version"), kProgramVersion,
                     true);
    // 2. The driver grid's data control.
    pageMisc->bindDriverGrid(GetAccessConnectionString());
    // 3. The database connection.
    if (!m_state.DbConnection.Open(GetAccessConnectionString())) {
        if (m_state.DbConnection.openOutcome() == OpenOutcome::WriteLogUnread) {
            // Reinstalling could lose the changes the write log holds.
            unloadAfterRefusal(DatabaseWriteLogUnreadText(m_state.DbConnection.filePath()));
            return false;
        }
        unloadAfterRefusal(QStringLiteral("The race database could not be opened.\n\n%1\n\n"
                                          "Please reinstall Kirv Vorel.")
                               .arg(m_state.DbConnection.errorText()));
        return false;
    }
    // 4. The splash.
    {
        frmSplash splash;
        splash.m_strVersion = QStringLiteral("Version ") + kProgramVersion;
        showSplash(splash);
    }
    // 5, 6. The schema version.
    if (!CheckDatabaseVersion())
        return false;
    // A database that cannot be written is told once, plainly; the rest of the
    // start-up skips its writes, so that results can still be read.
    std::optional<SkippedWrites> readOnly;
    if (!DatabaseTakesWrites(m_state.DbConnection)) {
        MsgBox(DatabaseNotWritableText(m_state.DbConnection.filePath()), MsgButtons::OK,
               MsgIcon::Exclamation, kProgramName);
        readOnly.emplace(m_state.DbConnection);
    }
    // 7. The current tournament.
    {
        const double id = RoundHalfEven(Val(GetRegistryValue(
            HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("LastTournamentID"), QString())));
        // Keys are whole numbers of 32 bits; anything else names no tournament.
        m_state.CurrentTournamentID = id >= 0 && id <= 2147483647.0 ? static_cast<qint32>(id) : 0;
    }
    // 8, 9. Tournament and driver lists.
    FillTournamentCombo();
    FillDriverCombo(-1);
    // 10. The fixed lists (with the race page's start list columns).
    pageRace->FillFixedLists();
    pageManager->FillFixedLists();
    // 11. Timing state.
    m_timing.HeatHasConflict = true;
    m_timing.RaceElapsedMs = 0;
    m_timing.CurrentRaceID = -1;
    // 12, 13, 15. The lap counter's port, its test, the transponder delay.
    RestoreLapCounterSettings();
    // 14. The practice delete delay, as it was typed.
    pagePractice->txtPracticeAutomaticDeleteDelay->setText(GetRegistryValue(
        HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("PracticeDeleteDelay"), QString()));
    // 17. The report list.
    pageReports->FillReportList();
    // 18. Idle.
    m_timing.TimingMode = TimingIdle;
    // 19. The first page.
    cmdToolbarMain_Click(0);
    return true;
}

bool frmMain::CheckDatabaseVersion() {
    const std::optional<QString> storedVersion = ReadSchemaVersion(m_state.DbConnection);
    if (!storedVersion) {
        unloadAfterRefusal(QStringLiteral("Corrupt database. Please reinstall Kirv Vorel."),
                           MsgIcon::None);
        return false;
    }
    const double stored = Val(*storedVersion);
    const double program = Val(kProgramVersion);
    if (program < stored) {
        unloadAfterRefusal(
            QStringLiteral(
                "Database-version is higher then the executable. Please reinstall Kirv Vorel."),
            MsgIcon::None);
        return false;
    }
    if (stored < program)
        return UpgradeDatabase(*storedVersion, stored);
    UseWriteAheadLog(m_state.DbConnection);
    return true;
}

bool frmMain::UpgradeDatabase(const QString& storedVersion, double stored) {
    if (stored <= 1.1) {
        QDir().mkdir(GetAppPath() + QStringLiteral("res")); // an existing folder is fine
    }
    if (!UpgradeSchema(m_state.DbConnection, stored)) {
        unloadAfterRefusal(
            QStringLiteral("The database could not be updated. Please reinstall Kirv Vorel."));
        return false;
    }
    UseWriteAheadLog(m_state.DbConnection);
    const MsgResult answer =
        MsgBox(QStringLiteral("Update complete, from ") + storedVersion + QStringLiteral(" to ") +
                   kProgramVersion + QStringLiteral(".") + QChar(13) +
                   QStringLiteral(
                       "Do you want to visit the 'Kirv Vorel' homepage for update information?"),
               MsgButtons::YesNo, MsgIcon::None, kProgramName);
    if (answer == MsgResult::Yes && !desktop().openUrl(kHomepageUrl)) {
        MsgBox(QStringLiteral("No web browser could be started. The homepage is ") + kHomepageUrl,
               MsgButtons::OK, MsgIcon::Exclamation, kProgramName);
    }
    return true;
}

void frmMain::unloadAfterRefusal(const QString& message, MsgIcon icon) {
    MsgBox(message, MsgButtons::OK, icon, kProgramName);
    Form_Unload();
}

void frmMain::RestoreLapCounterSettings() {
    auto setting = [](const char* name) {
        return GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QString::fromLatin1(name),
                                QString());
    };
    m_state.KirvOCX->setPortsFolder(GetAppPath() + QStringLiteral("ports/"));
    pageMisc->txtMiscComport->setText(setting("ComPort"));
    TestLapCounterConnection();
    QLineEdit* delay = pageMisc->txtMiscTransponderDelay;
    delay->setText(setting("TransponderDelay"));
    if (m_state.LapCounter.TransponderDelaySeconds() < 3)
        delay->setText(QStringLiteral("3"));
}

bool frmMain::mayEnd() {
    // Passes the database has not taken yet are lost with the program, and a
    // heat or practice session that runs is left Running: ask.
    return pageRace->mayClose() && pagePractice->mayClose();
}

bool frmMain::Form_Unload() {
    if (m_unloaded)
        return true;
    if (!m_endAgreed && !mayEnd())
        return false;
    m_unloaded = true;
    m_state.KirvOCX->CloseConnection();
    hide();
    // Hiding the window alone would leave the program running with the
    // database open, with no window to end it: after the hand-over to the
    // updater, for one.
    QCoreApplication::quit();
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
}

void frmMain::cmdToolbarMain_Click(int Index) {
    for (size_t i = 0; i < frameMain.size(); ++i)
        frameMain[i]->setVisible(static_cast<int>(i) == Index);
    switch (Index) {
    case 0:
        FillTournamentCombo();
        FillDriverCombo(-1);
        break;
    case 1:
        RefreshManagerTab();
        break;
    case 2:
        pageRace->cbRaceShowRaceCategory_Click();
        break;
    case 4:
        RefreshDriverGrid();
        break;
    default: // the reports and practice pages are shown as they stand
        break;
    }
}

void frmMain::cmdMiscDatabaseDeleteSelectedDriver_Click() {
    DeleteSelectedDriver(*this, *pageMisc->tdbgDriver);
}

void frmMain::cmdMiscLiveUpdate_Click() {
    frmLiveUpdate dialog(this);
    // The question comes before the updater starts: once it runs, the program
    // has to end.
    dialog.mayHandOver = [this] { return m_endAgreed = mayEnd(); };
    showLiveUpdate(dialog);
    if (dialog.m_blnUpdate)
        Form_Unload();
    m_endAgreed = false;
}

void frmMain::FillTournamentCombo() {
    pageTournament->FillTournamentCombo();
}
void frmMain::FillDriverCombo(qint64 driverToSelect) {
    pageTournament->FillDriverCombo(driverToSelect);
}
void frmMain::RefreshManagerTab() {
    pageManager->RefreshManagerTab();
}
void frmMain::RefreshDriverGrid() {
    pageMisc->RefreshDriverGrid();
}
bool frmMain::OpenLapCounterPort() {
    return m_link->OpenLapCounterPort();
}
bool frmMain::TestLapCounterConnection() {
    return m_link->TestLapCounterConnection();
}
TransponderRead frmMain::GetTransponderID() {
    return m_idTool->Read();
}
TransponderWrite frmMain::SetTransponderID(double id) {
    return m_idTool->Write(id);
}

void frmMain::SetToolbarEnabled(bool enabled) {
    for (QToolButton* button : cmdToolbarMain)
        button->setEnabled(enabled);
}

void frmMain::PreviewHeatResults(qint32 raceID) {
    pageReports->PreviewHeatResults(raceID);
}
void frmMain::PreviewLapProgress(qint32 raceID, qint32 startPosition) {
    pageReports->PreviewLapProgress(raceID, startPosition);
}
void frmMain::ShowScoreDetails(qint32 raceID) {
    OpenScoreDetails(this, m_state.DbConnection, raceID);
}

void frmMain::KirvOCX_RegisterCar(qint16 iCarID, qint32 lMilliseconds) {
    frameArrived();
    if (m_timing.TimingMode == TimingMonitor) {
        pageMisc->MonitorCar(iCarID);
        return;
    }
    if (m_timing.CurrentRaceID < 0 || m_timing.CurrentRaceStatus != RaceRunning)
        return;
    switch (m_timing.TimingMode) {
    case TimingRace:
        pageRace->RegisterRaceCar(iCarID, lMilliseconds);
        break;
    case TimingPractice:
        pagePractice->RegisterPracticeCar(iCarID, lMilliseconds);
        break;
    default: // idle: the lap counter should have stopped; nothing is counted
        break;
    }
}

namespace {

// A race (from its Start on) or a practice session is being timed.
bool TimingUnderWay(const TimingState& t) {
    return t.RaceActive && (t.TimingMode == TimingRace || t.TimingMode == TimingPractice);
}

} // namespace

void frmMain::KirvOCX_ConnectionLost() {
    m_link->ConnectionLost();
    pageRace->LapCounterLost();
    pagePractice->LapCounterLost();
    if (TimingUnderWay(m_timing))
        tmrLapCounterReconnect.start();
}

void frmMain::tmrLapCounterReconnect_Timer() {
    if (!TimingUnderWay(m_timing)) {
        tmrLapCounterReconnect.stop();
        return;
    }
    if (!m_link->ReopenLostPort())
        return;
    tmrLapCounterReconnect.stop();
}

void frmMain::frameArrived() {
    if (!m_link->FrameArrived())
        return;
    pageRace->LapCounterBack();
    pagePractice->LapCounterBack();
}

void frmMain::KirvOCX_UpdateRaceClock(qint32 lMilliseconds) {
    frameArrived();
    m_timing.RaceElapsedMs = lMilliseconds;
    m_timing.PracticeElapsedMs = lMilliseconds;
}

} // namespace kv
