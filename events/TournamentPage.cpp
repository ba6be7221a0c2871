#include "TournamentPage.h"

#include "DriverDetails.h"
#include "EventData.h"
#include "Helpers.h"
#include "KeepSelection.h"
#include "MainContext.h"
#include "Platform.h"
#include "Schema.h"
#include "Tournaments.h"
#include "TransponderIdBox.h"
#include "Ui.h"
#include "mdlRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>

#include <functional>

namespace kv {

namespace {

// Runs a handler when a box loses the focus to another control of the window;
// switching to another window or opening a popup is no loss of focus.
class LostFocusFilter final : public QObject {
public:
    LostFocusFilter(QWidget* box, std::function<void()> handler)
        : QObject(box), m_handler(std::move(handler)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_handler();
        }
        return false;
    }

private:
    std::function<void()> m_handler;
};

// Refills a list whose rows read first + ", " + second, keyed by the key
// column, and selects the row of `key` (row 0 when it is not listed). The list
// is filled with its signals blocked and left without a selection, so the
// selection in code runs the selection handling exactly once, as after
// clearing the list. An empty result leaves the list empty and selects nothing.
void FillAndSelect(QComboBox* combo, const QList<QPair<qint64, QString>>& rows, qint64 key) {
    int rowToSelect = 0;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        for (int i = 0; i < rows.size(); ++i) {
            combo->addItem(rows.at(i).second, rows.at(i).first);
            if (rows.at(i).first == key)
                rowToSelect = i;
        }
        combo->setCurrentIndex(-1);
    }
    if (!rows.isEmpty())
        combo->setCurrentIndex(rowToSelect);
}

void FillAndSelect(QComboBox* combo, const Recordset& rs, const QString& keyColumn,
                   const QString& first, const QString& second, qint64 key) {
    QList<QPair<qint64, QString>> rows;
    for (int i = 0; i < rs.RecordCount(); ++i)
        rows.append({rs.value(i, keyColumn).toLongLong(), FieldToString(rs.value(i, first)) +
                                                              QStringLiteral(", ") +
                                                              FieldToString(rs.value(i, second))});
    FillAndSelect(combo, rows, key);
}

QListWidgetItem* selectedRow(QListWidget* list) {
    const QList<QListWidgetItem*> rows = list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

} // namespace

TournamentPage::TournamentPage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Tournament registration"), parent) {
    buildTournamentDetails();
    buildDriverFrame();
    buildParticipants();
    connectHandlers();
}

void TournamentPage::buildTournamentDetails() {
    addLabel(QStringLiteral("Tournament details"), this, 240, 360, 4560, 315)
        ->setFont(formFont(9.75));
    addLabel(QStringLiteral("Select:"), this, 240, 900, 960, 255);
    cbTournamentSelectTournament =
        addControl<QComboBox>("cbTournamentSelectTournament", this, 1200, 840, 3720, 315);
    cmdTournamentNew =
        addButton("cmdTournamentNew", QStringLiteral("Add"), this, 1200, 1260, 1095, 375);
    cmdTournamentDelete =
        addButton("cmdTournamentDelete", QStringLiteral("Delete"), this, 2400, 1260, 1095, 375);
    addLabel(QStringLiteral("Name:"), this, 240, 1920, 960, 255);
    txtTournamentTournamentName =
        addControl<QLineEdit>("txtTournamentTournamentName", this, 1200, 1860, 3720, 315);
    addLabel(QStringLiteral("Location:"), this, 240, 2340, 960, 255);
    txtTournamentTournamentLocation =
        addControl<QLineEdit>("txtTournamentTournamentLocation", this, 1200, 2280, 3720, 315);
    txtTournamentTournamentName->setMaxLength(kShortTextLength);
    txtTournamentTournamentLocation->setMaxLength(kShortTextLength);
    addLabel(QStringLiteral("Time:"), this, 240, 2760, 960, 255);
    txtTournamentTournamentTime =
        addControl<QLineEdit>("txtTournamentTournamentTime", this, 1200, 2700, 2520, 315);
    // Nothing ever stores this box, so it is not offered for editing.
    txtTournamentTournamentTime->setReadOnly(true);
}

