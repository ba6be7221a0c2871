#pragma once
// Page 2, "Race": heat selection with its conflicts and information, driver
// corrections, the score board and the race run (start, countdown, clock, stop,
// clear) with the passes of the running race. The page keeps the handlers and
// the sequence of a race; its pieces (RaceSelection, RaceInformationFrame,
// RaceDriverFrame, RaceControls, RaceBoard) lay out and draw their parts, and
// RaceStore reads and writes.

#include "PageFrame.h"
#include "RaceControls.h"
#include "Sounds.h"

#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace kv {

class Recordset;
class RaceBoard;
class RaceDriverFrame;
class RaceInformationFrame;
class RaceSelection;
class RaceStore;
struct RacePassOutcome;

class RacePage final : public PageFrame {
    Q_OBJECT
public:
    RacePage(MainContext& main, QWidget* parent);
    ~RacePage() override;

    // Start-up: the four categories with none selected, the start list's columns.
    void FillFixedLists();

    // Heat selection and race information.
    void cbRaceShowRaceCategory_Click();
    void cbRaceHeats_Click();
    void txtRaceInfoComment_Change();

    // Driver corrections.
    void lbRaceHeatParticipants_Click();
    void txtRaceModifyDriverTransponderID_Change();
    void cmdRaceModifyDriverReadID_Click();
    void cmdRaceModifyDriverWriteID_Click();
    void cmdRaceModifyDriverSave_Click();

    // The score board.
    void LoadFinishedRaceBoard();
    void RefreshRaceBoard();

    // The race run.
    void cmdRaceStart_Click();
    void tmrRaceCountdown_Timer();
    // The go: the race runs from here, also when the database or the lap
    // counter does not take it; the page says so.
    void StartRaceTiming();
    void tmrRaceTime_Timer();
    void tmrRaceFlash_Timer();
    // Stops the race and stores its end behind the passes that wait; while the
    // end cannot be stored the race stays Running on the page and Stop tries
    // again.
    void cmdRaceStop_Click();
    // Tries the passes (and the end) the database refused again.
    void tmrRaceWaitingPasses_Timer();
    void cmdRaceClear_Click();
    // The heat result preview and the details window of the current race.
    void cmdRaceHeatResultPreview_Click();
    void cmdRaceScoreCompareShow_Click();

    // A car passing while the current race runs (the main window has checked
    // the timing mode, the race and its status).
    void RegisterRaceCar(qint16 iCarID, qint32 lMilliseconds);
    // The lap counter's device is gone: a note on the page, no box, so the
    // receive handling is never held up by a modal loop.
    void LapCounterLost();
    // The lap counter's port is open again while the race runs: the note says
    // so, and that passes made meanwhile were not seen.
    void LapCounterBack();

    // Passes (and the race's end) the database has not taken yet.
    int passesWaiting() const;
    // Closing the program: true when nothing waits and no heat is under way,
    // or the person agrees to lose what still waits after one more try, or to
    // leave the heat.
    bool mayClose();
    RaceStore& store() { return *m_store; }

    // Opens the single race registration dialog. While it is unset the
    // "<Single race registration>" row opens nothing.
    std::function<void()> showSingleRaceRegistration;

    // The colour a label or text box draws its text in.
    static QColor textColour(const QWidget* w);

    static const QString kSingleRaceRegistrationRow;
    static inline const QString& kLapCounterLostText = RaceControls::kLapCounterLostText;
    static inline const QString& kLapCounterLostPassesWaitText =
        RaceControls::kLapCounterLostPassesWaitText;
    static inline const QString& kLapCounterLostBeforeTheGoText =
        RaceControls::kLapCounterLostBeforeTheGoText;
    static inline const QString& kLapCounterBackText = RaceControls::kLapCounterBackText;
    static inline const QString& kLapCounterNotStartedText =
        RaceControls::kLapCounterNotStartedText;
    static inline const QString& kRaceStartNotStoredText = RaceControls::kRaceStartNotStoredText;
    static inline const QString& kRaceEndNotStoredText = RaceControls::kRaceEndNotStoredText;

