#pragma once
// "Single race registration": creates and deletes the races of no tournament
// and fills their start lists from the whole driver register.

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class Database;
class frmAddRace;

class frmSingleRaceRegistration final : public QDialog {
    Q_OBJECT
public:
    explicit frmSingleRaceRegistration(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown.
    Database* m_dbConnection = nullptr;

    // Shows the add race dialog modally; tests answer it in place.
    std::function<void(frmAddRace&)> showAddRace;

    void Form_Load();
    // Refills the race list and chooses the race with this key, or else the first.
    void RefreshSingleRaceList(qint32 RaceIDToSelect);
    void cbHeatDestination_Click();
    void cmdHeatAddParticipant_Click();
    void cmdHeatRemoveParticipant_Click();
    void cmdHeatDelete_Click();
    void cmdHeatClose_Click();
    void lbHeatSource_DblClick();
    void lbHeatDestination_DblClick();

    QLabel* Label37 = nullptr;
    QListWidget* lbHeatSource = nullptr;
    QPushButton* cmdHeatAddParticipant = nullptr;
    QPushButton* cmdHeatRemoveParticipant = nullptr;
    QComboBox* cbHeatDestination = nullptr;
    QListWidget* lbHeatDestination = nullptr;
    QPushButton* cmdHeatClose = nullptr;
    QPushButton* cmdHeatDelete = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The chosen race, or 0.
    qint32 chosenRace() const;
    void fillDrivers(QListWidget* list, bool inRace);
    bool m_loaded = false;
};

} // namespace kv
