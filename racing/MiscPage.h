#pragma once
// Page 4, "Miscellaneous": the table of all drivers, the lap counter set-up,
// the simple monitor, the transponder tools and the program update.

#include "PageFrame.h"

#include <QSqlQueryModel>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace kv {

class TransponderIdBox;

// The data control behind the driver grid: reads its record source over a
// connection of its own.
class DataControl final : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;
    void setConnectionString(const QString& connectionString) {
        m_connectionString = connectionString;
    }
    void setRecordSource(const QString& sql) { m_recordSource = sql; }
    QString recordSource() const { return m_recordSource; }
    // Re-reads the record source; false (and an empty grid) when it cannot.
    bool Refresh();
    // Empties the grid and closes the connection; the next Refresh opens it again.
    void Close();

private:
    QString m_connectionString;
    QString m_recordSource;
    QString m_name;
};

class MiscPage final : public PageFrame {
    Q_OBJECT
public:
    MiscPage(MainContext& main, QWidget* parent);

    // Binds the driver grid to its data control (start-up).
    void bindDriverGrid(const QString& connectionString);
    void RefreshDriverGrid();

    // Lap counter set-up.
    void txtMiscComport_Change();
    void txtMiscTransponderDelay_Change();
    void cmdMiscTestConnection_Click();

    // Simple monitor.
    void cmdMiscSimpleMonitorStart_Click();
    void cmdMiscSimpleMonitorStop_Click();
    // A pass seen while the monitor runs: its car on top of the list.
    void MonitorCar(qint16 carId);
    static constexpr int kMonitorEntries = 1000;

    // Quick transponder tool.
    void cmdMiscTransponderReadID_Click();
    void cmdMiscTransponderWriteID_Click();
    void txtMiscTransponderID_Change();

    QGroupBox* Frame7 = nullptr;
    QTableView* tdbgDriver = nullptr;
    DataControl* adodcDriver = nullptr;
    QPushButton* cmdMiscDatabaseDeleteSelectedDriver = nullptr;

    QGroupBox* Frame5 = nullptr;
    QLineEdit* txtMiscComport = nullptr;
    QPushButton* cmdMiscTestConnection = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtMiscTransponderDelay = nullptr;
    QLineEdit* txtMiscTransponderID = nullptr;
    QPushButton* cmdMiscTransponderReadID = nullptr;
    QPushButton* cmdMiscTransponderWriteID = nullptr;
    QGroupBox* Frame3 = nullptr;
    QListWidget* lbMiscSimpleMonitor = nullptr;
    QPushButton* cmdMiscSimpleMonitorStart = nullptr;
    QPushButton* cmdMiscSimpleMonitorStop = nullptr;
    // Online update; the main window answers the button.
    QGroupBox* Frame8 = nullptr;
    QPushButton* cmdMiscLiveUpdate = nullptr;

private:
    void buildLapCounterFrames();

    TransponderIdBox* m_idBox = nullptr;
};

} // namespace kv
