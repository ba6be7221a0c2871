// The details window's lap table, lap time texts and refresh period, without a
// window.
#include "Database.h"
#include "LapTimes.h"
#include "RaceTiming.h"
#include "ReportStatements.h"
#include "ReportsTestDb.h"
#include "ScoreDetailsData.h"

#include <QtTest>

#include <limits>
#include <map>

using namespace kv;

namespace {

// A table row: its first text, then the cells of start positions 1..10.
QString row(const QString& first, const std::map<int, QString>& cells = {}) {
    QString out = first;
    for (int p = 1; p <= 10; ++p) {
        const auto it = cells.find(p);
        out += '\t' + (it == cells.end() ? QString() : it->second);
    }
    return out;
}

// An entry of race 1 with laps of the given times; totals accumulate.
QStringList entry(int id, const QString& driver, int position, const QList<int>& laps,
                  const QString& transponder = "NULL") {
    QStringList sql{QString("INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, "
                            "StartPosition, TransponderID) VALUES (%1,%2,1,%3,%4);")
                        .arg(id)
                        .arg(driver)
                        .arg(position)
                        .arg(transponder)};
    int total = 0;
    for (int lap : laps) {
        total += lap;
        sql << QString("INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, "
                       "LapTimeString) VALUES (%1,1,%2,%3,'%4');")
                   .arg(id)
                   .arg(lap)
                   .arg(total)
                   .arg(FormatRaceTime(lap, false));
    }
    return sql;
}

const QStringList kDrivers = {
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES (1,'Berg','Anna');",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES (2,'Dahl','Erik');",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES "
    "(3,'Abrahamsen-Lie','Kristoffer');",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES (4,'','');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Status) VALUES "
    "(1,1,1,1,2);",
};

} // namespace

class TestScoreDetailsData : public QObject {
    Q_OBJECT
private slots:
    void formatLapTime_data() {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seconds") << 83456 << 0 << "83.456";
        QTest::newRow("short seconds, padded milliseconds") << 5007 << 0 << "5.007";
        QTest::newRow("with minutes") << 83456 << 1 << "1:23.456";
        QTest::newRow("negative") << -1500 << 0 << "-1.500";
        QTest::newRow("no lap yet") << int(NoLapTime) << 0 << "0.000";
        QTest::newRow("minutes beyond 16 bits") << 2000000000 << 0 << "2000000.000";
        QTest::newRow("minutes beyond 16 bits, with minutes") << 2000000000 << 1 << "33333:20.000";
        QTest::newRow("smallest time")
            << int(std::numeric_limits<qint32>::min()) << 0 << "-2147483.648";
    }
    void formatLapTime() {
        QFETCH(int, time);
        QFETCH(int, format);
        QFETCH(QString, expected);
        QCOMPARE(FormatLapTime(time, static_cast<qint16>(format)), expected);
    }

    void rows_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("columns by start position, captions cut to 12 or by transponder")
            << (entry(1, "1", 1, {10000}) + entry(2, "3", 3, {11000}) +
                entry(3, "0", 10, {12000}, "42") + entry(4, "4", 5, {13000}, "9"))
            << QStringList{
                   row("", {{1, "Berg, Anna"},
                            {3, "Abrahamsen-L"},
                            {5, "Transp.ID = 9"},
                            {10, "Transp.ID = 42"}}),
                   row("#1", {{1, "10.000"}, {3, "11.000"}, {5, "13.000"}, {10, "12.000"}}),
                   "",
                   row("Laps:", {{1, "1"}, {3, "1"}, {5, "1"}, {10, "1"}}),
                   row("Best:", {{1, "(1) 10.000"},
                                 {3, "(1) 11.000"},
                                 {5, "(1) 13.000"},
                                 {10, "(1) 12.000"}}),
                   row("Avg:", {{1, "10.000"}, {3, "11.000"}, {5, "13.000"}, {10, "12.000"}})};

        QTest::newRow("best is the later of equal laps, average rounded")
            << entry(1, "1", 2, {23456, 22100, 22100})
            << QStringList{row("", {{2, "Berg, Anna"}}),
                           row("#1", {{2, "23.456"}}),
                           row("#2", {{2, "22.100"}}),
                           row("#3", {{2, "22.100"}}),
                           "",
                           row("Laps:", {{2, "3"}}),
                           row("Best:", {{2, "(3) 22.100"}}),
                           row("Avg:", {{2, "22.552"}})};

        QTest::newRow("cars with 3 and 5 laps")
            << (entry(1, "1", 1, {20000, 20000, 20000}) +
                entry(2, "2", 2, {21000, 21000, 21000, 21000, 20999}))
            << QStringList{row("", {{1, "Berg, Anna"}, {2, "Dahl, Erik"}}),
                           row("#1", {{1, "20.000"}, {2, "21.000"}}),
                           row("#2", {{1, "20.000"}, {2, "21.000"}}),
                           row("#3", {{1, "20.000"}, {2, "21.000"}}),
                           row("#4", {{2, "21.000"}}),
                           row("#5", {{2, "20.999"}}),
                           "",
                           row("Laps:", {{1, "3"}, {2, "5"}}),
                           row("Best:", {{1, "(3) 20.000"}, {2, "(5) 20.999"}}),
                           row("Avg:", {{1, "20.000"}, {2, "21.000"}})};

        QTest::newRow("race without laps")
            << entry(1, "1", 1, {})
            << QStringList{row(""), "", row("Laps:"), row("Best:"), row("Avg:")};

        QTest::newRow("start positions without a column are left out")
            << (entry(1, "1", 0, {5000, 5000, 5000}) + entry(2, "2", 11, {6000, 6000}) +
                entry(3, "3", 1000, {7000, 7000, 7000, 7000}) + entry(4, "1", 4, {8000}))
            << QStringList{row("", {{4, "Berg, Anna"}}),
                           row("#1", {{4, "8.000"}}),
                           "",
                           row("Laps:", {{4, "1"}}),
                           row("Best:", {{4, "(1) 8.000"}}),
                           row("Avg:", {{4, "8.000"}})};
    }
    void rows() {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expected);
        test::InstallFixture fx;
        QVERIFY(fx.sql(kDrivers + entries));
        auto db = test::openDatabase(fx);
        Recordset rs;
        QVERIFY(db->Select(ScoreDetailsSql(1), rs));
        QCOMPARE(ScoreDetailsRows(rs), expected);
    }

    void refreshInterval_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: no automatic refresh
        QTest::newRow("default") << "30" << 30000;
        QTest::newRow("fraction") << "2.5" << 2500;
        QTest::newRow("leading number") << "45 s" << 45000;
        QTest::newRow("longest") << "2147483.647" << 2147483647;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("not a number") << "abc" << -1;
        QTest::newRow("negative") << "-5" << -1;
        QTest::newRow("beyond the timer") << "2147483.648" << -1;
        QTest::newRow("far beyond the timer") << "1e12" << -1;
        QTest::newRow("rounds to no time") << "0.0004" << -1;
    }
    void refreshInterval() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<int> interval = AutomaticRefreshInterval(text);
        QCOMPARE(interval.value_or(-1), expected);
    }
};

QTEST_GUILESS_MAIN(TestScoreDetailsData)
#include "tst_scoredetailsdata.moc"
