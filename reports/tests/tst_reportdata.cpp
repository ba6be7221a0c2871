// The report statements on a real database (records, order, filters) and the
// report contents built from their result sets.
#include "Database.h"
#include "Helpers.h"
#include "ReportContent.h"
#include "ReportStatements.h"
#include "ReportsMeeting.h"
#include "ReportsTestDb.h"

#include <QLocale>
#include <QtTest>

using namespace kv;

namespace {

QStringList project(const Recordset& rs, const QStringList& fields) {
    QStringList out;
    for (const QSqlRecord& r : rs) {
        QStringList values;
        for (const QString& f : fields)
            values << FieldToString(r.value(f));
        out << values.join('|');
    }
    return out;
}

// The content as lines: title, heading and its details, the chart, each group
// with its caption, details, rows and summary, then the report's summary.
QStringList flatten(const ReportContent& c) {
    QStringList out;
    if (!c.title.isEmpty())
        out << "title: " + c.title;
    if (!c.heading.isEmpty())
        out << "heading: " + c.heading;
    for (const QString& d : c.headingDetails)
        out << "  " + d;
    for (const ChartSeries& s : c.chart) {
        QStringList points;
        for (const QPointF& p : s.points)
            points << QString::number(p.x()) + ':' + QString::number(p.y());
        out << "chart " + s.name + ": " + points.join(' ');
    }
    for (const ReportGroup& g : c.groups) {
        if (!g.caption.isEmpty())
            out << '[' + g.caption + ']';
        for (const QString& d : g.details)
            out << "  " + d;
        for (const QStringList& row : g.rows)
            out << row.join('|');
        for (const QString& s : g.summary)
            out << "  = " + s;
    }
    for (const QString& s : c.summary)
        out << "= " + s;
    return out;
}

enum Report { Participants, Qual, Heat, RaceProgress, CarProgress };

} // namespace

class TestReportData : public QObject {
    Q_OBJECT
    test::InstallFixture fx;
    std::unique_ptr<Database> db;

    bool contentOf(int report, int key, Recordset& rs, ReportContent& c) {
        switch (report) {
        case Participants:
            if (!db->Select(ParticipantsSql(key), rs))
                return false;
            c = ParticipantsContent(rs);
            return true;
        case Qual:
            if (!db->Select(QualResultsSql(key), rs))
                return false;
            c = QualResultsContent(rs);
            return true;
        case Heat:
            if (!db->Select(HeatResultsSql(key), rs))
                return false;
            c = HeatResultsContent(rs);
            return true;
        case RaceProgress:
            if (!db->Select(RaceLapProgressSql(key), rs))
                return false;
            c = LapProgressContent(rs);
            return true;
        default:
            if (!db->Select(CarLapProgressSql(31, key), rs))
                return false;
            c = LapProgressContent(rs);
            return true;
        }
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QVERIFY(fx.sql(test::kReportsMeeting));
        db = test::openDatabase(fx);
    }
    void cleanupTestCase() { db.reset(); }

