#include "PracticePage.h"

#include "ButtonPictures.h"
#include "Database.h"
#include "Helpers.h"
#include "KeepSelection.h"
#include "KirvOCX.h"
#include "MainContext.h"
#include "Platform.h"
#include "PracticeRules.h"
#include "ScoreBoard.h"
#include "Ui.h"
#include "mdlRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlRecord>
#include <QToolButton>

#include <limits>

namespace kv {

namespace {

// Lists ignore their buddy label: they also carry its text as their name.
void nameByCaption(QListWidget* list, QLabel* caption) {
    caption->setBuddy(list);
    list->setAccessibleName(caption->text());
}

// A key as the lists keep it: a whole number of 32 bits; 0 (no row has it) otherwise.
qint32 KeyOf(const QVariant& field) {
    bool ok = false;
    const qint64 v = field.toLongLong(&ok);
    return ok && v > 0 && v <= std::numeric_limits<qint32>::max() ? static_cast<qint32>(v) : 0;
}

// A car of the session in the unassigned transponders list: its start position.
constexpr int kSessionPositionRole = Qt::UserRole + 1;
// What keeps a row of that list chosen across refills. A car of the session
// is known by its transponder and start position, also while its entry's
// insert waits and its key is still 0; another race's entry by its key.
constexpr int kIdentityRole = Qt::UserRole + 2;

QString Identity(const UnassignedTransponder& r) {
    if (r.sessionPosition > 0)
        return QStringLiteral("car %1 at %2").arg(r.transponderId).arg(r.sessionPosition);
    return r.key != 0 ? QStringLiteral("entry %1").arg(r.key) : QString();
}

void tellUser(const QString& error) {
    MsgBox(error, MsgButtons::OK, MsgIcon::Critical, kProgramName);
}

const QString kWritesStillWaiting = QStringLiteral(
    "Practice cannot start yet: passes of the last session are still waiting to be stored in "
    "the race database, which does not take them now (the disk may be full, or another program "
    "may be using the database). They are tried again every second; start practice once they "
    "are stored.");

QString WaitingWritesText(int passes) {
    if (passes == 0)
        return QStringLiteral("Changes are waiting to be stored in the race database. They are "
                              "kept and stored as soon as the database takes them.");
    return QStringLiteral("Passes waiting to be stored in the race database: ") +
           QString::number(passes) +
           QStringLiteral(". They are kept and stored as soon as the database takes them.");
}

// Said when the database refused a change of practice's start.
const QString kStartRefused =
    QStringLiteral("Practice could not be started, because the race database refused a change.");

} // namespace

const QString PracticePage::kStartRefusedText =
    kStartRefused + QStringLiteral(" Nothing was changed.");
const QString PracticePage::kLapCounterLostText =
    LapCounterNote::LostText(QStringLiteral("practice"), false);
const QString PracticePage::kLapCounterLostPassesWaitText =
    LapCounterNote::LostText(QStringLiteral("practice"), true);
const QString PracticePage::kLapCounterBackText = LapCounterNote::BackText();
const QString PracticePage::kLapCounterNotStartedText =
    QStringLiteral("The lap counter was not started for this practice session: no laps are "
                   "counted. Stop practice and start it again.");

PracticePage::PracticePage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Practice"), parent), m_store(main.db()) {
    buildControls();
    buildBoard();
    connectHandlers();
}

PracticePage::~PracticePage() = default;

