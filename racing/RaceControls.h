#pragma once
// The race page's run controls: the race clock and lap counter displays, the
// "Race control" frame, and the two notes: the lap counter's contact, and the
// passes still waiting to be stored.

#include "LapCounterNote.h"

#include <QString>

#include <optional>

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

    // The race's running mark, its passes and its end that wait to be stored;
    // hidden when none wait.
    void showWaiting(bool startWaiting, int passes, bool endWaiting);

    static const QString kLapCounterLostText;
    static const QString kLapCounterLostPassesWaitText;
    static const QString kLapCounterLostBeforeTheGoText;
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
    // On lblRaceLapCounterLost; hidden until the next start or heat.
    std::optional<LapCounterNote> lapCounterNote;
};

} // namespace kv
