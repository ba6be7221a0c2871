#pragma once
// The main window: the toolbar that switches the six pages, the status strip,
// the shared state and the start-up and shut-down of the program.

#include "MainContext.h"
#include "Platform.h"
#include "RaceTiming.h"
#include "SerialPort.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QToolButton;

namespace kv {

class frmSplash;
class frmLiveUpdate;
class frmSingleRaceRegistration;
class TournamentPage;
class ManagerPage;
class RacePage;
class ReportsPage;
class MiscPage;
class PracticePage;
class LapCounterConnection;
class TransponderIdTool;

class frmMain final : public QWidget, public MainContext {
    Q_OBJECT
public:
    // Without a port, the lap counter control uses the real serial port.
    explicit frmMain(QWidget* parent = nullptr, std::unique_ptr<SerialPort> lapCounterPort = {});
    ~frmMain() override;

    // Start-up. Returns false when the program must end (the window has then
    // unloaded itself).
    bool Form_Load();
    // Every end of the program comes here. While passes or changes wait to be
    // stored, they are tried once more and the person is asked; so is the
    // person while a heat or practice runs. False when the program goes on.
    bool Form_Unload();
    bool unloaded() const { return m_unloaded; }

    void cmdToolbarMain_Click(int Index);
    void cmdMiscDatabaseDeleteSelectedDriver_Click();
    // Opens the update dialog; when it has started the updater, the window
    // unloads so the program ends. The updater starts only once the program
    // may end.
    void cmdMiscLiveUpdate_Click();

    // How the splash is shown; tests replace the modal run.
    std::function<void(frmSplash&)> showSplash;
    // How the update dialog is shown; tests replace the modal run.
    std::function<void(frmLiveUpdate&)> showLiveUpdate;
    // How the single race registration is shown; tests replace the modal run.
    std::function<void(frmSingleRaceRegistration&)> showSingleRaceRegistration;

    // MainContext
    MainState& state() override { return m_state; }
    TimingState& timing() override { return m_timing; }
    void FillTournamentCombo() override;
    void FillDriverCombo(qint64 driverToSelect) override;
    void RefreshManagerTab() override;
    void RefreshDriverGrid() override;
    bool OpenLapCounterPort() override;
    bool TestLapCounterConnection() override;
    TransponderRead GetTransponderID() override;
    TransponderWrite SetTransponderID(double id) override;
    void SetToolbarEnabled(bool enabled) override;
    void PreviewHeatResults(qint32 raceID) override;
    void PreviewLapProgress(qint32 raceID, qint32 startPosition) override;
    void ShowScoreDetails(qint32 raceID) override;

    // What a car passing means depends on the timing mode.
    void KirvOCX_RegisterCar(qint16 iCarID, qint32 lMilliseconds);
    // The lap counter's device went away while its port was open: the status
    // strip and a running race say so, without a box.
    void KirvOCX_ConnectionLost();
    // While a race or practice runs, tries about once a second to open the
    // lost port again; reading then goes on where it stopped (the control's
    // repeat filter and the timing state are kept). Stops when the port is
    // open again or the race or practice has ended; the pages say contact is
    // back at the counter's first frame on the reopened port.
    void tmrLapCounterReconnect_Timer();
    // The lap counter's clock: both clocks follow it.
    void KirvOCX_UpdateRaceClock(qint32 lMilliseconds);

    // Controls.
    std::array<QToolButton*, 6> cmdToolbarMain{};
    std::array<QGroupBox*, 6> frameMain{};
    QGroupBox* Frame6 = nullptr;
    // The race and practice timers belong to their pages.
    QTimer tmrLapCounterReconnect;

    TournamentPage* pageTournament = nullptr;
    ManagerPage* pageManager = nullptr;
    RacePage* pageRace = nullptr;
    ReportsPage* pageReports = nullptr;
    MiscPage* pageMisc = nullptr;
    PracticePage* pagePractice = nullptr;

    // The maker's page offered after a database upgrade.
    static const QString kHomepageUrl;
    // Said once at start-up when the race database does not take writes.
    static QString DatabaseNotWritableText(const QString& file);
    // Start-up's refusal of a database in a folder that cannot be written
    // when the write log beside it holds changes.
    static QString DatabaseWriteLogUnreadText(const QString& file);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Every frame from the counter: the light, and contact back after a loss.
    void frameArrived();
    void buildTopStrip();
    void buildPages();
    bool CheckDatabaseVersion();
    bool UpgradeDatabase(const QString& storedVersion, double stored);
    void unloadAfterRefusal(const QString& message, MsgIcon icon = MsgIcon::Critical);

    void RestoreLapCounterSettings();
    // Writes that wait are tried once more; any still waiting are lost, and a
    // heat or practice that runs is left, only when the person says so.
    bool mayEnd();

    MainState m_state;
    TimingState m_timing;
    std::unique_ptr<LapCounterConnection> m_link;
    std::unique_ptr<TransponderIdTool> m_idTool;
    bool m_unloaded = false;
    // The person has agreed that the program ends (for the hand-over).
    bool m_endAgreed = false;
};

// The connection string of the race database in the install folder.
QString GetAccessConnectionString();

} // namespace kv