void TournamentPage::buildDriverFrame() {
    Frame4 = addControl<QGroupBox>("Frame4", this, 5160, 360, 4680, 5700);
    Frame4->setTitle(QStringLiteral("Add or change drivers"));
    cbTournamentDriverSelect =
        addControl<QComboBox>("cbTournamentDriverSelect", Frame4, 240, 360, 4200, 315);
    cbTournamentDriverSelect->setPlaceholderText(QStringLiteral("Add + select"));

    struct Box {
        const char* caption;
        const char* name;
        QLineEdit** member;
        int width;
    };
    const Box boxes[] = {
        {"Lastname:", "txtTournamentDriverLastname", &txtTournamentDriverLastname, 3120},
        {"Firstname:", "txtTournamentDriverFirstname", &txtTournamentDriverFirstname, 3120},
        {"Team:", "txtTournamentDriverTeam", &txtTournamentDriverTeam, 3120},
        {"Car:", "txtTournamentDriverCar", &txtTournamentDriverCar, 3120},
        {"Email:", "txtTournamentDriverEmail", &txtTournamentDriverEmail, 3120},
        {"Frequency:", "txtTournamentDriverFrequency", &txtTournamentDriverFrequency, 1200},
    };
    int top = 900;
    for (const Box& b : boxes) {
        addLabel(QString::fromLatin1(b.caption), Frame4, 240, top + 60, 1080, 255);
        *b.member = addControl<QLineEdit>(b.name, Frame4, 1320, top, b.width, 315);
        top += 420;
    }
    for (QLineEdit* box : {txtTournamentDriverLastname, txtTournamentDriverFirstname,
                           txtTournamentDriverTeam, txtTournamentDriverCar})
        box->setMaxLength(kShortTextLength);
    addLabel(QStringLiteral("MHz"), Frame4, 2640, top - 420 + 60, 600, 255);

    top += 120;
    addLabel(QStringLiteral("Transponder"), Frame4, 240, top, 2400, 255);
    chkTournamentDriverOwnTransponder = addControl<QCheckBox>("chkTournamentDriverOwnTransponder",
                                                              Frame4, 240, top + 300, 3600, 255);
    chkTournamentDriverOwnTransponder->setText(QStringLiteral("Own personal transponder"));
    top += 720;
    m_idBox =
        new TransponderIdBox(m_main, Frame4,
                             {"txtTournamentDriverTransponderID", "cmdTournamentModifyDriverReadID",
                              "cmdTournamentModifyDriverWriteID"},
                             QRect(240, top + 60, 360, 255), QPoint(600, top));
    txtTournamentDriverTransponderID = m_idBox->box;
    cmdTournamentModifyDriverReadID = m_idBox->cmdRead;
    cmdTournamentModifyDriverWriteID = m_idBox->cmdWrite;

    cmdTournamentModifyDriverAdd =
        addButton("cmdTournamentModifyDriverAdd", QStringLiteral("Add new driver"), Frame4, 240,
                  5040, 1935, 435);
    cmdTournamentModifyDriverSave =
        addButton("cmdTournamentModifyDriverSave", QStringLiteral("Save changes"), Frame4, 2400,
                  5040, 1935, 435);
}

void TournamentPage::buildParticipants() {
    const int left = 10080;
    addLabel(QStringLiteral("Participants"), this, left, 360, 4560, 315)->setFont(formFont(9.75));
    addLabel(QStringLiteral("Not registered"), this, left, 840, 4560, 255);
    lbTournamentPotentialParticipants =
        addControl<QListWidget>("lbTournamentPotentialParticipants", this, left, 1080, 4695, 3495);
    cmdTournamentAddDriver =
        addButton("cmdTournamentAddDriver", QStringLiteral("Add"), this, left, 4680, 1095, 375);
    cmdTournamentRemoveDriver = addButton("cmdTournamentRemoveDriver", QStringLiteral("Remove"),
                                          this, left + 1200, 4680, 1095, 375);
    addLabel(QStringLiteral("Registered"), this, left, 5280, 4560, 255);
    lbTournamentParticipants =
        addControl<QListWidget>("lbTournamentParticipants", this, left, 5520, 4695, 3495);
    for (QListWidget* list : {lbTournamentPotentialParticipants, lbTournamentParticipants}) {
        list->setFont(formFont(8.25, false));
        SetTabStops(list, {20, 90});
    }
}