void PracticePage::buildControls() {
    cmdPracticeStart = addPictureButton("cmdPracticeStart", this, 480, 360, 1095, 975,
                                        ButtonPicture::Start, QStringLiteral("Start practice"));
    cmdPracticeStart->setToolTip(QStringLiteral("Start practice."));
    cmdPracticeStop = addPictureButton("cmdPracticeStop", this, 1920, 360, 1095, 975,
                                       ButtonPicture::Stop, QStringLiteral("Stop practice"));
    cmdPracticeStop->setToolTip(QStringLiteral("Stop practice."));
    cmdPracticeStop->setEnabled(false);

    QLabel* caption =
        addLabel(QStringLiteral("Unassigned transponders"), this, 120, 1440, 3615, 255);
    lbPracticeUnassignedTransponders =
        addControl<QListWidget>("lbPracticeUnassignedTransponders", this, 120, 1680, 3615, 1230);
    nameByCaption(lbPracticeUnassignedTransponders, caption);
    caption = addLabel(QStringLiteral("Unassigned drivers"), this, 120, 3000, 3615, 255);
    lbPracticeUnassignedDrivers =
        addControl<QListWidget>("lbPracticeUnassignedDrivers", this, 120, 3240, 3615, 2790);
    nameByCaption(lbPracticeUnassignedDrivers, caption);

    cmdPracticeAssignDriver =
        addButton("cmdPracticeAssignDriver", QStringLiteral("Assign transponder to driver"), this,
                  480, 6120, 2775, 375);
    cmdPracticeAssignDriver->setToolTip(
        QStringLiteral("Select transponder and driver, and press this button."));
    chkPracticeAutoAssign =
        addControl<QCheckBox>("chkPracticeAutoAssign", this, 480, 6600, 2775, 255);
    chkPracticeAutoAssign->setText(QStringLiteral("Automatically assign"));
    chkPracticeAutoAssign->setChecked(true);
    chkPracticeAutoAssign->setToolTip(QStringLiteral(
        "This will automatically assign a registered transponder to a driver. This driver must "
        "have a personal transponder. If more than one driver with that spesific transponder is "
        "found, no one is selected."));

    // Regular weight: the bold form font does not fit the caption before its box.
    caption = addLabel(QStringLiteral("Automatic delete delay [min]:"), this, 360, 7230, 2160, 255);
    caption->setFont(formFont(8.25, false));
    txtPracticeAutomaticDeleteDelay =
        addControl<QLineEdit>("txtPracticeAutomaticDeleteDelay", this, 2520, 7200, 495, 315);
    txtPracticeAutomaticDeleteDelay->setText(LapCounterSettings::kDefaultPracticeDeleteDelay);
    caption->setBuddy(txtPracticeAutomaticDeleteDelay);

    caption = addLabel(QStringLiteral("Practice time"), this, 4080, 360, 10695, 435);
    caption->setFont(formFont(18, true));
    caption->setAlignment(Qt::AlignCenter);
    txtPracticeTime = addControl<QLineEdit>("txtPracticeTime", this, 4080, 840, 10695, 1335);
    caption->setBuddy(txtPracticeTime);
    txtPracticeTime->setReadOnly(true);
    txtPracticeTime->setFont(blackFont(39.75));
    txtPracticeTime->setAlignment(Qt::AlignCenter);
    txtPracticeTime->setText(QStringLiteral("0:00.000"));
    setTextColour(txtPracticeTime, Colours::Green);

    cmdPracticeScoreCompareShow =
        addButton("cmdPracticeScoreCompareShow", QStringLiteral("Show details"), this, 13680, 9000,
                  1335, 375);
    cmdPracticeScoreCompareShow->setToolTip(QStringLiteral("Display details for checked drivers."));

    lblPracticeWaitingWrites =
        addLabel("lblPracticeWaitingWrites", QString(), this, 120, 7680, 3615, 1095);
    lblPracticeWaitingWrites->setWordWrap(true);
    lblPracticeWaitingWrites->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPracticeWaitingWrites->setAccessibleName(QStringLiteral("Passes waiting to be stored"));
    setTextColour(lblPracticeWaitingWrites, Colours::Red);
    lblPracticeWaitingWrites->setVisible(false);

    // Under the board, left of "Show details".
    lblPracticeLapCounterLost =
        addLabel("lblPracticeLapCounterLost", kLapCounterLostText, this, 3960, 9000, 9600, 435);
    m_lapCounterNote.emplace(lblPracticeLapCounterLost, QStringLiteral("practice"),
                             kLapCounterNotStartedText);
}

