// Lists on a large database: one tournament of 25,000 finished qualification heats.
// Times the start-up of the main window up to the window shown and painted (its
// tournament list selects the tournament, which refreshes the Manager page and its heat
// list), with the splash and the wait for the counter's reply left out, and of that
// Form_Load alone, which fills the lists. Then the Reports page's race selector: its fill
// when "Heat results" is chosen, and the opening of its drop-down up to the list shown
// and painted. Each beside a reference timed in the same run: for start-up and fill
// the bare SELECT of the same rows on a connection of its own, every row stepped and
// its values read; for the opening, the opening of the four-row report list.
// Also checks the texts shown: every heat row and every selector row as expected.
// Prints its targets beside the figures; it asserts nothing.

#include "MainFixture.h"
#include "ManagerPage.h"
#include "ReportStatements.h"
#include "ReportsPage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QListWidget>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kv;

namespace {

constexpr int kRaces = 25000;
constexpr int kRuns = 5;
constexpr double kTargetStartUpS = 0.1;
constexpr double kTargetSelectorS = 0.2; // fill and open together

// Heats of 10 per round; each started a minute after the one before, from a
// spring morning on, so the times cross months and a change of summer time.
bool fill(const test::InstallFixture& fx) {
    return fx.sql(
        {QStringLiteral("INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES "
                        "(1, 'Cup', 'Oslo', '2026-03-01 10:00:00');"),
         QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i "
                        "< ") +
             QString::number(kRaces - 1) +
             QStringLiteral(
                 ") INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, QualRound, "
                 "QualHeat, Length, Status, Description, TimeOfRace) SELECT 1, 1, 1, 1 + i / 10, "
                 "1 + i % 10, 5, 2, 'Round ' || (1 + i / 10) || ' - Heat ' || (1 + i % 10), "
                 "strftime('%Y-%m-%d %H:%M:%S', '2026-03-20 08:00:00', '+' || i || ' minutes') "
                 "FROM n;")});
}

volatile qsizetype readChars = 0; // keeps the reference's reads

// The bare read of the rows a list shows, on a connection of its own.
double bareSelect(const QString& file, const QString& sql, int columns, int* rows) {
    double seconds = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reference");
        db.setDatabaseName(file);
        db.open();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        QElapsedTimer timer;
        timer.start();
        q.exec(sql);
        int n = 0;
        qsizetype chars = 0;
        while (q.next()) {
            for (int c = 0; c < columns; ++c)
                chars += q.value(c).toString().size();
            ++n;
        }
        seconds = timer.nsecsElapsed() / 1e9;
        *rows = n;
        readChars = chars;
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("reference");
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A heat row and a selector row as the pages have always written them.
QString heatText(int i) {
    return QStringLiteral("Round %1 - Heat %2 (Finished)").arg(1 + i / 10).arg(1 + i % 10);
}

const char* verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

// The offscreen platform's notes on what it cannot do (raise a window, grab the
// keyboard) are no figures.
QtMessageHandler qtHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        qtHandler(type, context, text);
}