void TournamentPage::connectHandlers() {
    connect(cbTournamentSelectTournament, &QComboBox::currentIndexChanged, this,
            &TournamentPage::cbTournamentSelectTournament_Click);
    connect(cmdTournamentNew, &QPushButton::clicked, this, &TournamentPage::cmdTournamentNew_Click);
    connect(cmdTournamentDelete, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentDelete_Click);
    connect(txtTournamentTournamentName, &QLineEdit::textChanged, this,
            &TournamentPage::txtTournamentTournamentName_Change);
    connect(txtTournamentTournamentLocation, &QLineEdit::textChanged, this,
            &TournamentPage::txtTournamentTournamentLocation_Change);
    new LostFocusFilter(txtTournamentTournamentName,
                        [this] { txtTournamentTournamentName_LostFocus(); });
    new LostFocusFilter(txtTournamentTournamentLocation,
                        [this] { txtTournamentTournamentLocation_LostFocus(); });

    connect(cbTournamentDriverSelect, &QComboBox::currentIndexChanged, this,
            &TournamentPage::cbTournamentDriverSelect_Click);
    connect(cmdTournamentModifyDriverAdd, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentModifyDriverAdd_Click);
    connect(cmdTournamentModifyDriverSave, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentModifyDriverSave_Click);
    connect(txtTournamentDriverTransponderID, &QLineEdit::textChanged, this,
            &TournamentPage::txtTournamentDriverTransponderID_Change);
    new LostFocusFilter(txtTournamentDriverLastname,
                        [this] { txtTournamentDriverLastname_LostFocus(); });
    new LostFocusFilter(txtTournamentDriverFirstname,
                        [this] { txtTournamentDriverFirstname_LostFocus(); });
    connect(cmdTournamentModifyDriverReadID, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentModifyDriverReadID_Click);
    connect(cmdTournamentModifyDriverWriteID, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentModifyDriverWriteID_Click);

    connect(cmdTournamentAddDriver, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentAddDriver_Click);
    connect(cmdTournamentRemoveDriver, &QPushButton::clicked, this,
            &TournamentPage::cmdTournamentRemoveDriver_Click);
    connect(lbTournamentPotentialParticipants, &QListWidget::itemDoubleClicked, this,
            &TournamentPage::lbTournamentPotentialParticipants_DblClick);
    connect(lbTournamentParticipants, &QListWidget::itemDoubleClicked, this,
            &TournamentPage::lbTournamentParticipants_DblClick);
}

// ---- Tournaments -----------------------------------------------------------

void TournamentPage::FillTournamentCombo() {
    QList<TournamentRow> tournaments;
    if (!ReadTournaments(m_main.db(), tournaments))
        return;
    QList<QPair<qint64, QString>> rows;
    for (const TournamentRow& t : tournaments)
        rows.append({t.tournamentID, t.name + QStringLiteral(", ") + t.location});
    FillAndSelect(cbTournamentSelectTournament, rows, m_main.state().CurrentTournamentID);
}

void TournamentPage::cbTournamentSelectTournament_Click() {
    const int row = cbTournamentSelectTournament->currentIndex();
    if (row < 0)
        return;
    MainState& st = m_main.state();
    st.CurrentTournamentID = cbTournamentSelectTournament->itemData(row).toInt();
    TournamentRow tournament;
    bool found = false;
    if (!ReadTournament(m_main.db(), st.CurrentTournamentID, tournament, found))
        return;
    if (found) {
        showTournamentText(txtTournamentTournamentName, st.lblTournamentName, tournament.name);
        showTournamentText(txtTournamentTournamentLocation, st.lblTournamentLocation,
                           tournament.location);
        txtTournamentTournamentTime->setText(DateTimeText(tournament.regTime));
    }
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("LastTournamentID"),
                     QString::number(st.CurrentTournamentID), true);
    RefreshTournamentParticipants();
    m_main.RefreshManagerTab();
}

void TournamentPage::cmdTournamentNew_Click() {
    if (!AddTournament(m_main.db()))
        return;
    FillTournamentCombo();
    cbTournamentSelectTournament->setCurrentIndex(cbTournamentSelectTournament->count() - 1);
}

