// The writer that keeps refused writes, on a real SQLite file in WAL mode: a
// full disk, a lock held by another connection, and a write that fails half
// way, each until the database takes the writes again.
#include "Database.h"
#include "PendingWrites.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

using namespace kv;

namespace {

// A database file with a table of numbered rows, the connection under test
// and a second connection that plays another program.
class Store {
public:
    QTemporaryDir dir;
    QString file = dir.filePath("race.dat");
    Database db{"pending-" + QUuid::createUuid().toString()};
    QString otherName = "other-" + QUuid::createUuid().toString();

    Store() {
        {
            QSqlDatabase setup = QSqlDatabase::addDatabase("QSQLITE", otherName);
            setup.setDatabaseName(file);
            if (!setup.open())
                qFatal("cannot create the file");
        }
        other({"PRAGMA journal_mode=WAL;",
               "CREATE TABLE tblRow (RowID INTEGER PRIMARY KEY AUTOINCREMENT, Seq INTEGER, "
               "Pad TEXT);",
               "CREATE TABLE tblMark (Seq INTEGER);", "CREATE TABLE tblRefuse (x INTEGER);",
               "CREATE TRIGGER refuse BEFORE INSERT ON tblMark WHEN EXISTS (SELECT * FROM "
               "tblRefuse) BEGIN SELECT RAISE(ABORT, 'refused'); END;"});
        if (!db.Open("Data Source=" + file))
            qFatal("cannot open: %s", qPrintable(db.errorText()));
    }
    ~Store() {
        db.Close();
        QSqlDatabase::database(otherName, false).close();
        QSqlDatabase::removeDatabase(otherName);
    }

    // Statements on the other connection.
    bool other(const QStringList& statements) {
        QSqlQuery q(QSqlDatabase::database(otherName, false));
        for (const QString& s : statements)
            if (!q.exec(s)) {
                qWarning("%s: %s", qPrintable(s), qPrintable(q.lastError().text()));
                return false;
            }
        return true;
    }
    QStringList column(const QString& sql) {
        QStringList out;
        QSqlQuery q(QSqlDatabase::database(otherName, false));
        if (!q.exec(sql))
            qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    QStringList rows() { return column("SELECT Seq FROM tblRow ORDER BY RowID;"); }

    // Room for no page more than the file has now; then room again.
    void fillTheDisk() {
        Recordset rs;
        QVERIFY(db.Select("PRAGMA page_count;", rs));
        QVERIFY(db.tryExecute("PRAGMA max_page_count=" + rs.value(0, 0).toString() + ";"));
    }
    void freeTheDisk() { QVERIFY(db.tryExecute("PRAGMA max_page_count=1000000;")); }
};

// One numbered row, large enough to need pages of its own.
PendingWrites::Step rowStep(int seq) {
    return [seq](Database& db, QString* error) {
        return db.tryExecute(QString("INSERT INTO tblRow (Seq, Pad) VALUES (%1, '%2');")
                                 .arg(seq)
                                 .arg(QString(20000, QChar('x'))),
                             error);
    };
}

enum class Fault { DiskFull, Locked };

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestPendingWrites : public QObject {
    Q_OBJECT
private slots:
    void refusedWritesAreKeptInOrder_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("retryByWrite"); // else by flush
        QTest::newRow("disk full, retried by the next write") << Fault::DiskFull << true;
        QTest::newRow("disk full, retried by a flush") << Fault::DiskFull << false;
        QTest::newRow("locked, retried by the next write") << Fault::Locked << true;
        QTest::newRow("locked, retried by a flush") << Fault::Locked << false;
    }
    void refusedWritesAreKeptInOrder() {
        QFETCH(Fault, fault);
        QFETCH(bool, retryByWrite);
        Store st;
        TimingWriteMode timing(st.db);
        PendingWrites writes(st.db);
        QVERIFY(writes.write(rowStep(1)));
        QVERIFY(writes.empty());

        if (fault == Fault::DiskFull)
            st.fillTheDisk();
        else
            QVERIFY(st.other({"BEGIN EXCLUSIVE;"}));
        for (int seq = 2; seq <= 4; ++seq) {
            QVERIFY(!writes.write(rowStep(seq)));
            QCOMPARE(writes.waiting(), seq - 1);
        }
        QVERIFY(!writes.flush());
        QCOMPARE(writes.waiting(), 3);
        QVERIFY(!writes.lastError().isEmpty());
        if (fault == Fault::Locked)
            QVERIFY(st.other({"COMMIT;"}));
        QCOMPARE(st.rows(), QStringList{"1"});

        if (fault == Fault::DiskFull)
            st.freeTheDisk();
        if (retryByWrite)
            QVERIFY(writes.write(rowStep(5)));
        else
            QVERIFY(writes.flush());
        QVERIFY(writes.empty());
        QCOMPARE(st.rows(), retryByWrite ? (QStringList{"1", "2", "3", "4", "5"})
                                         : (QStringList{"1", "2", "3", "4"}));
    }

