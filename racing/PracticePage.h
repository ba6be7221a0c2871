#pragma once
// Page 5, "Practice": open practice timed by the lap counter. Every transponder
// that crosses takes the lowest free of ten rows, is timed from its own first
// crossing, is linked to its driver automatically or by hand, and is removed
// after the idle delay. The rules live in PracticeRules, the reads and writes
// in PracticeStore; this page asks them and draws.

#include "LapCounterNote.h"
#include "PageFrame.h"
#include "PracticeStore.h"
#include "Sounds.h"

#include <QTimer>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace kv {

class ScoreBoard;

class PracticePage final : public PageFrame {
    Q_OBJECT
public:
    PracticePage(MainContext& main, QWidget* parent);
    ~PracticePage() override;

    void cmdPracticeStart_Click();
    void cmdPracticeStop_Click();
    // A car passing while practice runs (the main window has checked the
    // timing mode, the race and its status).
    void RegisterPracticeCar(qint16 iCarID, qint32 lMilliseconds);
    // The practice clock, with the idle-car check every 52nd tick.
    void tmrPracticeTime_Timer();
    void tmrPracticeFlash_Timer();
    // Removes the car in row Index (0..9); no question is asked.
    void cmdPracticeDelete_Click(int Index);
    // Links the selected unlinked transponder to the selected driver.
    void cmdPracticeAssignDriver_Click();
    void txtPracticeAutomaticDeleteDelay_Change();
    // The lap progress preview of the car in row Index (0..9), and the details
    // window of the session.
    void cmdPracticeLapProgressPreview_Click(int Index);
    void cmdPracticeScoreCompareShow_Click();
    // Tries the writes the database refused again, once a second while any wait.
    void tmrPracticeWrites_Timer();
    // Closing the program loses the writes that still wait, or leaves a
    // running session: asks first.
    bool mayClose();
    // The lap counter's device is gone while practice runs, or its port is
    // open again after that: a note on the page, no box. Gone once practice
    // has stopped: a note that contact is back goes.
    void LapCounterLost();
    void LapCounterBack();

    static const QString kStartRefusedText;
    static const QString kLapCounterLostText;
    static const QString kLapCounterLostPassesWaitText;
    static const QString kLapCounterBackText;
    static const QString kLapCounterNotStartedText;

    QToolButton* cmdPracticeStart = nullptr;
    QToolButton* cmdPracticeStop = nullptr;
    QListWidget* lbPracticeUnassignedTransponders = nullptr;
    QListWidget* lbPracticeUnassignedDrivers = nullptr;
    QPushButton* cmdPracticeAssignDriver = nullptr;
    QCheckBox* chkPracticeAutoAssign = nullptr;
    QLineEdit* txtPracticeAutomaticDeleteDelay = nullptr;
    QLineEdit* txtPracticeTime = nullptr;
    QPushButton* cmdPracticeScoreCompareShow = nullptr;
    // Says how many passes wait to be stored; hidden while none wait.
    QLabel* lblPracticeWaitingWrites = nullptr;
    // Contact with the lap counter lost while practice runs, or back after that.
    QLabel* lblPracticeLapCounterLost = nullptr;

    // The board: row i shows slot i.
    using Row = std::array<QLabel*, 10>;
    Row lblPracticeScoreDriver{};
    Row lblPracticeScoreLaps{};
    Row lblPracticeScoreTotalTime{};
    Row lblPracticeScoreLastTime{};
    Row lblPracticeScoreBestTime{};
    std::array<QToolButton*, 10> cmdPracticeLapProgressPreview{};
    std::array<QToolButton*, 10> cmdPracticeDelete{};

    QTimer tmrPracticeTime;
    QTimer tmrPracticeFlash;
    QTimer tmrPracticeWrites;

private:
    void buildControls();
    void buildBoard();
    void connectHandlers();

    void FillUnassignedTransponders();
    void FillUnassignedDrivers();
    void RefreshPracticeBoard();

    // Removes the car of a slot, if it has one.
    void deleteSlot(int index);
    void refreshAll();
    // The notice and the retry timer after a write.
    void showWaitingWrites();

    // Reads and writes the practice race; remembers the board's cars, which
    // belong to the last start's race whatever race is current now.
    PracticeStore m_store;
    // The practice race of the running session; -1 while none runs.
    qint32 m_sessionRaceId = -1;
    // The session's sounds; the install folder is read at the start.
    RunSounds m_sounds;
    std::unique_ptr<ScoreBoard> m_board;
    // On lblPracticeLapCounterLost; hidden until the next start.
    std::optional<LapCounterNote> m_lapCounterNote;
    // The lap counter did not take the start command of this session: no
    // pass counts until the stop.
    bool m_counterNotStarted = false;
};

} // namespace kv
