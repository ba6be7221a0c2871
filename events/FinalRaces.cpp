#include "FinalRaces.h"

#include "Database.h"
#include "Helpers.h"
#include "Races.h"

#include <QSet>

namespace kv {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

QString nameOf(const QSqlRecord& r) {
    return FieldToString(r.value(QStringLiteral("Lastname"))) + QStringLiteral(", ") +
           FieldToString(r.value(QStringLiteral("Firstname")));
}

QString detailsOf(const QSqlRecord& r) {
    const QVariant frequency = r.value(QStringLiteral("Frequency"));
    return QStringLiteral("F=") +
           (frequency.isNull() ? QString() : RegionalNumberText(frequency.toDouble())) +
           QStringLiteral("/ID=") + FieldToString(r.value(QStringLiteral("TransponderID")));
}

RankingRow entryOf(const QSqlRecord& r, const QString& result) {
    RankingRow row;
    row.driverID = r.value(QStringLiteral("DriverID")).toInt();
    row.name = nameOf(r);
    row.result = result;
    row.details = detailsOf(r);
    return row;
}

QString resultOf(const QSqlRecord& r) {
    return FieldToString(r.value(QStringLiteral("NumOfLaps"))) + QStringLiteral("-") +
           FieldToString(r.value(QStringLiteral("TimeToFinishString")));
}

// Equal results keep the order the entries were stored in.
const QString kByResult = QStringLiteral(
    "tblDriverInRace.NumOfLaps DESC, tblDriverInRace.TimeToFinish, tblDriverInRace.DriverInRaceID");

const QString kDriverColumns = QStringLiteral(
    "tblDriver.DriverID, tblDriver.Lastname, tblDriver.Firstname, tblDriver.Frequency, "
    "tblDriver.TransponderID, tblDriverInRace.NumOfLaps, tblDriverInRace.TimeToFinish, "
    "tblDriverInRace.TimeToFinishString");

bool raceHasRow(Database& db, const QString& sql, bool& found) {
    Recordset rs;
    if (!db.Select(sql, rs))
        return false;
    found = !rs.isEmpty();
    return true;
}

} // namespace

