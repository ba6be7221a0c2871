#pragma once
// The "Details" window: every lap time of every car of one race as a table,
// with each car's lap count, best lap and average under it. Modeless; any
// number can be open, each for its own race, each refreshing on its button and
// every so many seconds.

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

class Database;

class frmScoreDetails final : public QWidget {
    Q_OBJECT
public:
    // A top-level window over its owner; it deletes itself when closed.
    explicit frmScoreDetails(QWidget* owner = nullptr);

    // Set by the opener before the window is shown.
    qint32 m_intRaceID = 0;
    Database* m_dbConnection = nullptr; // borrowed, never closed here

    // Run once when the window is first shown.
    void Form_Load();
    void cmdRefresh_Click();
    void tmrAutomaticRefresh_Timer();
    void txtAutomaticRefresh_Change();
    // Makes the list's horizontal scroll range cover its widest row; returns
    // that row's width in pixels.
    int lbAddHScroll(QListWidget* lb);

    QLabel* Label13 = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QLabel* label = nullptr;
    QLineEdit* txtAutomaticRefresh = nullptr;
    QListWidget* lbLaps = nullptr;
    QTimer tmrAutomaticRefresh;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_loaded = false;
};

// Opens a fresh details window for a race over the owner window.
frmScoreDetails* OpenScoreDetails(QWidget* owner, Database& db, qint32 raceID);

} // namespace kv
