#include "ManagerPage.h"

#include "EventData.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "KeepSelection.h"
#include "MainContext.h"
#include "Platform.h"
#include "QualHeatDeal.h"
#include "QualHeats.h"
#include "RaceCodes.h"
#include "Races.h"
#include "Ui.h"
#include "frmAddRace.h"
#include "frmEditQualHeats.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kv {

namespace {

const QString kGenerateCaption = QStringLiteral("Generate qual.heats");
const QString kResetCaption = QStringLiteral("Reset qualification");
const QString kGenerateTitle = QStringLiteral("Generate qualification heats.");

// Left column, in twips inside the page frame.
constexpr int kLeft = 240;
constexpr int kWidth = 3615;
constexpr int kComboWidth = 855;

QComboBox* makeSettingCombo(const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    // Typed text stays typed text: it is neither added to the list nor completed
    // into a row, so it never counts as choosing a row.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // The combo would otherwise pick the row matching the typed text when the
    // user presses Enter or leaves the box.
    QLineEdit* edit = combo->lineEdit();
    QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
    QObject::disconnect(edit, &QLineEdit::returnPressed, combo, nullptr);
    return combo;
}

QListWidget* makeList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A setting as typed or chosen: its leading number, rounded halves to even.
double settingOf(const QComboBox* combo) {
    return RoundHalfEven(Val(combo->currentText()));
}

QString refusalText(QualHeatDeal::Refusal refusal) {
    const QString tail = QStringLiteral(" No qualification heats were generated.");
    switch (refusal) {
    case QualHeatDeal::Refusal::CarsInHeat:
        return QStringLiteral("The number of cars in a heat must be from 1 to %1.")
                   .arg(QualHeatDeal::MaxCarsInHeat) +
               tail;
    case QualHeatDeal::Refusal::Rounds:
        return QStringLiteral("The number of qualification rounds must be from 1 to %1.")
                   .arg(QualHeatDeal::MaxSetting) +
               tail;
    case QualHeatDeal::Refusal::RaceTime:
        return QStringLiteral("The race time must be from 1 to %1 minutes.")
                   .arg(QualHeatDeal::MaxSetting) +
               tail;
    case QualHeatDeal::Refusal::None:
        break;
    }
    return QString();
}

} // namespace

ManagerPage::ManagerPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Manager"), parent) {
    buildQualificationColumn();
    buildFinalHeatsArea();
    showAddRace = [](frmAddRace& dialog) { dialog.exec(); };
    showEditQualHeats = [](frmEditQualHeats& dialog) { dialog.exec(); };

    connect(cbManagerNumOfCarsInQualHeat, &QComboBox::currentIndexChanged, this,
            &ManagerPage::cbManagerNumOfCarsInQualHeat_Click);
    connect(cbManagerNumOfQualRounds, &QComboBox::currentIndexChanged, this,
            &ManagerPage::cbManagerNumOfQualRounds_Click);
    connect(cbManagerQualRaceTime, &QComboBox::currentIndexChanged, this,
            &ManagerPage::cbManagerQualRaceTime_Click);
    connect(cmdManagerGenerateQualHeats, &QPushButton::clicked, this,
            &ManagerPage::cmdManagerGenerateQualHeats_Click);
    connect(lbManagerGeneratedQualHeats, &QListWidget::currentRowChanged, this,
            &ManagerPage::lbManagerGeneratedQualHeats_Click);

    connect(cmdManagerEditQualHeats, &QPushButton::clicked, this,
            &ManagerPage::cmdManagerEditQualHeats_Click);
    connect(cbManagerFinalHeatSource, &QComboBox::currentIndexChanged, this,
            &ManagerPage::cbManagerFinalHeatSource_Click);
    connect(cbManagerFinalHeatDestination, &QComboBox::currentIndexChanged, this,
            &ManagerPage::cbManagerFinalHeatDestination_Click);
    connect(cmdManagerFinalHeatAddParticipant, &QPushButton::clicked, this,
            &ManagerPage::cmdManagerFinalHeatAddParticipant_Click);
    connect(cmdManagerFinalHeatRemoveParticipant, &QPushButton::clicked, this,
            &ManagerPage::cmdManagerFinalHeatRemoveParticipant_Click);
    connect(cmdManagerFinalHeatDelete, &QPushButton::clicked, this,
            &ManagerPage::cmdManagerFinalHeatDelete_Click);
    connect(lbManagerFinalHeatSource, &QListWidget::itemDoubleClicked, this,
            &ManagerPage::lbManagerFinalHeatSource_DblClick);
    connect(lbManagerFinalHeatDestination, &QListWidget::itemDoubleClicked, this,
            &ManagerPage::lbManagerFinalHeatDestination_DblClick);
}