void PracticePage::buildBoard() {
    m_board = std::make_unique<ScoreBoard>(
        this, "lblPracticeScore",
        ScoreBoard::Designs{QStringLiteral("1"), QStringLiteral("99:12.100"),
                            QStringLiteral("5:26.956"), QStringLiteral("0:12.302")});
    lblPracticeScoreDriver = m_board->driver;
    lblPracticeScoreLaps = m_board->laps;
    lblPracticeScoreTotalTime = m_board->totalTime;
    lblPracticeScoreLastTime = m_board->lastTime;
    lblPracticeScoreBestTime = m_board->bestTime;
    for (int i = 0; i < kSlotCount; ++i) {
        const auto s = static_cast<size_t>(i);
        const QString row = QString::number(i + 1);
        const QByteArray index = QByteArray::number(i);
        QToolButton* preview = addPictureButton(
            ("cmdPracticeLapProgressPreview_" + index).constData(), this, 13800, 3000 + 600 * i,
            375, 375, ButtonPicture::Preview, QStringLiteral("Lap progress preview of row ") + row);
        preview->setVisible(false);
        cmdPracticeLapProgressPreview[s] = preview;
        QToolButton* remove = addPictureButton(
            ("cmdPracticeDelete_" + index).constData(), this, 14280, 3000 + 600 * i, 375, 375,
            ButtonPicture::Delete, QStringLiteral("Remove the car of row ") + row);
        remove->setVisible(false);
        cmdPracticeDelete[s] = remove;
    }
}

void PracticePage::connectHandlers() {
    connect(cmdPracticeStart, &QToolButton::clicked, this, &PracticePage::cmdPracticeStart_Click);
    connect(cmdPracticeStop, &QToolButton::clicked, this, &PracticePage::cmdPracticeStop_Click);
    connect(cmdPracticeAssignDriver, &QPushButton::clicked, this,
            &PracticePage::cmdPracticeAssignDriver_Click);
    connect(txtPracticeAutomaticDeleteDelay, &QLineEdit::textChanged, this,
            &PracticePage::txtPracticeAutomaticDeleteDelay_Change);
    for (int i = 0; i < kSlotCount; ++i) {
        connect(cmdPracticeLapProgressPreview[static_cast<size_t>(i)], &QToolButton::clicked, this,
                [this, i] { cmdPracticeLapProgressPreview_Click(i); });
        connect(cmdPracticeDelete[static_cast<size_t>(i)], &QToolButton::clicked, this,
                [this, i] { cmdPracticeDelete_Click(i); });
    }
    connect(cmdPracticeScoreCompareShow, &QPushButton::clicked, this,
            &PracticePage::cmdPracticeScoreCompareShow_Click);

    tmrPracticeTime.setInterval(100);
    tmrPracticeFlash.setInterval(250);
    connect(&tmrPracticeTime, &QTimer::timeout, this, &PracticePage::tmrPracticeTime_Timer);
    connect(&tmrPracticeFlash, &QTimer::timeout, this, &PracticePage::tmrPracticeFlash_Timer);
    tmrPracticeWrites.setInterval(1000);
    connect(&tmrPracticeWrites, &QTimer::timeout, this, &PracticePage::tmrPracticeWrites_Timer);
}

// ---- Start and stop ---------------------------------------------------------

