// The report definitions rendered to PDF and read back with pdftotext, and the
// report viewer's paging, zoom, group tree and export.
#include "Database.h"
#include "FakePlatform.h"
#include "ReportDefinition.h"
#include "ReportStatements.h"
#include "ReportsMeeting.h"
#include "ReportsTestDb.h"
#include "crvReport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace kv;

namespace {

// The text of a PDF file, laid out as on the page.
QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The lines of the text that match a pattern, with their runs of blanks made
// single so that columns read as words.
QStringList lines(const QString& text, const QString& pattern) {
    QStringList out;
    const QRegularExpression re(pattern);
    for (QString line : text.split('\n')) {
        line = line.simplified();
        if (re.match(line).hasMatch())
            out << line;
    }
    return out;
}

std::shared_ptr<ReportDefinition> makeReport(const QString& kind) {
    if (kind == "participants")
        return std::make_shared<crdTournamentParticipants>();
    if (kind == "qualification")
        return std::make_shared<crdQualResults>();
    if (kind == "heat")
        return std::make_shared<crdHeatResults>();
    return std::make_shared<crdRaceLapProgress>();
}

// A one-minute time heat and an eight-lap final as the timing stores them: each
// finished car's result is its time at its last counted lap less the race's
// length x 60000 ms, so in the final, whose length counts laps, the results are
// far below zero. Berg starts the final from 1 and ends second behind Lund.
// Tournament 2 holds a time race so long that its length in ms passes 32 bits.
QStringList raceTimesMeeting() {
    QStringList sql{
        "INSERT INTO tblTournament (TournamentID, Name) VALUES (1,'Lake Cup');",
        "INSERT INTO tblTournament (TournamentID, Name) VALUES (2,'Long Cup');",
        "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES "
        "(1,'Berg','Anna','Xray');",
        "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES "
        "(2,'Dahl','Erik','Mugen');",
        "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES "
        "(3,'Lund','Ola','Kyosho');",
        "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES "
        "(4,'Aas','Per','Serpent');",
        "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
        "Description) VALUES (1,1,1,1,1,2,'Heat 1');",
        "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
        "Description) VALUES (2,1,2,10,8,2,'A-Final');",
        "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
        "Description) VALUES (3,2,1,1,36000,2,'Endurance');",
        // Heat 1: Dahl ends 50 ms before the race clock's minute, Berg 9 laps in
        // 1:04.592, Lund never starts.
        "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
        "TimeToFinish, TimeToFinishString) VALUES (11,2,1,1,8,-50,'-0.050');",
        "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
        "TimeToFinish, TimeToFinishString) VALUES (12,1,1,2,9,4592,'4.592');",
        "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES "
        "(13,3,1,3);",
        "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
        "TimeToFinish, TimeToFinishString) VALUES (31,4,3,1,1,1500,'1.500');",
    };
    // The final: entry, start position, driver, lap times in the order driven.
    struct Car {
        int entry, position, driver;
        QList<int> laps;
    };
    const QList<Car> cars{{21, 1, 1, {7500, 7500, 7500, 7500, 7500, 7500, 7500, 7810}},
                          {22, 2, 3, {7300, 7300, 7300, 7300, 7300, 7300, 7300, 7288}},
                          {23, 3, 2, {9285, 9285, 9285, 9285, 9285, 9285, 9290}}};
    for (const Car& car : cars) {
        int total = 0;
        for (const int lap : car.laps) {
            total += lap;
            sql << QString("INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, "
                           "LapTimeString, TotalTimeString) VALUES (%1,2,%2,%3,'%4','%5');")
                       .arg(car.entry)
                       .arg(lap)
                       .arg(total)
                       .arg(lap / 1000.0, 0, 'f', 3)
                       .arg(total / 1000.0, 0, 'f', 3);
        }
        const int result = total - 8 * 60000;
        sql << QString("INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, "
                       "StartPosition, NumOfLaps, TimeToFinish, TimeToFinishString) VALUES "
                       "(%1,%2,2,%3,%4,%5,'%6');")
                   .arg(car.entry)
                   .arg(car.driver)
                   .arg(car.position)
                   .arg(car.laps.size())
                   .arg(result)
                   .arg(result / 1000.0, 0, 'f', 3);
    }
    return sql;
}

} // namespace

