#pragma once
// The race page's run controls: the race clock and lap counter displays, the
// "Race control" frame, and the two notes in red: the lap counter's contact,
// and the passes still waiting to be stored.

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace kv {

class RaceControls {
public:
    explicit RaceControls(QWidget* page);

    // Contact with the lap counter lost while a race runs, or back after that.
    void showLapCounterLost();
    // Only while the note of a lost contact shows.
    void showLapCounterBack();
    // The start command did not reach the lap counter at the go. Said until
    // the note is hidden (the next start or heat); a lost or returning contact
    // does not replace it.
    void showLapCounterNotStarted();
    void hideLapCounterNote();
    // The race's running mark, its passes and its end that wait to be stored;
    // hidden when none wait.
    void showWaiting(bool startWaiting, int passes, bool endWaiting);

    static const QString kLapCounterLostText;
    // While passes wait, the lost note leaves the storing to the waiting note.
    static const QString kLapCounterLostPassesWaitText;
    static const QString kLapCounterBackText;
    static const QString kLapCounterNotStartedText;
    static const QString kRaceStartNotStoredText;
    static const QString kRaceEndNotStoredText;

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

private:
    enum class Note { None, Lost, Back, NotStarted };
    void drawLapCounterNote();

    Note m_note = Note::None;
    bool m_passesWait = false;
};

} // namespace kv