void PracticePage::cmdPracticeStart_Click() {
    TimingState& t = m_main.timing();
    KirvOCX* link = m_main.state().KirvOCX;

    // A new session empties the race: the last one's writes go first.
    const bool stored = m_store.flush();
    showWaitingWrites();
    if (!stored) {
        tellUser(kWritesStillWaiting);
        return;
    }

    // The one practice race: made once, then emptied at every start.
    qint32 raceId = 0;
    bool made = false;
    QString error;
    if (!m_store.findOrCreateRace(&raceId, &made, &error)) {
        tellUser(error.isEmpty() ? kStartRefusedText : error);
        return;
    }
    if (!made && !m_store.resetRace(raceId)) {
        tellUser(kStartRefusedText);
        return;
    }
    t.CurrentRaceID = raceId;
    // The last session is gone, and with it what the note said about it.
    m_lapCounterNote->hide();
    t.TimingMode = TimingPractice;
    link->StopRace();
    if (!m_main.OpenLapCounterPort())
        return;

    // Marked New with the time of this start, then Running, together.
    t.RaceActive = true;
    if (!m_store.markRunning(raceId, NowText())) {
        t.RaceActive = false;
        t.TimingMode = TimingIdle;
        // The last session is gone by now: only the start was refused.
        tellUser(kStartRefused);
        return;
    }
    m_main.SetToolbarEnabled(false);
    m_sounds.readInstallFolder();
    setTextColour(txtPracticeTime, Colours::Green);
    t.PracticeElapsedMs = 0;
    ResetPracticeSlots(t);
    // Not sent again later on: the note asks for a new start.
    m_counterNotStarted = !link->StartRace();
    if (m_counterNotStarted)
        m_lapCounterNote->notStarted();
    tmrPracticeTime.start();
    tmrPracticeFlash.start();
    t.CurrentRaceStatus = RaceRunning;
    m_sessionRaceId = raceId;

    refreshAll();
    m_sounds.play("go");
    cmdPracticeStart->setEnabled(false);
    cmdPracticeStop->setEnabled(true);
}

void PracticePage::cmdPracticeStop_Click() {
    TimingState& t = m_main.timing();
    if (!t.RaceActive)
        return;
    t.RaceActive = false;
    tmrPracticeTime.stop();
    m_main.state().KirvOCX->StopRace();
    t.TimingMode = TimingIdle;
    m_sessionRaceId = -1;
    m_counterNotStarted = false;
    // The session it spoke of is over: the note of a missed start goes.
    m_lapCounterNote->stopped(true);
    m_main.SetToolbarEnabled(true);
    // Stored after every write that waits; the session has stopped all the same.
    m_store.storeStop(t.CurrentRaceID);
    showWaitingWrites();
    t.CurrentRaceStatus = RaceFinished;
    m_sounds.play("complete");
    cmdPracticeStart->setEnabled(true);
    cmdPracticeStop->setEnabled(false);
}

// ---- Passes -----------------------------------------------------------------

void PracticePage::RegisterPracticeCar(qint16 iCarID, qint32 lMilliseconds) {
    TimingState& t = m_main.timing();
    // Only the running session's race takes practice passes, never a race that
    // was left running, and none while the counter missed the session's start.
    if (m_sessionRaceId < 0 || t.CurrentRaceID != m_sessionRaceId || m_counterNotStarted)
        return;
    const TimingState before = t;

    // The session's cars are known without a read.
    const PracticeEntry* entry = m_store.entryOfCar(iCarID);
    int slot = -1;
    qint32 driver = 0;
    if (entry) {
        slot = entry->startPosition - 1;
    } else {
        const int position = m_store.freeStartPosition();
        if (position > kSlotCount) // ten cars on the board already
            return;
        QList<PracticeOwner> owners;
        const bool autoAssign = chkPracticeAutoAssign->isChecked();
        // Owners that cannot be read link nobody: the pass counts all the same,
        // and the car can be linked by hand.
        if (autoAssign)
            m_store.ownersOf(iCarID, &owners);
        const PracticeLink linked = PracticeAutoLink(iCarID, autoAssign, owners);
        slot = position - 1;
        ResetPracticeSlot(t, slot);
        t.ScoreDriverCaption[static_cast<size_t>(slot)] = linked.caption;
        driver = linked.DriverID;
    }

    const PracticePassOutcome out = RegisterPracticePass(
        t, slot, lMilliseconds, m_main.state().LapCounter.TransponderDelaySeconds());
    if (out.ignored) {
        t = before;
        return;
    }
    // The board counts the pass; a write the database refuses waits its turn.
    if (entry)
        m_store.storePass(*entry, out);
    else
        m_store.storeNewcomerPass(slot + 1, iCarID, driver, out);
    showWaitingWrites();
    refreshAll();
    m_sounds.play("pass");
}