void ManagerPage::buildQualificationColumn() {
    lblManagerQualHeatsTitle =
        addLabel("lblManagerQualHeatsTitle", QStringLiteral("Qualification heats"), this, kLeft,
                 360, kWidth, 315);
    lblManagerQualHeatsTitle->setFont(formFont(9.75));

    const int comboLeft = kLeft + kWidth - kComboWidth;
    const int labelWidth = kWidth - kComboWidth - 60;
    lblManagerNumOfCarsInQualHeat =
        addLabel("lblManagerNumOfCarsInQualHeat", QStringLiteral("Num. of cars in heat:"), this,
                 kLeft, 840, labelWidth, 315);
    cbManagerNumOfCarsInQualHeat =
        makeSettingCombo(QStringLiteral("cbManagerNumOfCarsInQualHeat"), this);
    place(cbManagerNumOfCarsInQualHeat, comboLeft, 840, kComboWidth, 315);

    lblManagerNumOfQualRounds =
        addLabel("lblManagerNumOfQualRounds", QStringLiteral("Num. of qual.rounds:"), this, kLeft,
                 1260, labelWidth, 315);
    cbManagerNumOfQualRounds = makeSettingCombo(QStringLiteral("cbManagerNumOfQualRounds"), this);
    place(cbManagerNumOfQualRounds, comboLeft, 1260, kComboWidth, 315);

    lblManagerQualRaceTime = addLabel("lblManagerQualRaceTime", QStringLiteral("Race time (min.):"),
                                      this, kLeft, 1680, labelWidth, 315);
    cbManagerQualRaceTime = makeSettingCombo(QStringLiteral("cbManagerQualRaceTime"), this);
    place(cbManagerQualRaceTime, comboLeft, 1680, kComboWidth, 315);

    cmdManagerGenerateQualHeats = new QPushButton(kGenerateCaption, this);
    cmdManagerGenerateQualHeats->setObjectName(QStringLiteral("cmdManagerGenerateQualHeats"));
    place(cmdManagerGenerateQualHeats, kLeft, 2160, kWidth, 375);

    lblManagerGeneratedQualHeats =
        addLabel("lblManagerGeneratedQualHeats", QStringLiteral("Qualification heats"), this, kLeft,
                 2700, kWidth, 255);
    lbManagerGeneratedQualHeats = makeList(QStringLiteral("lbManagerGeneratedQualHeats"), this);
    place(lbManagerGeneratedQualHeats, kLeft, 2955, kWidth, 2565);

    lblManagerQualHeatParticipants =
        addLabel("lblManagerQualHeatParticipants", QStringLiteral("Drivers in heat"), this, kLeft,
                 5640, kWidth, 255);
    lbManagerQualHeatParticipants = makeList(QStringLiteral("lbManagerQualHeatParticipants"), this);
    place(lbManagerQualHeatParticipants, kLeft, 5895, kWidth, 2565);
    SetTabStops(lbManagerQualHeatParticipants, {20, 90});

    cmdManagerEditQualHeats = new QPushButton(QStringLiteral("Edit heats"), this);
    cmdManagerEditQualHeats->setObjectName(QStringLiteral("cmdManagerEditQualHeats"));
    place(cmdManagerEditQualHeats, kLeft, 8580, kWidth, 375);
}

