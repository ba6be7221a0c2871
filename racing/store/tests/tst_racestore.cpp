// The race store on a real installed database, without any window: the
// statements of a pass, and a race run through the store with faults of the
// database in the middle of it.
#include "Database.h"
#include "DatabaseFaults.h"
#include "InstallFixture.h"
#include "PassStatements.h"
#include "RaceStore.h"
#include "RaceTiming.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QtTest>

using namespace kv;

namespace {

// Restores the default locale a case changed.
struct DefaultLocaleGuard {
    QLocale saved;
    ~DefaultLocaleGuard() { QLocale::setDefault(saved); }
};

// An installed database and the program's connection to it.
class Installed {
public:
    test::InstallFixture fx;
    Database db{"store-" + QUuid::createUuid().toString()};
    Installed() {
        if (!db.Open("Data Source=" + fx.databaseFile()))
            qFatal("cannot open: %s", qPrintable(db.errorText()));
    }
};

using test::OtherProgramLock;

enum class Fault { None, Locked, DiskFull };

// A time race of one minute with three cars, run through the store as the
// race page runs it, with a fault of the database from one pass time to
// another (to = -1: to the end, the race stopped during the fault).
class RaceRun {
public:
    Installed in;
    RaceStore store{in.db};
    TimingState t;
    qint32 race = 0;
    int mostWaiting = 0;
    bool endWaitedAtStop = false;

    RaceRun(Fault fault, qint32 from, qint32 to) {
        QStringList sql;
        const QList<int> transponders{5, 17, 23};
        for (int id : transponders)
            sql << QString("INSERT INTO tblDriver (Lastname, Firstname, TransponderID) VALUES "
                           "('L%1', 'F%1', %1);")
                       .arg(id);
        sql << "INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, Length, Status, "
               "Description) VALUES (1, 1, 1, 1, 0, 'Heat');";
        for (int i = 0; i < 3; ++i)
            sql << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) SELECT "
                           "DriverID, (SELECT max(RaceID) FROM tblRace), %1 FROM tblDriver "
                           "WHERE TransponderID=%2;")
                       .arg(i + 1)
                       .arg(transponders[i]);
        QVERIFY(in.fx.sql(sql));
        race = in.fx.column("SELECT max(RaceID) FROM tblRace;").value(0).toInt();

        Recordset entries;
        QVERIFY(store.startEntries(race, entries));
        QVERIFY(store.markStarted(race, entries, "2024-05-01 10:00:00"));
        // from 0: another program holds the lock already at the go.
        std::unique_ptr<OtherProgramLock> lock;
        if (fault == Fault::Locked && from == 0)
            lock = std::make_unique<OtherProgramLock>(in.fx.databaseFile());
        QCOMPARE(store.markRunning(race), !lock);
        QCOMPARE(store.runningWaiting(), bool(lock));
        QCOMPARE(in.db.busyTimeout(), kTimingLockWaitMs);
        t.CurrentRaceID = race;
        t.CurrentRaceCategoryID = TimeRace;
        t.CurrentRaceLength = 1;
        t.CarFinished.fill(true);
        for (int s = 0; s < 3; ++s)
            t.CarFinished[size_t(s)] = false;
        t.ResetAtGo();
        t.CurrentRaceStatus = RaceRunning;

