#include "frmEditQualHeats.h"

#include "Database.h"
#include "EventData.h"
#include "FinalRaces.h"
#include "Helpers.h"
#include "Platform.h"
#include "QualHeatDeal.h"
#include "Ui.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <map>

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
    const QString tournament = num(m_intTournamentID);
    Recordset drivers;
    if (m_dbConnection->Select(
            QStringLiteral("SELECT tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, "
                           "tblDriver.Car FROM tblDriver INNER JOIN tblDriverInTournament ON "
                           "tblDriver.DriverID = tblDriverInTournament.DriverID WHERE "
                           "tblDriverInTournament.TournamentID=") +
                tournament + QStringLiteral(" ORDER BY tblDriver.Lastname, tblDriver.Firstname;"),
            drivers))
        for (const QSqlRecord& d : drivers)
            cbDriver->addItem(FieldToString(d.value(QStringLiteral("Lastname"))) +
                                  QStringLiteral(", ") +
                                  FieldToString(d.value(QStringLiteral("Firstname"))),
                              d.value(QStringLiteral("DriverID")).toInt());
    Recordset heats;
    if (m_dbConnection->Select(QStringLiteral("SELECT * FROM tblRace WHERE TournamentID=") +
                                   tournament +
                                   QStringLiteral(" AND RaceCode=1 AND QualRound=1 ORDER BY "
                                                  "QualHeat, RaceID;"),
                               heats))
        for (const QSqlRecord& h : heats)
            cbHeats->addItem(FieldToString(h.value(QStringLiteral("Description"))),
                             h.value(QStringLiteral("RaceID")).toInt());
    cbDriver->setCurrentIndex(-1);
    cbHeats->setCurrentIndex(-1);
}

void frmEditQualHeats::cbHeats_Click() {
    lbDriversInHeat->clear();
    const int row = cbHeats->currentIndex();
    if (row < 0 || !m_dbConnection)
        return;
    Recordset drivers;
    if (!m_dbConnection->Select(
            QStringLiteral("SELECT tblDriver.Lastname, tblDriver.Firstname FROM tblDriver INNER "
                           "JOIN tblDriverInRace ON (tblDriver.DriverID = "
                           "tblDriverInRace.DriverID) WHERE tblDriverInRace.RaceID=") +
                num(cbHeats->itemData(row).toInt()) +
                QStringLiteral(" ORDER BY tblDriverInRace.StartPosition;"),
            drivers))
        return;
    for (const QSqlRecord& d : drivers)
        lbDriversInHeat->addItem(FieldToString(d.value(QStringLiteral("Lastname"))) +
                                 QStringLiteral(", ") +
                                 FieldToString(d.value(QStringLiteral("Firstname"))));
}