class TestReportRender : public QObject {
    Q_OBJECT
    test::InstallFixture fx;
    std::unique_ptr<Database> db;
    QTemporaryDir out;

    // A qualification ranking of 150 drivers, over several pages.
    std::shared_ptr<ReportDefinition> longRanking() {
        test::InstallFixture big;
        QStringList sql{"INSERT INTO tblTournament (TournamentID, Name) VALUES (1,'Big Cup');",
                        "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, "
                        "Length, Status, Description) VALUES (1,1,1,1,5,2,'Heat');"};
        for (int i = 1; i <= 150; ++i)
            sql << QString("INSERT INTO tblDriver (DriverID, Lastname, Firstname) VALUES "
                           "(%1,'Driver%2','F');")
                       .arg(i)
                       .arg(i, 3, 10, QChar('0'))
                << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
                           "NumOfLaps, TimeToFinish, TimeToFinishString) VALUES "
                           "(%1,1,1,%2,1000,'1.000');")
                       .arg(i)
                       .arg(500 - i);
        if (!big.sql(sql))
            return nullptr;
        auto bigDb = test::openDatabase(big, "big");
        Recordset rs;
        if (!bigDb->Select(QualResultsSql(1), rs))
            return nullptr;
        auto r = std::make_shared<crdQualResults>();
        r->SetDataSource(rs);
        return r;
    }

    std::shared_ptr<ReportDefinition> report(const QString& kind, const QString& sql) {
        Recordset rs;
        if (!db->Select(sql, rs))
            return nullptr;
        auto r = makeReport(kind);
        r->SetDataSource(rs);
        return r;
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                 "pdftotext (poppler-utils) is needed to read the reports back");
        QVERIFY(fx.sql(test::kReportsMeeting));
        db = test::openDatabase(fx);
    }
    void cleanupTestCase() { db.reset(); }

    // Each report on paper: its title, its rows in order with their numbers.
    void pdf_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rowPattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("participants")
            << "participants" << ParticipantsSql(1)
            << "^(Spring Cup|Oslo|Lastname|(Berg|Dahl|Gone|Lund) |\\d+ drivers)"
            << QStringList{"Spring Cup",
                           "Oslo",
                           "Lastname Firstname Team Car Frequency Transponder ID",
                           "Berg Anna Blue Xray 27.145 11",
                           "Dahl Erik Mugen 40.665 12",
                           "Gone Old Tamiya 0 0",
                           "Lund Ola Kyosho 27.095 13",
                           "4 drivers"};
        QTest::newRow("qualification results")
            << "qualification" << QualResultsSql(1)
            << "^(Qualification results|Spring Cup|Pos\\.|\\d+ \\w+ \\w+ )"
            << QStringList{"Qualification results",
                           "Spring Cup",
                           "Pos. Lastname Firstname Car Heat Laps Time",
                           "1 Berg Anna Xray A-Final 11 5:03.000",
                           "2 Lund Ola Kyosho Round 1 - Heat 2 10 5:01.000",
                           "3 Lund Ola Kyosho A-Final 10 5:01.500",
                           "4 Berg Anna Xray Round 1 - Heat 1 10 5:02.000",
                           "5 Dahl Erik Mugen Round 1 - Heat 1 9 5:00.500",
                           "6 Gone Old Tamiya Round 1 - Heat 2 8 5:00.100"};
        QTest::newRow("heat results")
            << "heat" << HeatResultsSql(10)
            << "^(Results|Spring Cup|Round 1|Time:|Status:|Comment:|Pos\\.|\\d+ \\d+ \\w+)"
            << QStringList{"Results",
                           "Spring Cup",
                           "Round 1 - Heat 1",
                           "Time: 5 minutes",
                           "Status: Finished",
                           "Comment: Dry track",
                           "Pos. Start Lastname Firstname Car Laps Time",
                           "1 1 Berg Anna Xray 10 5:02.000",
                           "2 2 Dahl Erik Mugen 9 5:00.500"};
        QTest::newRow("lap progress")
            << "progress" << RaceLapProgressSql(10)
            << "^(Round 1 - Heat 1$|Start \\d|Lap Lap|\\d \\d+\\.\\d{3} |Best|Average)"
            // The chart's legend, then the cars' tables.
            << QStringList{
                   "Round 1 - Heat 1",    "Start 1: Berg, Anna",     "Start 2: Dahl, Erik",
                   "Start 1: Berg, Anna", "Lap Lap time Total time", "1 23.456 23.456",
                   "2 22.100 45.556",     "3 22.100 67.656",         "Best lap: (3) 22.100",
                   "Average: 22.552",     "Start 2: Dahl, Erik",     "Lap Lap time Total time",
                   "1 25.000 25.000",     "2 24.000 49.000",         "Best lap: (2) 24.000",
                   "Average: 24.500"};
    }
    void pdf() {
        QFETCH(QString, kind);
        QFETCH(QString, sql);
        QFETCH(QString, rowPattern);
        QFETCH(QStringList, expected);
        auto r = report(kind, sql);
        QVERIFY(r);
        const QString file = out.filePath(kind + ".pdf");
        QVERIFY(r->ExportPdf(file));
        const QString text = pdfText(file);
        QCOMPARE(lines(text, rowPattern), expected);
        QVERIFY2(text.contains("Page 1 of 1"), qPrintable(text));
    }

    // The results sheets give each car's race time, from the go to its last
    // counted lap, as the race board writes times, never the stored result
    // that only ranks the cars; a car without a result shows "...". The
    // order and the laps stay the statement's.
    void raceTimes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rowPattern");
        QTest::addColumn<QStringList>("expected");
        const QString results = "^(Time:|Laps:|Pos\\.|\\d+ \\d+ \\w+)";
        QTest::newRow("laps final")
            << "heat" << HeatResultsSql(2) << results
            << QStringList{"Laps: 8 laps", "Pos. Start Lastname Firstname Car Laps Time",
                           "1 2 Lund Ola Kyosho 8 0:58.388", "2 1 Berg Anna Xray 8 1:00.310",
                           "3 3 Dahl Erik Mugen 7 1:05.000"};
        QTest::newRow("time heat")
            << "heat" << HeatResultsSql(1) << results
            << QStringList{"Time: 1 minutes", "Pos. Start Lastname Firstname Car Laps Time",
                           "1 2 Berg Anna Xray 9 1:04.592", "2 1 Dahl Erik Mugen 8 0:59.950",
                           "3 3 Lund Ola Kyosho 0 ..."};
        QTest::newRow("length beyond 32 bits of ms")
            << "heat" << HeatResultsSql(3) << results
            << QStringList{"Time: 36000 minutes", "Pos. Start Lastname Firstname Car Laps Time",
                           "1 1 Aas Per Serpent 1 36000:01.500"};
        QTest::newRow("qualification")
            << "qualification" << QualResultsSql(1) << "^(Pos\\.|\\d+ \\w+ \\w+ )"
            << QStringList{"Pos. Lastname Firstname Car Heat Laps Time",
                           "1 Berg Anna Xray Heat 1 9 1:04.592",
                           "2 Dahl Erik Mugen Heat 1 8 0:59.950", "3 Lund Ola Kyosho Heat 1 0 ..."};
        // The cars come by start position, and the captions say so.
        QTest::newRow("lap progress of the final")
            << "progress" << RaceLapProgressSql(2) << "^(Start \\d|Laps:)"
            << QStringList{"Laps: 8 laps",        "Start 1: Berg, Anna",
                           "Start 2: Lund, Ola",  "Start 3: Dahl, Erik",
                           "Start 1: Berg, Anna", "Laps: 8, race time: 1:00.310",
                           "Start 2: Lund, Ola",  "Laps: 8, race time: 0:58.388",
                           "Start 3: Dahl, Erik", "Laps: 7, race time: 1:05.000"};
    }
    void raceTimes() {
        QFETCH(QString, kind);
        QFETCH(QString, sql);
        QFETCH(QString, rowPattern);
        QFETCH(QStringList, expected);
        test::InstallFixture meeting;
        QVERIFY(meeting.sql(raceTimesMeeting()));
        auto meetingDb = test::openDatabase(meeting, "race times");
        Recordset rs;
        QVERIFY(meetingDb->Select(sql, rs));
        auto r = makeReport(kind);
        r->SetDataSource(rs);
        const QString file = out.filePath("race-times.pdf");
        QVERIFY(r->ExportPdf(file));
        const QString text = pdfText(file);
        QCOMPARE(lines(text, rowPattern), expected);
        const QRegularExpression negative("(^|\\s)-\\d", QRegularExpression::MultilineOption);
        QVERIFY2(!text.contains(negative), qPrintable(text));
    }

    // A long race comment (a protest decision) reaches the paper whole, over
    // as many lines as it takes, and the results still follow it.
    void longCommentWraps_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("heat results")
            << "heat" << HeatResultsSql(10) << "1 1 Berg Anna Xray 10 5:02.000";
        QTest::newRow("lap progress") << "progress" << RaceLapProgressSql(10) << "1 23.456 23.456";
    }
    void longCommentWraps() {
        QFETCH(QString, kind);
        QFETCH(QString, sql);
        QFETCH(QString, firstRow);
        const QString decision =
            "Protest by Dahl upheld: Berg cut the chicane in laps 4 and 7 and gained time on "
            "both occasions, so the race director deducts one lap from her result; the "
            "reports of the marshals and the video were heard, and the decision was made known to "
            "both drivers at 10:45, after which no further protest was lodged with the jury "
            "before the deadline of the meeting.";
        QVERIFY(db->Execute("UPDATE tblRace SET Comment='" + decision + "' WHERE RaceID=10;"));
        const auto restore = qScopeGuard(
            [this] { db->tryExecute("UPDATE tblRace SET Comment='Dry track' WHERE RaceID=10;"); });
        auto r = report(kind, sql);
        QVERIFY(r);
        const QString file = out.filePath("comment-" + kind + ".pdf");
        QVERIFY(r->ExportPdf(file));
        const QString text = pdfText(file);
        QVERIFY2(!text.contains(QChar(0x2026)), qPrintable(text));
        const QStringList paper = lines(text, ".");
        const qsizetype comment = paper.indexOf(QRegularExpression("Comment: Protest.*"));
        QVERIFY2(comment >= 0, qPrintable(text));
        // The comment's lines, read in order, give the whole decision.
        QVERIFY2(paper.mid(comment, 4).join(' ').contains("Comment: " + decision),
                 qPrintable(text));
        QVERIFY2(paper.indexOf(firstRow, comment) > comment + 1, qPrintable(text));
    }

    // The chart is drawn as lines and text: its axis titles read back.
    void lapProgressHasItsChart() {
        auto r = report("progress", RaceLapProgressSql(10));
        const QString file = out.filePath("chart.pdf");
        QVERIFY(r->ExportPdf(file));
        const QString text = pdfText(file);
        const qsizetype axis = text.indexOf("Lap time [s]");
        QVERIFY2(axis >= 0, qPrintable(text));
        QVERIFY(axis < text.indexOf("Car: Xray"));
    }

    void longReportsGoOnOverPages() {
        auto r = longRanking();
        QVERIFY(r);
        const int pages = r->pageCount(DefaultReportPageLayout());
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        const QString file = out.filePath("long.pdf");
        QVERIFY(r->ExportPdf(file));
        const QString text = pdfText(file);
        // Every page repeats the column header and says where it stands.
        QCOMPARE(lines(text, "^Pos\\. Lastname").size(), pages);
        for (int p = 1; p <= pages; ++p)
            QVERIFY(text.contains(QString("Page %1 of %2").arg(p).arg(pages)));
        QStringList ranking = lines(text, "^\\d+ Driver\\d+ ");
        QCOMPARE(ranking.size(), 150);
        QCOMPARE(ranking.first(), "1 Driver001 F Heat 499 5:01.000");
        QCOMPARE(ranking.last(), "150 Driver150 F Heat 350 5:01.000");
    }

    // Printing gives the pages chosen in the print dialog, as many times as
    // asked, and each page holds the rows it holds in the whole report.
    void printingHonoursPagesAndCopies_data() {
        QTest::addColumn<QString>("pages"); // as typed in the print dialog; empty: all
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QList<int>>("printed");
        QTest::newRow("all") << "" << 1 << true << QList<int>{1, 2, 3};
        QTest::newRow("pages 2 to 2") << "2-2" << 1 << true << QList<int>{2};
        QTest::newRow("pages 1 and 3") << "1,3" << 1 << true << QList<int>{1, 3};
        QTest::newRow("pages beyond the end") << "3-9" << 1 << true << QList<int>{3};
        QTest::newRow("two copies collated") << "2-3" << 2 << true << QList<int>{2, 3, 2, 3};
        QTest::newRow("two copies by page") << "2-3" << 2 << false << QList<int>{2, 2, 3, 3};
    }
    void printingHonoursPagesAndCopies() {
        QFETCH(QString, pages);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QList<int>, printed);
        FakePlatform platform;
        auto r = longRanking();
        QVERIFY(r);
        QCOMPARE(r->pageCount(DefaultReportPageLayout()), 3);
        const QString whole = out.filePath("whole.pdf");
        QVERIFY(r->ExportPdf(whole));
        const QStringList wholePages = pdfText(whole).split('\f');

        crvReport viewer;
        viewer.setReportSource(r);
        viewer.ViewReport();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = out.filePath("printed.pdf");
        printer.setOutputFileName(file);
        printer.setPageLayout(DefaultReportPageLayout());
        printer.setPageRanges(QPageRanges::fromString(pages));
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        QVERIFY(viewer.printTo(printer));
        QVERIFY(platform.boxes->messages.isEmpty());

        QStringList paper = pdfText(file).split('\f');
        paper.removeAll(QString()); // after the last page's form feed
        QCOMPARE(paper.size(), printed.size());
        for (qsizetype i = 0; i < paper.size(); ++i) {
            const int page = printed[i];
            QVERIFY2(paper[i].contains(QString("Page %1 of 3").arg(page)), qPrintable(paper[i]));
            const QStringList rows = lines(paper[i], "^\\d+ Driver\\d+ ");
            QVERIFY(!rows.isEmpty());
            QCOMPARE(rows, lines(wholePages[page - 1], "^\\d+ Driver\\d+ "));
        }
    }

    // Export offers a name that says which report and race, in the user's
    // documents, and lets the dialog add ".pdf" so that its question before
    // replacing a file covers a name typed without it.
    void exportOffersANamedFileAndAsksBeforeReplacing() {
        FakePlatform platform;
        const QByteArray home = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([&home] { qputenv("HOME", home); });
        const QString documents = out.filePath("home/Documents");
        QVERIFY(QDir().mkpath(documents));
        qputenv("HOME", QFile::encodeName(out.filePath("home")));

        crvReport viewer;
        viewer.setReportSource(report("heat", HeatResultsSql(12)));
        viewer.ViewReport();
        viewer.cmdExport->click(); // cancelled
        viewer.setReportSource(report("participants", ParticipantsSql(1)));
        viewer.ViewReport();
        viewer.cmdExport->click();
        QCOMPARE(platform.files->requests.size(), 2);
        QCOMPARE(platform.files->requests[0].path, documents + "/Results A-Final.pdf");
        QCOMPARE(platform.files->requests[1].path, documents + "/Participants Spring Cup.pdf");
        for (const SaveFileRequest& r : platform.files->requests) {
            QCOMPARE(r.defaultSuffix, "pdf");
            QCOMPARE(r.filter, "PDF files (*.pdf)");
        }

        // "ow2" where ow2.pdf holds another report: No keeps it, Yes replaces it.
        QFile other(documents + "/ow2.pdf");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("another report");
        other.close();
        platform.files->typedNames = QStringList{"ow2", "ow2"};
        platform.files->replaceAnswers = {MsgResult::No, MsgResult::Yes};
        viewer.cmdExport->click();
        QCOMPARE(platform.files->replaceQuestions, QStringList{documents + "/ow2.pdf"});
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), "another report");
        other.close();
        QVERIFY(!QFile::exists(documents + "/ow2"));
        viewer.cmdExport->click();
        QCOMPARE(platform.files->replaceQuestions.size(), 2);
        QVERIFY(pdfText(documents + "/ow2.pdf").contains("Spring Cup"));
        QVERIFY(platform.boxes->messages.isEmpty());
    }

    void unwritablePdfIsRefused() {
        auto r = report("participants", ParticipantsSql(1));
        QVERIFY(!r->ExportPdf(out.filePath("missing-folder/report.pdf")));
    }

    // ---- The viewer ----

    void viewerPagesZoomsAndExports() {
        FakePlatform platform;
        crvReport viewer;
        viewer.resize(800, 600);
        QCOMPARE(viewer.pageCount(), 0);
        QVERIFY(!viewer.cmdPrint->isEnabled());

        test::InstallFixture big;
        QStringList sql{"INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, "
                        "Length, Status, Description) VALUES (1,0,1,4,0,2,'Practice');"};
        for (int car = 1; car <= 3; ++car) {
            sql << QString("INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, "
                           "StartPosition, NumOfLaps, TransponderID) VALUES (%1,0,1,%1,60,%1);")
                       .arg(car);
            for (int lap = 1; lap <= 60; ++lap)
                sql << QString("INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, "
                               "TotalTime, LapTimeString, TotalTimeString) VALUES "
                               "(%1,1,20000,%2,'20.000','x');")
                           .arg(car)
                           .arg(lap * 20000);
        }
        QVERIFY(big.sql(sql));
        auto bigDb = test::openDatabase(big, "viewer");
        Recordset rs;
        QVERIFY(bigDb->Select(RaceLapProgressSql(1), rs));
        auto r = std::make_shared<crdRaceLapProgress>();
        r->SetDataSource(rs);
        const QList<int> groupPages = r->groupPages(DefaultReportPageLayout());
        viewer.setReportSource(r);
        viewer.setDisplayGroupTree(true);
        viewer.ViewReport();

        const int pages = viewer.pageCount();
        QCOMPARE(pages, r->pageCount(DefaultReportPageLayout()));
        QVERIFY(pages >= 3);
        QCOMPARE(viewer.currentPage(), 1);
        QVERIFY(!viewer.cmdPreviousPage->isEnabled());
        viewer.cmdNextPage->click();
        QCOMPARE(viewer.currentPage(), 2);
        viewer.cmdLastPage->click();
        QCOMPARE(viewer.currentPage(), pages);
        QVERIFY(!viewer.cmdNextPage->isEnabled());
        QCOMPARE(viewer.lblPage->text(), QString("%1 of %2").arg(pages).arg(pages));
        viewer.cmdFirstPage->click();
        QCOMPARE(viewer.currentPage(), 1);

        // The group tree names the cars and turns to the page where each begins.
        QCOMPARE(viewer.tvGroups->topLevelItemCount(), 3);
        QCOMPARE(viewer.tvGroups->topLevelItem(2)->text(0), "Start 3: Transponder: 3");
        emit viewer.tvGroups->itemClicked(viewer.tvGroups->topLevelItem(2), 0);
        QCOMPARE(viewer.currentPage(), groupPages[2] + 1);
        QVERIFY(groupPages[2] > 0);

        viewer.cbZoom_Click(viewer.cbZoom->findText("100%"));
        QCOMPARE(qRound(viewer.zoomPercent()), 100);
        viewer.cmdZoomIn->click();
        QVERIFY(viewer.zoomPercent() > 100);
        viewer.cmdZoomOut->click();
        viewer.cmdZoomOut->click();
        QVERIFY(viewer.zoomPercent() < 100);

        const QString file = out.filePath("viewer.pdf");
        QVERIFY(viewer.exportTo(file));
        QVERIFY(pdfText(file).contains(QString("Page %1 of %1").arg(pages)));
        QVERIFY(platform.boxes->messages.isEmpty());
        QVERIFY(!viewer.exportTo(out.filePath("missing-folder/viewer.pdf")));
        QCOMPARE(platform.boxes->messages.size(), 1);
        QVERIFY(platform.boxes->lastText().contains("could not be written"));
    }
};

QTEST_MAIN(TestReportRender)
#include "tst_reportrender.moc"
