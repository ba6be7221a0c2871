#include "PracticePage.h"

#include "ButtonPictures.h"
#include "Database.h"
#include "Helpers.h"
#include "KirvOCX.h"
#include "MainContext.h"
#include "PassStatements.h"
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

// Colours given as the window system's &HBBGGRR values.
const QColor kGreen = bgr(0xC000);
const QColor kRed = bgr(0x0000FF);

// Lists ignore their buddy label: they also carry its text as their name.
void nameByCaption(QListWidget* list, QLabel* caption) {
    caption->setBuddy(list);
    list->setAccessibleName(caption->text());
}

// A key as stored: a whole number of 32 bits; 0 (no row has it) otherwise.
qint32 KeyOf(const QVariant& field) {
    bool ok = false;
    const qint64 v = field.toLongLong(&ok);
    return ok && v > 0 && v <= std::numeric_limits<qint32>::max() ? static_cast<qint32>(v) : 0;
}

QString Number(qint64 v) {
    return QString::number(v);
}

void tellUser(const QString& error) {
    MsgBox(error, MsgButtons::OK, MsgIcon::Critical, kProgramName);
}

const QString kPassNotStored =
    QStringLiteral("A passing car could not be stored in the race database, so the pass was not "
                   "counted. Practice goes on with the next pass; this message is not shown again "
                   "during this session.\n\n");
const QString kIdleCarNotRemoved =
    QStringLiteral("An idle car could not be removed from the practice board. Practice goes on; "
                   "this message is not shown again during this session.\n\n");

} // namespace

PracticePage::PracticePage(MainContext& main, QWidget* parent)
    : PageFrame(main, QStringLiteral("Practice"), parent) {
    buildControls();
    buildBoard();
    connectHandlers();
}

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
    txtPracticeAutomaticDeleteDelay->setText(QStringLiteral("5"));
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
    setTextColour(txtPracticeTime, kGreen);

    cmdPracticeScoreCompareShow =
        addButton("cmdPracticeScoreCompareShow", QStringLiteral("Show details"), this, 13680, 9000,
                  1335, 375);
    cmdPracticeScoreCompareShow->setToolTip(QStringLiteral("Display details for checked drivers."));
}

void PracticePage::buildBoard() {
    addScoreBoardHeadings(this);
    const ScoreColumn columns[] = {
        {"lblPracticeScoreDriver", &lblPracticeScoreDriver, 4680, 3255, QStringLiteral("Driver")},
        {"lblPracticeScoreLaps", &lblPracticeScoreLaps, 8040, 1095, QStringLiteral("1")},
        {"lblPracticeScoreTotalTime", &lblPracticeScoreTotalTime, 9240, 1575,
         QStringLiteral("99:12.100")},
        {"lblPracticeScoreLastTime", &lblPracticeScoreLastTime, 10920, 1335,
         QStringLiteral("5:26.956")},
        {"lblPracticeScoreBestTime", &lblPracticeScoreBestTime, 12360, 1335,
         QStringLiteral("0:12.302")},
    };
    for (const ScoreColumn& c : columns)
        addScoreColumn(
            this, c,
            {3000, 375, formFont(15.75, false), Qt::black, c.labels == &lblPracticeScoreDriver});
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
}

// ---- Start and stop ---------------------------------------------------------

