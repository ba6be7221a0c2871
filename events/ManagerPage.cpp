#include "ManagerPage.h"

#include "EventData.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "KeepSelection.h"
#include "MainContext.h"
#include "Platform.h"
#include "QualHeatDeal.h"
#include "Ui.h"
#include "frmAddRace.h"
#include "frmEditQualHeats.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <map>
#include <utility>

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

// A number in the regional form, as the driver form shows it.
QString regionalNumber(const QVariant& field) {
    return field.isNull() ? QString() : RegionalNumberText(field.toDouble());
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
    lbManagerGeneratedQualHeats->clear();
    lbManagerQualHeatParticipants->clear();
    const qint32 tournament = m_main.state().CurrentTournamentID;
    if (tournament < 0)
        return;
    refreshQualification(QString::number(tournament));
    FillFinalHeatSourceCombo();
    FillFinalHeatDestinationCombo(-1);
}

void ManagerPage::refreshQualification(const QString& id) {
    Database& db = m_main.db();
    Recordset heats;
    if (!db.Select(QStringLiteral("SELECT * from tblRace WHERE TournamentID=") + id +
                       QStringLiteral(" AND RaceCode=1 ORDER BY QualRound, QualHeat;"),
                   heats))
        return;
    for (const QSqlRecord& heat : heats) {
        auto* row =
            new QListWidgetItem(FieldToString(heat.value(QStringLiteral("Description"))) +
                                RaceStatusSuffix(heat.value(QStringLiteral("Status")).toInt()));
        row->setData(Qt::UserRole, heat.value(QStringLiteral("RaceID")).toInt());
        lbManagerGeneratedQualHeats->addItem(row);
    }
    if (lbManagerGeneratedQualHeats->count() > 0)
        lbManagerGeneratedQualHeats->setCurrentRow(0);

    Recordset settings;
    if (!db.Select(QStringLiteral("SELECT * FROM tblTournament WHERE TournamentID=") + id +
                       QStringLiteral(";"),
                   settings))
        return;
    if (!settings.isEmpty()) {
        // Each row selected raises the combo's click, which stores the value back.
        const auto select = [&settings](QComboBox* combo, const QString& column, int first) {
            const int index = settings.value(0, column).toInt() - first;
            if (index >= 0 && index < combo->count())
                combo->setCurrentIndex(index);
        };
        select(cbManagerNumOfQualRounds, QStringLiteral("QualNumOfRounds"), 2);
        select(cbManagerNumOfCarsInQualHeat, QStringLiteral("QualNumOfCarsInHeat"), 4);
        select(cbManagerQualRaceTime, QStringLiteral("QualRaceTime"), 1);
    }

    const bool generated = lbManagerGeneratedQualHeats->count() > 0;
    for (QComboBox* combo :
         {cbManagerNumOfCarsInQualHeat, cbManagerNumOfQualRounds, cbManagerQualRaceTime})
        combo->setEnabled(!generated);
    cmdManagerGenerateQualHeats->setText(generated ? kResetCaption : kGenerateCaption);
}

void ManagerPage::storeSetting(const QString& column, const QComboBox* combo) {
    // The row's text reaches the statement only as the whole number it stands for.
    qint32 value = 0;
    if (combo->currentIndex() < 0 || !WholeNumber(combo->currentText(), value))
        return;
    (void)m_main.db().Execute(
        QStringLiteral("UPDATE tblTournament SET ") + column + QStringLiteral("=") +
        QString::number(value) + QStringLiteral(" WHERE TournamentID=") +
        QString::number(m_main.state().CurrentTournamentID) + QStringLiteral(";"));
}

void ManagerPage::cbManagerNumOfCarsInQualHeat_Click() {
    storeSetting(QStringLiteral("QualNumOfCarsInHeat"), cbManagerNumOfCarsInQualHeat);
}

void ManagerPage::cbManagerNumOfQualRounds_Click() {
    storeSetting(QStringLiteral("QualNumOfRounds"), cbManagerNumOfQualRounds);
}

