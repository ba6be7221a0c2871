#include "RacePage.h"

#include "Database.h"
#include "Helpers.h"
#include "KirvOCX.h"
#include "MainContext.h"
#include "Platform.h"
#include "RaceBoard.h"
#include "RaceControls.h"
#include "RaceDriverFrame.h"
#include "RaceInformationFrame.h"
#include "RaceSelection.h"
#include "RaceStore.h"
#include "RaceTiming.h"
#include "Sounds.h"
#include "TransponderIdBox.h"
#include "Ui.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <initializer_list>

namespace kv {

const QString RacePage::kSingleRaceRegistrationRow = QStringLiteral("<Single race registration>");

RacePage::~RacePage() = default;

RacePage::RacePage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Race"), parent),
      m_store(std::make_unique<RaceStore>(main.db())) {
    buildSelection();
    buildInformation();
    buildModifyDriver();
    buildRaceControl();
    buildScoreBoard();
    connectHandlers();
}

// ---- Layout ----------------------------------------------------------------

void RacePage::buildSelection() {
    m_selection = std::make_unique<RaceSelection>(this);
    cbRaceShowRaceCategory = m_selection->cbRaceShowRaceCategory;
    cbRaceHeats = m_selection->cbRaceHeats;
    lbRaceHeatParticipants = m_selection->lbRaceHeatParticipants;
}

void RacePage::buildInformation() {
    m_information = std::make_unique<RaceInformationFrame>(this);
    RaceInformationFrame& i = *m_information;
    frameRaceInformation = i.frame;
    lblRaceInfoCategory = i.lblRaceInfoCategory;
    lblRaceInfoTimeOfRace = i.lblRaceInfoTimeOfRace;
    lblRaceInfoLength = i.lblRaceInfoLength;
    lblRaceInfoStatus = i.lblRaceInfoStatus;
    lblRaceHeatConflicts = i.lblRaceHeatConflicts;
    txtRaceInfoComment = i.txtRaceInfoComment;
}

void RacePage::buildModifyDriver() {
    m_driver = std::make_unique<RaceDriverFrame>(m_main, this);
    RaceDriverFrame& d = *m_driver;
    frameRaceModifyDriver = d.frame;
    lblRaceModifyDriverName = d.lblRaceModifyDriverName;
    txtRaceModifyDriverCar = d.txtRaceModifyDriverCar;
    txtRaceModifyDriverTeam = d.txtRaceModifyDriverTeam;
    txtRaceModifyDriverFrequency = d.txtRaceModifyDriverFrequency;
    chkRaceModifyDriverOwnTransponder = d.chkRaceModifyDriverOwnTransponder;
    txtRaceModifyDriverTransponderID = d.idBox->box;
    cmdRaceModifyDriverReadID = d.idBox->cmdRead;
    cmdRaceModifyDriverWriteID = d.idBox->cmdWrite;
    cmdRaceModifyDriverSave = d.cmdRaceModifyDriverSave;
}

void RacePage::buildRaceControl() {
    m_controls = std::make_unique<RaceControls>(this);
    const RaceControls& c = *m_controls;
    txtRaceTime = c.txtRaceTime;
    txtRaceLapCounter = c.txtRaceLapCounter;
    Frame1 = c.Frame1;
    cmdRaceStart = c.cmdRaceStart;
    cmdRaceStop = c.cmdRaceStop;
    cmdRaceClear = c.cmdRaceClear;
    cmdRaceHeatResultPreview = c.cmdRaceHeatResultPreview;
    cmdRaceScoreCompareShow = c.cmdRaceScoreCompareShow;
    lblRaceLapCounterLost = c.lblRaceLapCounterLost;
    lblRaceWaitingPasses = c.lblRaceWaitingPasses;
}

void RacePage::buildScoreBoard() {
    m_board = std::make_unique<RaceBoard>(this);
    const RaceBoard& b = *m_board;
    lblRaceScoreDriver = b.values.driver;
    lblRaceScoreLaps = b.values.laps;
    lblRaceScoreTotalTime = b.values.totalTime;
    lblRaceScoreLastTime = b.values.lastTime;
    lblRaceScoreBestTime = b.values.bestTime;
    lblRaceScoreLapsDifference = b.lapsDifference;
    lblRaceScoreTotalTimeDifference = b.totalTimeDifference;
    lblRaceScoreLastTimeDifference = b.lastTimeDifference;
    lblRaceScoreBestTimeDifference = b.bestTimeDifference;
}

void RacePage::connectHandlers() {
    connect(cbRaceShowRaceCategory, &QComboBox::currentIndexChanged, this,
            &RacePage::cbRaceShowRaceCategory_Click);
    connect(cbRaceHeats, &QComboBox::currentIndexChanged, this, &RacePage::cbRaceHeats_Click);
    // A selection, by mouse or keys; focus alone selects nobody.
    connect(lbRaceHeatParticipants, &QListWidget::itemSelectionChanged, this,
            &RacePage::lbRaceHeatParticipants_Click);
    connect(txtRaceInfoComment, &QPlainTextEdit::textChanged, this,
            &RacePage::txtRaceInfoComment_Change);
    connect(txtRaceModifyDriverTransponderID, &QLineEdit::textChanged, this,
            &RacePage::txtRaceModifyDriverTransponderID_Change);
    connect(cmdRaceModifyDriverReadID, &QPushButton::clicked, this,
            &RacePage::cmdRaceModifyDriverReadID_Click);
    connect(cmdRaceModifyDriverWriteID, &QPushButton::clicked, this,
            &RacePage::cmdRaceModifyDriverWriteID_Click);
    connect(cmdRaceModifyDriverSave, &QPushButton::clicked, this,
            &RacePage::cmdRaceModifyDriverSave_Click);

    connect(cmdRaceStart, &QToolButton::clicked, this, &RacePage::cmdRaceStart_Click);
    connect(cmdRaceStop, &QToolButton::clicked, this, &RacePage::cmdRaceStop_Click);
    connect(cmdRaceClear, &QPushButton::clicked, this, &RacePage::cmdRaceClear_Click);
    connect(cmdRaceHeatResultPreview, &QToolButton::clicked, this,
            &RacePage::cmdRaceHeatResultPreview_Click);
    connect(cmdRaceScoreCompareShow, &QPushButton::clicked, this,
            &RacePage::cmdRaceScoreCompareShow_Click);

    tmrRaceCountdown.setInterval(1000);
    tmrRaceTime.setInterval(100);
    tmrRaceFlash.setInterval(250);
    connect(&tmrRaceCountdown, &QTimer::timeout, this, &RacePage::tmrRaceCountdown_Timer);
    connect(&tmrRaceTime, &QTimer::timeout, this, &RacePage::tmrRaceTime_Timer);
    connect(&tmrRaceFlash, &QTimer::timeout, this, &RacePage::tmrRaceFlash_Timer);
    // Passes the database refused are tried again at least once a second.
    tmrRaceWaitingPasses.setInterval(1000);
    connect(&tmrRaceWaitingPasses, &QTimer::timeout, this, &RacePage::tmrRaceWaitingPasses_Timer);
}

QColor RacePage::textColour(const QWidget* w) {
    const bool box = qobject_cast<const QLineEdit*>(w) != nullptr;
    return w->palette().color(box ? QPalette::Text : QPalette::WindowText);
}

void RacePage::FillFixedLists() {
    m_selection->fillFixedLists();
}

// ---- Heat selection --------------------------------------------------------

void RacePage::cbRaceShowRaceCategory_Click() {
    TimingState& t = m_main.timing();
    m_selection->clear();
    const int category = cbRaceShowRaceCategory->currentIndex();
    if (category < 0)
        return;
    const bool single = category == RaceStore::SingleRace;
    Recordset rs;
    (void)m_store->races(category, m_main.state().CurrentTournamentID, rs);
    // Filled quietly and left unselected: the selection below runs the heat
    // selection exactly once.
    m_selection->fillRaces(rs, single, kSingleRaceRegistrationRow);
    if (rs.isEmpty()) {
        t.CurrentRaceID = -1;
        frameRaceInformation->setVisible(false);
        frameRaceModifyDriver->setVisible(false);
    } else {
        const int first = single ? 1 : 0;
        cbRaceHeats->setCurrentIndex(first);
        t.CurrentRaceID = cbRaceHeats->itemData(first).toInt();
        frameRaceInformation->setVisible(true);
    }
    RefreshRaceBoard();
}

void RacePage::cbRaceHeats_Click() {
    TimingState& t = m_main.timing();
    frameRaceModifyDriver->setVisible(false);
    const int row = cbRaceHeats->currentIndex();
    if (row < 0) {
        t.CurrentRaceID = -1;
        return;
    }
    t.CurrentRaceID = cbRaceHeats->itemData(row).toInt();
    if (t.CurrentRaceID == -1) {
        if (showSingleRaceRegistration) {
            showSingleRaceRegistration();
            cbRaceShowRaceCategory_Click();
        }
        return;
    }
    m_controls->lapCounterNote->hide();
    fillStartList();
    resetRaceDisplay();
    showRaceInformation();
    RefreshRaceBoard();
}

void RacePage::fillStartList() {
    Recordset rs;
    (void)m_store->startList(m_main.timing().CurrentRaceID, rs);
    const RaceSelection::Conflicts conflicts = m_selection->fillStartList(rs);
    m_main.timing().HeatHasConflict = conflicts.frequency || conflicts.id;
    m_information->showConflicts(conflicts.frequency, conflicts.id);
}

void RacePage::resetRaceDisplay() {
    setTextColour(txtRaceTime, Colours::Green);
    txtRaceTime->setText(QStringLiteral("0:00.000"));
    m_board->hideRows();
    m_board->clearDifferences();
    m_main.timing().ResetSlotsForSelection();
}

void RacePage::showRaceInformation() {
    TimingState& t = m_main.timing();
    Recordset rs;
    if (!m_store->raceInformation(t.CurrentRaceID, rs) || rs.isEmpty()) {
        m_information->clear();
        return;
    }
    const QSqlRecord& r = rs.row(0);
    m_information->showRace(r);
    t.CurrentRaceCategoryID = r.value(QStringLiteral("RaceCategoryID")).toInt();
    t.CurrentRaceLength = r.value(QStringLiteral("Length")).toInt();
    t.CurrentRaceStatus = r.value(QStringLiteral("Status")).toInt();
    if (t.CurrentRaceStatus == RaceFinished)
        LoadFinishedRaceBoard();
    m_information->showComment(r);
}

void RacePage::txtRaceInfoComment_Change() {
    const int raceId = m_selection->selectedRace();
    if (raceId < 0)
        return;
    (void)m_store->saveComment(raceId, txtRaceInfoComment->toPlainText());
}

// ---- Driver corrections ----------------------------------------------------

void RacePage::lbRaceHeatParticipants_Click() {
    const int driverId = m_selection->selectedDriver();
    if (driverId >= 0)
        m_driver->load(driverId);
}

void RacePage::txtRaceModifyDriverTransponderID_Change() {
    m_driver->idBox->BoxChanged();
}

void RacePage::cmdRaceModifyDriverReadID_Click() {
    m_driver->idBox->Read();
}

void RacePage::cmdRaceModifyDriverWriteID_Click() {
    m_driver->idBox->Write();
}

void RacePage::cmdRaceModifyDriverSave_Click() {
    const int driverId = m_selection->selectedDriver();
    if (driverId >= 0 && m_driver->save(driverId))
        cbRaceHeats_Click();
}

// ---- Score board -----------------------------------------------------------

void RacePage::LoadFinishedRaceBoard() {
    TimingState& t = m_main.timing();
    Recordset entries;
    if (!m_store->finishedEntries(t.CurrentRaceID, entries))
        return;
    (void)m_board->showDrivers(entries, t);
    for (int p = 1; p <= kSlotCount; ++p) {
        QList<StoredLap> stored;
        if (!m_store->finishedLaps(t.CurrentRaceID, p, stored))
            return;
        LoadFinishedSlot(t, p - 1, stored);
    }
    t.RankRaceBoard();
}

void RacePage::RefreshRaceBoard() {
    TimingState& t = m_main.timing();
    if (t.CurrentRaceStatus >= RaceNew && t.CurrentRaceStatus <= RaceFinished) {
        cmdRaceStart->setEnabled(t.CurrentRaceStatus == RaceNew);
        cmdRaceStop->setEnabled(t.CurrentRaceStatus == RaceRunning);
        // A race stored as running that this program is not timing was cut
        // short by an earlier run: Clear is the way back to a new race.
        // Not while the end of this program's run still waits to be stored.
        cmdRaceClear->setEnabled(
            t.CurrentRaceStatus == RaceFinished ||
            (t.CurrentRaceStatus == RaceRunning && !t.RaceActive && !m_store->endWaiting()));
    }
    m_board->draw(RaceBoardRows(t));
    if (t.LapsRaceComplete())
        cmdRaceStop_Click();
    t.UpdateLeaderLaps();
    txtRaceLapCounter->setText(t.LapCounterText());
}

// ---- Race run --------------------------------------------------------------

void RacePage::cmdRaceStart_Click() {
    TimingState& t = m_main.timing();
    t.TimingMode = TimingRace;
    m_main.state().KirvOCX->StopRace();
    if (t.HeatHasConflict) {
        MsgBox(QStringLiteral("There is a frequency and/or transponder ID conflict in this race. "
                              "Please rectify before starting the race!"),
               MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Race conflict!"));
        return;
    }
    if (t.CurrentRaceID < 0)
        return;
    if (!startListFitsTheBoard() || !m_main.OpenLapCounterPort())
        return;
    t.RaceActive = true;
    if (raceAlreadyRun())
        return;
    Recordset entries;
    if (!m_store->startEntries(t.CurrentRaceID, entries) || !storeStartAndTransponders(entries)) {
        t.RaceActive = false;
        return;
    }
    lockPage(true);
    cmdRaceClear->setEnabled(false);
    cmdRaceStart->setEnabled(false);
    setTextColour(txtRaceTime, Colours::Blue);
    txtRaceTime->setText(QStringLiteral("10"));
    setTextColour(txtRaceLapCounter, Colours::Blue);
    txtRaceLapCounter->setText(t.CurrentRaceCategoryID == TimeRace
                                   ? QStringLiteral("0")
                                   : QStringLiteral("0/") + QString::number(t.CurrentRaceLength));
    m_board->hideRows();
    t.CarFinished.fill(true); // slots without a car count as finished
    for (size_t s : m_board->showDrivers(entries, t))
        t.CarFinished[s] = false;
    m_controls->lapCounterNote->hide();
    m_sounds.readInstallFolder();
    tmrRaceCountdown.start();
    m_sounds.play("start");
}

bool RacePage::startListFitsTheBoard() {
    QList<qint32> positions;
    if (!m_store->startPositions(m_main.timing().CurrentRaceID, positions))
        return false;
    const QString problem = StartListProblem(positions);
    if (problem.isEmpty())
        return true;
    MsgBox(problem, MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Race start list!"));
    return false;
}

bool RacePage::raceAlreadyRun() {
    TimingState& t = m_main.timing();
    // The stored status decides: the race may have been run since it was selected.
    const std::optional<int> stored = m_store->storedStatus(t.CurrentRaceID);
    if (stored && *stored != t.CurrentRaceStatus)
        showStatus(*stored);
    if (t.CurrentRaceStatus == RaceRunning) {
        MsgBox(QStringLiteral("This race has been started (and probably interrupted). To restart, "
                              "first clear race."),
               MsgButtons::OK, MsgIcon::None, QStringLiteral("Race already started."));
        return true;
    }
    if (t.CurrentRaceStatus == RaceFinished) {
        MsgBox(QStringLiteral("This race is finished. To restart, first clear race."),
               MsgButtons::OK, MsgIcon::None, QStringLiteral("Race already finished."));
        return true;
    }
    return false;
}

void RacePage::showStatus(int status) {
    m_main.timing().CurrentRaceStatus = status;
    m_information->showStatus(status);
    RefreshRaceBoard();
}

bool RacePage::storeStartAndTransponders(const Recordset& entries) {
    const QString now = NowText();
    // Said plainly: the statement and the engine's words tell an organiser nothing.
    if (!m_store->markStarted(m_main.timing().CurrentRaceID, entries, now)) {
        MsgBox(QStringLiteral("The race could not be started, because the race database refused "
                              "a change. Nothing was changed."),
               MsgButtons::OK, MsgIcon::Critical, kProgramName);
        return false;
    }
    lblRaceInfoTimeOfRace->setText(DateTimeText(now));
    return true;
}

void RacePage::cmdRaceHeatResultPreview_Click() {
    m_main.PreviewHeatResults(m_main.timing().CurrentRaceID);
}

void RacePage::cmdRaceScoreCompareShow_Click() {
    m_main.ShowScoreDetails(m_main.timing().CurrentRaceID);
}

void RacePage::lockPage(bool locked) {
    m_main.SetToolbarEnabled(!locked);
    for (QWidget* w : std::initializer_list<QWidget*>{cbRaceHeats, cbRaceShowRaceCategory,
                                                      lbRaceHeatParticipants})
        w->setEnabled(!locked);
    if (locked)
        frameRaceModifyDriver->setVisible(false);
}

void RacePage::tmrRaceCountdown_Timer() {
    const int v = static_cast<int>(Val(txtRaceTime->text())) - 1;
    txtRaceTime->setText(QString::number(v));
    if (v > 1 && v < 6)
        m_sounds.play("count");
    if (v <= 0) {
        tmrRaceCountdown.stop();
        StartRaceTiming();
        m_sounds.play("go");
    }
}

void RacePage::StartRaceTiming() {
    TimingState& t = m_main.timing();
    // The cars are on their way: the running mark is the race's first timed
    // write; one the database refuses waits first in line, said on the page.
    (void)m_store->markRunning(t.CurrentRaceID);
    t.ResetAtGo();
    setTextColour(txtRaceTime, Colours::Green);
    // Never sent again later on: a start the counter takes late would put
    // its clock behind the race's.
    m_counterNotStarted = !m_main.state().KirvOCX->StartRace();
    m_controls->lapCounterNote->go();
    if (m_counterNotStarted)
        m_controls->lapCounterNote->notStarted();
    tmrRaceTime.start();
    tmrRaceFlash.start();
    t.CurrentRaceStatus = RaceRunning;
    m_information->showStatus(RaceRunning);
    showWaitingPasses();
    RefreshRaceBoard();
}

void RacePage::tmrRaceTime_Timer() {
    TimingState& t = m_main.timing();
    const bool finish = RaceClockTick(t, tmrRaceTime.interval());
    txtRaceTime->setText(RaceClockText(t.RaceElapsedMs));
    if (finish) {
        setTextColour(txtRaceTime, Colours::Red);
        m_sounds.play("finish");
    }
}

void RacePage::tmrRaceFlash_Timer() {
    const auto colours = FlashTick(m_main.timing());
    m_board->paintFlash(colours);
}

void RacePage::cmdRaceStop_Click() {
    TimingState& t = m_main.timing();
    if (!t.RaceActive) {
        // The end of this program's race is not stored yet: try again.
        if (m_store->endWaiting())
            afterStoreTry(m_store->flush());
        return;
    }
    t.RaceActive = false;
    tmrRaceTime.stop();
    tmrRaceCountdown.stop();
    m_main.state().KirvOCX->StopRace();
    t.TimingMode = TimingIdle;
    // The heat's missed start says nothing about the passes of any later race;
    // its note stays until Clear, which it asks for.
    m_counterNotStarted = false;
    m_controls->lapCounterNote->stopped(false);
    // Stored behind the passes that wait; also runs inside the lap counter's
    // receive handling, so a refusal is told on the page, never in a box.
    (void)m_store->markFinished(t.CurrentRaceID);
    afterStoreTry(true);
}

void RacePage::afterStoreTry(bool endJustStored) {
    showWaitingPasses();
    if (m_store->endWaiting()) {
        // The screen keeps what the database holds: still running, Stop to
        // try again, the page locked to this race.
        cmdRaceStart->setEnabled(false);
        cmdRaceStop->setEnabled(true);
        cmdRaceClear->setEnabled(false);
        return;
    }
    if (!endJustStored)
        return;
    TimingState& t = m_main.timing();
    lockPage(false);
    t.CurrentRaceStatus = RaceFinished;
    m_information->showStatus(RaceFinished);
    // A laps race that ended by itself keeps the board of its last pass.
    if (!t.LapsRaceComplete())
        RefreshRaceBoard();
    m_sounds.play("complete");
}

void RacePage::showWaitingPasses() {
    m_controls->showWaiting(m_store->runningWaiting(), m_store->waitingPasses(),
                            m_store->endWaiting());
    if (m_store->waiting() == 0)
        tmrRaceWaitingPasses.stop();
    else if (!tmrRaceWaitingPasses.isActive())
        tmrRaceWaitingPasses.start();
}

void RacePage::tmrRaceWaitingPasses_Timer() {
    const bool endWasWaiting = m_store->endWaiting();
    afterStoreTry(m_store->flush() && endWasWaiting);
}

int RacePage::passesWaiting() const {
    return m_store->waiting();
}

bool RacePage::mayClose() {
    if (m_store->waiting() > 0)
        tmrRaceWaitingPasses_Timer();
    const int waiting = m_store->waiting();
    // A heat left behind stays Running in the database, and after the next
    // start of the program only Clear, which deletes its laps, leads on. The
    // question about waiting passes says enough on its own: one box.
    if (waiting == 0)
        return !raceUnderWay() ||
               MsgBox(QStringLiteral("The race is running. Close Kirv Vorel anyway?"),
                      MsgButtons::YesNo, MsgIcon::Question, kProgramName) == MsgResult::Yes;
    return MsgBox(QStringLiteral("%1 of the race's passes (or its end) could not be stored in the "
                                 "race database yet, because the database does not accept "
                                 "them. If you close the program now, they are lost.\n\nClose "
                                 "the program anyway?")
                      .arg(waiting),
                  MsgButtons::YesNo, MsgIcon::Question, kProgramName) == MsgResult::Yes;
}

void RacePage::cmdRaceClear_Click() {
    TimingState& t = m_main.timing();
    if (t.CurrentRaceID < 0)
        return;
    if (MsgBox(QStringLiteral(
                   "You are about to delete all registeres laps in this race. Are you sure?"),
               MsgButtons::YesNo, MsgIcon::None, QStringLiteral("Clear race?")) != MsgResult::Yes)
        return;
    if (!m_store->clear(t.CurrentRaceID)) {
        MsgBox(QStringLiteral("The race could not be cleared. Nothing was changed."),
               MsgButtons::OK, MsgIcon::Critical, kProgramName);
        return;
    }
    t.CurrentRaceStatus = RaceNew;
    m_information->showStatus(RaceNew);
    lblRaceInfoTimeOfRace->clear();
    t.RaceFinishSignalled = false;
    t.CarFinished.fill(false);
    // A note about the cleared run's lap counter speaks of laps that are gone.
    m_controls->lapCounterNote->hide();
    RefreshRaceBoard();
}

// ---- Passes ----------------------------------------------------------------

void RacePage::RegisterRaceCar(qint16 iCarID, qint32 lMilliseconds) {
    TimingState& t = m_main.timing();
    if (m_counterNotStarted)
        return;
    // From the copies taken at the Start: no read while the race runs. Not in
    // the race, or shared by two entries: nobody's lap.
    const std::optional<RaceStore::Entry> entry = m_store->entryOf(t.CurrentRaceID, iCarID);
    if (!entry || entry->StartPosition < 1 || entry->StartPosition > kSlotCount)
        return;
    const RacePassOutcome out =
        RegisterRacePass(t, entry->StartPosition - 1, lMilliseconds,
                         m_main.state().LapCounter.TransponderDelaySeconds());
    if (out.ignored)
        return;
    // Counted as when the database takes it: a write it refuses waits, in
    // order, and is tried again before the next pass and every second.
    (void)m_store->storePass(t.CurrentRaceID, entry->DriverInRaceID, out);
    showWaitingPasses();
    m_sounds.play("pass");
    if (out.finishSignalNow) {
        setTextColour(txtRaceLapCounter, Colours::Red);
        m_sounds.play("finish");
    }
    if (out.lapCounted)
        RefreshRaceBoard();
    if (out.raceComplete)
        cmdRaceStop_Click();
}

bool RacePage::raceUnderWay() const {
    // The timers tell: a Start refused for a race stored as running leaves the
    // race active, though nothing counts down or is timed.
    return m_main.timing().RaceActive && (tmrRaceCountdown.isActive() || tmrRaceTime.isActive());
}

void RacePage::LapCounterLost() {
    if (!raceUnderWay()) {
        m_controls->lapCounterNote->goneAgain();
        return;
    }
    // Stop is enabled only from the go.
    m_controls->lapCounterNote->lost(tmrRaceCountdown.isActive());
}

void RacePage::LapCounterBack() {
    m_controls->lapCounterNote->back();
}

} // namespace kv