void ManagerPage::FillFixedLists() {
    const auto fill = [](QComboBox* combo, int first, int last) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        for (int i = first; i <= last; ++i)
            combo->addItem(QString::number(i));
        combo->setCurrentIndex(-1);
    };
    fill(cbManagerNumOfCarsInQualHeat, 4, 8);
    fill(cbManagerNumOfQualRounds, 2, 6);
    fill(cbManagerQualRaceTime, 1, 9);
}

void ManagerPage::RefreshManagerTab() {
    lbManagerQualHeatParticipants->clear();
    const qint32 tournament = m_main.state().CurrentTournamentID;
    if (tournament < 0) {
        lbManagerGeneratedQualHeats->clear();
        return;
    }
    refreshQualification(tournament);
    FillFinalHeatSourceCombo();
    FillFinalHeatDestinationCombo(-1);
}

void ManagerPage::refreshQualification(qint32 tournament) {
    Database& db = m_main.db();
    QList<RaceRow> heats;
    const bool read = ReadQualHeats(db, tournament, 0, heats);
    showQualHeats(heats); // none when the read was refused
    if (!read)
        return;

    QualSettings settings;
    bool found = false;
    if (!ReadQualSettings(db, tournament, settings, found))
        return;
    if (found) {
        // Shown, not stored: the combos' clicks store what the person chooses.
        const auto select = [](QComboBox* combo, int value, int first) {
            const QSignalBlocker quiet(combo);
            const int index = value - first;
            if (index >= 0 && index < combo->count())
                combo->setCurrentIndex(index);
        };
        select(cbManagerNumOfQualRounds, settings.rounds, 2);
        select(cbManagerNumOfCarsInQualHeat, settings.carsInHeat, 4);
        select(cbManagerQualRaceTime, settings.minutes, 1);
    }

    const bool generated = lbManagerGeneratedQualHeats->count() > 0;
    for (QComboBox* combo :
         {cbManagerNumOfCarsInQualHeat, cbManagerNumOfQualRounds, cbManagerQualRaceTime})
        combo->setEnabled(!generated);
    cmdManagerGenerateQualHeats->setText(generated ? kResetCaption : kGenerateCaption);
}

// The heat list rows as read, the first one chosen with its drivers. A list that
// shows these rows already is kept: a refresh with nothing changed (start-up
// selects the tournament twice) builds no row again.
void ManagerPage::showQualHeats(const QList<RaceRow>& heats) {
    QListWidget* list = lbManagerGeneratedQualHeats;
    bool shown = list->count() == heats.size();
    for (int i = 0; shown && i < list->count(); ++i) {
        const RaceRow& heat = heats.at(i);
        const QListWidgetItem* row = list->item(i);
        const QString text = row->text();
        const QString suffix = RaceStatusSuffix(heat.status);
        shown = row->data(Qt::UserRole).toInt() == heat.raceID &&
                text.size() == heat.description.size() + suffix.size() &&
                text.startsWith(heat.description) && text.endsWith(suffix);
    }
    if (!shown) {
        list->clear();
        for (const RaceRow& heat : heats) {
            auto* row = new QListWidgetItem(heat.description + RaceStatusSuffix(heat.status));
            row->setData(Qt::UserRole, heat.raceID);
            list->addItem(row);
        }
    }
    if (list->count() == 0)
        return;
    // Row 0 chosen already raises no click: its drivers are listed here.
    const bool firstChosen = list->currentRow() == 0;
    list->setCurrentRow(0);
    list->scrollToTop();
    if (firstChosen)
        lbManagerGeneratedQualHeats_Click();
}

void ManagerPage::storeSetting(QualSetting which, const QComboBox* combo) {
    // The row's text reaches the statement only as the whole number it stands for.
    qint32 value = 0;
    if (combo->currentIndex() < 0 || !WholeNumber(combo->currentText(), value))
        return;
    (void)StoreQualSetting(m_main.db(), m_main.state().CurrentTournamentID, which, value);
}