void TournamentPage::cmdTournamentDelete_Click() {
    // Without a selected tournament the current key names none (it may be 0,
    // the key of the single races and the practice race): nothing to delete.
    if (cbTournamentSelectTournament->currentIndex() < 0 || m_main.state().CurrentTournamentID <= 0)
        return;
    if (MsgBox(QStringLiteral("You are about to delete this tournament. This will also erase all "
                              "races and results."),
               MsgButtons::OKCancel, MsgIcon::None,
               QStringLiteral("Delete tournament?")) != MsgResult::OK)
        return;
    if (!DeleteTournamentCascade(m_main.db(), m_main.state().CurrentTournamentID))
        return;
    FillTournamentCombo();
    // With the last tournament gone no selection refreshes the participant
    // lists; they must not go on showing the deleted registrations.
    if (cbTournamentSelectTournament->count() == 0)
        RefreshTournamentParticipants();
}

void TournamentPage::showTournamentText(QLineEdit* box, QLabel* stripLabel, const QString& text) {
    const QString before = box->text();
    {
        const QSignalBlocker quiet(box);
        setStoredText(box, text);
    }
    // As a typed change would: the strip shows the box once its text changes.
    if (stripLabel && box->text() != before)
        stripLabel->setText(box->text());
}

void TournamentPage::saveTournamentText(QLineEdit* box, QLabel* stripLabel, TournamentText which) {
    if (stripLabel)
        stripLabel->setText(box->text());
    (void)SaveTournamentText(m_main.db(), m_main.state().CurrentTournamentID, which, box->text());
}

void TournamentPage::txtTournamentTournamentName_Change() {
    saveTournamentText(txtTournamentTournamentName, m_main.state().lblTournamentName,
                       TournamentText::Name);
}

void TournamentPage::txtTournamentTournamentLocation_Change() {
    saveTournamentText(txtTournamentTournamentLocation, m_main.state().lblTournamentLocation,
                       TournamentText::Location);
}

void TournamentPage::txtTournamentTournamentName_LostFocus() {
    FillTournamentCombo();
}

void TournamentPage::txtTournamentTournamentLocation_LostFocus() {
    FillTournamentCombo();
}

// ---- Drivers ---------------------------------------------------------------

void TournamentPage::FillDriverCombo(qint64 driverToSelect) {
    Recordset rs;
    if (!ReadRegisteredDrivers(m_main.db(), rs))
        return;
    FillAndSelect(cbTournamentDriverSelect, rs, QStringLiteral("DriverID"),
                  QStringLiteral("Lastname"), QStringLiteral("Firstname"), driverToSelect);
}

void TournamentPage::clearDriverFrame() {
    for (QLineEdit* box :
         {txtTournamentDriverLastname, txtTournamentDriverFirstname, txtTournamentDriverTeam,
          txtTournamentDriverCar, txtTournamentDriverEmail, txtTournamentDriverFrequency,
          txtTournamentDriverTransponderID})
        box->clear();
    chkTournamentDriverOwnTransponder->setChecked(false);
}

void TournamentPage::cbTournamentDriverSelect_Click() {
    const int row = cbTournamentDriverSelect->currentIndex();
    DriverDetails d;
    // A failed read leaves no other driver's details in the boxes, where a
    // save would store them under this driver.
    if (row < 0 ||
        !LoadDriverDetails(m_main.db(), cbTournamentDriverSelect->itemData(row).toInt(), d)) {
        clearDriverFrame();
        return;
    }
    setStoredText(txtTournamentDriverLastname, d.lastname.value_or(QString()));
    setStoredText(txtTournamentDriverFirstname, d.firstname.value_or(QString()));
    setStoredText(txtTournamentDriverTeam, d.team);
    setStoredText(txtTournamentDriverCar, d.car);
    txtTournamentDriverEmail->setText(d.email.value_or(QString()));
    txtTournamentDriverFrequency->setText(d.frequency);
    txtTournamentDriverTransponderID->setText(d.transponderID);
    chkTournamentDriverOwnTransponder->setChecked(d.ownTransponder);
}

void TournamentPage::cmdTournamentModifyDriverAdd_Click() {
    if (MsgBox(QStringLiteral("Do you want to add a new driver?"), MsgButtons::YesNo, MsgIcon::None,
               QStringLiteral("Add new driver?")) != MsgResult::Yes)
        return;
    qint64 key = 0;
    if (!AddNewDriver(m_main.db(), key))
        return;
    FillDriverCombo(key);
}

