#include "frmEditQualHeats.h"

#include "Database.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "Platform.h"
#include "QualHeatDeal.h"
#include "QualHeats.h"
#include "Races.h"
#include "Tournaments.h"
#include "Ui.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kv {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

QGroupBox* boldFrame(const char* name, const QString& caption, QWidget* parent, int left, int top,
                     int width, int height) {
    auto* frame = addControl<QGroupBox>(name, parent, left, top, width, height);
    frame->setTitle(caption);
    frame->setFont(formFont(8.25, true));
    return frame;
}

QLabel* plainLabel(const char* name, const QString& text, QWidget* parent, int left, int top,
                   int width, int height) {
    QLabel* label = addLabel(name, text, parent, left, top, width, height);
    label->setFont(formFont(8.25, false));
    label->setWordWrap(true);
    return label;
}

} // namespace

frmEditQualHeats::frmEditQualHeats(QWidget* parent) : QDialog(parent) {
    SetUpFixedWindow(this, "frmEditQualHeats", QStringLiteral("Edit qualification heats"), 4800,
                     5700, formFont(8.25, false));

    Frame1 = boldFrame("Frame1", QStringLiteral("Move driver"), this, 120, 120, 4560, 3615);
    Label3 = plainLabel("Label3",
                        QStringLiteral("Move a driver from one qualification heat to another. This "
                                       "will apply to all rounds, except those that are already "
                                       "run."),
                        Frame1, 120, 300, 4320, 615);
    plainLabel("Label1", QStringLiteral("Select driver:"), Frame1, 120, 1020, 1335, 255);
    cbDriver = addControl<QComboBox>("cbDriver", Frame1, 1500, 960, 2940, 315);
    plainLabel("Label2", QStringLiteral("Select heat:"), Frame1, 120, 1440, 1335, 255);
    cbHeats = addControl<QComboBox>("cbHeats", Frame1, 1500, 1380, 2940, 315);
    SetUpLongList(cbHeats); // every qualification heat of the tournament
    lbDriversInHeat = addControl<QListWidget>("lbDriversInHeat", Frame1, 1500, 1800, 2940, 1215);
    lbDriversInHeat->setAccessibleName(QStringLiteral("Drivers in heat"));
    cmdMoveDriver = addButton("cmdMoveDriver", QStringLiteral("Move driver to this heat"), Frame1,
                              1500, 3120, 2940, 375);
    for (QWidget* w : Frame1->findChildren<QWidget*>())
        w->setFont(formFont(8.25, false));

    Frame2 = boldFrame("Frame2", QStringLiteral("Number of rounds"), this, 120, 3855, 4560, 1725);
    Label4 = plainLabel("Label4",
                        QStringLiteral("Change the number of qualification rounds. This must be "
                                       "between 2 and 6. If you decrease the number of rounds, any "
                                       "heats that have been run will be deleted."),
                        Frame2, 120, 300, 4320, 855);
    cmdChangeNumOfRounds =
        addButton("cmdChangeNumOfRounds", QStringLiteral("Change number of rounds"), Frame2, 1500,
                  1200, 2940, 375);
    cmdChangeNumOfRounds->setFont(formFont(8.25, false));

    connect(cbHeats, &QComboBox::currentIndexChanged, this, &frmEditQualHeats::cbHeats_Click);
    connect(cmdMoveDriver, &QPushButton::clicked, this, &frmEditQualHeats::cmdMoveDriver_Click);
    connect(cmdChangeNumOfRounds, &QPushButton::clicked, this,
            &frmEditQualHeats::cmdChangeNumOfRounds_Click);

    DescribeControls(this);
}