void ManagerPage::cbManagerNumOfCarsInQualHeat_Click() {
    storeSetting(QualSetting::CarsInHeat, cbManagerNumOfCarsInQualHeat);
}

void ManagerPage::cbManagerNumOfQualRounds_Click() {
    storeSetting(QualSetting::Rounds, cbManagerNumOfQualRounds);
}

void ManagerPage::cbManagerQualRaceTime_Click() {
    storeSetting(QualSetting::RaceTime, cbManagerQualRaceTime);
}

void ManagerPage::lbManagerGeneratedQualHeats_Click() {
    const QListWidgetItem* heat = lbManagerGeneratedQualHeats->currentItem();
    if (!heat)
        return;
    QList<DriverRow> drivers;
    if (!ReadHeatDrivers(m_main.db(), heat->data(Qt::UserRole).toInt(), HeatDriverOrder::Frequency,
                         drivers))
        return;
    lbManagerQualHeatParticipants->clear();
    for (const DriverRow& driver : drivers) {
        auto* row = new QListWidgetItem(QString::number(driver.driverID) + QLatin1Char('\t') +
                                        driver.lastname + QStringLiteral(", ") + driver.firstname +
                                        QLatin1Char('\t') + driver.frequency);
        row->setData(Qt::UserRole, driver.driverID);
        lbManagerQualHeatParticipants->addItem(row);
    }
    if (lbManagerQualHeatParticipants->count() > 0)
        lbManagerQualHeatParticipants->setCurrentRow(0);
}

void ManagerPage::cmdManagerEditQualHeats_Click() {
    frmEditQualHeats dialog;
    dialog.m_intTournamentID = m_main.state().CurrentTournamentID;
    dialog.m_dbConnection = &m_main.db();
    showEditQualHeats(dialog);
    RefreshManagerTab();
}

void ManagerPage::cmdManagerGenerateQualHeats_Click() {
    if (lbManagerGeneratedQualHeats->count() > 0)
        ResetQualification();
    else
        GenerateQualHeats();
}

void ManagerPage::ResetQualification() {
    Database& db = m_main.db();
    const qint32 tournament = m_main.state().CurrentTournamentID;
    bool started = false;
    if (!HasStartedQualHeats(db, tournament, 0, started))
        return;
    if (started &&
        MsgBox(QStringLiteral("There are already qual.races that has been started (or finished) in "
                              "this tournament. If you continue, all these races will be lost."),
               MsgButtons::OKCancel, MsgIcon::None,
               QStringLiteral("Delete races?")) == MsgResult::Cancel)
        return;
    if (!DeleteRaces(db, RacesToDelete::qualHeats(tournament)))
        return;
    RefreshManagerTab();
}

void ManagerPage::GenerateQualHeats() {
    const double cars = settingOf(cbManagerNumOfCarsInQualHeat);
    const double rounds = settingOf(cbManagerNumOfQualRounds);
    const double minutes = settingOf(cbManagerQualRaceTime);
    if (const auto refusal = QualHeatDeal::check(cars, rounds, minutes);
        refusal != QualHeatDeal::Refusal::None) {
        MsgBox(refusalText(refusal), MsgButtons::OK, MsgIcon::None, kGenerateTitle);
        return;
    }

    Database& db = m_main.db();
    const qint32 tournament = m_main.state().CurrentTournamentID;
    QList<qint64> participants;
    if (!ReadParticipantsForHeats(db, tournament, participants))
        return;
    if (participants.isEmpty()) {
        MsgBox(kNoParticipantsForHeatsText, MsgButtons::OK, MsgIcon::None, kGenerateTitle);
        return;
    }
    if (!WriteQualRounds(db, tournament, 1, static_cast<int>(rounds), static_cast<int>(cars),
                         static_cast<int>(minutes), participants))
        return;
    RefreshManagerTab();
}

