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
    void hideLapCounterNote();
    // The passes, and the race's end, that wait to be stored; hidden when none wait.
    void showWaiting(int passes, bool endWaiting);

    static const QString kLapCounterLostText;
    static const QString kLapCounterBackText;
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
};

} // namespace kv
