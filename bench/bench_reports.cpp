// Time to produce the two largest reports a meeting gives: the lap progress of a
// race of 10 cars x 200 laps (chart and 2,000 lap rows) and the qualification
// results of 1,000 entries. Each is timed from its statement to its pages: reading
// the records, building the report, writing it as PDF, and rendering it in the
// viewer as the Reports page does.

#include "Database.h"
#include "Installer.h"
#include "ReportDefinition.h"
#include "ReportStatements.h"
#include "crvReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace kv;

namespace {

constexpr int kRuns = 5;

bool fill(const QString& file) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(file);
    if (!db.open())
        return false;
    QSqlQuery q(db);
    db.transaction();
    bool ok = q.exec(
        QStringLiteral("INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES "
                       "(1,'Bench Cup','Oslo','2024-04-01 09:00:00');"));
    // Race 1: a laps race of 10 cars x 200 laps (not part of the qualification).
    ok = ok && q.exec(QStringLiteral(
                   "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, "
                   "Status, Description, TimeOfRace) VALUES (1,1,2,10,200,2,'A-Final',"
                   "'2024-04-01 16:00:00');"));
    for (int car = 1; car <= 10 && ok; ++car) {
        ok = q.exec(QStringLiteral("INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) "
                                   "VALUES (%1,'Driver%1','First','Car %1');")
                        .arg(car));
        int total = 0;
        for (int lap = 1; lap <= 200 && ok; ++lap) {
            const int time = 21000 + (lap * 37 + car * 101) % 2500;
            total += time;
            ok = q.exec(QStringLiteral("INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, "
                                       "TotalTime, LapTimeString, TotalTimeString) VALUES "
                                       "(%1,1,%2,%3,'%4','%5');")
                            .arg(car)
                            .arg(time)
                            .arg(total)
                            .arg(time / 1000.0, 0, 'f', 3)
                            .arg(total / 1000.0, 0, 'f', 3));
        }
        // The result as the timing stores it: the time at the last lap less
        // the length x 60000 ms.
        const int result = total - 200 * 60000;
        ok = ok && q.exec(QStringLiteral("INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, "
                                         "RaceID, StartPosition, NumOfLaps, TimeToFinish, "
                                         "TimeToFinishString) VALUES (%1,%1,1,%1,200,%2,'%3');")
                              .arg(car)
                              .arg(result)
                              .arg(result / 1000.0, 0, 'f', 3));
    }
    // 100 finished heats of 10 entries: 1,000 entries for the qualification results.
    for (int heat = 0; heat < 100 && ok; ++heat) {
        const int race = 100 + heat;
        ok = q.exec(QStringLiteral("INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, "
                                   "RaceCode, Length, Status, Description) VALUES "
                                   "(%1,1,1,1,5,2,'Round %2 - Heat %3');")
                        .arg(race)
                        .arg(heat / 10 + 1)
                        .arg(heat % 10 + 1));
        for (int p = 1; p <= 10 && ok; ++p) {
            const int driver = 1 + (heat * 10 + p) % 100;
            if (driver > 10)
                q.exec(QStringLiteral("INSERT OR IGNORE INTO tblDriver (DriverID, Lastname, "
                                      "Firstname, Car) VALUES (%1,'Driver%1','First','Car');")
                           .arg(driver));
            ok = q.exec(QStringLiteral("INSERT INTO tblDriverInRace (DriverID, RaceID, "
                                       "StartPosition, NumOfLaps, TimeToFinish, "
                                       "TimeToFinishString) VALUES (%1,%2,%3,%4,%5,'%6');")
                            .arg(driver)
                            .arg(race)
                            .arg(p)
                            .arg(10 + (heat + p) % 7)
                            .arg((heat * 37 + p * 113) % 20000)
                            .arg(((heat * 37 + p * 113) % 20000) / 1000.0, 0, 'f', 3));
        }
    }
    ok = ok && db.commit();
    q = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

struct Times {
    double read = 0, build = 0, pdf = 0, view = 0;
    int records = 0, pages = 0;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Times measure(Database& db, const QString& sql,
              const std::function<std::shared_ptr<ReportDefinition>()>& make,
              const QString& pdfFile) {
    std::vector<double> read, build, pdf, view;
    Times t;
    crvReport viewer;
    viewer.resize(800, 600);
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        Recordset rs;
        if (!db.Select(sql, rs))
            return t;
        read.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        auto report = make();
        report->SetDataSource(rs);
        build.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        report->ExportPdf(pdfFile);
        pdf.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        viewer.setReportSource(report);
        viewer.ViewReport();
        view.push_back(clock.nsecsElapsed() / 1e6);
        t.records = rs.RecordCount();
        t.pages = viewer.pageCount();
    }
    t.read = median(read);
    t.build = median(build);
    t.pdf = median(pdf);
    t.view = median(view);
    return t;
}

void print(const char* name, const Times& t) {
    std::printf("%-34s %6d records %4d pages  read %7.1f ms  build %7.1f ms  pdf %7.1f ms  "
                "viewer %7.1f ms\n",
                name, t.records, t.pages, t.read, t.build, t.pdf, t.view);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("zadiva.dat"));
    QString error;
    if (!Installer::createDatabase(file, &error) || !fill(file)) {
        std::fprintf(stderr, "cannot build the database: %s\n", qPrintable(error));
        return 1;
    }
    int status = 0;
    {
        Database db(QStringLiteral("bench"));
        if (!db.Open(QStringLiteral("Data Source=") + file + QStringLiteral(";"))) {
            std::fprintf(stderr, "cannot open the database\n");
            return 1;
        }
        std::printf("median of %d runs each\n", kRuns);
        const Times progress = measure(
            db, RaceLapProgressSql(1), [] { return std::make_shared<crdRaceLapProgress>(); },
            dir.filePath(QStringLiteral("progress.pdf")));
        print("lap progress, 10 cars x 200 laps", progress);
        const Times qual = measure(
            db, QualResultsSql(1), [] { return std::make_shared<crdQualResults>(); },
            dir.filePath(QStringLiteral("qual.pdf")));
        print("qualification results, 1,000", qual);
        if (progress.records != 2000 || qual.records != 1000)
            status = 1;
    }
    return status;
}
