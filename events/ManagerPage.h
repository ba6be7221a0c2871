#pragma once
// Page 1, "Manager": qualification heats and final heats.

#include "PageFrame.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

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

private:
    void buildQualificationColumn();
    void storeSetting(const QString& column, const QComboBox* combo);
    void ResetQualification();
    void GenerateQualHeats();
    bool DeleteQualHeats();
};

} // namespace kv
