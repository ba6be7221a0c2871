#pragma once
// "Add new race": describes one new race (a final of the current tournament or
// a single race of no tournament) and inserts it on OK.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kv {

class Database;

class frmAddRace final : public QDialog {
    Q_OBJECT
public:
    explicit frmAddRace(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown.
    qint32 m_intTournamentID = 0; // 0 for a single race
    Database* m_dbConnection = nullptr;
    // 2 on entry: a final, which must be given a level (the code becomes that of
    // the level on OK); 0: a single race.
    qint16 m_intRaceCode = 0;
    // Read by the caller afterwards: the new race's key, or -1 when none was added.
    qint32 m_intNewRaceID = -1;

    void Form_Load();
    void cbCategory_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* lblInformation = nullptr;
    QLineEdit* txtDescription = nullptr;
    QLineEdit* txtLength = nullptr;
    QLabel* lblLengthStyle = nullptr;
    QPlainTextEdit* txtComment = nullptr;
    QLabel* lblCategory = nullptr;
    QComboBox* cbCategory = nullptr;
    QLabel* lblFinalLevel = nullptr;
    QComboBox* cbFinalLevel = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_loaded = false;
};

} // namespace kv
