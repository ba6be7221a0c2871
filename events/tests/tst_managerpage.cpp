// The Manager page's qualification heats on a real database: settings, heat
// generation and dealing, the heat lists, reset.
#include "ItemTexts.h"
#include "MainFixture.h"
#include "ManagerPage.h"
#include "Ui.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

const QString kGenerateTitle = "Generate qualification heats.";
const QString kNoParticipants =
    "There are no drivers registered as participants in this tournament. First add "
    "participants, before generating qualification heats.";
const QString kStartedQuestion = "There are already qual.races that has been started (or "
                                 "finished) in this tournament. If you continue, all these races "
                                 "will be lost.";

// A started program; the tests add their tournaments and drivers afterwards and
// make tournament 1 current.
class Meeting {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    FakePlatform& platform = main.platform;
    frmMain& w = *main.w;
    ManagerPage* page = nullptr;

    Meeting() {
        if (!main.start())
            qFatal("start-up failed");
        page = w.pageManager;
    }

    void addTournament(int id, int rounds, int cars, int minutes) {
        QVERIFY(fx.sql({QString("INSERT INTO tblTournament (TournamentID, Name, RegTime, "
                                "QualNumOfRounds, QualNumOfCarsInHeat, QualRaceTime) VALUES "
                                "(%1, 'Cup %1', '2024-05-01 10:00:00', %2, %3, %4);")
                            .arg(id)
                            .arg(rounds)
                            .arg(cars)
                            .arg(minutes)}));
    }

    // Registers n new drivers for a tournament and returns their keys in frequency
    // order. The keys, the registrations and the frequencies each run in another
    // order, so only the frequency can explain a line-up.
    QList<int> addParticipants(int tournament, int n, const QString& prefix = "D") {
        QStringList sql;
        for (int i = 0; i < n; ++i)
            sql << QString("INSERT INTO tblDriver (Lastname, Firstname, Frequency) "
                           "VALUES ('%1%2', 'F%2', %3);")
                       .arg(prefix)
                       .arg(i + 1)
                       .arg(40.0 - 0.5 * i);
        [&] { QVERIFY(fx.sql(sql)); }();
        const QStringList ids = fx.column(
            QString("SELECT DriverID FROM tblDriver WHERE Lastname LIKE '%1%' ORDER BY DriverID;")
                .arg(prefix));
        QStringList registrations;
        for (int i = 0; i < n; i += 2)
            registrations << ids.at(i);
        for (int i = 1; i < n; i += 2)
            registrations << ids.at(i);
        sql.clear();
        for (const QString& id : registrations)
            sql << QString("INSERT INTO tblDriverInTournament VALUES (%1, %2, 0);")
                       .arg(id)
                       .arg(tournament);
        [&] { QVERIFY(fx.sql(sql)); }();
        QList<int> byFrequency;
        for (auto it = ids.crbegin(); it != ids.crend(); ++it)
            byFrequency << it->toInt();
        return byFrequency;
    }

    void showManager(int tournament) {
        w.state().CurrentTournamentID = tournament;
        w.cmdToolbarMain_Click(1);
    }

    int count(const QString& sql) const { return fx.column(sql).value(0).toInt(); }

    // The heats of one round of a tournament as "1,4,7|2,5|3,6": drivers counted
    // from 1 in the given order, each heat in start position order. Start
    // positions that do not run 1, 2, 3 ... show as "?".
    QString lineUp(int tournament, int round, const QList<int>& order) const {
        QStringList heats;
        for (const QString& race :
             fx.column(QString("SELECT RaceID FROM tblRace WHERE TournamentID=%1 AND RaceCode=1 "
                               "AND QualRound=%2 ORDER BY QualHeat;")
                           .arg(tournament)
                           .arg(round))) {
            QStringList drivers;
            int position = 0;
            for (const QString& entry :
                 fx.column("SELECT StartPosition || ':' || DriverID FROM tblDriverInRace WHERE "
                           "RaceID=" +
                           race + " ORDER BY StartPosition;")) {
                const QStringList parts = entry.split(':');
                drivers << (parts[0].toInt() == ++position
                                ? QString::number(order.indexOf(parts[1].toInt()) + 1)
                                : QString("?"));
            }
            heats << drivers.join(',');
        }
        return heats.join('|');
    }

