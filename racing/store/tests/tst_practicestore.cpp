// The practice store on a real database file, without windows: the practice
// race, a session's entries, laps, removals and links, and every write kept in
// order while the disk is full or another program holds the lock.
#include "Database.h"
#include "DatabaseFaults.h"
#include "InstallFixture.h"
#include "PracticeRules.h"
#include "PracticeStore.h"

#include <QtTest>

using namespace kv;

namespace {

// A store on a fresh installation, driven as the practice page drives it: the
// rules decide, the store writes.
class Session {
public:
    test::InstallFixture fx;
    Database db{QStringLiteral("practicestore")};
    PracticeStore store{db};
    TimingState t;
    qint32 race = 0;

    Session() {
        bool made = false;
        QString error;
        if (!db.Open(QStringLiteral("Data Source=") + fx.databaseFile() + QLatin1Char(';')) ||
            !store.findOrCreateRace(&race, &made, &error) || !store.markRunning(race, NowText()))
            qFatal("no practice session");
        ResetPracticeSlots(t);
    }

    // Returns true when nothing waits afterwards.
    bool pass(qint32 car, qint32 ms, qint32 driver = 0) {
        const PracticeEntry* entry = store.entryOfCar(car);
        const int slot = entry ? entry->startPosition - 1 : store.freeStartPosition() - 1;
        if (slot >= kSlotCount)
            return store.waitingWrites() == 0;
        if (!entry)
            ResetPracticeSlot(t, slot);
        const PracticePassOutcome out = RegisterPracticePass(t, slot, ms, 3);
        if (out.ignored)
            return store.waitingWrites() == 0;
        return entry ? store.storePass(*entry, out)
                     : store.storeNewcomerPass(slot + 1, car, driver, out);
    }
    bool remove(int startPosition) {
        ResetPracticeSlot(t, startPosition - 1);
        return store.removeEntry(startPosition);
    }
    qint32 entryKey(qint32 car) const {
        return fx
            .column(QString("SELECT DriverInRaceID FROM tblDriverInRace WHERE "
                            "TransponderID=%1 AND RaceID=%2;")
                        .arg(car)
                        .arg(race))
            .value(0)
            .toInt();
    }
    qint32 addDriver(const QString& lastname) {
        fx.sql({QString("INSERT INTO tblDriver (Lastname, Firstname, Car, TransponderID, "
                        "OwnTransponder) VALUES ('%1', 'Anna', 'Buggy', 0, 0);")
                    .arg(lastname)});
        return fx.column("SELECT max(DriverID) FROM tblDriver;").value(0).toInt();
    }

