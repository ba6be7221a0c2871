// Time of the database work behind two buttons, on a fresh installation and on one that has
// seen many meetings: generating the qualification heats of 200 participants in 6 rounds of 10
// cars (120 heats, 1200 entries) and adding a driver. Both run through the real pages on a real
// database file made by the installation step.

#include "MainFixture.h"
#include "ManagerPage.h"
#include "TournamentPage.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kParticipants = 200;
constexpr int kRounds = 6;
constexpr int kCarsInHeat = 10;
constexpr int kRepeats = 3;

struct Size {
    const char* name;
    int races;
    int drivers;
};

// Fills the database: drivers (the first 200 of them take part in tournament 1) and races of
// earlier tournaments, each race with ten entries.
bool fill(const kv::test::InstallFixture& fx, const Size& size) {
    const QString drivers = QString::number(std::max(size.drivers, kParticipants));
    const QString races = QString::number(size.races);
    QStringList sql{
        QStringLiteral("INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES "
                       "(1, 'Cup', '2026-05-01 10:00:00');"),
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ") +
            drivers +
            QStringLiteral(") INSERT INTO tblDriver (Lastname, Firstname, Frequency) SELECT "
                           "'Driver ' || i, 'F' || i, 27 + (i % 97) / 10.0 FROM n;"),
        QStringLiteral("INSERT INTO tblDriverInTournament SELECT DriverID, 1, 0 FROM tblDriver "
                       "WHERE DriverID <= ") +
            QString::number(kParticipants) + QStringLiteral(";")};
    if (size.races == 0)
        return fx.sql(sql);
    sql << QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ") +
               races +
               QStringLiteral(") INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, "
                              "QualRound, QualHeat, Length, Status, Description) SELECT 2 + i / "
                              "500, 1, 1, 1 + i % 6, 1 + i % 20, 5, 2, 'Round 1 - Heat 1' FROM n;")
        << QStringLiteral(
               "WITH RECURSIVE p(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM p WHERE k < "
               "10) INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
               "NumOfLaps, TimeToFinish, TimeToFinishString) SELECT 1 + (RaceID * 10 + "
               "k) % ") +
               drivers +
               QStringLiteral(", RaceID, k, 20, 300000, '300.000' FROM tblRace, p WHERE "
                              "TournamentID > 1;");
    return fx.sql(sql);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool run(const Size& size) {
    kv::test::MainFixture m;
    if (!fill(m.fx, size) || !m.start())
        return false;
    kv::frmMain& w = *m.w;
    kv::ManagerPage* manager = w.pageManager;

    std::vector<double> generate;
    for (int i = 0; i < kRepeats; ++i) {
        w.state().CurrentTournamentID = 1;
        w.cmdToolbarMain_Click(1);
        manager->cbManagerNumOfCarsInQualHeat->setEditText(QString::number(kCarsInHeat));
        manager->cbManagerNumOfQualRounds->setEditText(QString::number(kRounds));
        manager->cbManagerQualRaceTime->setEditText(QStringLiteral("5"));
        QElapsedTimer timer;
        timer.start();
        manager->cmdManagerGenerateQualHeats->click();
        generate.push_back(timer.nsecsElapsed() / 1e9);
        const QStringList made = m.fx.column(
            QStringLiteral("SELECT count(*) FROM tblRace WHERE TournamentID=1 AND RaceCode=1;"));
        if (made != QStringList{QString::number(kRounds * kParticipants / kCarsInHeat)})
            return false;
        manager->cmdManagerGenerateQualHeats->click(); // reset for the next round
    }

    w.cmdToolbarMain_Click(0);
    std::vector<double> add;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        w.pageTournament->cmdTournamentModifyDriverAdd_Click();
        add.push_back(timer.nsecsElapsed() / 1e9);
    }
    // Only the question before each Add: no error was reported.
    if (m.platform.boxes->messages.size() != kRepeats)
        return false;

    std::printf("%-7s %6d races %6d drivers   generate %3d heats: %7.3f s   driver Add: %7.3f s\n",
                size.name, size.races, std::max(size.drivers, kParticipants),
                kRounds * kParticipants / kCarsInHeat, median(generate), median(add));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Median of %d runs; generation includes the page refresh after it, Add the "
                "driver list refill.\n",
                kRepeats);
    for (const Size& size : {Size{"fresh", 0, 0}, Size{"large", 25000, 5000}}) {
        if (!run(size)) {
            std::fprintf(stderr, "%s: the benchmark did not run as expected\n", size.name);
            return 1;
        }
    }
    return 0;
}