    // The queue tells what waits by kind, as the writes leave it in order.
    void waitingByKind() {
        Store st;
        TimingWriteMode timing(st.db);
        PendingWrites writes(st.db);
        auto waiting = [&writes] {
            return QList<int>{writes.waiting(WriteKind::Start), writes.waiting(WriteKind::Pass),
                              writes.waiting(WriteKind::End), writes.waiting(WriteKind::Other)};
        };
        QVERIFY(writes.write(WriteKind::Start, rowStep(1)));
        QCOMPARE(waiting(), (QList<int>{0, 0, 0, 0}));

        QVERIFY(st.other({"BEGIN EXCLUSIVE;"}));
        QVERIFY(!writes.write(WriteKind::Pass, rowStep(2)));
        QVERIFY(!writes.write(WriteKind::Other, rowStep(3)));
        QVERIFY(!writes.write(WriteKind::Pass, rowStep(4)));
        QVERIFY(!writes.write(WriteKind::End, rowStep(5)));
        QVERIFY(!writes.write(WriteKind::Start, rowStep(6)));
        QCOMPARE(waiting(), (QList<int>{1, 2, 1, 1}));
        QCOMPARE(writes.waiting(), 5);
        QVERIFY(st.other({"COMMIT;"}));

        // Once the lock is gone the waiting writes are stored; a refused one
        // waits alone.
        int runs = 0;
        QVERIFY(st.other({"INSERT INTO tblRefuse VALUES (1);"}));
        QVERIFY(!writes.write(WriteKind::Pass, [&runs](Database& db, QString* error) {
            ++runs;
            return db.tryExecute("INSERT INTO tblMark (Seq) VALUES (7);", error);
        }));
        QCOMPARE(runs, 1);
        QCOMPARE(waiting(), (QList<int>{0, 1, 0, 0}));
        QCOMPARE(st.rows(), (QStringList{"1", "2", "3", "4", "5", "6"}));

        QVERIFY(st.other({"DELETE FROM tblRefuse;"}));
        QVERIFY(writes.flush());
        QCOMPARE(waiting(), (QList<int>{0, 0, 0, 0}));
    }

    // While timing, a write that meets another program's lock is kept at once
    // instead of waiting out the connection's long wait; outside timing the
    // long wait is back.
    void timingWritesDoNotWaitForALock() {
        Store st;
        QCOMPARE(st.db.busyTimeout(), Database::kDefaultBusyTimeoutMs);
        PendingWrites writes(st.db);
        {
            TimingWriteMode timing(st.db);
            QCOMPARE(st.db.busyTimeout(), kTimingLockWaitMs);
            QVERIFY(st.other({"BEGIN EXCLUSIVE;"}));
            QVERIFY(!writes.write(rowStep(1)));
            QCOMPARE(writes.waiting(), 1);
            QVERIFY(writes.lastError().contains("locked", Qt::CaseInsensitive));
            QVERIFY(st.other({"COMMIT;"}));
        }
        QCOMPARE(st.db.busyTimeout(), Database::kDefaultBusyTimeoutMs);
        QVERIFY(writes.flush());
        QCOMPARE(st.rows(), QStringList{"1"});
    }

    // A write whose second statement is refused leaves nothing of its first,
    // and is written whole, once, when the database takes it.
    void writeRefusedHalfWayIsWrittenOnce() {
        Store st;
        PendingWrites writes(st.db);
        int runs = 0;
        auto step = [&runs](Database& db, QString* error) {
            ++runs;
            return db.tryExecute("INSERT INTO tblRow (Seq) VALUES (7);", error) &&
                   db.tryExecute("INSERT INTO tblMark (Seq) VALUES (7);", error);
        };
        QVERIFY(st.other({"INSERT INTO tblRefuse VALUES (1);"}));
        QVERIFY(!writes.write(step));
        QVERIFY(writes.lastError().contains("refused"));
        QVERIFY(!writes.flush());
        QCOMPARE(runs, 2);
        QVERIFY(st.rows().isEmpty());
        QVERIFY(st.column("SELECT Seq FROM tblMark;").isEmpty());

        QVERIFY(st.other({"DELETE FROM tblRefuse;"}));
        QVERIFY(writes.flush());
        QCOMPARE(runs, 3);
        QCOMPARE(st.rows(), QStringList{"7"});
        QCOMPARE(st.column("SELECT Seq FROM tblMark;"), QStringList{"7"});
        QVERIFY(writes.flush()); // nothing left to write twice
        QCOMPARE(runs, 3);
    }
};

QTEST_GUILESS_MAIN(TestPendingWrites)
#include "tst_pendingwrites.moc"
