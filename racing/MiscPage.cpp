#include "MiscPage.h"

#include "Database.h"
#include "Ui.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QUuid>

namespace kv {

DataControl::DataControl(QObject* parent)
    : QSqlQueryModel(parent), m_name(QStringLiteral("adodc-") + QUuid::createUuid().toString()) {}

DataControl::~DataControl() {
    clear();
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool DataControl::Refresh() {
    if (!QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(Database::dataSourceOf(m_connectionString));
        // Read only: this connection must never create or change the file.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen() && !db.open()) {
        clear();
        return false;
    }
    setQuery(QSqlQuery(m_recordSource, db));
    while (canFetchMore())
        fetchMore();
    return !lastError().isValid();
}

namespace {

struct GridColumn {
    const char* field;
    const char* caption;
};
constexpr GridColumn kDriverColumns[] = {
    {"DriverID", "DriverID"},     {"Lastname", "Lastname"},
    {"Firstname", "Firstname"},   {"Team", "Team"},
    {"Car", "Car"},               {"Email", "Email"},
    {"Frequency", "Frequency"},   {"TransponderID", "Transponder ID"},
    {"OwnTransponder", "Own Transponder"},
};

} // namespace

MiscPage::MiscPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Miscellaneous"), parent) {
    Frame7 = new QGroupBox(QStringLiteral("All drivers in database"), this);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    place(Frame7, 360, 360, 14295, 5520);
    auto* label = new QLabel(QStringLiteral("Table of all drivers in database:"), Frame7);
    place(label, 240, 360, 6000, 255);

    adodcDriver = new DataControl(this);
    adodcDriver->setObjectName(QStringLiteral("adodcDriver"));

    tdbgDriver = new QTableView(Frame7);
    tdbgDriver->setObjectName(QStringLiteral("tdbgDriver"));
    place(tdbgDriver, 240, 720, 13815, 3855);
    tdbgDriver->setFont(formFont(8.25, false));
    tdbgDriver->setSelectionBehavior(QAbstractItemView::SelectRows);
    tdbgDriver->setSelectionMode(QAbstractItemView::SingleSelection);
    tdbgDriver->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tdbgDriver->verticalHeader()->setDefaultSectionSize(20);
    tdbgDriver->verticalHeader()->setVisible(false);
    tdbgDriver->horizontalHeader()->setStretchLastSection(true);

    cmdMiscDatabaseDeleteSelectedDriver =
        new QPushButton(QStringLiteral("Delete selected driver"), Frame7);
    cmdMiscDatabaseDeleteSelectedDriver->setObjectName(
        QStringLiteral("cmdMiscDatabaseDeleteSelectedDriver"));
    place(cmdMiscDatabaseDeleteSelectedDriver, 240, 4740, 2295, 495);
}

void MiscPage::bindDriverGrid(const QString& connectionString) {
    adodcDriver->setConnectionString(connectionString);
    adodcDriver->setRecordSource(QStringLiteral("SELECT * FROM tblDriver WHERE Deleted=0;"));
    tdbgDriver->setModel(adodcDriver);
}

void MiscPage::RefreshDriverGrid() {
    adodcDriver->Refresh();
    // Nine columns with their captions; anything else the record source brings
    // (the deleted mark) stays hidden.
    const QSqlRecord rec = adodcDriver->record();
    for (int c = 0; c < rec.count(); ++c)
        tdbgDriver->setColumnHidden(c, true);
    for (const GridColumn& col : kDriverColumns) {
        const int c = rec.indexOf(QLatin1String(col.field));
        if (c < 0)
            continue;
        adodcDriver->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(col.caption));
        tdbgDriver->setColumnHidden(c, false);
    }
}

} // namespace kv