void ManagerPage::cbManagerQualRaceTime_Click() {
    storeSetting(QStringLiteral("QualRaceTime"), cbManagerQualRaceTime);
}

void ManagerPage::lbManagerGeneratedQualHeats_Click() {
    const QListWidgetItem* heat = lbManagerGeneratedQualHeats->currentItem();
    if (!heat)
        return;
    Recordset drivers;
    if (!m_main.db().Select(
            QStringLiteral("SELECT tblDriver.* FROM tblDriver INNER JOIN tblDriverInRace ON "
                           "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                           "tblDriverInRace.RaceID=") +
                QString::number(heat->data(Qt::UserRole).toInt()) +
                QStringLiteral(" ORDER BY tblDriver.Frequency;"),
            drivers))
        return;
    lbManagerQualHeatParticipants->clear();
    for (const QSqlRecord& driver : drivers) {
        const QVariant driverId = driver.value(QStringLiteral("DriverID"));
        auto* row = new QListWidgetItem(
            FieldToString(driverId) + QLatin1Char('\t') +
            FieldToString(driver.value(QStringLiteral("Lastname"))) + QStringLiteral(", ") +
            FieldToString(driver.value(QStringLiteral("Firstname"))) + QLatin1Char('\t') +
            regionalNumber(driver.value(QStringLiteral("Frequency"))));
        row->setData(Qt::UserRole, driverId.toInt());
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
    Recordset started;
    if (!m_main.db().Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE TournamentID=") +
                                QString::number(m_main.state().CurrentTournamentID) +
                                QStringLiteral(" AND RaceCode=1 AND Status>0;"),
                            started))
        return;
    if (!started.isEmpty() &&
        MsgBox(QStringLiteral("There are already qual.races that has been started (or finished) in "
                              "this tournament. If you continue, all these races will be lost."),
               MsgButtons::OKCancel, MsgIcon::None,
               QStringLiteral("Delete races?")) == MsgResult::Cancel)
        return;
    if (!DeleteQualHeats())
        return;
    RefreshManagerTab();
}

// Deletes every qualification heat of the current tournament with its entries
// and laps, all or nothing.
bool ManagerPage::DeleteQualHeats() {
    Database& db = m_main.db();
    const QString tournament = QString::number(m_main.state().CurrentTournamentID);
    Transaction trans(db);
    if (!trans.active())
        return false;
    Recordset heats;
    if (!db.Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE TournamentID=") + tournament +
                       QStringLiteral(" AND RaceCode=1;"),
                   heats))
        return false;
    for (const QSqlRecord& heat : heats) {
        const QString race = QString::number(heat.value(0).toInt());
        if (!db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") + race +
                        QStringLiteral(";")) ||
            !db.Execute(QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") + race +
                        QStringLiteral(";")))
            return false;
    }
    if (!db.Execute(QStringLiteral("DELETE FROM tblRace WHERE TournamentID=") + tournament +
                    QStringLiteral(" AND RaceCode=1;")))
        return false;
    return trans.commit();
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
    const QString tournament = QString::number(m_main.state().CurrentTournamentID);
    Recordset participants;
    if (!ReadParticipantsForHeats(db, m_main.state().CurrentTournamentID, participants))
        return;
    if (participants.isEmpty()) {
        MsgBox(kNoParticipantsForHeatsText, MsgButtons::OK, MsgIcon::None, kGenerateTitle);
        return;
    }

    const int carsInHeat = static_cast<int>(cars);
    const int roundCount = static_cast<int>(rounds);
    const QString length = QString::number(static_cast<int>(minutes));
    const int heatsPerRound = QualHeatDeal::heatsPerRound(participants.RecordCount(), carsInHeat);
    {
        // The heats and their start lists appear whole or not at all.
        Transaction trans(db);
        if (!trans.active())
            return;
        std::map<std::pair<int, int>, QString> keys; // (round, heat) -> RaceID
        for (int r = 1; r <= roundCount; ++r) {
            for (int h = 1; h <= heatsPerRound; ++h) {
                const QString round = QString::number(r);
                const QString heat = QString::number(h);
                qint64 key = 0;
                if (!db.Insert(QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, "
                                              "RaceCode, QualRound, QualHeat, Length, "
                                              "Description) VALUES(") +
                                   tournament + QStringLiteral(",1,1,") + round +
                                   QStringLiteral(",") + heat + QStringLiteral(",") + length +
                                   QStringLiteral(",'Round ") + round + QStringLiteral(" - Heat ") +
                                   heat + QStringLiteral("');"),
                               key))
                    return;
                keys[{r, h}] = QString::number(key);
            }
        }
        for (const QualHeatDeal::Seat& seat :
             QualHeatDeal::deal(participants.RecordCount(), carsInHeat, roundCount)) {
            if (!db.Execute(
                    QStringLiteral("INSERT INTO tblDriverInRace (DriverID,RaceID,StartPosition,"
                                   "TimeToFinish,TimeToFinishString) VALUES(") +
                    QString::number(participants.value(seat.participant, 0).toLongLong()) +
                    QStringLiteral(",") + keys[{seat.round, seat.heat}] + QStringLiteral(",") +
                    QString::number(seat.startPosition) + QStringLiteral(",") +
                    QString::number(NoResultTime) + QStringLiteral(",'") + NoResultText +
                    QStringLiteral("');")))
                return;
        }
        if (!trans.commit())
            return;
    }
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
        p.setColor(QPalette::Base, bgr(0xE0E0E0));
        p.setColor(QPalette::Button, bgr(0xE0E0E0));
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
        Recordset finished;
        if (m_main.db().Select(
                QStringLiteral("SELECT * FROM tblRace WHERE (RaceCode=2 OR RaceCode>=10) AND "
                               "TournamentID=") +
                    QString::number(m_main.state().CurrentTournamentID) +
                    QStringLiteral(" AND Status=2 ORDER BY Description;"),
                finished))
            for (const QSqlRecord& race : finished)
                cbManagerFinalHeatSource->addItem(
                    QStringLiteral(" ") + FieldToString(race.value(QStringLiteral("Description"))),
                    race.value(QStringLiteral("RaceID")).toInt());
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
        Recordset races;
        if (m_main.db().Select(
                QStringLiteral("SELECT * FROM tblRace WHERE (RaceCode=2 OR RaceCode>=10) AND "
                               "TournamentID=") +
                    QString::number(m_main.state().CurrentTournamentID) +
                    QStringLiteral(" ORDER BY RaceCode;"),
                races)) {
            for (const QSqlRecord& race : races) {
                QString status;
                switch (race.value(QStringLiteral("Status")).toInt()) {
                case 0:
                    status = QStringLiteral(" (New - ");
                    break;
                case 1:
                    status = QStringLiteral(" (Running - ");
                    break;
                case 2:
                    status = QStringLiteral(" (Finished - ");
                    break;
                default:
                    break;
                }
                QString level;
                switch (race.value(QStringLiteral("RaceCode")).toInt()) {
                case FinalCode:
                    level = QStringLiteral("Final)");
                    break;
                case SemiFinalCode:
                    level = QStringLiteral("Semifinal)");
                    break;
                case QuarterFinalCode:
                    level = QStringLiteral("Quartfinal)");
                    break;
                case EightFinalCode:
                    level = QStringLiteral("Eight-final)");
                    break;
                case UnassignedFinalCode:
                    level = QStringLiteral("Unassigned)");
                    break;
                default:
                    break;
                }
                const qint32 key = race.value(QStringLiteral("RaceID")).toInt();
                cbManagerFinalHeatDestination->addItem(
                    FieldToString(race.value(QStringLiteral("Description"))) + status + level, key);
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
    if (const qint32 race = destinationRace(); race > 0) {
        Recordset code;
        if (db.Select(QStringLiteral("SELECT RaceCode FROM tblRace WHERE RaceID=") +
                          QString::number(race) + QStringLiteral(";"),
                      code) &&
            !code.isEmpty())
            level = code.value(0, 0).toInt();
    }

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
    const KeepSelection keep(lbManagerFinalHeatDestination);
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
    if (!DeleteRaceCascade(m_main.db(), race))
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