void frmEditQualHeats::cmdMoveDriver_Click() {
    const int heatRow = cbHeats->currentIndex();
    if (heatRow < 0 || !m_dbConnection)
        return;
    Database& db = *m_dbConnection;
    Recordset chosen;
    if (!db.Select(QStringLiteral("SELECT * FROM tblRace WHERE RaceID=") +
                       num(cbHeats->itemData(heatRow).toInt()) + QStringLiteral(";"),
                   chosen) ||
        chosen.isEmpty())
        return;
    const QString heat = num(chosen.value(0, QStringLiteral("QualHeat")).toInt());
    const int driverRow = cbDriver->currentIndex();
    if (driverRow < 0)
        return;
    const QString driver = num(cbDriver->itemData(driverRow).toInt());
    const QString tournament = num(m_intTournamentID);
    const QString qualHeats =
        QStringLiteral(" FROM tblDriverInRace INNER JOIN tblRace ON (tblDriverInRace.RaceID = "
                       "tblRace.RaceID) WHERE tblRace.TournamentID=") +
        tournament + QStringLiteral(" AND tblRace.RaceCode=1");

    // A heat not yet run that already holds a full field of other drivers
    // takes no one more.
    Recordset fullest;
    if (!db.Select(QStringLiteral("SELECT COUNT(*)") + qualHeats +
                       QStringLiteral(" AND tblRace.Status=0 AND tblRace.QualHeat=") + heat +
                       QStringLiteral(" AND tblDriverInRace.DriverID<>") + driver +
                       QStringLiteral(" GROUP BY tblRace.RaceID ORDER BY 1 DESC;"),
                   fullest))
        return;
    if (!fullest.isEmpty() && fullest.value(0, 0).toInt() >= MaxCarsInRace) {
        MsgBox(QStringLiteral("A heat holds at most %1 cars. The driver was not moved.")
                   .arg(MaxCarsInRace),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    }

    {
        // Out of the old heats and into the new ones together.
        Transaction trans(db);
        if (!trans.active())
            return;
        if (!db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE DriverInRaceID IN "
                                       "(SELECT DriverInRaceID") +
                        qualHeats +
                        QStringLiteral(" AND tblRace.Status=0 AND tblDriverInRace.DriverID=") +
                        driver + QStringLiteral(");")))
            return;
        Recordset last;
        if (!db.Select(QStringLiteral("SELECT tblDriverInRace.StartPosition") + qualHeats +
                           QStringLiteral(" AND tblRace.QualHeat=") + heat +
                           QStringLiteral(" ORDER BY tblDriverInRace.StartPosition DESC;"),
                       last))
            return;
        const QString position = num(last.isEmpty() ? 1 : last.value(0, 0).toInt() + 1);
        Recordset targets;
        if (!db.Select(QStringLiteral("SELECT RaceID FROM tblRace WHERE TournamentID=") +
                           tournament +
                           QStringLiteral(" AND RaceCode=1 AND Status=0 AND QualHeat=") + heat +
                           QStringLiteral(";"),
                       targets))
            return;
        for (const QSqlRecord& target : targets)
            if (!db.Execute(QStringLiteral("INSERT INTO tblDriverInRace (DriverID, RaceID, "
                                           "StartPosition, TimeToFinish, TimeToFinishString) "
                                           "VALUES (") +
                            driver + QStringLiteral(", ") + num(target.value(0).toInt()) +
                            QStringLiteral(", ") + position + QStringLiteral(", ") +
                            num(NoResultTime) + QStringLiteral(",'") + NoResultText +
                            QStringLiteral("');")))
                return;
        if (!trans.commit())
            return;
    }
    cbHeats_Click();
}

void frmEditQualHeats::cmdChangeNumOfRounds_Click() {
    if (!m_dbConnection)
        return;
    Database& db = *m_dbConnection;
    Recordset settings;
    if (!db.Select(QStringLiteral("SELECT * FROM tblTournament WHERE TournamentID=") +
                       num(m_intTournamentID) + QStringLiteral(";"),
                   settings) ||
        settings.isEmpty())
        return;
    const int rounds = settings.value(0, QStringLiteral("QualNumOfRounds")).toInt();
    const int cars = settings.value(0, QStringLiteral("QualNumOfCarsInHeat")).toInt();
    const int minutes = settings.value(0, QStringLiteral("QualRaceTime")).toInt();

    const QString answer = InputBox(QStringLiteral("You currently have ") + num(rounds) +
                                        QStringLiteral(" rounds.\r\nHow many do you want?"),
                                    kProgramName, num(rounds));
    const double wanted = RoundHalfEven(Val(answer));
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
    if (m > rounds && (cars < 1 || cars > QualHeatDeal::MaxCarsInHeat)) {
        MsgBox(QStringLiteral("The number of cars in a heat must be from 1 to %1. The number of "
                              "rounds was not changed.")
                   .arg(QualHeatDeal::MaxCarsInHeat),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    }
    if (!db.Execute(QStringLiteral("UPDATE tblTournament SET QualNumOfRounds=") + num(m) +
                    QStringLiteral(" WHERE TournamentID=") + num(m_intTournamentID) +
                    QStringLiteral(";")))
        return;
    if (m < rounds)
        removeRounds(m);
    else
        addRounds(rounds + 1, m, cars, minutes);
}

void frmEditQualHeats::removeRounds(int rounds) {
    Database& db = *m_dbConnection;
    const QString surplus = QStringLiteral(" FROM tblRace WHERE TournamentID=") +
                            num(m_intTournamentID) +
                            QStringLiteral(" AND RaceCode=1 AND QualRound>") + num(rounds);
    Recordset started;
    if (!db.Select(QStringLiteral("SELECT RaceID, QualRound") + surplus +
                       QStringLiteral(" AND Status>0;"),
                   started))
        return;
    if (!started.isEmpty() &&
        MsgBox(QStringLiteral("There are races that has been started (or finished) in the rounds "
                              "you wish to delete. Are you sure you want to proceed?"),
               MsgButtons::OKCancel, MsgIcon::None, kProgramName) == MsgResult::Cancel)
        return;
    // The surplus heats go whole, with their entries and laps, or not at all.
    Transaction trans(db);
    if (!trans.active())
        return;
    Recordset heats;
    if (!db.Select(QStringLiteral("SELECT RaceID") + surplus + QStringLiteral(";"), heats))
        return;
    for (const QSqlRecord& heat : heats) {
        const QString race = num(heat.value(0).toInt());
        if (!db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") + race +
                        QStringLiteral(";")) ||
            !db.Execute(QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") + race +
                        QStringLiteral(";")))
            return;
    }
    if (!db.Execute(QStringLiteral("DELETE") + surplus + QStringLiteral(";")))
        return;
    trans.commit();
}