// The final heats area: a ranking on the left, a final race's start list on
// the right, in twips inside the page frame.
void ManagerPage::buildFinalHeatsArea() {
    constexpr int sourceLeft = 4200;
    constexpr int sourceWidth = 6150;
    constexpr int buttonLeft = 10440;
    constexpr int buttonWidth = 855;
    constexpr int destLeft = 11385;
    constexpr int destWidth = 3450;
    const QPalette grey = [this] {
        QPalette p = palette();
        p.setColor(QPalette::Base, Colours::LightGrey);
        p.setColor(QPalette::Button, Colours::LightGrey);
        return p;
    }();

    lblManagerFinalHeatsTitle = addLabel("lblManagerFinalHeatsTitle", QStringLiteral("Final heats"),
                                         this, sourceLeft, 360, sourceWidth, 315);
    lblManagerFinalHeatsTitle->setFont(formFont(9.75));

    addLabel("lblManagerFinalHeatSource", QStringLiteral("Source"), this, sourceLeft, 840, 855,
             315);
    cbManagerFinalHeatSource = addControl<QComboBox>("cbManagerFinalHeatSource", this,
                                                     sourceLeft + 900, 840, sourceWidth - 900, 315);
    lbManagerFinalHeatSource = makeList(QStringLiteral("lbManagerFinalHeatSource"), this);
    place(lbManagerFinalHeatSource, sourceLeft, 1260, sourceWidth, 7695);
    SetTabStops(lbManagerFinalHeatSource, {20, 90, 125, 180});
    lbManagerFinalHeatSource->setAccessibleName(QStringLiteral("Source drivers"));

    cmdManagerFinalHeatAddParticipant =
        addButton("cmdManagerFinalHeatAddParticipant", QStringLiteral("Add"), this, buttonLeft,
                  3480, buttonWidth, 375);
    cmdManagerFinalHeatRemoveParticipant =
        addButton("cmdManagerFinalHeatRemoveParticipant", QStringLiteral("Remove"), this,
                  buttonLeft, 3960, buttonWidth, 375);

    addLabel("lblManagerFinalHeatDestination", QStringLiteral("Destination"), this, destLeft, 840,
             1095, 315);
    cbManagerFinalHeatDestination = addControl<QComboBox>(
        "cbManagerFinalHeatDestination", this, destLeft + 1140, 840, destWidth - 1140, 315);
    lbManagerFinalHeatDestination = makeList(QStringLiteral("lbManagerFinalHeatDestination"), this);
    place(lbManagerFinalHeatDestination, destLeft, 1260, destWidth, 7215);
    SetTabStops(lbManagerFinalHeatDestination, {20, 90, 125});
    lbManagerFinalHeatDestination->setAccessibleName(QStringLiteral("Destination drivers"));
    cmdManagerFinalHeatDelete =
        addButton("cmdManagerFinalHeatDelete", QStringLiteral("Delete race"), this,
                  destLeft + destWidth - 1455, 8580, 1455, 375);

    QWidget* const boxes[] = {cbManagerFinalHeatSource, lbManagerFinalHeatSource,
                              cbManagerFinalHeatDestination, lbManagerFinalHeatDestination};
    for (QWidget* w : boxes) {
        w->setPalette(grey);
        w->setAutoFillBackground(true);
    }
}

void ManagerPage::FillFinalHeatSourceCombo() {
    {
        const QSignalBlocker quiet(cbManagerFinalHeatSource);
        cbManagerFinalHeatSource->clear();
        for (const char* text :
             {"Qualification", " Qual - All results", " Qual - Best results", " Qual - Best lap",
              "", "Finals (grouped)", " Semifinals - by heat", " Semifinals - total",
              " Quarterfinals - by heat", " Quarterfinals - total", " Eightfinals - by heat",
              " Eightfinals - total", "", "Finals (single race)"})
            cbManagerFinalHeatSource->addItem(QString::fromLatin1(text), 0);
        QList<RaceRow> finished;
        if (ReadFinalRaces(m_main.db(), m_main.state().CurrentTournamentID, true, finished))
            for (const RaceRow& race : finished)
                cbManagerFinalHeatSource->addItem(QStringLiteral(" ") + race.description,
                                                  race.raceID);
        cbManagerFinalHeatSource->setCurrentIndex(-1);
    }
    cbManagerFinalHeatSource->setCurrentIndex(0);
}

