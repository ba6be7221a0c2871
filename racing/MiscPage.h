#pragma once
// Page 4, "Miscellaneous": the table of all drivers, the lap counter set-up,
// the simple monitor and the transponder tools.

#include "PageFrame.h"

#include <QSqlQueryModel>

class QLabel;
class QPushButton;
class QTableView;

namespace kv {

// The data control behind the driver grid: reads its record source over a
// connection of its own.
class DataControl final : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;
    void setConnectionString(const QString& connectionString) { m_connectionString = connectionString; }
    void setRecordSource(const QString& sql) { m_recordSource = sql; }
    QString recordSource() const { return m_recordSource; }
    // Re-reads the record source; false (and an empty grid) when it cannot.
    bool Refresh();

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

    QGroupBox* Frame7 = nullptr;
    QTableView* tdbgDriver = nullptr;
    DataControl* adodcDriver = nullptr;
    QPushButton* cmdMiscDatabaseDeleteSelectedDriver = nullptr;
};

} // namespace kv
