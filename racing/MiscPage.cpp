#include "MiscPage.h"

#include "Database.h"
#include "DriverDetails.h"
#include "Helpers.h"
#include "KirvOCX.h"
#include "MainContext.h"
#include "Platform.h"
#include "RaceTiming.h"
#include "TransponderIdBox.h"
#include "Ui.h"
#include "mdlRegistry.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
    Close();
}

void DataControl::Close() {
    if (!QSqlDatabase::contains(m_name))
        return;
    // A query of no connection in place of the one read: clear() would keep a
    // result of this connection's driver, which goes with it.
    setQuery(QSqlQuery());
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool DataControl::Refresh() {
    if (!QSqlDatabase::contains(m_name)) {
        // Read only: this connection must never create or change the file.
        QString error;
        const OpenOutcome outcome = Database::openConnection(
            m_name, Database::dataSourceOf(m_connectionString),
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"), &error);
        if (!IsOpen(outcome)) {
            clear();
            return false;
        }
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
    {"DriverID", "DriverID"},
    {"Lastname", "Lastname"},
    {"Firstname", "Firstname"},
    {"Team", "Team"},
    {"Car", "Car"},
    {"Email", "Email"},
    {"Frequency", "Frequency"},
    {"TransponderID", "Transponder ID"},
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

    buildLapCounterFrames();
}

void MiscPage::buildLapCounterFrames() {
    Frame5 = addControl<QGroupBox>("Frame5", this, 360, 6120, 3015, 1455);
    Frame5->setTitle(QStringLiteral("Kirv hardware setup"));
    addLabel(QStringLiteral("Select com-port:"), Frame5, 240, 420, 1575, 255);
    txtMiscComport = addControl<QLineEdit>("txtMiscComport", Frame5, 1920, 360, 495, 315);
    txtMiscComport->setText(LapCounterSettings::kDefaultPort);
    cmdMiscTestConnection = addButton("cmdMiscTestConnection", QStringLiteral("Test connection"),
                                      Frame5, 240, 840, 2175, 435);

    Frame2 = addControl<QGroupBox>("Frame2", this, 3720, 6120, 3135, 3015);
    Frame2->setTitle(QStringLiteral("Transponder"));
    addLabel(QStringLiteral("Quick read and write transponder ID."), Frame2, 240, 360, 2850, 255);
    m_idBox = new TransponderIdBox(
        m_main, Frame2,
        {"txtMiscTransponderID", "cmdMiscTransponderReadID", "cmdMiscTransponderWriteID"},
        QRect(240, 870, 330, 255), QPoint(600, 840));
    txtMiscTransponderID = m_idBox->box;
    cmdMiscTransponderReadID = m_idBox->cmdRead;
    cmdMiscTransponderWriteID = m_idBox->cmdWrite;
    auto* delayText = addLabel(QStringLiteral("Select tranponder delay. This prevents multiple "
                                              "registrations."),
                               Frame2, 240, 1560, 2775, 495);
    delayText->setWordWrap(true);
    addLabel(QStringLiteral("Delay [s]:"), Frame2, 240, 2220, 975, 255);
    txtMiscTransponderDelay =
        addControl<QLineEdit>("txtMiscTransponderDelay", Frame2, 1200, 2160, 495, 315);
    txtMiscTransponderDelay->setText(LapCounterSettings::kDefaultTransponderDelay);

    Frame3 = addControl<QGroupBox>("Frame3", this, 7200, 6120, 2415, 3015);
    Frame3->setTitle(QStringLiteral("Simple monitor"));
    auto* monitorText =
        addLabel(QStringLiteral("Quickly monitor transponder ID's "), Frame3, 240, 300, 1320, 525);
    monitorText->setWordWrap(true);
    monitorText->setFont(formFont(7.5, true));
    lbMiscSimpleMonitor =
        addControl<QListWidget>("lbMiscSimpleMonitor", Frame3, 240, 840, 1095, 2010);
    cmdMiscSimpleMonitorStart = addButton("cmdMiscSimpleMonitorStart", QStringLiteral("Start"),
                                          Frame3, 1560, 360, 735, 375);
    cmdMiscSimpleMonitorStop =
        addButton("cmdMiscSimpleMonitorStop", QStringLiteral("Stop"), Frame3, 1560, 840, 735, 375);

    Frame8 = addControl<QGroupBox>("Frame8", this, 360, 7680, 3015, 1455);
    Frame8->setTitle(QStringLiteral("Update program"));
    cmdMiscLiveUpdate =
        addButton("cmdMiscLiveUpdate", QStringLiteral("Update"), Frame8, 240, 600, 2175, 435);

    connect(txtMiscComport, &QLineEdit::textChanged, this, &MiscPage::txtMiscComport_Change);
    connect(txtMiscTransponderDelay, &QLineEdit::textChanged, this,
            &MiscPage::txtMiscTransponderDelay_Change);
    connect(cmdMiscTestConnection, &QPushButton::clicked, this,
            &MiscPage::cmdMiscTestConnection_Click);
    connect(cmdMiscSimpleMonitorStart, &QPushButton::clicked, this,
            &MiscPage::cmdMiscSimpleMonitorStart_Click);
    connect(cmdMiscSimpleMonitorStop, &QPushButton::clicked, this,
            &MiscPage::cmdMiscSimpleMonitorStop_Click);
    connect(cmdMiscTransponderReadID, &QPushButton::clicked, this,
            &MiscPage::cmdMiscTransponderReadID_Click);
    connect(cmdMiscTransponderWriteID, &QPushButton::clicked, this,
            &MiscPage::cmdMiscTransponderWriteID_Click);
    connect(txtMiscTransponderID, &QLineEdit::textChanged, this,
            &MiscPage::txtMiscTransponderID_Change);
}

void MiscPage::txtMiscComport_Change() {
    const QString text = txtMiscComport->text();
    m_main.state().LapCounter.setPortText(text);
    if (text.isEmpty())
        return;
    const QString number = NumberText(RoundHalfEven(Val(text)));
    if (number != text) {
        txtMiscComport->setText(number); // runs this handler again, which stores it
        return;
    }
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("ComPort"), number, true);
}

void MiscPage::txtMiscTransponderDelay_Change() {
    m_main.state().LapCounter.setTransponderDelayText(txtMiscTransponderDelay->text());
    // Stored with "." whatever the locale, so the next start reads it back whole.
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("TransponderDelay"),
                     NumberText(Val(txtMiscTransponderDelay->text())), true);
}

void MiscPage::cmdMiscTestConnection_Click() {
    m_main.TestLapCounterConnection();
}

void MiscPage::cmdMiscSimpleMonitorStart_Click() {
    KirvOCX* link = m_main.state().KirvOCX;
    link->StopRace();
    Sleep(500);
    link->StartRace();
    m_main.timing().TimingMode = TimingMonitor;
    lbMiscSimpleMonitor->clear();
}

void MiscPage::cmdMiscSimpleMonitorStop_Click() {
    if (m_main.timing().TimingMode != TimingMonitor)
        return;
    m_main.state().KirvOCX->StopRace();
    m_main.timing().TimingMode = TimingIdle;
}

void MiscPage::MonitorCar(qint16 carId) {
    lbMiscSimpleMonitor->insertItem(0, QString::number(carId));
    // A long session keeps the newest entries only.
    while (lbMiscSimpleMonitor->count() > kMonitorEntries)
        delete lbMiscSimpleMonitor->takeItem(lbMiscSimpleMonitor->count() - 1);
}

void MiscPage::cmdMiscTransponderReadID_Click() {
    m_idBox->Read();
}

void MiscPage::cmdMiscTransponderWriteID_Click() {
    m_idBox->Write();
}

void MiscPage::txtMiscTransponderID_Change() {
    m_idBox->BoxChanged();
}

void MiscPage::bindDriverGrid(const QString& connectionString) {
    adodcDriver->setConnectionString(connectionString);
    adodcDriver->setRecordSource(DriverTableSource());
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