void PracticePage::cmdPracticeStart_Click() {
    TimingState& t = m_main.timing();
    Database& db = m_main.db();
    KirvOCX* link = m_main.state().KirvOCX;

    // The one practice race: made once, then emptied at every start.
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE RaceCode=4;"), rs))
        return;
    qint32 raceId = 0;
    if (rs.isEmpty()) {
        qint64 newKey = 0;
        if (!db.Insert(QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, "
                                      "RaceCode, Length, Description) VALUES(") +
                           QStringLiteral("0,1,4,0,'Practice');"),
                       newKey))
            return;
        raceId = KeyOf(newKey);
    } else {
        raceId = KeyOf(rs.value(0, QStringLiteral("RaceID")));
    }
    if (raceId == 0) {
        tellUser(QStringLiteral("The practice race's key does not fit a whole number of 32 bits. "
                                "Practice cannot be started with this race database."));
        return;
    }
    if (!rs.isEmpty()) {
        QString error;
        if (!WriteAllOrNone(db,
                            {QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") +
                                 Number(raceId) + QLatin1Char(';'),
                             QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") +
                                 Number(raceId) + QLatin1Char(';')},
                            &error)) {
            tellUser(error);
            return;
        }
    }
    t.CurrentRaceID = raceId;
    m_practiceRaceId = raceId;
    t.TimingMode = TimingPractice;
    link->StopRace();
    if (!m_main.OpenLapCounterPort())
        return;

    // Marked New with the time of this start, then Running, together.
    t.RaceActive = true;
    const QString id = Number(raceId);
    QString error;
    if (!WriteAllOrNone(db,
                        {QStringLiteral("UPDATE tblRace SET Status=0, TimeOfRace='") + NowText() +
                             QStringLiteral("' WHERE RaceID=") + id + QLatin1Char(';'),
                         QStringLiteral("UPDATE tblRace SET Status=1 WHERE RaceID=") + id +
                             QStringLiteral(" AND Status=0;")},
                        &error)) {
        t.RaceActive = false;
        t.TimingMode = TimingIdle;
        tellUser(error);
        return;
    }
    m_main.SetToolbarEnabled(false);
    setTextColour(txtPracticeTime, kGreen);
    t.PracticeElapsedMs = 0;
    ResetPracticeSlots(t);
    m_timingFailureReported = false;
    link->StartRace();
    tmrPracticeTime.start();
    tmrPracticeFlash.start();
    t.CurrentRaceStatus = RaceRunning;
    m_sessionRaceId = raceId;

    refreshAll();
    playSound("res/go.wav");
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
    m_main.SetToolbarEnabled(true);
    // A refused status is told; the session has stopped all the same.
    (void)m_main.db().Execute(QStringLiteral("UPDATE tblRace SET Status=2 WHERE RaceID=") +
                              Number(t.CurrentRaceID) + QStringLiteral(" AND Status=1;"));
    t.CurrentRaceStatus = RaceFinished;
    playSound("res/complete.wav");
    cmdPracticeStart->setEnabled(true);
    cmdPracticeStop->setEnabled(false);
}

// ---- Passes -----------------------------------------------------------------

void PracticePage::RegisterPracticeCar(qint16 iCarID, qint32 lMilliseconds) {
    TimingState& t = m_main.timing();
    // Only the running session's race takes practice passes, never a race that
    // was left running.
    if (m_sessionRaceId < 0 || t.CurrentRaceID != m_sessionRaceId)
        return;
    Database& db = m_main.db();
    const QString car = Number(iCarID);
    const QString race = Number(t.CurrentRaceID);
    const TimingState before = t;

    QString entryInsert; // a newcomer's entry, written with the pass
    qint32 entry = 0;
    int slot = -1;
    {
        QuietDatabase quiet(db);
        Recordset rs;
        if (!db.Select(QStringLiteral("SELECT DriverInRaceID, StartPosition FROM tblDriverInRace "
                                      "WHERE TransponderID=") +
                           car + QStringLiteral(" AND RaceID=") + race + QLatin1Char(';'),
                       rs)) {
            reportTimingFailure(kPassNotStored + quiet.error());
            return;
        }
        if (!rs.isEmpty()) {
            entry = KeyOf(rs.value(0, QStringLiteral("DriverInRaceID")));
            slot = rs.value(0, QStringLiteral("StartPosition")).toInt() - 1;
            // An entry without a row of the board is nobody's car.
            if (entry == 0 || slot < 0 || slot >= kSlotCount)
                return;
        } else {
            if (!db.Select(
                    QStringLiteral("SELECT StartPosition FROM tblDriverInRace WHERE RaceID=") +
                        race + QStringLiteral(" ORDER BY StartPosition;"),
                    rs)) {
                reportTimingFailure(kPassNotStored + quiet.error());
                return;
            }
            QList<qint32> taken;
            for (const QSqlRecord& r : rs)
                taken << r.value(0).toInt();
            const int position = PracticeFreeStartPosition(taken);
            if (position > kSlotCount) // ten cars on the board already
                return;
            QList<PracticeOwner> owners;
            const bool autoAssign = chkPracticeAutoAssign->isChecked();
            if (autoAssign) {
                if (!db.Select(QStringLiteral("SELECT DriverID, Lastname, Firstname FROM tblDriver "
                                              "WHERE TransponderID=") +
                                   car + QStringLiteral(" AND Deleted=0 AND OwnTransponder<>0;"),
                               rs)) {
                    reportTimingFailure(kPassNotStored + quiet.error());
                    return;
                }
                for (const QSqlRecord& r : rs)
                    owners << PracticeOwner{KeyOf(r.value(QStringLiteral("DriverID"))),
                                            FieldToString(r.value(QStringLiteral("Lastname"))),
                                            FieldToString(r.value(QStringLiteral("Firstname")))};
            }
            const PracticeLink linked = PracticeAutoLink(iCarID, autoAssign, owners);
            slot = position - 1;
            ResetPracticeSlot(t, slot);
            t.ScoreDriverCaption[static_cast<size_t>(slot)] = linked.caption;
            entryInsert =
                PracticeEntryInsertSql(linked.DriverID, t.CurrentRaceID, position, iCarID);
        }
    }

    const PracticePassOutcome out =
        RegisterPracticePass(t, slot, lMilliseconds, Val(m_main.TransponderDelayText()));
    if (out.ignored) {
        t = before;
        return;
    }
    // A pass the database refuses is not counted at all, so the board and the
    // stored laps keep telling the same session.
    QString error;
    if (!storePass(entryInsert, entry, out, &error)) {
        t = before;
        reportTimingFailure(kPassNotStored + error);
        return;
    }
    refreshAll();
    playSound("res/pass.wav");
}