    // The race's rows, without their keys.
    QStringList entries() const {
        return fx.column(QString("SELECT StartPosition || ':' || TransponderID || ':' || DriverID "
                                 "|| ':' || ifnull(StartDelay, '-') || ':' || ifnull(NumOfLaps, "
                                 "'-') || ':' || TimeToFinish || TimeToFinishString FROM "
                                 "tblDriverInRace WHERE RaceID=%1 ORDER BY DriverInRaceID;")
                             .arg(race));
    }
    QStringList laps() const {
        return fx.column(QString("SELECT tblDriverInRace.TransponderID || ':' || TotalTime || ':' "
                                 "|| TotalTimeString || ':' || LapTime || ':' || LapTimeString || "
                                 "':' || (tblLapInRace.RaceID = %1) FROM tblLapInRace LEFT JOIN "
                                 "tblDriverInRace ON tblLapInRace.DriverInRaceID = "
                                 "tblDriverInRace.DriverInRaceID WHERE tblLapInRace.RaceID=%1 "
                                 "ORDER BY LapInRaceID;")
                             .arg(race));
    }
    QString status() const {
        return fx.column(QString("SELECT Status FROM tblRace WHERE RaceID=%1;").arg(race))
            .join(',');
    }
};

enum class Fault { None, FullDisk, Lock };

// A session of three cars with a removal and a link; the fault lasts from the
// second car's first lap to car 9's arrival in the freed row. Returns the
// stored rows once the fault is over and the store has written what waited.
struct Outcome {
    QStringList entries;
    QStringList laps;
    QString status;
    QStringList captions;
};

Outcome runSession(Fault fault) {
    Session s;
    const qint32 anna = s.addDriver("Vorel");
    Outcome o;
    s.pass(5, 1000);
    s.pass(6, 1500);
    s.pass(5, 31000);

    std::unique_ptr<test::FullDisk> full;
    std::unique_ptr<test::HeldLock> lock;
    if (fault == Fault::FullDisk) {
        full = std::make_unique<test::FullDisk>(s.db);
        if (!full->begin())
            qFatal("the disk could not be filled");
    } else if (fault == Fault::Lock) {
        lock = std::make_unique<test::HeldLock>(s.fx.databaseFile());
        if (!lock->held())
            qFatal("no lock");
    }
    const bool faulty = fault != Fault::None;
    // Queued at once, and every later write behind it.
    if (s.pass(6, 34000) == faulty)
        qFatal("the first pass of the fault was not handled as expected");
    if (faulty && (s.store.waitingWrites() != 1 || s.store.waitingPasses() != 1))
        qFatal("the refused pass is not waiting");
    s.pass(7, 35000); // a newcomer whose key is known only once stored
    s.pass(7, 39000);
    s.pass(5, 62000);
    // The car of row 2 leaves, a link is made, a newcomer takes row 2.
    s.remove(2);
    const qint32 car5 = s.entryKey(5);
    if (const auto c = s.store.linkDriver(s.race, car5, anna))
        o.captions << QString::number(c->startPosition) + ":" + c->caption;
    s.pass(9, 66000);
    s.pass(7, 43000);
    if (faulty && s.store.waitingPasses() != 6)
        qFatal("passes were not kept");

    if (full && !full->end())
        qFatal("the disk could not be emptied");
    if (lock)
        lock->release();
    s.pass(9, 70000); // the next pass writes what waited first
    if (!s.store.storeStop(s.race) || s.store.waitingWrites() != 0)
        qFatal("writes are still waiting");
    o.entries = s.entries();
    o.laps = s.laps();
    o.status = s.status();
    return o;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestPracticeStore : public QObject {
    Q_OBJECT
private slots:
    void raceIsMadeOnceAndEmptiedAtEveryStart() {
        Session s;
        QCOMPARE(s.fx.column("SELECT TournamentID || ',' || RaceCategoryID || ',' || RaceCode || "
                             "',' || Length || ',' || Description || ',' || Status || ',' || "
                             "(TimeOfRace IS NOT NULL) FROM tblRace;"),
                 QStringList{"0,1,4,0,Practice,1,1"});
        QVERIFY(s.pass(5, 1000));
        QVERIFY(s.pass(5, 31000));
        QVERIFY(s.store.storeStop(s.race));
        QCOMPARE(s.status(), QString("2"));

        qint32 again = 0;
        bool made = true;
        QString error;
        QVERIFY(s.store.findOrCreateRace(&again, &made, &error));
        QCOMPARE(again, s.race);
        QVERIFY(!made);
        QVERIFY(s.store.entryOfCar(5));
        QVERIFY(s.store.resetRace(s.race));
        QVERIFY(s.entries().isEmpty());
        QVERIFY(s.laps().isEmpty());
        QVERIFY(!s.store.entryOfCar(5));
        QCOMPARE(s.store.freeStartPosition(), 1);
    }

    // Entries and laps as the rules give them; the entries are remembered.
    void passesAreStored() {
        Session s;
        QVERIFY(s.pass(7, 12000, 3));
        QVERIFY(s.pass(8, 12500));
        QVERIFY(s.pass(7, 42500, 3));
        QCOMPARE(s.entries(),
                 (QStringList{"1:7:3:12000:1:100000000...", "2:8:0:12500:0:100000000..."}));
        QCOMPARE(s.laps(), QStringList{"7:30500:30.500:30500:30.500:1"});
        const PracticeEntry* seven = s.store.entryOfCar(7);
        QVERIFY(seven);
        QCOMPARE(seven->startPosition, 1);
        QCOMPARE(*seven->key, s.entryKey(7));
        QCOMPARE(s.store.entryAt(2)->carId, 8);
        QCOMPARE(s.store.freeStartPosition(), 3);

        // Removal frees the row for the next newcomer and takes the car's laps along.
        QVERIFY(s.store.removeEntry(1));
        QVERIFY(s.store.removeEntry(1)); // nothing there any more
        QVERIFY(!s.store.entryOfCar(7));
        QVERIFY(s.laps().isEmpty());
        QCOMPARE(s.store.freeStartPosition(), 1);
        QVERIFY(s.pass(9, 50000));
        QCOMPARE(s.store.entryAt(1)->carId, 9);
    }

    void ownersOfATransponder() {
        Session s;
        QVERIFY(s.fx.sql({"INSERT INTO tblDriver (Lastname, Firstname, Car, TransponderID, "
                          "OwnTransponder, Deleted) VALUES ('Vorel', 'Anna', 'B', 7, 1, 0), "
                          "('Kirv', 'Ben', 'B', 7, 1, 1), ('Lund', 'Eva', 'B', 7, 0, 0), "
                          "('Berg', 'Ole', 'B', 8, 1, 0);"}));
        QList<PracticeOwner> owners;
        QVERIFY(s.store.ownersOf(7, &owners));
        QCOMPARE(owners.size(), 1);
        QCOMPARE(owners.first().Lastname, QString("Vorel"));
    }

    // The caption a link gives: linked, or the transponder again when the link
    // did not take.
    void linkCaptions_data() {
        QTest::addColumn<bool>("alreadyLinked");
        QTest::addColumn<bool>("otherRace");
        QTest::addColumn<QString>("caption");
        QTest::newRow("an unlinked car") << false << false << "2:8-Vorel, Anna";
        QTest::newRow("linked before") << true << false << "2:8-Kirv, Anna";
        QTest::newRow("another race is current") << false << true << "2:Transponder: 8";
    }
    void linkCaptions() {
        QFETCH(bool, alreadyLinked);
        QFETCH(bool, otherRace);
        Session s;
        const qint32 kirv = s.addDriver("Kirv");
        const qint32 vorel = s.addDriver("Vorel");
        QVERIFY(s.pass(7, 1000));
        QVERIFY(s.pass(8, 1000, alreadyLinked ? kirv : 0));
        const auto caption =
            s.store.linkDriver(otherRace ? s.race + 1 : s.race, s.entryKey(8), vorel);
        QVERIFY(caption);
        QTEST(QString::number(caption->startPosition) + ":" + caption->caption, "caption");
        QVERIFY(!s.store.linkDriver(s.race, 999, vorel)); // no such entry
    }

    void listsOfTheUnassigned() {
        Session s;
        const qint32 vorel = s.addDriver("Vorel");
        s.addDriver("Kirv");
        QVERIFY(s.pass(7, 1000, vorel));
        QVERIFY(s.pass(8, 1000));
        QList<UnassignedTransponder> transponders;
        QVERIFY(s.store.unassignedTransponders(&transponders));
        QCOMPARE(transponders.size(), 1);
        QCOMPARE(transponders[0].transponderId, QString("8"));
        QList<UnassignedDriver> drivers;
        QVERIFY(s.store.unassignedDrivers(s.race, &drivers));
        QCOMPARE(drivers.size(), 1);
        QCOMPARE(drivers[0].lastname, QString("Kirv"));
    }

    // Passes, a removal, a link and the stop made while the database refuses
    // are kept in order and stored as a fault-free session stores them.
    void faultsLoseNothing_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("disk full") << Fault::FullDisk;
        QTest::newRow("locked by another program") << Fault::Lock;
    }
    void faultsLoseNothing() {
        QFETCH(Fault, fault);
        const Outcome clean = runSession(Fault::None);
        QCOMPARE(clean.entries.size(), 3);
        QCOMPARE(clean.laps.size(), 5);
        QCOMPARE(clean.captions, QStringList{"1:5-Vorel, Anna"});
        const Outcome faulty = runSession(fault);
        QCOMPARE(faulty.entries, clean.entries);
        QCOMPARE(faulty.laps, clean.laps);
        QCOMPARE(faulty.status, QString("2"));
        // A link that waits shows the caption it will store.
        QCOMPARE(faulty.captions, clean.captions);
    }

    // A refused write is retried by flush(); until then the stop waits too.
    void stopWaitsBehindThePasses() {
        Session s;
        QVERIFY(s.pass(5, 1000));
        test::HeldLock lock(s.fx.databaseFile());
        QVERIFY(lock.held());
        QVERIFY(!s.pass(5, 31000));
        QVERIFY(!s.store.storeStop(s.race));
        QVERIFY(!s.store.flush());
        QCOMPARE(s.store.waitingWrites(), 2);
        QCOMPARE(s.store.waitingPasses(), 1);
        QVERIFY(!s.store.lastError().isEmpty());
        lock.release();
        QCOMPARE(s.status(), QString("1"));
        QVERIFY(s.store.flush());
        QCOMPARE(s.store.waitingWrites(), 0);
        QCOMPARE(s.store.waitingPasses(), 0);
        QCOMPARE(s.status(), QString("2"));
        QCOMPARE(s.laps().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPracticeStore)
#include "tst_practicestore.moc"