    // Race selection.
    QComboBox* cbRaceShowRaceCategory = nullptr;
    QComboBox* cbRaceHeats = nullptr;
    QListWidget* lbRaceHeatParticipants = nullptr;

    QGroupBox* frameRaceInformation = nullptr;
    QLabel* lblRaceInfoCategory = nullptr;
    QLabel* lblRaceInfoTimeOfRace = nullptr;
    QLabel* lblRaceInfoLength = nullptr;
    QLabel* lblRaceInfoStatus = nullptr;
    QLabel* lblRaceHeatConflicts = nullptr;
    QPlainTextEdit* txtRaceInfoComment = nullptr;

    QGroupBox* frameRaceModifyDriver = nullptr;
    QLabel* lblRaceModifyDriverName = nullptr;
    QLineEdit* txtRaceModifyDriverCar = nullptr;
    QLineEdit* txtRaceModifyDriverTeam = nullptr;
    QLineEdit* txtRaceModifyDriverFrequency = nullptr;
    QCheckBox* chkRaceModifyDriverOwnTransponder = nullptr;
    QLineEdit* txtRaceModifyDriverTransponderID = nullptr;
    QPushButton* cmdRaceModifyDriverReadID = nullptr;
    QPushButton* cmdRaceModifyDriverWriteID = nullptr;
    QPushButton* cmdRaceModifyDriverSave = nullptr;

    // Race control.
    QLineEdit* txtRaceTime = nullptr;
    QLineEdit* txtRaceLapCounter = nullptr;
    QGroupBox* Frame1 = nullptr;
    QToolButton* cmdRaceStart = nullptr;
    QToolButton* cmdRaceStop = nullptr;
    QPushButton* cmdRaceClear = nullptr;
    QToolButton* cmdRaceHeatResultPreview = nullptr;
    QPushButton* cmdRaceScoreCompareShow = nullptr;
    QLabel* lblRaceLapCounterLost = nullptr;
    QLabel* lblRaceWaitingPasses = nullptr;

    // The score board, by display row.
    using Row = std::array<QLabel*, 10>;
    Row lblRaceScoreDriver{};
    Row lblRaceScoreLaps{};
    Row lblRaceScoreTotalTime{};
    Row lblRaceScoreLastTime{};
    Row lblRaceScoreBestTime{};
    Row lblRaceScoreLapsDifference{};
    Row lblRaceScoreTotalTimeDifference{};
    Row lblRaceScoreLastTimeDifference{};
    Row lblRaceScoreBestTimeDifference{};

    QTimer tmrRaceCountdown;
    QTimer tmrRaceTime;
    QTimer tmrRaceFlash;
    QTimer tmrRaceWaitingPasses;

private:
    void buildSelection();
    void buildInformation();
    void buildModifyDriver();
    void buildRaceControl();
    void buildScoreBoard();
    void connectHandlers();

    void fillStartList();
    void resetRaceDisplay();
    void showRaceInformation();

    bool startListFitsTheBoard();
    bool raceAlreadyRun();
    bool storeStartAndTransponders(const Recordset& entries);
    void lockPage(bool locked);
    void afterStoreTry(bool endJustStored);
    void showWaitingPasses();
    void showStatus(int status);
    // This program counts the heat down or times it: from Start to Stop.
    bool raceUnderWay() const;

    std::unique_ptr<RaceStore> m_store;
    // The race's sounds; the install folder is read at the Start.
    RunSounds m_sounds;
    std::unique_ptr<RaceSelection> m_selection;
    std::unique_ptr<RaceControls> m_controls;
    std::unique_ptr<RaceInformationFrame> m_information;
    std::unique_ptr<RaceDriverFrame> m_driver;
    std::unique_ptr<RaceBoard> m_board;
    // The lap counter did not take the start command at this race's go:
    // whatever it sends is on the clock of some other start. Until the stop.
    bool m_counterNotStarted = false;
};

} // namespace kv