    void checkGenerated(bool generated) {
        for (QComboBox* combo : {page->cbManagerNumOfCarsInQualHeat, page->cbManagerNumOfQualRounds,
                                 page->cbManagerQualRaceTime})
            QCOMPARE(combo->isEnabled(), !generated);
        QCOMPARE(page->cmdManagerGenerateQualHeats->text(),
                 generated ? QString("Reset qualification") : QString("Generate qual.heats"));
    }
};

class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

class TestManagerPage : public QObject {
    Q_OBJECT
private slots:
    void startUpFillsTheSettingsLists() {
        Meeting m;
        const struct {
            QComboBox* combo;
            QStringList items;
        } lists[] = {
            {m.page->cbManagerNumOfCarsInQualHeat, {"4", "5", "6", "7", "8"}},
            {m.page->cbManagerNumOfQualRounds, {"2", "3", "4", "5", "6"}},
            {m.page->cbManagerQualRaceTime, {"1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        };
        for (const auto& list : lists) {
            QCOMPARE(itemTexts(list.combo), list.items);
            QCOMPARE(list.combo->currentIndex(), -1);
            QVERIFY(list.combo->currentText().isEmpty());
        }
        auto* columns =
            dynamic_cast<TabStopDelegate*>(m.page->lbManagerQualHeatParticipants->itemDelegate());
        QVERIFY(columns);
        QCOMPARE(columns->stops(), (std::vector<int>{20, 90}));
        QCOMPARE(m.page->cmdManagerEditQualHeats->text(), QString("Edit heats"));
        m.checkGenerated(false);
    }

    void refreshShowsTheStoredSettings() {
        Meeting m;
        m.addTournament(1, 4, 7, 2);
        m.addTournament(2, 0, 9, 10); // nothing of it is offered
        m.showManager(1);
        const auto texts = [&m] {
            return QStringList{m.page->cbManagerNumOfCarsInQualHeat->currentText(),
                               m.page->cbManagerNumOfQualRounds->currentText(),
                               m.page->cbManagerQualRaceTime->currentText()};
        };
        QCOMPARE(texts(), (QStringList{"7", "4", "2"}));
        // Settings outside the lists leave the combos as they were, and write nothing.
        m.showManager(2);
        QCOMPARE(texts(), (QStringList{"7", "4", "2"}));
        QCOMPARE(m.fx.column("SELECT QualNumOfRounds || '/' || QualNumOfCarsInHeat || '/' || "
                             "QualRaceTime FROM tblTournament ORDER BY TournamentID;"),
                 (QStringList{"4/7/2", "0/9/10"}));
        QVERIFY(m.platform.boxes->messages.isEmpty());
    }

    void choosingASettingStoresIt_data() {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("stored");
        QTest::newRow("cars") << "cbManagerNumOfCarsInQualHeat" << 4 << "3/8/5";
        QTest::newRow("rounds") << "cbManagerNumOfQualRounds" << 0 << "2/6/5";
        QTest::newRow("race time") << "cbManagerQualRaceTime" << 8 << "3/6/9";
    }
    void choosingASettingStoresIt() {
        QFETCH(QString, combo);
        QFETCH(int, row);
        QFETCH(QString, stored);
        Meeting m;
        m.addTournament(1, 3, 6, 5);
        m.addTournament(2, 3, 6, 5);
        m.showManager(1);
        const QString settings = "SELECT QualNumOfRounds || '/' || QualNumOfCarsInHeat || '/' || "
                                 "QualRaceTime FROM tblTournament ORDER BY TournamentID;";
        auto* box = m.page->findChild<QComboBox*>(combo);
        QVERIFY(box);
        // Typed text is no choice, also when Enter is pressed or the box is left.
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), box->itemText(row));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        box->lineEdit()->clearFocus();
        Q_EMIT box->lineEdit()->editingFinished();
        QCOMPARE(m.fx.column(settings), (QStringList{"3/6/5", "3/6/5"}));
        box->setCurrentIndex(row);
        QCOMPARE(m.fx.column(settings), (QStringList{stored, "3/6/5"}));
    }

    // A row whose text is no plain whole number (written in another script, or
    // more than a number) stores nothing rather than reaching the statement.
    void onlyAWholeNumberIsStored_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("digit") << "7"
                               << "3/7/5";
        QTest::newRow("Arabic-Indic digit") << QString(QChar(0x0667)) << "3/6/5";
        QTest::newRow("an expression") << "4 OR 1=1"
                                       << "3/6/5";
    }
    void onlyAWholeNumberIsStored() {
        QFETCH(QString, text);
        Meeting m;
        m.addTournament(1, 3, 6, 5);
        m.showManager(1);
        QComboBox* box = m.page->cbManagerNumOfCarsInQualHeat;
        box->setItemText(4, text);
        box->setCurrentIndex(4);
        QTEST(m.fx.column("SELECT QualNumOfRounds || '/' || QualNumOfCarsInHeat || '/' || "
                          "QualRaceTime FROM tblTournament;")
                  .value(0),
              "stored");
        QVERIFY2(m.platform.boxes->messages.isEmpty(), qPrintable(m.platform.boxes->lastText()));
    }