// ---- Clock, idle check, flashing ------------------------------------------

void PracticePage::tmrPracticeTime_Timer() {
    TimingState& t = m_main.timing();
    const bool check = PracticeClockTick(t, tmrPracticeTime.interval());
    txtPracticeTime->setText(RaceClockText(t.PracticeElapsedMs));
    if (!check)
        return;
    const double minutes = m_main.state().LapCounter.PracticeDeleteDelayMinutes();
    for (int s : IdlePracticeSlots(t, minutes))
        deleteSlot(s);
}

void PracticePage::tmrPracticeFlash_Timer() {
    const auto colours = PracticeFlashTick(m_main.timing());
    for (size_t s = 0; s < colours.size(); ++s)
        if (colours[s])
            m_board->paintFlash(s, *colours[s] == FlashColour::Red);
}

// ---- Removing and linking cars ---------------------------------------------

void PracticePage::cmdPracticeLapProgressPreview_Click(int Index) {
    m_main.PreviewLapProgress(m_main.timing().CurrentRaceID, Index + 1);
}

void PracticePage::cmdPracticeScoreCompareShow_Click() {
    m_main.ShowScoreDetails(m_main.timing().CurrentRaceID);
}

void PracticePage::cmdPracticeDelete_Click(int Index) {
    deleteSlot(Index);
}

void PracticePage::deleteSlot(int index) {
    if (index < 0 || index >= kSlotCount)
        return;
    TimingState& t = m_main.timing();
    // Once the race page has made a race current, the board still shows the
    // practice cars, and a start position of that race is someone else's car.
    if (t.CurrentRaceID != m_store.sessionRaceId() || !m_store.entryAt(index + 1))
        return;
    m_store.removeEntry(index + 1);
    ResetPracticeSlot(t, index);
    showWaitingWrites();
    refreshAll();
}

void PracticePage::cmdPracticeAssignDriver_Click() {
    const QList<QListWidgetItem*> transponders = lbPracticeUnassignedTransponders->selectedItems();
    const QList<QListWidgetItem*> drivers = lbPracticeUnassignedDrivers->selectedItems();
    if (transponders.isEmpty() || drivers.isEmpty())
        return;
    TimingState& t = m_main.timing();
    const std::optional<PracticeCaption> caption =
        m_store.linkDriver(t.CurrentRaceID, KeyOf(transponders.first()->data(Qt::UserRole)),
                           KeyOf(drivers.first()->data(Qt::UserRole)),
                           transponders.first()->data(kSessionPositionRole).toInt());
    if (caption && caption->startPosition >= 1 && caption->startPosition <= kSlotCount)
        t.ScoreDriverCaption[static_cast<size_t>(caption->startPosition - 1)] = caption->caption;
    showWaitingWrites();
    refreshAll();
}

void PracticePage::txtPracticeAutomaticDeleteDelay_Change() {
    m_main.state().LapCounter.setPracticeDeleteDelayText(txtPracticeAutomaticDeleteDelay->text());
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("PracticeDeleteDelay"),
                     txtPracticeAutomaticDeleteDelay->text(), true);
}

// ---- The lists and the board -----------------------------------------------

void PracticePage::tmrPracticeWrites_Timer() {
    m_store.flush();
    showWaitingWrites();
}