bool ReadRanking(Database& db, qint32 tournamentID, RankingKind kind, int level, qint32 raceID,
                 QList<RankingRow>& rows) {
    rows.clear();
    const QString tournament = num(tournamentID);
    Recordset rs;
    switch (kind) {
    case RankingKind::QualAll:
    case RankingKind::QualBest: {
        if (!db.Select(
                QStringLiteral("SELECT ") + kDriverColumns +
                    QStringLiteral(" FROM (tblRace INNER JOIN tblDriverInRace ON tblRace.RaceID = "
                                   "tblDriverInRace.RaceID) INNER JOIN tblDriver ON "
                                   "tblDriverInRace.DriverID = tblDriver.DriverID WHERE "
                                   "tblRace.TournamentID=") +
                    tournament + QStringLiteral(" AND ") +
                    RaceStatusIs(RaceFinished, QStringLiteral("tblRace.")) +
                    QStringLiteral(" AND ") +
                    RaceCodeIs(QualificationHeatCode, QStringLiteral("tblRace.")) +
                    QStringLiteral(" ORDER BY ") + kByResult + QStringLiteral(";"),
                rs))
            return false;
        QSet<qint32> shown;
        for (const QSqlRecord& r : rs) {
            const qint32 driver = r.value(QStringLiteral("DriverID")).toInt();
            if (kind == RankingKind::QualBest && shown.contains(driver))
                continue;
            shown.insert(driver);
            rows.append(entryOf(r, resultOf(r)));
        }
        return true;
    }
    case RankingKind::QualBestLap: {
        if (!db.Select(
                QStringLiteral("SELECT ") + kDriverColumns +
                    QStringLiteral(
                        ", tblLapInRace.LapTimeString FROM ((tblRace INNER JOIN tblDriverInRace ON "
                        "tblRace.RaceID = tblDriverInRace.RaceID) INNER JOIN tblDriver ON "
                        "tblDriverInRace.DriverID = tblDriver.DriverID) INNER JOIN tblLapInRace ON "
                        "tblLapInRace.DriverInRaceID = tblDriverInRace.DriverInRaceID WHERE "
                        "tblRace.TournamentID=") +
                    tournament + QStringLiteral(" AND ") +
                    RaceStatusIs(RaceFinished, QStringLiteral("tblRace.")) +
                    QStringLiteral(" AND ") +
                    RaceCodeIs(QualificationHeatCode, QStringLiteral("tblRace.")) +
                    QStringLiteral(" ORDER BY tblLapInRace.LapTime, tblLapInRace.LapInRaceID;"),
                rs))
            return false;
        QSet<qint32> shown;
        for (const QSqlRecord& r : rs) {
            const qint32 driver = r.value(QStringLiteral("DriverID")).toInt();
            if (shown.contains(driver))
                continue;
            shown.insert(driver);
            rows.append(entryOf(r, FieldToString(r.value(QStringLiteral("LapTimeString")))));
        }
        return true;
    }
    case RankingKind::LevelByHeat:
    case RankingKind::LevelTotal: {
        const bool byHeat = kind == RankingKind::LevelByHeat;
        if (!db.Select(
                QStringLiteral("SELECT ") + kDriverColumns +
                    QStringLiteral(", tblRace.RaceID, tblRace.Description FROM (tblDriver "
                                   "INNER JOIN tblDriverInRace ON "
                                   "tblDriver.DriverID=tblDriverInRace.DriverID) INNER JOIN "
                                   "tblRace ON tblDriverInRace.RaceID=tblRace.RaceID WHERE ") +
                    RaceStatusIs(RaceFinished, QStringLiteral("tblRace.")) +
                    QStringLiteral(" AND tblRace.TournamentID=") + tournament +
                    QStringLiteral(" AND ") + RaceCodeIs(level, QStringLiteral("tblRace.")) +
                    QStringLiteral(" ORDER BY ") +
                    (byHeat ? QStringLiteral("tblRace.RaceID, ") : QString()) + kByResult +
                    QStringLiteral(";"),
                rs))
            return false;
        qint64 previous = -1;
        for (const QSqlRecord& r : rs) {
            const qint64 race = r.value(QStringLiteral("RaceID")).toLongLong();
            if (byHeat && race != previous) {
                if (previous != -1)
                    rows.append({RankingRow::Kind::Separator, 0, {}, {}, {}});
                rows.append({RankingRow::Kind::Heading,
                             0,
                             FieldToString(r.value(QStringLiteral("Description"))),
                             {},
                             {}});
                previous = race;
            }
            rows.append(entryOf(r, resultOf(r)));
        }
        return true;
    }
    case RankingKind::OneRace:
        if (!db.Select(QStringLiteral("SELECT ") + kDriverColumns +
                           QStringLiteral(" FROM tblDriver INNER JOIN tblDriverInRace ON "
                                          "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE "
                                          "tblDriverInRace.RaceID=") +
                           num(raceID) + QStringLiteral(" ORDER BY ") + kByResult +
                           QStringLiteral(";"),
                       rs))
            return false;
        for (const QSqlRecord& r : rs)
            rows.append(entryOf(r, resultOf(r)));
        return true;
    }
    return true;
}

bool IsDriverPlacedOnFinalLevel(Database& db, qint32 tournamentID, qint32 driverID, int raceCode,
                                qint32 raceID) {
    if (raceID <= 0)
        return false;
    bool found = false;
    if (raceCode >= FinalCode) {
        if (!raceHasRow(db,
                        QStringLiteral("SELECT tblDriverInRace.DriverID FROM tblDriverInRace INNER "
                                       "JOIN tblRace ON tblDriverInRace.RaceID=tblRace.RaceID "
                                       "WHERE tblDriverInRace.DriverID=") +
                            num(driverID) + QStringLiteral(" AND ") +
                            RaceCodeIs(raceCode, QStringLiteral("tblRace.")) +
                            QStringLiteral(" AND tblRace.TournamentID=") + num(tournamentID) +
                            QStringLiteral(";"),
                        found))
            return false;
        return found;
    }
    if (!raceHasRow(db,
                    QStringLiteral("SELECT DriverID FROM tblDriverInRace WHERE DriverID=") +
                        num(driverID) + QStringLiteral(" AND RaceID=") + num(raceID) +
                        QStringLiteral(";"),
                    found))
        return false;
    return found;
}

