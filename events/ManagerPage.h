#pragma once
// Page 1, "Manager": qualification heats and final heats.

#include "PageFrame.h"
#include "QualHeats.h"

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class frmAddRace;
class frmEditQualHeats;

class ManagerPage final : public PageFrame {
    Q_OBJECT
public:
    ManagerPage(MainContext& main, QWidget* parent);

    // Start-up: the three settings lists, cleared first, with no row selected.
    void FillFixedLists();
    // Rebuilds the page for the current tournament.
    void RefreshManagerTab();

    void cbManagerNumOfCarsInQualHeat_Click();
    void cbManagerNumOfQualRounds_Click();
    void cbManagerQualRaceTime_Click();
    void cmdManagerGenerateQualHeats_Click();
    void lbManagerGeneratedQualHeats_Click();
    void cmdManagerEditQualHeats_Click();

    // Final heats.
    void FillFinalHeatSourceCombo();
    void FillFinalHeatDestinationCombo(qint32 RaceIDToSelect);
    bool IsDriverPlacedOnFinalLevel(qint32 DriverID, int RaceCode);
    void cbManagerFinalHeatSource_Click();
    void cbManagerFinalHeatDestination_Click();
    void cmdManagerFinalHeatAddParticipant_Click();
    void cmdManagerFinalHeatRemoveParticipant_Click();
    void cmdManagerFinalHeatDelete_Click();
    void lbManagerFinalHeatSource_DblClick();
    void lbManagerFinalHeatDestination_DblClick();

    // Shows the add race dialog modally; tests answer it in place.
    std::function<void(frmAddRace&)> showAddRace;
    // Shows the qualification heat editor modally; tests answer it in place.
    std::function<void(frmEditQualHeats&)> showEditQualHeats;

    // Qualification heats (left column).
    QLabel* lblManagerQualHeatsTitle = nullptr;
    QLabel* lblManagerNumOfCarsInQualHeat = nullptr;
    QComboBox* cbManagerNumOfCarsInQualHeat = nullptr;
    QLabel* lblManagerNumOfQualRounds = nullptr;
    QComboBox* cbManagerNumOfQualRounds = nullptr;
    QLabel* lblManagerQualRaceTime = nullptr;
    QComboBox* cbManagerQualRaceTime = nullptr;
    QPushButton* cmdManagerGenerateQualHeats = nullptr;
    QLabel* lblManagerGeneratedQualHeats = nullptr;
    QListWidget* lbManagerGeneratedQualHeats = nullptr;
    QLabel* lblManagerQualHeatParticipants = nullptr;
    QListWidget* lbManagerQualHeatParticipants = nullptr;
    QPushButton* cmdManagerEditQualHeats = nullptr;

    // Final heats (right part).
    QLabel* lblManagerFinalHeatsTitle = nullptr;
    QComboBox* cbManagerFinalHeatSource = nullptr;
    QListWidget* lbManagerFinalHeatSource = nullptr;
    QPushButton* cmdManagerFinalHeatAddParticipant = nullptr;
    QPushButton* cmdManagerFinalHeatRemoveParticipant = nullptr;
    QComboBox* cbManagerFinalHeatDestination = nullptr;
    QListWidget* lbManagerFinalHeatDestination = nullptr;
    QPushButton* cmdManagerFinalHeatDelete = nullptr;

    // The source rows before the finished final races.
    static constexpr int kFixedSourceRows = 14;

private:
    void buildQualificationColumn();
    void buildFinalHeatsArea();
    void refreshQualification(qint32 tournament);
    void showQualHeats(const QList<RaceRow>& heats);
    // The chosen destination race, or 0.
    qint32 destinationRace() const;
    void storeSetting(QualSetting which, const QComboBox* combo);
    void ResetQualification();
    void GenerateQualHeats();
};

} // namespace kv