bool PracticePage::storePass(const QString& entryInsert, qint32 entry,
                             const PracticePassOutcome& out, QString* error) {
    Database& db = m_main.db();
    QuietDatabase quiet(db);
    Transaction trans(db);
    bool ok = trans.active();
    if (ok && !entryInsert.isEmpty()) {
        qint64 newKey = 0;
        ok = db.Insert(entryInsert, newKey);
        entry = KeyOf(newKey);
        if (ok && entry == 0) {
            *error = QStringLiteral("The new entry's key does not fit a whole number of 32 bits.");
            return false;
        }
    }
    if (out.firstCrossing)
        ok = ok && db.Execute(PracticeStartDelaySql(entry, out.startDelay));
    if (out.lapCounted)
        ok = ok &&
             db.Execute(
                 LapInsertSql(entry, out.totalTime, out.lapTime, m_main.timing().CurrentRaceID)) &&
             db.Execute(LapCountSql(entry, out.laps));
    ok = ok && trans.commit();
    if (!ok)
        *error = quiet.error();
    return ok;
}

// ---- Clock, idle check, flashing ------------------------------------------

void PracticePage::tmrPracticeTime_Timer() {
    TimingState& t = m_main.timing();
    const bool check = PracticeClockTick(t, tmrPracticeTime.interval());
    txtPracticeTime->setText(RaceClockText(t.PracticeElapsedMs));
    if (!check)
        return;
    const double minutes = PracticeDeleteDelayMinutes(txtPracticeAutomaticDeleteDelay->text());
    for (int s : IdlePracticeSlots(t, minutes)) {
        QString error;
        if (!deleteSlot(s, &error))
            reportTimingFailure(kIdleCarNotRemoved + error);
    }
}

void PracticePage::tmrPracticeFlash_Timer() {
    const auto colours = PracticeFlashTick(m_main.timing());
    for (size_t s = 0; s < colours.size(); ++s) {
        if (!colours[s])
            continue;
        const QColor c = *colours[s] == FlashColour::Red ? kRed : QColor(Qt::black);
        for (QLabel* l :
             {lblPracticeScoreDriver[s], lblPracticeScoreLaps[s], lblPracticeScoreTotalTime[s],
              lblPracticeScoreLastTime[s], lblPracticeScoreBestTime[s]})
            setTextColour(l, c);
    }
}

// ---- Removing and linking cars ---------------------------------------------

void PracticePage::cmdPracticeLapProgressPreview_Click(int Index) {
    m_main.PreviewLapProgress(m_main.timing().CurrentRaceID, Index + 1);
}