// Until the platform has shown the window and it has painted itself.
bool waitShown(QWidget* window) {
    for (int i = 0; i < 10000 && !(window->windowHandle() && window->windowHandle()->isExposed());
         ++i)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// Opens a combo box's drop-down as a click does and times it up to the list shown and
// painted; then closes it. Negative when the list did not show.
double timeOpen(QComboBox* combo) {
    QElapsedTimer timer;
    timer.start();
    combo->showPopup();
    const bool shown = waitShown(combo->view()->window()) && combo->view()->isVisible();
    const double seconds = timer.nsecsElapsed() / 1e9;
    combo->hidePopup();
    QCoreApplication::processEvents();
    return shown ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qtHandler = qInstallMessageHandler(quietPlatform);

    std::vector<double> startUp, formLoad, startUpRef, selector, selectorRef, open, openRef, both;
    bool heatsShown = true;
    bool selectorShown = true;
    bool windowShown = true;
    int heatRows = 0, selectorRows = 0, reportRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        test::MainFixture m;
        m.fx.setSetting(QStringLiteral("LastTournamentID"), QStringLiteral("1"));
        if (!fill(m.fx)) {
            std::fprintf(stderr, "bench_lists: the database could not be filled\n");
            return 1;
        }
        const QString file = m.fx.databaseFile();

        int rows = 0;
        startUpRef.push_back(bareSelect(
            file,
            QStringLiteral("SELECT RaceID, Description, Status, RaceCode FROM tblRace WHERE "
                           "TournamentID=1 AND RaceCode=1 ORDER BY QualRound, QualHeat, RaceID;"),
            4, &rows));
        QElapsedTimer timer;
        timer.start();
        if (!m.start()) {
            std::fprintf(stderr, "bench_lists: start-up failed\n");
            return 1;
        }
        formLoad.push_back(timer.nsecsElapsed() / 1e9);
        m.w->show();
        windowShown = waitShown(m.w.get()) && windowShown;
        startUp.push_back(timer.nsecsElapsed() / 1e9);
        const QListWidget* heats = m.w->pageManager->lbManagerGeneratedQualHeats;
        heatRows = heats->count();
        heatsShown = heatsShown && heatRows == kRaces && rows == kRaces;
        for (int i = 0; heatsShown && i < heatRows; ++i)
            heatsShown = heats->item(i)->text() == heatText(i);

        ReportsPage* reports = m.w->pageReports;
        selectorRef.push_back(bareSelect(file, FinishedRacesSql(1), 3, &rows));
        m.w->cmdToolbarMain_Click(3);
        QCoreApplication::processEvents();
        reportRows = reports->cbReportsMain->count();
        openRef.push_back(timeOpen(reports->cbReportsMain));
        reports->cbReportsMain->setCurrentIndex(ReportHeatResults);
        timer.restart();
        reports->cbReportsMain_Click();
        selector.push_back(timer.nsecsElapsed() / 1e9);
        QCoreApplication::processEvents(); // the page paints the filled selector
        open.push_back(timeOpen(reports->cbReportsLapProgressRace));
        both.push_back(selector.back() + open.back());

        // The rows by description, each with its start time in the locale's short form.
        const QComboBox* races = reports->cbReportsLapProgressRace;
        selectorRows = races->count();
        selectorShown = selectorShown && selectorRows == kRaces && rows == kRaces;
        if (selectorShown && run == 0) {
            const QStringList times = m.fx.column(QStringLiteral(
                "SELECT TimeOfRace FROM tblRace ORDER BY RaceCategoryID, Description;"));
            const QStringList names = m.fx.column(QStringLiteral(
                "SELECT Description FROM tblRace ORDER BY RaceCategoryID, Description;"));
            for (int i = 0; selectorShown && i < selectorRows; ++i) {
                const QDateTime when =
                    QDateTime::fromString(times.value(i), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                selectorShown =
                    races->itemText(i) == names.value(i) + QStringLiteral(" (") +
                                              QLocale().toString(when, QLocale::ShortFormat) +
                                              QStringLiteral(")");
            }
        }
    }

    const double startUpS = median(startUp);
    const double selectorS = median(selector);
    const double openS = median(open);
    const double bothS = median(both);
    const bool opened = *std::min_element(open.begin(), open.end()) >= 0 &&
                        *std::min_element(openRef.begin(), openRef.end()) >= 0;
    std::printf("One tournament of %d finished qualification heats; median of %d runs\n", kRaces,
                kRuns);
    const QString shownLabel =
        QStringLiteral("start-up to the window shown (%1 heat rows)").arg(heatRows);
    const QString fillLabel = QStringLiteral("race selector fill (%1 rows)").arg(selectorRows);
    const QString openLabel = QStringLiteral("race selector open (%1 rows)").arg(selectorRows);
    std::printf("  %-45s %7.3f s   reference %-34s %7.3f s = %5.1fx   target: within %.1f s  %s\n",
                qPrintable(shownLabel), startUpS, "(bare SELECT of the heats)", median(startUpRef),
                startUpS / median(startUpRef), kTargetStartUpS,
                verdict(windowShown && startUpS <= kTargetStartUpS));
    std::printf("    without the splash and the wait for the counter's reply; of which Form_Load "
                "%.3f s\n",
                median(formLoad));
    std::printf("  %-45s %7.3f s   reference %-34s %7.3f s = %5.1fx\n", qPrintable(fillLabel),
                selectorS, "(bare SELECT of the races)", median(selectorRef),
                selectorS / median(selectorRef));
    const QString openRefLabel = QStringLiteral("(open the %1-row report list)").arg(reportRows);
    std::printf("  %-45s %7.3f s   reference %-34s %7.3f s = %5.1fx\n", qPrintable(openLabel),
                openS, qPrintable(openRefLabel), median(openRef), openS / median(openRef));
    std::printf("  %-45s %7.3f s   target: within %.1f s  %s\n", "race selector fill + open", bothS,
                kTargetSelectorS, verdict(opened && bothS <= kTargetSelectorS));
    std::printf("  heat rows as expected %s; selector rows as expected %s; window and lists "
                "shown %s\n",
                verdict(heatsShown), verdict(selectorShown), verdict(windowShown && opened));
    return 0;
}