bool ReadStartList(Database& db, qint32 raceID, QList<StartListRow>& rows) {
    rows.clear();
    Recordset rs;
    if (!db.Select(
            QStringLiteral("SELECT tblDriver.DriverID, tblDriver.Lastname, "
                           "tblDriver.Firstname, tblDriver.Frequency, "
                           "tblDriver.TransponderID, tblDriver.Car FROM tblDriver INNER JOIN "
                           "tblDriverInRace ON (tblDriver.DriverID=tblDriverInRace.DriverID) "
                           "WHERE tblDriverInRace.RaceID=") +
                num(raceID) +
                QStringLiteral(" ORDER BY tblDriverInRace.StartPosition, "
                               "tblDriverInRace.DriverInRaceID;"),
            rs))
        return false;
    for (const QSqlRecord& r : rs)
        rows.append({r.value(QStringLiteral("DriverID")).toInt(), nameOf(r), detailsOf(r),
                     FieldToString(r.value(QStringLiteral("Car")))});
    return true;
}

EntryChange AddDriverToRace(Database& db, qint32 raceID, qint32 driverID, bool oneRacePerLevel,
                            QString* otherRace) {
    const QString race = num(raceID);
    const QString driver = num(driverID);
    Recordset target;
    if (!db.Select(QStringLiteral("SELECT * FROM tblRace WHERE RaceID=") + race +
                       QStringLiteral(";"),
                   target))
        return EntryChange::Failed;
    if (target.isEmpty() || target.value(0, QStringLiteral("Status")).toInt() != RaceNew)
        return EntryChange::Nothing;
    Recordset entries;
    if (!db.Select(QStringLiteral("SELECT DriverInRaceID, DriverID, StartPosition FROM "
                                  "tblDriverInRace WHERE RaceID=") +
                       race + QStringLiteral(" ORDER BY StartPosition, DriverInRaceID;"),
                   entries))
        return EntryChange::Failed;
    for (const QSqlRecord& e : entries)
        if (e.value(QStringLiteral("DriverID")).toInt() == driverID)
            return EntryChange::Nothing;
    if (oneRacePerLevel) {
        Recordset same;
        if (!db.Select(QStringLiteral("SELECT tblRace.Description FROM tblDriverInRace INNER JOIN "
                                      "tblRace ON (tblDriverInRace.RaceID=tblRace.RaceID) WHERE "
                                      "tblDriverInRace.DriverID=") +
                           driver + QStringLiteral(" AND ") +
                           RaceCodeIs(target.value(0, QStringLiteral("RaceCode")).toInt(),
                                      QStringLiteral("tblRace.")) +
                           QStringLiteral(" AND tblRace.TournamentID=") +
                           num(target.value(0, QStringLiteral("TournamentID")).toInt()) +
                           QStringLiteral(";"),
                       same))
            return EntryChange::Failed;
        if (!same.isEmpty()) {
            if (otherRace)
                *otherRace = FieldToString(same.value(0, 0));
            return EntryChange::SameLevel;
        }
    }
    if (entries.RecordCount() >= MaxCarsInRace)
        return EntryChange::Full;

    // The new entry and the renumbered start list are written together.
    Transaction trans(db);
    if (!trans.active())
        return EntryChange::Failed;
    qint64 added = 0;
    if (!InsertEntry(db, driverID, raceID, ProvisionalStartPosition, &added))
        return EntryChange::Failed;
    QList<qint64> order;
    for (const QSqlRecord& e : entries)
        order.append(e.value(QStringLiteral("DriverInRaceID")).toLongLong());
    order.append(added);
    for (int i = 0; i < order.size(); ++i)
        if (!db.Execute(QStringLiteral("UPDATE tblDriverInRace SET StartPosition=") + num(i + 1) +
                        QStringLiteral(" WHERE DriverInRaceID=") + num(order.at(i)) +
                        QStringLiteral(";")))
            return EntryChange::Failed;
    return trans.commit() ? EntryChange::Done : EntryChange::Failed;
}

EntryChange RemoveDriverFromRace(Database& db, qint32 raceID, qint32 driverID) {
    const QString race = num(raceID);
    bool started = false;
    if (!raceHasRow(db,
                    QStringLiteral("SELECT * FROM tblRace WHERE RaceID=") + race +
                        QStringLiteral(" AND Status<>") + RaceStatusNumber(RaceNew) +
                        QStringLiteral(";"),
                    started))
        return EntryChange::Failed;
    if (started)
        return EntryChange::Nothing;
    return db.Execute(QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") + race +
                      QStringLiteral(" AND DriverID=") + num(driverID) + QStringLiteral(";"))
               ? EntryChange::Done
               : EntryChange::Failed;
}

QString RaceFullText() {
    return QStringLiteral("A race holds at most %1 cars. The driver was not added.")
        .arg(MaxCarsInRace);
}

} // namespace kv