void ManagerPage::FillFinalHeatDestinationCombo(qint32 RaceIDToSelect) {
    int select = -1;
    {
        const QSignalBlocker quiet(cbManagerFinalHeatDestination);
        cbManagerFinalHeatDestination->clear();
        cbManagerFinalHeatDestination->addItem(QStringLiteral("<Add new final race>"), 0);
        lbManagerFinalHeatDestination->clear();
        QList<RaceRow> races;
        if (ReadFinalRaces(m_main.db(), m_main.state().CurrentTournamentID, false, races)) {
            for (const RaceRow& race : races) {
                const qint32 key = race.raceID;
                cbManagerFinalHeatDestination->addItem(
                    FinalRaceLabel(race.description, race.status, race.raceCode), key);
                if (key == RaceIDToSelect)
                    select = cbManagerFinalHeatDestination->count() - 1;
            }
        }
        if (select < 0 && cbManagerFinalHeatDestination->count() > 1)
            select = 1;
        cbManagerFinalHeatDestination->setCurrentIndex(-1);
    }
    if (select > 0)
        cbManagerFinalHeatDestination->setCurrentIndex(select);
}

qint32 ManagerPage::destinationRace() const {
    const int row = cbManagerFinalHeatDestination->currentIndex();
    return row > 0 ? cbManagerFinalHeatDestination->itemData(row).toInt() : 0;
}

bool ManagerPage::IsDriverPlacedOnFinalLevel(qint32 DriverID, int RaceCode) {
    return kv::IsDriverPlacedOnFinalLevel(m_main.db(), m_main.state().CurrentTournamentID, DriverID,
                                          RaceCode, destinationRace());
}

void ManagerPage::cbManagerFinalHeatSource_Click() {
    const int row = cbManagerFinalHeatSource->currentIndex();
    if (row < 0)
        return;
    Database& db = m_main.db();
    int level = 0;
    if (const qint32 race = destinationRace(); race > 0 && !ReadRaceCode(db, race, level))
        level = 0;

    RankingKind kind = RankingKind::QualAll;
    int rankedLevel = 0;
    qint32 raceID = 0;
    switch (row) {
    case 0:
    case 4:
    case 5:
    case 12:
    case 13:
        cbManagerFinalHeatSource->setCurrentIndex(0);
        return;
    case 1:
        kind = RankingKind::QualAll;
        break;
    case 2:
        kind = RankingKind::QualBest;
        break;
    case 3:
        kind = RankingKind::QualBestLap;
        break;
    default:
        if (row < kFixedSourceRows) {
            kind = row % 2 == 0 ? RankingKind::LevelByHeat : RankingKind::LevelTotal;
            rankedLevel = SemiFinalCode + (row - 6) / 2;
        } else {
            kind = RankingKind::OneRace;
            raceID = cbManagerFinalHeatSource->itemData(row).toInt();
        }
        break;
    }

    QList<RankingRow> ranking;
    if (!ReadRanking(db, m_main.state().CurrentTournamentID, kind, rankedLevel, raceID, ranking))
        return;
    lbManagerFinalHeatSource->clear();
    bool anyEntry = false;
    for (const RankingRow& r : ranking) {
        auto* item = new QListWidgetItem;
        qint32 key = 0;
        switch (r.kind) {
        case RankingRow::Kind::Separator:
            break;
        case RankingRow::Kind::Heading:
            item->setText(r.name);
            break;
        case RankingRow::Kind::Entry: {
            anyEntry = true;
            const bool placed = IsDriverPlacedOnFinalLevel(r.driverID, level);
            key = placed ? 0 : r.driverID;
            item->setText(QString::number(r.driverID) + QLatin1Char('\t') + r.name +
                          QLatin1Char('\t') + r.result + QLatin1Char('\t') + r.details +
                          QLatin1Char('\t') +
                          (placed ? QStringLiteral("Assigned") : QStringLiteral("Not assigned")));
            break;
        }
        }
        item->setData(Qt::UserRole, key);
        lbManagerFinalHeatSource->addItem(item);
    }
    if (row > 3 && anyEntry)
        lbManagerFinalHeatSource->setCurrentRow(0);
}

