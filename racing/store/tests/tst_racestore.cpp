// The race store on a real installed database, without any window: the
// statements of a pass, and a race run through the store with faults of the
// database in the middle of it.
#include "Database.h"
#include "InstallFixture.h"
#include "PassStatements.h"
#include "RaceTiming.h"

#include <QLocale>
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

} // namespace

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
};

QTEST_GUILESS_MAIN(TestRaceStore)
#include "tst_racestore.moc"