void PracticePage::cmdPracticeScoreCompareShow_Click() {
    m_main.ShowScoreDetails(m_main.timing().CurrentRaceID);
}

void PracticePage::cmdPracticeDelete_Click(int Index) {
    QString error;
    if (!deleteSlot(Index, &error))
        tellUser(error);
}

bool PracticePage::deleteSlot(int index, QString* error) {
    if (index < 0 || index >= kSlotCount)
        return true;
    TimingState& t = m_main.timing();
    // Once the race page has made a race current, the board still shows the
    // practice cars, and a start position of that race is someone else's car.
    if (t.CurrentRaceID != m_practiceRaceId)
        return true;
    Database& db = m_main.db();
    Recordset rs;
    {
        QuietDatabase quiet(db);
        if (!db.Select(QStringLiteral("SELECT DriverInRaceID FROM tblDriverInRace WHERE RaceID=") +
                           Number(t.CurrentRaceID) + QStringLiteral(" AND StartPosition=") +
                           Number(index + 1) + QLatin1Char(';'),
                       rs)) {
            *error = quiet.error();
            return false;
        }
    }
    if (rs.isEmpty())
        return true;
    const QString key = Number(KeyOf(rs.value(0, QStringLiteral("DriverInRaceID"))));
    if (!WriteAllOrNone(db,
                        {QStringLiteral("DELETE FROM tblLapInRace WHERE DriverInRaceID=") + key +
                             QLatin1Char(';'),
                         QStringLiteral("DELETE FROM tblDriverInRace WHERE DriverInRaceID=") + key +
                             QLatin1Char(';')},
                        error))
        return false;
    ResetPracticeSlot(t, index);
    refreshAll();
    return true;
}

void PracticePage::cmdPracticeAssignDriver_Click() {
    const QList<QListWidgetItem*> transponders = lbPracticeUnassignedTransponders->selectedItems();
    const QList<QListWidgetItem*> drivers = lbPracticeUnassignedDrivers->selectedItems();
    if (transponders.isEmpty() || drivers.isEmpty())
        return;
    TimingState& t = m_main.timing();
    Database& db = m_main.db();
    const QString entry = Number(transponders.first()->data(Qt::UserRole).toLongLong());
    const QString driver = Number(drivers.first()->data(Qt::UserRole).toLongLong());
    if (!db.Execute(QStringLiteral("UPDATE tblDriverInRace SET DriverID=") + driver +
                    QStringLiteral(" WHERE DriverID=0 AND RaceID=") + Number(t.CurrentRaceID) +
                    QStringLiteral(" AND DriverInRaceID=") + entry + QLatin1Char(';')))
        return;

    auto setCaption = [&t](const QVariant& startPosition, const QString& caption) {
        const int slot = startPosition.toInt() - 1;
        if (slot >= 0 && slot < kSlotCount)
            t.ScoreDriverCaption[static_cast<size_t>(slot)] = caption;
    };
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT tblDriver.Lastname, tblDriver.Firstname, "
                                  "tblDriverInRace.StartPosition, tblDriverInRace.TransponderID "
                                  "FROM tblDriver INNER JOIN tblDriverInRace ON "
                                  "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                                  "DriverInRaceID=") +
                       entry + QLatin1Char(';'),
                   rs))
        return;
    if (rs.RecordCount() == 1) {
        const QSqlRecord& r = rs.row(0);
        setCaption(r.value(QStringLiteral("StartPosition")),
                   FieldToString(r.value(QStringLiteral("TransponderID"))) + QLatin1Char('-') +
                       FieldToString(r.value(QStringLiteral("Lastname"))) + QStringLiteral(", ") +
                       FieldToString(r.value(QStringLiteral("Firstname"))));
    } else {
        // The link did not take: the row shows the transponder again.
        if (!db.Select(QStringLiteral("SELECT StartPosition, TransponderID FROM tblDriverInRace "
                                      "WHERE DriverInRaceID=") +
                           entry + QLatin1Char(';'),
                       rs))
            return;
        if (rs.RecordCount() == 1)
            setCaption(rs.value(0, QStringLiteral("StartPosition")),
                       QStringLiteral("Transponder: ") +
                           FieldToString(rs.value(0, QStringLiteral("TransponderID"))));
    }
    refreshAll();
}