void TournamentPage::cmdTournamentModifyDriverSave_Click() {
    const int row = cbTournamentDriverSelect->currentIndex();
    if (row < 0)
        return;
    const int key = cbTournamentDriverSelect->itemData(row).toInt();
    DriverDetails d;
    d.lastname = txtTournamentDriverLastname->text();
    d.firstname = txtTournamentDriverFirstname->text();
    d.email = txtTournamentDriverEmail->text();
    d.team = txtTournamentDriverTeam->text();
    d.car = txtTournamentDriverCar->text();
    d.frequency = txtTournamentDriverFrequency->text();
    d.transponderID = txtTournamentDriverTransponderID->text();
    d.ownTransponder = chkTournamentDriverOwnTransponder->isChecked();
    double frequency = 0;
    const DriverSaveResult result = SaveDriverDetails(m_main.db(), key, d, &frequency);
    if (result == DriverSaveResult::TransponderIDRefused) {
        MsgBox(DriverSaveIDRefusedText, MsgButtons::OK, MsgIcon::Critical, kProgramName);
        return;
    }
    txtTournamentDriverFrequency->setText(RegionalNumberText(frequency));
    if (result != DriverSaveResult::Saved)
        return;
    FillDriverCombo(key);
    RefreshTournamentParticipants();
}

void TournamentPage::txtTournamentDriverTransponderID_Change() {
    m_idBox->BoxChanged();
}

void TournamentPage::cmdTournamentModifyDriverReadID_Click() {
    m_idBox->Read();
}

void TournamentPage::cmdTournamentModifyDriverWriteID_Click() {
    m_idBox->Write();
}

void TournamentPage::txtTournamentDriverLastname_LostFocus() {
    RefreshTournamentParticipants();
}

void TournamentPage::txtTournamentDriverFirstname_LostFocus() {
    RefreshTournamentParticipants();
}

// ---- Participants ----------------------------------------------------------

void TournamentPage::fillParticipantList(QListWidget* list, qint32 tournament,
                                         const QList<DriverRow>& drivers) {
    const KeepSelection keep(list, tournament);
    list->clear();
    for (const DriverRow& d : drivers) {
        auto* item =
            new QListWidgetItem(QString::number(d.driverID) + QLatin1Char('\t') + d.lastname +
                                    QStringLiteral(", ") + d.firstname + QLatin1Char('\t') + d.car,
                                list);
        item->setData(Qt::UserRole, d.driverID);
    }
}

void TournamentPage::RefreshTournamentParticipants() {
    const qint32 tournament = m_main.state().CurrentTournamentID;
    QList<DriverRow> drivers;
    if (!ReadPotentialParticipants(m_main.db(), tournament, drivers))
        return;
    fillParticipantList(lbTournamentPotentialParticipants, tournament, drivers);
    if (ReadParticipants(m_main.db(), tournament, drivers))
        fillParticipantList(lbTournamentParticipants, tournament, drivers);
}

void TournamentPage::cmdTournamentAddDriver_Click() {
    const QListWidgetItem* row = selectedRow(lbTournamentPotentialParticipants);
    // A registration needs a tournament; with none in the list the current key
    // names none and the row would belong nowhere.
    if (!row || cbTournamentSelectTournament->count() == 0)
        return;
    if (!RegisterParticipant(m_main.db(), m_main.state().CurrentTournamentID,
                             row->data(Qt::UserRole).toInt()))
        return;
    RefreshTournamentParticipants();
}

void TournamentPage::cmdTournamentRemoveDriver_Click() {
    const QListWidgetItem* row = selectedRow(lbTournamentParticipants);
    if (!row)
        return;
    if (!UnregisterParticipant(m_main.db(), m_main.state().CurrentTournamentID,
                               row->data(Qt::UserRole).toInt()))
        return;
    RefreshTournamentParticipants();
}

void TournamentPage::lbTournamentPotentialParticipants_DblClick() {
    cmdTournamentAddDriver_Click();
}

void TournamentPage::lbTournamentParticipants_DblClick() {
    cmdTournamentRemoveDriver_Click();
}

} // namespace kv