void frmEditQualHeats::addRounds(int from, int to, int carsInHeat, int minutes) {
    Database& db = *m_dbConnection;
    const QString tournament = num(m_intTournamentID);
    Recordset existing;
    if (!db.Select(QStringLiteral("SELECT QualRound FROM tblRace WHERE TournamentID=") +
                       tournament + QStringLiteral(" AND RaceCode=1 ORDER BY QualRound DESC;"),
                   existing))
        return;
    if (existing.isEmpty()) {
        MsgBox(QStringLiteral("No qualification-rounds to copy. First generate qualification "
                              "heats."),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    }
    Recordset participants;
    if (!ReadParticipantsForHeats(db, m_intTournamentID, participants))
        return;
    if (participants.isEmpty()) {
        MsgBox(kNoParticipantsForHeatsText, MsgButtons::OK, MsgIcon::None,
               QStringLiteral("Generate qualification heats."));
        return;
    }
    const int heats = QualHeatDeal::heatsPerRound(participants.RecordCount(), carsInHeat);
    const int newRounds = to - from + 1;
    // The new rounds appear whole or not at all.
    Transaction trans(db);
    if (!trans.active())
        return;
    std::map<std::pair<int, int>, QString> keys; // (round, heat) -> RaceID
    for (int r = from; r <= to; ++r)
        for (int h = 1; h <= heats; ++h) {
            const QString round = num(r);
            const QString heat = num(h);
            qint64 key = 0;
            if (!db.Insert(QStringLiteral("INSERT INTO tblRace (TournamentID, RaceCategoryID, "
                                          "RaceCode, QualRound, QualHeat, Length, Description) "
                                          "VALUES(") +
                               tournament + QStringLiteral(",1,1,") + round + QStringLiteral(",") +
                               heat + QStringLiteral(",") + num(minutes) +
                               QStringLiteral(",'Round ") + round + QStringLiteral(" - Heat ") +
                               heat + QStringLiteral("');"),
                           key))
                return;
            keys[{r, h}] = num(key);
        }
    for (const QualHeatDeal::Seat& seat :
         QualHeatDeal::deal(participants.RecordCount(), carsInHeat, newRounds))
        if (!db.Execute(QStringLiteral("INSERT INTO tblDriverInRace (DriverID,RaceID,StartPosition,"
                                       "TimeToFinish,TimeToFinishString) VALUES(") +
                        num(participants.value(seat.participant, 0).toLongLong()) +
                        QStringLiteral(",") + keys[{from - 1 + seat.round, seat.heat}] +
                        QStringLiteral(",") + num(seat.startPosition) + QStringLiteral(",") +
                        num(NoResultTime) + QStringLiteral(",'") + NoResultText +
                        QStringLiteral("');")))
            return;
    trans.commit();
}

} // namespace kv
