#include "frmSingleRaceRegistration.h"

#include "Database.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "Platform.h"
#include "RaceCodes.h"
#include "Races.h"
#include "Ui.h"
#include "frmAddRace.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kv {

frmSingleRaceRegistration::frmSingleRaceRegistration(QWidget* parent) : QDialog(parent) {
    SetUpFixedWindow(this, "frmSingleRaceRegistration", QStringLiteral("Single race registration"),
                     7575, 4335, formFont());

    Label37 = addLabel(
        "Label37",
        QStringLiteral("Single races are not linked to any tournament, qualification heat or final "
                       "heat. They can be added or deleted regardless of the current tournament "
                       "status. "),
        this, 120, 120, 7335, 435);
    Label37->setWordWrap(true);
    Label37->setFont(formFont(8.25, false));

    addLabel("Label35", QStringLiteral("Source"), this, 120, 660, 3015, 255);
    lbHeatSource = addControl<QListWidget>("lbHeatSource", this, 120, 960, 3015, 2655);
    cmdHeatAddParticipant =
        addButton("cmdHeatAddParticipant", QStringLiteral("Add"), this, 3240, 1620, 1095, 375);
    cmdHeatRemoveParticipant = addButton("cmdHeatRemoveParticipant", QStringLiteral("Remove"), this,
                                         3240, 2100, 1095, 375);
    addLabel("Label34", QStringLiteral("Destination"), this, 4440, 660, 3015, 255);
    cbHeatDestination = addControl<QComboBox>("cbHeatDestination", this, 4440, 960, 3015, 315);
    SetUpLongList(cbHeatDestination); // every single race ever run
    lbHeatDestination = addControl<QListWidget>("lbHeatDestination", this, 4440, 1380, 3015, 2235);
    lbHeatDestination->setAccessibleName(QStringLiteral("Destination drivers"));
    cmdHeatClose = addButton("cmdHeatClose", QStringLiteral("Close"), this, 3240, 3780, 1095, 375);
    cmdHeatDelete =
        addButton("cmdHeatDelete", QStringLiteral("Delete race"), this, 6240, 3780, 1215, 375);

    QPalette grey = palette();
    grey.setColor(QPalette::Base, Colours::LightGrey);
    grey.setColor(QPalette::Button, Colours::LightGrey);
    QWidget* const greyed[] = {lbHeatSource,          lbHeatDestination,        cbHeatDestination,
                               cmdHeatAddParticipant, cmdHeatRemoveParticipant, cmdHeatClose,
                               cmdHeatDelete};
    for (QWidget* w : greyed)
        w->setPalette(grey);
    for (QListWidget* list : {lbHeatSource, lbHeatDestination})
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    showAddRace = [](frmAddRace& dialog) { dialog.exec(); };

    connect(cbHeatDestination, &QComboBox::currentIndexChanged, this,
            &frmSingleRaceRegistration::cbHeatDestination_Click);
    connect(cmdHeatAddParticipant, &QPushButton::clicked, this,
            &frmSingleRaceRegistration::cmdHeatAddParticipant_Click);
    connect(cmdHeatRemoveParticipant, &QPushButton::clicked, this,
            &frmSingleRaceRegistration::cmdHeatRemoveParticipant_Click);
    connect(cmdHeatDelete, &QPushButton::clicked, this,
            &frmSingleRaceRegistration::cmdHeatDelete_Click);
    connect(cmdHeatClose, &QPushButton::clicked, this,
            &frmSingleRaceRegistration::cmdHeatClose_Click);
    connect(lbHeatSource, &QListWidget::itemDoubleClicked, this,
            &frmSingleRaceRegistration::lbHeatSource_DblClick);
    connect(lbHeatDestination, &QListWidget::itemDoubleClicked, this,
            &frmSingleRaceRegistration::lbHeatDestination_DblClick);

    DescribeControls(this);
}