        bool full = false;
        bool complete = false;
        // Each car every 3.2 to 4.6 s.
        for (qint32 ms = 500; !complete && ms < 120000; ms += 100) {
            if (ms == from) {
                if (fault == Fault::Locked)
                    lock = std::make_unique<OtherProgramLock>(in.fx.databaseFile());
                if (fault == Fault::DiskFull)
                    full = fillTheDisk();
            }
            if (ms == to) {
                lock.reset();
                if (full)
                    QVERIFY(in.db.tryExecute("PRAGMA max_page_count=1073741823;"));
                full = false;
            }
            if (ms % 1000 == 0)
                store.flush(); // the retry timer
            t.RaceElapsedMs = ms;
            for (int car = 0; car < 3 && !complete; ++car) {
                const qint32 period = 3200 + 700 * car;
                if ((ms - 500) % period != 0)
                    continue;
                const auto entry = store.entryOf(race, qint16(transponders[car]));
                QVERIFY(entry);
                const int waitingBefore = store.waiting();
                const RacePassOutcome out = RegisterRacePass(t, entry->StartPosition - 1, ms, 3.0);
                if (out.ignored)
                    continue;
                const bool stored = store.storePass(race, entry->DriverInRaceID, out);
                if ((lock || full) && (out.lapCounted || out.finished)) {
                    // Kept at once, behind those that wait.
                    QVERIFY(!stored);
                    QCOMPARE(store.waiting(), waitingBefore + 1);
                }
                mostWaiting = std::max(mostWaiting, store.waiting());
                complete = out.raceComplete;
            }
        }
        QVERIFY(complete);
        // The race stops; its end is stored behind the passes.
        endWaitedAtStop = !store.markFinished(race);
        QCOMPARE(store.endWaiting(), endWaitedAtStop);
        if (endWaitedAtStop) {
            QCOMPARE(status(), QString("1"));
            lock.reset();
            if (full)
                QVERIFY(in.db.tryExecute("PRAGMA max_page_count=1073741823;"));
            QVERIFY(store.flush());
        }
        QVERIFY(!store.endWaiting());
        QCOMPARE(store.waiting(), 0);
        QCOMPARE(in.db.busyTimeout(), Database::kDefaultBusyTimeoutMs);
    }

    // No free page left for the race's connection: filler laps of no race
    // take the last room of the file.
    bool fillTheDisk() {
        Recordset rs;
        if (!in.db.Select("PRAGMA page_count;", rs))
            return false;
        if (!in.db.tryExecute("PRAGMA max_page_count=" + rs.value(0, 0).toString() + ";"))
            return false;
        for (int i = 0; i < 100000; ++i)
            if (!in.db.tryExecute("INSERT INTO tblLapInRace (DriverInRaceID, TotalTime, "
                                  "TotalTimeString, LapTime, LapTimeString, RaceID) VALUES (0, 0, "
                                  "'filler', 0, 'filler', -1);"))
                return true;
        return false;
    }

    QString status() {
        return in.fx.column(QString("SELECT Status FROM tblRace WHERE RaceID=%1;").arg(race))
            .value(0);
    }
    // The race as stored: laps in order, entries, status.
    QStringList stored() {
        return in.fx.column(
                   QString("SELECT DriverInRaceID||' '||TotalTime||' '||TotalTimeString||' '||"
                           "LapTime||' '||LapTimeString FROM tblLapInRace WHERE RaceID=%1 "
                           "ORDER BY LapInRaceID;")
                       .arg(race)) +
               in.fx.column(QString("SELECT NumOfLaps||' '||TimeToFinish||' '||"
                                    "TimeToFinishString FROM tblDriverInRace WHERE RaceID=%1 "
                                    "ORDER BY StartPosition;")
                                .arg(race)) +
               QStringList{status()};
    }
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestRaceStore : public QObject {
    Q_OBJECT
private slots:
    void statements_data() {
        QTest::addColumn<bool>("arabic");
        QTest::addColumn<qint32>("entry");
        QTest::addColumn<qint32>("total");
        QTest::addColumn<qint32>("lapTime");
        QTest::addColumn<qint32>("laps");
        QTest::addColumn<qint32>("result");
        QTest::addColumn<QStringList>("sql"); // lap row, lap count, result
        QTest::newRow("lap of 83,456 at 250,000")
            << false << 17 << 250000 << 83456 << 3 << -1500
            << QStringList{"INSERT INTO tblLapInRace "
                           "(DriverInRaceID,TotalTime,TotalTimeString,LapTime,LapTimeString,"
                           "RaceID) VALUES (17,250000,'250.000',83456,'83.456',4);",
                           "UPDATE tblDriverInRace SET NumOfLaps=3 WHERE DriverInRaceID=17;",
                           "UPDATE tblDriverInRace SET TimeToFinish=-1500, "
                           "TimeToFinishString='-1.500' WHERE DriverInRaceID=17;"};
        QTest::newRow("ASCII numbers under an Arabic locale")
            << true << 12345 << 1234567 << 61005 << 21 << 4567
            << QStringList{"INSERT INTO tblLapInRace "
                           "(DriverInRaceID,TotalTime,TotalTimeString,LapTime,LapTimeString,"
                           "RaceID) VALUES (12345,1234567,'1234.567',61005,'61.005',4);",
                           "UPDATE tblDriverInRace SET NumOfLaps=21 WHERE DriverInRaceID=12345;",
                           "UPDATE tblDriverInRace SET TimeToFinish=4567, "
                           "TimeToFinishString='4.567' WHERE DriverInRaceID=12345;"};
    }
    // The texts, and the prepared statements storing exactly what the texts
    // store.
    void statements() {
        QFETCH(bool, arabic);
        QFETCH(qint32, entry);
        QFETCH(qint32, total);
        QFETCH(qint32, lapTime);
        QFETCH(qint32, laps);
        QFETCH(qint32, result);
        QFETCH(QStringList, sql);
        DefaultLocaleGuard guard;
        if (arabic) {
            QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
            QVERIFY(QLocale().toString(21) != "21"); // the locale writes its own digits
        }
        QCOMPARE((QStringList{LapInsertSql(entry, total, lapTime, 4), LapCountSql(entry, laps),
                              ResultSql(entry, result)}),
                 sql);
        if (arabic)
            QCOMPARE(RaceClockText(total), QString("20:34.567"));

        Installed in;
        const QString entries = "SELECT NumOfLaps||' '||TimeToFinish||' '||TimeToFinishString "
                                "FROM tblDriverInRace ORDER BY DriverInRaceID;";
        const QString lapRows = "SELECT DriverInRaceID||' '||TotalTime||' '||TotalTimeString||' '||"
                                "LapTime||' '||LapTimeString||' '||RaceID FROM tblLapInRace;";
        const QString addEntry = QString("INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, "
                                         "RaceID, StartPosition) VALUES (%1, 1, 4, 1);")
                                     .arg(entry);
        QVERIFY(in.fx.sql(QStringList{addEntry} + sql));
        const QStringList byText = in.fx.column(entries) + in.fx.column(lapRows);
        QVERIFY(in.fx.sql({"DELETE FROM tblLapInRace;", "DELETE FROM tblDriverInRace;", addEntry}));
        PassStatements prepared(in.db);
        QString error;
        QVERIFY(prepared.insertLap(entry, total, lapTime, 4, &error));
        QVERIFY(prepared.setLapCount(entry, laps, &error));
        QVERIFY(prepared.setResult(entry, result, &error));
        QCOMPARE(in.fx.column(entries) + in.fx.column(lapRows), byText);
    }

    void faultDuringARace_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to"); // -1: to the end
        QTest::newRow("locked from 10 s to 30 s") << Fault::Locked << 10000 << 30000;
        QTest::newRow("locked from before the go to 20 s") << Fault::Locked << 0 << 20000;
        QTest::newRow("disk full from 20 s to 40 s") << Fault::DiskFull << 20000 << 40000;
        QTest::newRow("locked to the end, stopped during it") << Fault::Locked << 20000 << -1;
        QTest::newRow("disk full to the end, stopped during it") << Fault::DiskFull << 20000 << -1;
    }
    // Every pass of a race with a fault of the database is stored in the end,
    // in order, and the stored race equals the race without the fault.
    void faultDuringARace() {
        QFETCH(Fault, fault);
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        RaceRun clean(Fault::None, 0, 0);
        QCOMPARE(clean.mostWaiting, 0);
        const QStringList expected = clean.stored();
        QVERIFY(expected.size() > 40);
        QCOMPARE(expected.last(), QString("2"));

        RaceRun run(fault, from, to);
        QVERIFY(run.mostWaiting > 3);
        QCOMPARE(run.endWaitedAtStop, to < 0);
        QCOMPARE(run.stored(), expected);
    }
};

QTEST_GUILESS_MAIN(TestRaceStore)
#include "tst_racestore.moc"