void frmEditQualHeats::showEvent(QShowEvent* event) {
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmEditQualHeats::Form_Load() {
    m_loaded = true;
    const QSignalBlocker quietDrivers(cbDriver);
    const QSignalBlocker quietHeats(cbHeats);
    cbDriver->clear();
    cbHeats->clear();
    lbDriversInHeat->clear();
    if (!m_dbConnection)
        return;
    QList<DriverRow> drivers;
    if (ReadParticipants(*m_dbConnection, m_intTournamentID, drivers))
        for (const DriverRow& d : drivers)
            cbDriver->addItem(d.lastname + QStringLiteral(", ") + d.firstname, d.driverID);
    QList<RaceRow> heats;
    if (ReadQualHeats(*m_dbConnection, m_intTournamentID, 1, heats))
        for (const RaceRow& h : heats)
            cbHeats->addItem(h.description, h.raceID);
    cbDriver->setCurrentIndex(-1);
    cbHeats->setCurrentIndex(-1);
}

void frmEditQualHeats::cbHeats_Click() {
    lbDriversInHeat->clear();
    const int row = cbHeats->currentIndex();
    if (row < 0 || !m_dbConnection)
        return;
    QList<DriverRow> drivers;
    if (!ReadHeatDrivers(*m_dbConnection, cbHeats->itemData(row).toInt(),
                         HeatDriverOrder::StartPosition, drivers))
        return;
    for (const DriverRow& d : drivers)
        lbDriversInHeat->addItem(d.lastname + QStringLiteral(", ") + d.firstname);
}

void frmEditQualHeats::cmdMoveDriver_Click() {
    const int heatRow = cbHeats->currentIndex();
    const int driverRow = cbDriver->currentIndex();
    if (heatRow < 0 || driverRow < 0 || !m_dbConnection)
        return;
    switch (MoveDriverToHeat(*m_dbConnection, m_intTournamentID,
                             cbDriver->itemData(driverRow).toInt(),
                             cbHeats->itemData(heatRow).toInt())) {
    case HeatMove::Moved:
        cbHeats_Click();
        break;
    case HeatMove::Full:
        MsgBox(QStringLiteral("A heat holds at most %1 cars. The driver was not moved.")
                   .arg(MaxCarsInRace),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        break;
    case HeatMove::NoSuchHeat:
    case HeatMove::Failed:
        break;
    }
}

void frmEditQualHeats::cmdChangeNumOfRounds_Click() {
    if (!m_dbConnection)
        return;
    Database& db = *m_dbConnection;
    QualSettings settings;
    bool found = false;
    if (!ReadQualSettings(db, m_intTournamentID, settings, found) || !found)
        return;
    const int rounds = settings.rounds;

    const QString answer = InputBox(QStringLiteral("You currently have ") + num(rounds) +
                                        QStringLiteral(" rounds.\r\nHow many do you want?"),
                                    kProgramName, num(rounds));
    // A number too large to read is above the most rounds, not 0.
    const double wanted = RoundHalfEven(ValOrInfinity(answer));
    if (wanted == rounds)
        return;
    if (wanted < MinRounds) {
        MsgBox(QStringLiteral("You must have at least 2 rounds."), MsgButtons::OK, MsgIcon::None,
               kProgramName);
        return;
    }
    if (wanted > MaxRounds) {
        MsgBox(QStringLiteral("You can not have more than 6 rounds."), MsgButtons::OK,
               MsgIcon::None, kProgramName);
        return;
    }
    const int m = static_cast<int>(wanted);
    // New rounds are dealt by the cars per heat; a heat has room for ten.
    if (m > rounds &&
        (settings.carsInHeat < 1 || settings.carsInHeat > QualHeatDeal::MaxCarsInHeat)) {
        MsgBox(QStringLiteral("The number of cars in a heat must be from 1 to %1. The number of "
                              "rounds was not changed.")
                   .arg(QualHeatDeal::MaxCarsInHeat),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    }
    if (!StoreQualSetting(db, m_intTournamentID, QualSetting::Rounds, m))
        return;
    if (m < rounds)
        removeRounds(m);
    else
        addRounds(rounds + 1, m, settings.carsInHeat, settings.minutes);
}

void frmEditQualHeats::removeRounds(int rounds) {
    Database& db = *m_dbConnection;
    bool started = false;
    if (!HasStartedQualHeats(db, m_intTournamentID, rounds, started))
        return;
    if (started &&
        MsgBox(QStringLiteral("There are races that has been started (or finished) in the rounds "
                              "you wish to delete. Are you sure you want to proceed?"),
               MsgButtons::OKCancel, MsgIcon::None, kProgramName) == MsgResult::Cancel)
        return;
    (void)DeleteRaces(db, RacesToDelete::qualHeats(m_intTournamentID, rounds));
}

void frmEditQualHeats::addRounds(int from, int to, int carsInHeat, int minutes) {
    Database& db = *m_dbConnection;
    bool generated = false;
    if (!HasQualHeats(db, m_intTournamentID, generated))
        return;
    if (!generated) {
        MsgBox(QStringLiteral("No qualification-rounds to copy. First generate qualification "
                              "heats."),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    }
    QList<qint64> participants;
    if (!ReadParticipantsForHeats(db, m_intTournamentID, participants))
        return;
    if (participants.isEmpty()) {
        MsgBox(kNoParticipantsForHeatsText, MsgButtons::OK, MsgIcon::None,
               QStringLiteral("Generate qualification heats."));
        return;
    }
    (void)WriteQualRounds(db, m_intTournamentID, from, to, carsInHeat, minutes, participants);
}

} // namespace kv