void ManagerPage::cbManagerFinalHeatDestination_Click() {
    const int row = cbManagerFinalHeatDestination->currentIndex();
    if (row < 0)
        return;
    if (row == 0) {
        frmAddRace dialog;
        dialog.m_intTournamentID = m_main.state().CurrentTournamentID;
        dialog.m_intRaceCode = UnassignedFinalCode;
        dialog.m_dbConnection = &m_main.db();
        showAddRace(dialog);
        FillFinalHeatDestinationCombo(dialog.m_intNewRaceID);
        return;
    }
    const KeepSelection keep(lbManagerFinalHeatDestination, destinationRace());
    lbManagerFinalHeatDestination->clear();
    QList<StartListRow> drivers;
    if (!ReadStartList(m_main.db(), destinationRace(), drivers))
        return;
    for (const StartListRow& d : drivers) {
        auto* item = new QListWidgetItem(QString::number(d.driverID) + QLatin1Char('\t') + d.name +
                                         QLatin1Char('\t') + d.details);
        item->setData(Qt::UserRole, d.driverID);
        lbManagerFinalHeatDestination->addItem(item);
    }
    cbManagerFinalHeatSource_Click();
}

void ManagerPage::cmdManagerFinalHeatAddParticipant_Click() {
    const QListWidgetItem* candidate = lbManagerFinalHeatSource->currentItem();
    const qint32 race = destinationRace();
    if (!candidate || race <= 0)
        return;
    const qint32 driver = candidate->data(Qt::UserRole).toInt();
    if (driver == 0)
        return;
    QString other;
    switch (AddDriverToRace(m_main.db(), race, driver, true, &other)) {
    case EntryChange::Done:
        cbManagerFinalHeatDestination_Click();
        break;
    case EntryChange::SameLevel:
        MsgBox(QStringLiteral("This driver is already part of a race on this level: ") + other,
               MsgButtons::OK, MsgIcon::None, kProgramName);
        break;
    case EntryChange::Full:
        MsgBox(RaceFullText(), MsgButtons::OK, MsgIcon::None, kProgramName);
        break;
    case EntryChange::Nothing:
    case EntryChange::Failed:
        break;
    }
}

void ManagerPage::cmdManagerFinalHeatRemoveParticipant_Click() {
    const QListWidgetItem* entry = lbManagerFinalHeatDestination->currentItem();
    const qint32 race = destinationRace();
    if (!entry || race <= 0)
        return;
    if (RemoveDriverFromRace(m_main.db(), race, entry->data(Qt::UserRole).toInt()) ==
        EntryChange::Done)
        cbManagerFinalHeatDestination_Click();
}

void ManagerPage::cmdManagerFinalHeatDelete_Click() {
    const qint32 race = destinationRace();
    if (race <= 0)
        return;
    if (MsgBox(QStringLiteral("Are you sure you want to delete this race?"), MsgButtons::YesNo,
               MsgIcon::None, QStringLiteral("Delete final race?")) != MsgResult::Yes)
        return;
    if (!DeleteRaces(m_main.db(), RacesToDelete::race(race)))
        return;
    FillFinalHeatDestinationCombo(-1);
}

void ManagerPage::lbManagerFinalHeatSource_DblClick() {
    cmdManagerFinalHeatAddParticipant_Click();
}

void ManagerPage::lbManagerFinalHeatDestination_DblClick() {
    cmdManagerFinalHeatRemoveParticipant_Click();
}

} // namespace kv