    void records_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("expected");
        const QStringList lastname{"Lastname"};
        QTest::newRow("participants by name, deleted driver kept")
            << ParticipantsSql(1) << lastname << QStringList{"Berg", "Dahl", "Gone", "Lund"};
        QTest::newRow("participants of another tournament")
            << ParticipantsSql(2) << lastname << QStringList{"Aas"};
        QTest::newRow("tournament without participants")
            << ParticipantsSql(3) << lastname << QStringList{};
        QTest::newRow("qualification: finished time races with the final, one ranking")
            << QualResultsSql(1) << QStringList{"Lastname", "Description", "NumOfLaps", "Status"}
            << QStringList{"Berg|A-Final|11|2",         "Lund|Round 1 - Heat 2|10|2",
                           "Lund|A-Final|10|2",         "Berg|Round 1 - Heat 1|10|2",
                           "Dahl|Round 1 - Heat 1|9|2", "Gone|Round 1 - Heat 2|8|2"};
        QTest::newRow("heat results of a finished heat")
            << HeatResultsSql(10) << QStringList{"Lastname", "Name", "RaceCategoryID"}
            << QStringList{"Berg|Spring Cup|1", "Dahl|Spring Cup|1"};
        QTest::newRow("heat results of a laps race")
            << HeatResultsSql(13) << QStringList{"Lastname", "RaceCategoryDescription"}
            << QStringList{"Dahl|Laps"};
        QTest::newRow("heat results of a running race")
            << HeatResultsSql(14) << lastname << QStringList{};
        QTest::newRow("heat results of a single race")
            << HeatResultsSql(30) << QStringList{"Lastname", "Name", "TournamentID"}
            << QStringList{"Berg||", "Aas||"};
        QTest::newRow("lap progress by start position, laps in the order driven")
            << RaceLapProgressSql(10)
            << QStringList{"StartPosition", "Lastname", "LapTimeSec", "TotalTimeSec",
                           "TotalTimeString"}
            << QStringList{"1|Berg|23.456|23.456|23.456", "1|Berg|22.1|45.556|45.556",
                           "1|Berg|22.1|67.656|67.656", "2|Dahl|25|25|25.000",
                           "2|Dahl|24|49|49.000"};
        QTest::newRow("lap progress of a practice car without a driver")
            << CarLapProgressSql(31, 1)
            << QStringList{"StartPosition", "DriverID", "Lastname", "TransponderID", "LapTimeSec"}
            << QStringList{"1|0||7|9.5", "1|0||7|9.4"};
        QTest::newRow("lap progress of a car without laps")
            << CarLapProgressSql(31, 2) << lastname << QStringList{};
        QTest::newRow("finished races: time before laps, by name, single races too")
            << FinishedRacesSql(1) << QStringList{"RaceID", "Description"}
            << QStringList{"12|A-Final", "30|Fun race", "10|Round 1 - Heat 1",
                           "11|Round 1 - Heat 2", "13|B-Final"};
        QTest::newRow("finished races outside any tournament")
            << FinishedRacesSql(0) << QStringList{"RaceID", "Description"}
            << QStringList{"30|Fun race", "31|Practice"};
        QTest::newRow("details: laps per start position, unlinked car with empty names")
            << ScoreDetailsSql(31)
            << QStringList{"StartPosition", "TransponderID", "Lastname", "LapTime", "LapTimeString"}
            << QStringList{"1|7||9500|9.500", "1|7||9400|9.400"};
    }
    void records() {
        QFETCH(QString, sql);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, expected);
        Recordset rs;
        QVERIFY(db->Select(sql, rs));
        QCOMPARE(project(rs, fields), expected);
    }

    void reportsGetExactlyTheirFields_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("fields");
        QTest::newRow("participants")
            << ParticipantsSql(1)
            << "TournamentID Name Location RegTime DriverID Lastname Firstname Team Car "
               "Frequency TransponderID";
        QTest::newRow("qualification results")
            << QualResultsSql(1)
            << "TournamentID Name Location RegTime RaceID RaceCategoryDescription Status "
               "RaceStatusDescription Description TimeOfRace Length RaceCategoryLengthName "
               "Comment DriverID StartPosition Lastname Firstname Car NumOfLaps TimeToFinish "
               "TimeToFinishString";
        QTest::newRow("heat results")
            << HeatResultsSql(10)
            << "TournamentID Name Location RegTime RaceID RaceCategoryID "
               "RaceCategoryDescription Status RaceStatusDescription Description TimeOfRace "
               "Length RaceCategoryLengthName Comment DriverID StartPosition Lastname Firstname "
               "Car NumOfLaps TimeToFinish TimeToFinishString";
        // The lap progress adds the entry's transponder, which names a car
        // without a driver.
        QTest::newRow("lap progress")
            << RaceLapProgressSql(10)
            << "RaceID Description TimeOfRace RaceCategoryDescription Length "
               "RaceCategoryLengthName Comment DriverID Lastname Firstname Car StartPosition "
               "NumOfLaps TimeToFinish TimeToFinishString TotalTimeSec TotalTimeString "
               "LapTimeSec LapTimeString TransponderID";
    }
    void reportsGetExactlyTheirFields() {
        QFETCH(QString, sql);
        QFETCH(QString, fields);
        Recordset rs;
        QVERIFY(db->Select(sql, rs));
        QVERIFY(!rs.isEmpty());
        QStringList names;
        for (int i = 0; i < rs.row(0).count(); ++i)
            names << rs.row(0).fieldName(i);
        QCOMPARE(names.join(' '), fields);
    }

    // The details statement joins the driver from the left; it gives what the
    // same statement with the driver table joined from the right gives.
    void detailsStatementMatchesTheRightJoinForm() {
        for (const qint32 race : {10, 31, 99}) {
            const QString right =
                "SELECT tblDriverInRace.StartPosition, tblDriverInRace.TransponderID, "
                "tblDriver.Lastname, tblDriver.Firstname, tblLapInRace.LapTime, "
                "tblLapInRace.LapTimeString FROM tblDriver RIGHT JOIN (tblDriverInRace INNER JOIN "
                "tblLapInRace ON (tblDriverInRace.DriverInRaceID=tblLapInRace.DriverInRaceID)) ON "
                "(tblDriver.DriverID=tblDriverInRace.DriverID) WHERE tblDriverInRace.RaceID=" +
                QString::number(race) +
                " ORDER BY tblDriverInRace.StartPosition, tblLapInRace.TotalTime;";
            const QStringList fields{"StartPosition", "TransponderID", "Lastname",
                                     "Firstname",     "LapTime",       "LapTimeString"};
            Recordset expected, actual;
            QVERIFY(db->Select(right, expected));
            QVERIFY(db->Select(ScoreDetailsSql(race), actual));
            QCOMPARE(project(actual, fields), project(expected, fields));
        }
    }

    void content_data() {
        QTest::addColumn<int>("report");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("participants")
            << int(Participants) << 1
            << QStringList{"heading: Spring Cup",        "  Oslo",
                           "  01/04/2024 09:00",         "Berg|Anna|Blue|Xray|27.145|11",
                           "Dahl|Erik||Mugen|40.665|12", "Gone|Old||Tamiya|0|0",
                           "Lund|Ola||Kyosho|27.095|13", "= 4 drivers"};
        QTest::newRow("no participants") << int(Participants) << 3 << QStringList{"= 0 drivers"};
        QTest::newRow("qualification results ranked across heats and final")
            << int(Qual) << 1
            << QStringList{"title: Qualification results",
                           "heading: Spring Cup",
                           "  Oslo",
                           "  01/04/2024 09:00",
                           "1|Berg|Anna|Xray|A-Final|11|5:03.000",
                           "2|Lund|Ola|Kyosho|Round 1 - Heat 2|10|5:01.000",
                           "3|Lund|Ola|Kyosho|A-Final|10|5:01.500",
                           "4|Berg|Anna|Xray|Round 1 - Heat 1|10|5:02.000",
                           "5|Dahl|Erik|Mugen|Round 1 - Heat 1|9|5:00.500",
                           "6|Gone|Old|Tamiya|Round 1 - Heat 2|8|5:00.100"};
        QTest::newRow("heat results") << int(Heat) << 10
                                      << QStringList{"title: Results",
                                                     "heading: Spring Cup",
                                                     "  Oslo",
                                                     "  01/04/2024 09:00",
                                                     "[Round 1 - Heat 1]",
                                                     "  Time: 5 minutes",
                                                     "  Started: 01/04/2024 10:00",
                                                     "  Status: Finished",
                                                     "  Comment: Dry track",
                                                     "1|1|Berg|Anna|Xray|10|5:02.000",
                                                     "2|2|Dahl|Erik|Mugen|9|5:00.500"};
        QTest::newRow("heat results of a single race")
            << int(Heat) << 30
            << QStringList{"title: Results",
                           "[Fun race]",
                           "  Time: 4 minutes",
                           "  Started: 01/05/2024 18:00",
                           "  Status: Finished",
                           "1|2|Berg|Anna|Xray|6|4:00.200",
                           "2|1|Aas|Per|Serpent|5|4:00.300"};
        QTest::newRow("lap progress of a race")
            << int(RaceProgress) << 10
            << QStringList{"heading: Round 1 - Heat 1",
                           "  Started: 01/04/2024 10:00",
                           "  Time: 5 minutes",
                           "  Comment: Dry track",
                           "chart Start 1: Berg, Anna: 1:23.456 2:22.1 3:22.1",
                           "chart Start 2: Dahl, Erik: 1:25 2:24",
                           "[Start 1: Berg, Anna]",
                           "  Car: Xray",
                           "  Laps: 10, race time: 5:02.000",
                           "1|23.456|23.456",
                           "2|22.100|45.556",
                           "3|22.100|67.656",
                           "  = Best lap: (3) 22.100",
                           "  = Average: 22.552",
                           "[Start 2: Dahl, Erik]",
                           "  Car: Mugen",
                           "  Laps: 9, race time: 5:00.500",
                           "1|25.000|25.000",
                           "2|24.000|49.000",
                           "  = Best lap: (2) 24.000",
                           "  = Average: 24.500"};
        QTest::newRow("lap progress of a practice car without a driver")
            << int(CarProgress) << 1
            << QStringList{"heading: Practice",
                           "  Started: 02/05/2024 17:00",
                           "chart Start 1: Transponder: 7: 1:9.5 2:9.4",
                           "[Start 1: Transponder: 7]",
                           "  Laps: 2",
                           "1|9.500|9.500",
                           "2|9.400|18.900",
                           "  = Best lap: (2) 9.400",
                           "  = Average: 9.450"};
    }
    void content() {
        QFETCH(int, report);
        QFETCH(int, key);
        QFETCH(QStringList, expected);
        Recordset rs;
        ReportContent c;
        QVERIFY(contentOf(report, key, rs, c));
        QCOMPARE(flatten(c), expected);
        QCOMPARE(c.recordCount, rs.RecordCount());
    }

    // An export offers what the report is and which race or tournament.
    void fileNames_data() {
        QTest::addColumn<int>("report");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("participants") << int(Participants) << 1 << "Participants Spring Cup";
        QTest::newRow("no participants") << int(Participants) << 3 << "Participants";
        QTest::newRow("qualification results")
            << int(Qual) << 1 << "Qualification results Spring Cup";
        QTest::newRow("heat results") << int(Heat) << 12 << "Results A-Final";
        QTest::newRow("heat results of a single race") << int(Heat) << 30 << "Results Fun race";
        QTest::newRow("lap progress") << int(RaceProgress) << 10 << "Lap progress Round 1 - Heat 1";
    }
    void fileNames() {
        QFETCH(int, report);
        QFETCH(int, key);
        QFETCH(QString, expected);
        Recordset rs;
        ReportContent c;
        QVERIFY(contentOf(report, key, rs, c));
        QCOMPARE(c.fileName, expected);
    }

    void safeFileNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Results A-Final"
                               << "Results A-Final";
        QTest::newRow("separators and wildcards") << "Results Heat 1/2: A\\B *?"
                                                  << "Results Heat 1-2- A-B --";
        QTest::newRow("quotes, angles, bar") << "R \"x\" <y> |z|"
                                             << "R -x- -y- -z-";
        QTest::newRow("tab and line break") << "Results\tHeat\n1"
                                            << "Results-Heat-1";
        QTest::newRow("hidden or trailing dots") << " ..Results. "
                                                 << "Results";
        QTest::newRow("nothing left") << " ... "
                                      << "";
        QTest::newRow("too long") << QString(150, 'x') << QString(100, 'x');
    }
    void safeFileNames() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SafeFileName(text), expected);
    }

    void raceChoicesNameTheRaceAndItsStart() {
        Recordset rs;
        QVERIFY(db->Select(FinishedRacesSql(0), rs));
        const QList<RaceChoice> choices = RaceChoices(rs);
        QCOMPARE(choices.size(), 2);
        QCOMPARE(choices[0].text, "Fun race (01/05/2024 18:00)");
        QCOMPARE(choices[0].raceID, 30);
        QCOMPARE(choices[1].text, "Practice (02/05/2024 17:00)");
        QCOMPARE(choices[1].raceID, 31);
    }
};

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"