void PracticePage::txtPracticeAutomaticDeleteDelay_Change() {
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("PracticeDeleteDelay"),
                     txtPracticeAutomaticDeleteDelay->text(), true);
}

// ---- The lists and the board -----------------------------------------------

void PracticePage::refreshAll() {
    FillUnassignedTransponders();
    FillUnassignedDrivers();
    RefreshPracticeBoard();
}

void PracticePage::FillUnassignedTransponders() {
    lbPracticeUnassignedTransponders->clear();
    Recordset rs;
    QuietDatabase quiet(m_main.db()); // also runs inside the lap counter's receive handling
    if (!m_main.db().Select(
            QStringLiteral(
                "SELECT * FROM tblDriverInRace WHERE DriverID=0 ORDER BY StartPosition;"),
            rs))
        return;
    for (const QSqlRecord& r : rs) {
        auto* item = new QListWidgetItem(
            UnassignedTransponderText(FieldToString(r.value(QStringLiteral("StartPosition"))),
                                      FieldToString(r.value(QStringLiteral("TransponderID")))));
        item->setData(Qt::UserRole, KeyOf(r.value(QStringLiteral("DriverInRaceID"))));
        lbPracticeUnassignedTransponders->addItem(item);
    }
}

void PracticePage::FillUnassignedDrivers() {
    lbPracticeUnassignedDrivers->clear();
    Recordset rs;
    QuietDatabase quiet(m_main.db());
    if (!m_main.db().Select(
            QStringLiteral(
                "SELECT DriverID, Lastname, Firstname, Car, TransponderID FROM tblDriver "
                "WHERE Deleted=0 AND DriverID NOT IN (SELECT DriverID FROM "
                "tblDriverInRace WHERE RaceID=") +
                Number(m_main.timing().CurrentRaceID) +
                QStringLiteral(") ORDER BY tblDriver.Lastname, tblDriver.Firstname;"),
            rs))
        return;
    for (const QSqlRecord& r : rs) {
        auto* item = new QListWidgetItem(
            UnassignedDriverText(FieldToString(r.value(QStringLiteral("Lastname"))),
                                 FieldToString(r.value(QStringLiteral("Firstname"))),
                                 FieldToString(r.value(QStringLiteral("Car"))),
                                 FieldToString(r.value(QStringLiteral("TransponderID")))));
        item->setData(Qt::UserRole, KeyOf(r.value(QStringLiteral("DriverID"))));
        lbPracticeUnassignedDrivers->addItem(item);
    }
}

void PracticePage::RefreshPracticeBoard() {
    const auto rows = PracticeBoardRows(m_main.timing());
    for (size_t s = 0; s < rows.size(); ++s) {
        const PracticeBoardRow& row = rows[s];
        if (row.visible) {
            lblPracticeScoreLaps[s]->setText(row.laps);
            lblPracticeScoreTotalTime[s]->setText(row.totalTime);
            lblPracticeScoreLastTime[s]->setText(row.lastTime);
            lblPracticeScoreBestTime[s]->setText(row.bestTime);
            lblPracticeScoreDriver[s]->setText(row.driver);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{
                 lblPracticeScoreDriver[s], lblPracticeScoreLaps[s], lblPracticeScoreTotalTime[s],
                 lblPracticeScoreLastTime[s], lblPracticeScoreBestTime[s],
                 cmdPracticeLapProgressPreview[s], cmdPracticeDelete[s]})
            w->setVisible(row.visible);
    }
}

// ---- Helpers -----------------------------------------------------------------

void PracticePage::reportTimingFailure(const QString& text) {
    if (m_timingFailureReported)
        return;
    m_timingFailureReported = true;
    // Never a modal box inside the lap counter's receive handling.
    QTimer::singleShot(0, this, [text] { tellUser(text); });
}

void PracticePage::playSound(const char* name) {
    // The install folder is read at every play.
    PlaySound(
        GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("AppPath"), QString()) +
            QLatin1String(name),
        SND_ASYNC);
}

} // namespace kv