    void generateDealsByFrequency_data() {
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("cars");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<QString>("lineUp");
        QTest::newRow("10 participants, 4 cars") << 10 << 4 << 2 << "1,4,7,10|2,5,8|3,6,9";
        QTest::newRow("8 participants, 4 cars, 3 rounds") << 8 << 4 << 3 << "1,3,5,7|2,4,6,8";
        QTest::newRow("5 participants, 8 cars") << 5 << 8 << 2 << "1,2,3,4,5";
    }
    void generateDealsByFrequency() {
        QFETCH(int, participants);
        QFETCH(int, cars);
        QFETCH(int, rounds);
        QFETCH(QString, lineUp);
        Meeting m;
        m.addTournament(1, rounds, cars, 7);
        m.addTournament(2, 3, 6, 5);
        const QList<int> order = m.addParticipants(1, participants);
        m.addParticipants(2, 3, "Other"); // someone else's participants
        // A participant deleted from the register still drives.
        QVERIFY(m.fx.sql(
            {QString("UPDATE tblDriver SET Deleted=1 WHERE DriverID=%1;").arg(order.last())}));
        m.showManager(1);
        m.page->cmdManagerGenerateQualHeats->click();
        QVERIFY(m.platform.boxes->messages.isEmpty());

        const int heats = lineUp.count('|') + 1;
        QStringList expectedRaces;
        for (int r = 1; r <= rounds; ++r)
            for (int h = 1; h <= heats; ++h)
                expectedRaces << QString("1/1/1/%1/%2/7/0/Round %1 - Heat %2").arg(r).arg(h);
        QCOMPARE(m.fx.column("SELECT TournamentID || '/' || RaceCategoryID || '/' || RaceCode || "
                             "'/' || QualRound || '/' || QualHeat || '/' || Length || '/' || "
                             "Status || '/' || Description FROM tblRace ORDER BY RaceID;"),
                 expectedRaces);
        for (int r = 1; r <= rounds; ++r)
            QCOMPARE(m.lineUp(1, r, order), lineUp);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblDriverInRace;"), participants * rounds);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblDriverInRace WHERE TimeToFinish=100000000 AND "
                         "TimeToFinishString='...';"),
                 participants * rounds);

        // The page now shows the heats, the first one chosen with its drivers.
        QStringList rows;
        for (const QString& race : expectedRaces)
            rows << race.section('/', 7) + " (New)";
        QCOMPARE(itemTexts(m.page->lbManagerGeneratedQualHeats), rows);
        QCOMPARE(m.page->lbManagerGeneratedQualHeats->currentRow(), 0);
        QCOMPARE(m.page->lbManagerQualHeatParticipants->count(),
                 lineUp.section('|', 0, 0).count(',') + 1);
        QCOMPARE(m.page->lbManagerQualHeatParticipants->currentRow(), 0);
        QCOMPARE(m.page->lbManagerQualHeatParticipants->item(0)->data(Qt::UserRole).toInt(),
                 order.first());
        m.checkGenerated(true);
    }

    // Start-up selects the current tournament twice (filling the tournament list,
    // then showing the first page): its heat list is built once. A later refresh
    // builds it again only when a heat's row changed, and every refresh chooses
    // the first heat with its drivers.
    void heatListIsBuiltOnlyWhenItChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("heats");
        QTest::addColumn<int>("rowsBuilt");
        const QStringList four{"Round 1 - Heat 1 (New)", "Round 1 - Heat 2 (New)",
                               "Round 2 - Heat 1 (New)", "Round 2 - Heat 2 (New)"};
        QTest::newRow("nothing") << "" << four << 0;
        QTest::newRow("status") << "UPDATE tblRace SET Status=2 WHERE RaceID=3;"
                                << QStringList{four[0], four[1], "Round 2 - Heat 1 (Finished)",
                                               four[3]}
                                << 4;
        QTest::newRow("description") << "UPDATE tblRace SET Description='Heat A' WHERE RaceID=1;"
                                     << QStringList{"Heat A (New)", four[1], four[2], four[3]} << 4;
        QTest::newRow("heat gone")
            << "DELETE FROM tblRace WHERE RaceID=4;" << QStringList{four[0], four[1], four[2]} << 3;
        QTest::newRow("all gone") << "DELETE FROM tblRace;" << QStringList{} << 0;
    }
    void heatListIsBuiltOnlyWhenItChanges() {
        QFETCH(QString, change);
        QFETCH(QStringList, heats);
        QFETCH(int, rowsBuilt);
        test::MainFixture main;
        main.fx.setSetting("LastTournamentID", "1");
        QStringList sql{"INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES (1, "
                        "'Cup', '2024-05-01 10:00:00');"};
        for (int race = 1; race <= 4; ++race) {
            sql << QString("INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, "
                           "QualRound, QualHeat, Length, Status, Description) VALUES (%1, 1, 1, "
                           "1, %2, %3, 5, 0, 'Round %2 - Heat %3');")
                       .arg(race)
                       .arg((race + 1) / 2)
                       .arg(2 - race % 2)
                << QString("INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency) "
                           "VALUES (%1, 'D%1', 'F%1', 27.%1);")
                       .arg(race)
                << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                           "(%1, %1, 1);")
                       .arg(race);
        }
        QVERIFY(main.fx.sql(sql));
        QListWidget* list = main.w->pageManager->lbManagerGeneratedQualHeats;
        int built = 0;
        connect(list->model(), &QAbstractItemModel::rowsInserted, this,
                [&built](const QModelIndex&, int first, int last) { built += last - first + 1; });
        QVERIFY(main.start());
        QCOMPARE(built, 4);
        QCOMPARE(list->currentRow(), 0);
        const QStringList firstHeatDrivers =
            itemTexts(main.w->pageManager->lbManagerQualHeatParticipants);
        QCOMPARE(firstHeatDrivers.size(), 1);
        QVERIFY(firstHeatDrivers[0].startsWith("1\tD1, F1\t"));

        // Another heat chosen, then something (or nothing) changed on the database.
        list->setCurrentRow(1);
        QVERIFY(change.isEmpty() || main.fx.sql({change}));
        built = 0;
        main.w->cmdToolbarMain_Click(1);
        QCOMPARE(itemTexts(list), heats);
        QCOMPARE(built, rowsBuilt);
        QCOMPARE(list->currentRow(), heats.isEmpty() ? -1 : 0);
        QCOMPARE(itemTexts(main.w->pageManager->lbManagerQualHeatParticipants),
                 heats.isEmpty() ? QStringList{} : firstHeatDrivers);
    }

    void heatListShowsStatusAndDrivers() {
        DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        Meeting m;
        m.addTournament(1, 2, 4, 5);
        const QList<int> order = m.addParticipants(1, 8);
        m.showManager(1);
        m.page->cmdManagerGenerateQualHeats->click();
        QVERIFY(m.fx.sql(
            {"UPDATE tblRace SET Status=1 WHERE QualRound=1 AND QualHeat=2;",
             "UPDATE tblRace SET Status=2 WHERE QualRound=2 AND QualHeat=1;",
             "UPDATE tblRace SET Status=7 WHERE QualRound=2 AND QualHeat=2;",
             QString("UPDATE tblDriver SET Firstname=NULL WHERE DriverID=%1;").arg(order.at(3))}));
        m.showManager(1);
        QCOMPARE(itemTexts(m.page->lbManagerGeneratedQualHeats),
                 (QStringList{"Round 1 - Heat 1 (New)", "Round 1 - Heat 2 (Running)",
                              "Round 2 - Heat 1 (Finished)", "Round 2 - Heat 2"}));
        QCOMPARE(
            m.page->lbManagerGeneratedQualHeats->item(1)->data(Qt::UserRole).toString(),
            m.fx.column("SELECT RaceID FROM tblRace WHERE QualRound=1 AND QualHeat=2;").value(0));

        // Choosing heat 2 lists the even drivers in frequency order.
        m.page->lbManagerGeneratedQualHeats->setCurrentRow(1);
        const auto row = [&order](int rank, const QString& firstname, const QString& frequency) {
            const int id = order.at(rank - 1);
            const int number = int(order.size()) - rank + 1; // D1 has the highest frequency
            return QString("%1\tD%2, %3\t%4").arg(id).arg(number).arg(firstname, frequency);
        };
        QCOMPARE(itemTexts(m.page->lbManagerQualHeatParticipants),
                 (QStringList{row(2, "F7", "37"), row(4, "", "38"), row(6, "F3", "39"),
                              row(8, "F1", "40")}));
        QCOMPARE(m.page->lbManagerQualHeatParticipants->currentRow(), 0);
        m.page->lbManagerGeneratedQualHeats->setCurrentRow(0);
        QCOMPARE(m.page->lbManagerQualHeatParticipants->item(0)->text(), row(1, "F8", "36,5"));
    }

    void typedSettingsGenerateButAreNotStored() {
        Meeting m;
        m.addTournament(1, 3, 6, 5);
        m.addParticipants(1, 9);
        m.showManager(1);
        m.page->cbManagerNumOfCarsInQualHeat->setEditText("10");
        m.page->cbManagerNumOfQualRounds->setEditText("1.5"); // halves to even: 2
        m.page->cbManagerQualRaceTime->setEditText("12 min");
        m.page->cmdManagerGenerateQualHeats->click();
        QVERIFY(m.platform.boxes->messages.isEmpty());
        QCOMPARE(m.fx.column("SELECT QualRound || '/' || QualHeat || '/' || Length FROM tblRace "
                             "ORDER BY RaceID;"),
                 (QStringList{"1/1/12", "2/1/12"}));
        QCOMPARE(m.count("SELECT MAX(StartPosition) FROM tblDriverInRace;"), 9);
        QCOMPARE(m.fx.column("SELECT QualNumOfRounds || '/' || QualNumOfCarsInHeat || '/' || "
                             "QualRaceTime FROM tblTournament;"),
                 QStringList{"3/6/5"});
    }

    void generateRefusesUnusableSettings_data() {
        QTest::addColumn<QString>("cars");
        QTest::addColumn<QString>("rounds");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("message");
        const QString cars = "The number of cars in a heat must be from 1 to 10. No qualification "
                             "heats were generated.";
        const QString rounds = "The number of qualification rounds must be from 1 to 32767. No "
                               "qualification heats were generated.";
        const QString minutes = "The race time must be from 1 to 32767 minutes. No qualification "
                                "heats were generated.";
        QTest::newRow("no cars") << "0"
                                 << "3"
                                 << "5" << cars;
        QTest::newRow("empty cars") << ""
                                    << "3"
                                    << "5" << cars;
        QTest::newRow("letters for cars") << "abc"
                                          << "3"
                                          << "5" << cars;
        QTest::newRow("half a car") << "0.5"
                                    << "3"
                                    << "5" << cars;
        QTest::newRow("eleven cars") << "11"
                                     << "3"
                                     << "5" << cars;
        QTest::newRow("no rounds") << "6"
                                   << "0"
                                   << "5" << rounds;
        QTest::newRow("negative rounds") << "6"
                                         << "-2"
                                         << "5" << rounds;
        QTest::newRow("rounds beyond 16 bits") << "6"
                                               << "40000"
                                               << "5" << rounds;
        QTest::newRow("no minutes") << "6"
                                    << "3"
                                    << "" << minutes;
    }
    void generateRefusesUnusableSettings() {
        QFETCH(QString, cars);
        QFETCH(QString, rounds);
        QFETCH(QString, minutes);
        QFETCH(QString, message);
        Meeting m;
        m.addTournament(1, 3, 6, 5);
        m.addParticipants(1, 6);
        m.showManager(1);
        m.page->cbManagerNumOfCarsInQualHeat->setEditText(cars);
        m.page->cbManagerNumOfQualRounds->setEditText(rounds);
        m.page->cbManagerQualRaceTime->setEditText(minutes);
        m.page->cmdManagerGenerateQualHeats->click();
        QCOMPARE(m.platform.boxes->messages.size(), 1);
        const RecordedMessage& box = m.platform.boxes->messages.first();
        QCOMPARE(box.text, message);
        QCOMPARE(box.title, kGenerateTitle);
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblRace;"), 0);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblDriverInRace;"), 0);
        m.checkGenerated(false);
    }

    void generateWithoutParticipantsSaysSo() {
        Meeting m;
        m.addTournament(1, 3, 6, 5);
        m.addTournament(2, 3, 6, 5);
        m.addParticipants(2, 4);
        m.showManager(1);
        m.page->cmdManagerGenerateQualHeats->click();
        QCOMPARE(m.platform.boxes->messages.size(), 1);
        const RecordedMessage& box = m.platform.boxes->messages.first();
        QCOMPARE(box.text, kNoParticipants);
        QCOMPARE(box.title, kGenerateTitle);
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblRace;"), 0);
        m.checkGenerated(false);
    }

    void resetDeletesTheQualification_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("all new") << 0 << false << MsgResult::Cancel << true;
        QTest::newRow("one running, OK") << 1 << true << MsgResult::OK << true;
        QTest::newRow("one finished, OK") << 2 << true << MsgResult::OK << true;
        QTest::newRow("one finished, Cancel") << 2 << true << MsgResult::Cancel << false;
    }
    void resetDeletesTheQualification() {
        QFETCH(int, status);
        QFETCH(bool, asked);
        QFETCH(MsgResult, answer);
        QFETCH(bool, deleted);
        Meeting m;
        m.addTournament(1, 3, 4, 5);
        m.addTournament(2, 3, 4, 5);
        m.addParticipants(1, 8);
        m.showManager(1);
        m.page->cmdManagerGenerateQualHeats->click();
        // A lap in a heat; a final of the same tournament and a heat of another
        // tournament, each with an entry and a lap, that the reset leaves alone.
        QVERIFY(m.fx.sql(
            {QString("UPDATE tblRace SET Status=%1 WHERE QualRound=2 AND QualHeat=2;").arg(status),
             "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime) SELECT "
             "DriverInRaceID, RaceID, 20000, 20000 FROM tblDriverInRace WHERE RaceID=(SELECT "
             "RaceID FROM tblRace WHERE QualRound=2 AND QualHeat=2) LIMIT 1;",
             "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, "
             "Description) VALUES (100, 1, 1, 10, 5, 'Final');",
             "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, QualRound, "
             "QualHeat, Length, Description) VALUES (101, 2, 1, 1, 1, 1, 5, 'Round 1 - Heat 1');",
             "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) "
             "VALUES (500, 1, 100, 1), (501, 2, 101, 1);",
             "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime) VALUES "
             "(500, 100, 20000, 20000), (501, 101, 20000, 20000);"}));
        m.platform.boxes->answers = {answer};
        m.page->cmdManagerGenerateQualHeats->click();

        if (asked) {
            QCOMPARE(m.platform.boxes->messages.size(), 1);
            const RecordedMessage& box = m.platform.boxes->messages.first();
            QCOMPARE(box.text, kStartedQuestion);
            QCOMPARE(box.title, QString("Delete races?"));
            QCOMPARE(box.buttons, MsgButtons::OKCancel);
            QCOMPARE(box.icon, MsgIcon::None);
        } else {
            QVERIFY(m.platform.boxes->messages.isEmpty());
        }
        const QStringList counts{QString::number(m.count("SELECT COUNT(*) FROM tblRace;")),
                                 QString::number(m.count("SELECT COUNT(*) FROM tblDriverInRace;")),
                                 QString::number(m.count("SELECT COUNT(*) FROM tblLapInRace;"))};
        if (deleted) {
            QCOMPARE(counts, (QStringList{"2", "2", "2"}));
            QCOMPARE(m.fx.column("SELECT RaceID FROM tblRace ORDER BY RaceID;"),
                     (QStringList{"100", "101"}));
            QCOMPARE(m.page->lbManagerGeneratedQualHeats->count(), 0);
            QCOMPARE(m.page->lbManagerQualHeatParticipants->count(), 0);
        } else {
            QCOMPARE(counts, (QStringList{"8", "26", "3"}));
            QCOMPARE(m.page->lbManagerGeneratedQualHeats->count(), 6);
        }
        m.checkGenerated(!deleted);
    }

    void resetHappensWholeOrNotAtAll() {
        Meeting m;
        m.addTournament(1, 3, 4, 5);
        m.addParticipants(1, 8);
        m.showManager(1);
        m.page->cmdManagerGenerateQualHeats->click();
        QVERIFY(m.fx.sql({"INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime) "
                          "SELECT DriverInRaceID, RaceID, 20000, 20000 FROM tblDriverInRace;",
                          // The last statement of the cascade fails.
                          "CREATE TRIGGER refuse BEFORE DELETE ON tblRace BEGIN SELECT "
                          "RAISE(ABORT, 'refused by the test'); END;"}));
        m.page->cmdManagerGenerateQualHeats->click();
        QCOMPARE(m.platform.boxes->messages.size(), 1);
        QVERIFY(m.platform.boxes->lastText().contains("refused by the test"));
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblRace;"), 6);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblDriverInRace;"), 24);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblLapInRace;"), 24);
        QCOMPARE(m.page->lbManagerGeneratedQualHeats->count(), 6);
        m.checkGenerated(true);
    }

    void generateHappensWholeOrNotAtAll() {
        Meeting m;
        m.addTournament(1, 3, 4, 5);
        m.addParticipants(1, 8);
        m.showManager(1);
        QVERIFY(m.fx.sql({"CREATE TRIGGER refuse BEFORE INSERT ON tblDriverInRace WHEN "
                          "NEW.StartPosition=3 BEGIN SELECT RAISE(ABORT, 'refused by the test'); "
                          "END;"}));
        m.page->cmdManagerGenerateQualHeats->click();
        QCOMPARE(m.platform.boxes->messages.size(), 1);
        QVERIFY(m.platform.boxes->lastText().contains("refused by the test"));
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblRace;"), 0);
        QCOMPARE(m.count("SELECT COUNT(*) FROM tblDriverInRace;"), 0);
        QCOMPARE(m.page->lbManagerGeneratedQualHeats->count(), 0);
        m.checkGenerated(false);
    }
};

QTEST_MAIN(TestManagerPage)
#include "tst_managerpage.moc"