bool PracticePage::mayClose() {
    if (m_store.waitingWrites() > 0)
        tmrPracticeWrites_Timer();
    const int waiting = m_store.waitingWrites();
    // A session left behind stays Running in the database; the question about
    // waiting writes says enough on its own: one box.
    if (waiting == 0)
        return m_sessionRaceId < 0 ||
               MsgBox(QStringLiteral("Practice is running. Close Kirv Vorel anyway?"),
                      MsgButtons::YesNo, MsgIcon::Question, kProgramName) == MsgResult::Yes;
    return MsgBox(QStringLiteral("%1 of the practice session's passes and changes could not be "
                                 "stored in the race database yet, because the database does not "
                                 "accept them. If you close the program now, they are lost.\n\n"
                                 "Close the program anyway?")
                      .arg(waiting),
                  MsgButtons::YesNo, MsgIcon::Question, kProgramName) == MsgResult::Yes;
}

void PracticePage::showWaitingWrites() {
    const bool waiting = m_store.waitingWrites() > 0;
    if (waiting)
        lblPracticeWaitingWrites->setText(WaitingWritesText(m_store.waitingPasses()));
    lblPracticeWaitingWrites->setVisible(waiting);
    if (!waiting)
        tmrPracticeWrites.stop();
    else if (!tmrPracticeWrites.isActive())
        tmrPracticeWrites.start();
    m_lapCounterNote->setPassesWait(m_store.waitingPasses() > 0);
}

void PracticePage::LapCounterLost() {
    const TimingState& t = m_main.timing();
    if (!t.RaceActive || t.TimingMode != TimingPractice || m_sessionRaceId < 0) {
        m_lapCounterNote->goneAgain();
        return;
    }
    m_lapCounterNote->setPassesWait(m_store.waitingPasses() > 0);
    m_lapCounterNote->lost();
}

void PracticePage::LapCounterBack() {
    m_lapCounterNote->back();
}

void PracticePage::refreshAll() {
    FillUnassignedTransponders();
    FillUnassignedDrivers();
    RefreshPracticeBoard();
}

void PracticePage::FillUnassignedTransponders() {
    const KeepSelection keep(lbPracticeUnassignedTransponders, {}, kIdentityRole);
    lbPracticeUnassignedTransponders->clear();
    QList<UnassignedTransponder> rows;
    if (!m_store.unassignedTransponders(&rows))
        return;
    for (const UnassignedTransponder& r : rows) {
        auto* item =
            new QListWidgetItem(UnassignedTransponderText(r.startPosition, r.transponderId));
        item->setData(Qt::UserRole, r.key);
        item->setData(kSessionPositionRole, r.sessionPosition);
        item->setData(kIdentityRole, Identity(r));
        lbPracticeUnassignedTransponders->addItem(item);
    }
}

void PracticePage::FillUnassignedDrivers() {
    const KeepSelection keep(lbPracticeUnassignedDrivers);
    lbPracticeUnassignedDrivers->clear();
    QList<UnassignedDriver> rows;
    if (!m_store.unassignedDrivers(m_main.timing().CurrentRaceID, &rows))
        return;
    for (const UnassignedDriver& r : rows) {
        auto* item = new QListWidgetItem(
            UnassignedDriverText(r.lastname, r.firstname, r.car, r.transponderId));
        item->setData(Qt::UserRole, r.driverId);
        lbPracticeUnassignedDrivers->addItem(item);
    }
}

void PracticePage::RefreshPracticeBoard() {
    const auto rows = PracticeBoardRows(m_main.timing());
    for (size_t s = 0; s < rows.size(); ++s) {
        const PracticeBoardRow& row = rows[s];
        if (row.visible)
            m_board->setRowTexts(s, row.driver, row.laps, row.totalTime, row.lastTime,
                                 row.bestTime);
        m_board->setRowVisible(s, row.visible);
        cmdPracticeLapProgressPreview[s]->setVisible(row.visible);
        cmdPracticeDelete[s]->setVisible(row.visible);
    }
}

} // namespace kv