void frmSingleRaceRegistration::showEvent(QShowEvent* event) {
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmSingleRaceRegistration::Form_Load() {
    m_loaded = true;
    RefreshSingleRaceList(-1);
}

void frmSingleRaceRegistration::RefreshSingleRaceList(qint32 RaceIDToSelect) {
    int select = -1;
    {
        const QSignalBlocker quiet(cbHeatDestination);
        cbHeatDestination->clear();
        cbHeatDestination->addItem(QStringLiteral("<Add new single race>"), 0);
        QList<RaceRow> races;
        if (m_dbConnection && ReadSingleRaces(*m_dbConnection, races)) {
            for (const RaceRow& race : races) {
                const qint32 key = race.raceID;
                cbHeatDestination->addItem(race.description + RaceStatusSuffix(race.status), key);
                if (key == RaceIDToSelect)
                    select = cbHeatDestination->count() - 1;
            }
        }
        if (select < 0 && cbHeatDestination->count() > 1)
            select = 1;
        cbHeatDestination->setCurrentIndex(-1);
    }
    // With no race to choose, the lists show no race's drivers.
    lbHeatSource->clear();
    lbHeatDestination->clear();
    if (select > 0)
        cbHeatDestination->setCurrentIndex(select);
}

qint32 frmSingleRaceRegistration::chosenRace() const {
    const int row = cbHeatDestination->currentIndex();
    return row > 0 ? cbHeatDestination->itemData(row).toInt() : 0;
}

void frmSingleRaceRegistration::fillDrivers(QListWidget* list, bool inRace) {
    list->clear();
    QList<DriverRow> drivers;
    if (!m_dbConnection || !(inRace ? ReadDriversInRace(*m_dbConnection, chosenRace(), drivers)
                                    : ReadDriversNotInRace(*m_dbConnection, chosenRace(), drivers)))
        return;
    for (const DriverRow& d : drivers) {
        auto* row = new QListWidgetItem(QString::number(d.driverID) + QStringLiteral(" ") +
                                        d.lastname + QStringLiteral(", ") + d.firstname +
                                        QStringLiteral(" [") + d.car + QStringLiteral("]"));
        row->setData(Qt::UserRole, d.driverID);
        list->addItem(row);
    }
}

void frmSingleRaceRegistration::cbHeatDestination_Click() {
    const int row = cbHeatDestination->currentIndex();
    if (row < 0)
        return;
    if (row == 0) {
        frmAddRace dialog;
        dialog.m_intTournamentID = 0;
        dialog.m_dbConnection = m_dbConnection;
        showAddRace(dialog);
        RefreshSingleRaceList(dialog.m_intNewRaceID);
        return;
    }
    fillDrivers(lbHeatDestination, true);
    fillDrivers(lbHeatSource, false);
}

void frmSingleRaceRegistration::cmdHeatAddParticipant_Click() {
    const QListWidgetItem* driver = lbHeatSource->currentItem();
    const qint32 race = chosenRace();
    if (!driver || race <= 0 || !m_dbConnection)
        return;
    switch (AddDriverToRace(*m_dbConnection, race, driver->data(Qt::UserRole).toInt(), false)) {
    case EntryChange::Done:
        cbHeatDestination_Click();
        break;
    case EntryChange::Full:
        MsgBox(RaceFullText(), MsgButtons::OK, MsgIcon::None, kProgramName);
        break;
    case EntryChange::Nothing:
    case EntryChange::SameLevel:
    case EntryChange::Failed:
        break;
    }
}

void frmSingleRaceRegistration::cmdHeatRemoveParticipant_Click() {
    const QListWidgetItem* driver = lbHeatDestination->currentItem();
    const qint32 race = chosenRace();
    if (!driver || race <= 0 || !m_dbConnection)
        return;
    if (RemoveDriverFromRace(*m_dbConnection, race, driver->data(Qt::UserRole).toInt()) ==
        EntryChange::Done)
        cbHeatDestination_Click();
}

void frmSingleRaceRegistration::cmdHeatDelete_Click() {
    const qint32 race = chosenRace();
    if (race <= 0 || !m_dbConnection)
        return;
    if (MsgBox(QStringLiteral("Are you sure you want to delete this race?"), MsgButtons::YesNo,
               MsgIcon::None, QStringLiteral("Delete final race?")) != MsgResult::Yes)
        return;
    if (!DeleteRaces(*m_dbConnection, RacesToDelete::race(race)))
        return;
    RefreshSingleRaceList(-1);
}

void frmSingleRaceRegistration::cmdHeatClose_Click() {
    accept();
}

void frmSingleRaceRegistration::lbHeatSource_DblClick() {
    cmdHeatAddParticipant_Click();
}

void frmSingleRaceRegistration::lbHeatDestination_DblClick() {
    cmdHeatRemoveParticipant_Click();
}

} // namespace kv
