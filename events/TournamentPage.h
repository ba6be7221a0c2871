#pragma once
// Page 0, "Tournament registration": tournaments, the driver form and the
// tournament's participants.

#include "PageFrame.h"
#include "Tournaments.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

class TransponderIdBox;

class TournamentPage final : public PageFrame {
    Q_OBJECT
public:
    TournamentPage(MainContext& main, QWidget* parent);

    // Tournament details.
    void FillTournamentCombo();
    void cbTournamentSelectTournament_Click();
    void cmdTournamentNew_Click();
    void cmdTournamentDelete_Click();
    void txtTournamentTournamentName_Change();
    void txtTournamentTournamentLocation_Change();
    void txtTournamentTournamentName_LostFocus();
    void txtTournamentTournamentLocation_LostFocus();

    // Add or change drivers.
    void FillDriverCombo(qint64 driverToSelect);
    void cbTournamentDriverSelect_Click();
    void cmdTournamentModifyDriverAdd_Click();
    void cmdTournamentModifyDriverSave_Click();
    void txtTournamentDriverTransponderID_Change();
    void cmdTournamentModifyDriverReadID_Click();
    void cmdTournamentModifyDriverWriteID_Click();
    void txtTournamentDriverLastname_LostFocus();
    void txtTournamentDriverFirstname_LostFocus();

    // Participants.
    void RefreshTournamentParticipants();
    void cmdTournamentAddDriver_Click();
    void cmdTournamentRemoveDriver_Click();
    void lbTournamentPotentialParticipants_DblClick();
    void lbTournamentParticipants_DblClick();

    QComboBox* cbTournamentSelectTournament = nullptr;
    QPushButton* cmdTournamentNew = nullptr;
    QPushButton* cmdTournamentDelete = nullptr;
    QLineEdit* txtTournamentTournamentName = nullptr;
    QLineEdit* txtTournamentTournamentLocation = nullptr;
    QLineEdit* txtTournamentTournamentTime = nullptr;

    QGroupBox* Frame4 = nullptr;
    QComboBox* cbTournamentDriverSelect = nullptr;
    QLineEdit* txtTournamentDriverLastname = nullptr;
    QLineEdit* txtTournamentDriverFirstname = nullptr;
    QLineEdit* txtTournamentDriverTeam = nullptr;
    QLineEdit* txtTournamentDriverCar = nullptr;
    QLineEdit* txtTournamentDriverEmail = nullptr;
    QLineEdit* txtTournamentDriverFrequency = nullptr;
    QCheckBox* chkTournamentDriverOwnTransponder = nullptr;
    QLineEdit* txtTournamentDriverTransponderID = nullptr;
    QPushButton* cmdTournamentModifyDriverReadID = nullptr;
    QPushButton* cmdTournamentModifyDriverWriteID = nullptr;
    QPushButton* cmdTournamentModifyDriverAdd = nullptr;
    QPushButton* cmdTournamentModifyDriverSave = nullptr;

    QListWidget* lbTournamentPotentialParticipants = nullptr;
    QListWidget* lbTournamentParticipants = nullptr;
    QPushButton* cmdTournamentAddDriver = nullptr;
    QPushButton* cmdTournamentRemoveDriver = nullptr;

private:
    void buildTournamentDetails();
    void buildDriverFrame();
    void buildParticipants();
    void connectHandlers();
    void saveTournamentText(QLineEdit* box, QLabel* stripLabel, TournamentText which);
    // A loaded tournament's text in its box and the top strip, not stored again.
    static void showTournamentText(QLineEdit* box, QLabel* stripLabel, const QString& text);
    void clearDriverFrame();
    // The drivers of the list, open or registered in the tournament.
    void fillParticipantList(QListWidget* list, qint32 tournament, const QList<DriverRow>& drivers);

    TransponderIdBox* m_idBox = nullptr;
};

} // namespace kv
