#pragma once
// "Edit qualification heats": moves a driver to another heat number in every
// qualification round not yet run, and changes the number of rounds.

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class Database;

class frmEditQualHeats final : public QDialog {
    Q_OBJECT
public:
    explicit frmEditQualHeats(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown.
    qint32 m_intTournamentID = 0;
    Database* m_dbConnection = nullptr;

    // The fewest and most qualification rounds.
    static constexpr int MinRounds = 2;
    static constexpr int MaxRounds = 6;

    void Form_Load();
    void cbHeats_Click();
    void cmdMoveDriver_Click();
    void cmdChangeNumOfRounds_Click();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cbDriver = nullptr;
    QComboBox* cbHeats = nullptr;
    QListWidget* lbDriversInHeat = nullptr;
    QPushButton* cmdMoveDriver = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* cmdChangeNumOfRounds = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void removeRounds(int rounds);
    void addRounds(int from, int to, int carsInHeat, int minutes);
    bool m_loaded = false;
};

} // namespace kv
