// The qualification heat editor on a real database: moving a driver, changing
// the number of rounds, and its opening from the Manager page.
#include "MainFixture.h"
#include "ManagerPage.h"
#include "frmEditQualHeats.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace kv;

namespace {

// Tournament 1 with n participants D1..Dn (frequency order = number order) and
// its qualification heats generated from the given settings.
class Heats {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    FakeMessageBoxes& boxes = *main.platform.boxes;
    frmEditQualHeats dialog;

    Heats(int participants, int rounds, int cars, bool generate = true) {
        if (!main.start())
            qFatal("start-up failed");
        QStringList sql = {QString("INSERT INTO tblTournament (TournamentID, Name, "
                                   "QualNumOfRounds, QualNumOfCarsInHeat, QualRaceTime) VALUES "
                                   "(1, 'Cup', %1, %2, 5);")
                               .arg(rounds)
                               .arg(cars)};
        for (int i = 1; i <= participants; ++i)
            sql << QString("INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency) "
                           "VALUES (%1, 'D%2', 'F', %3);")
                       .arg(i)
                       .arg(i, 2, 10, QChar('0'))
                       .arg(20 + i)
                << QString("INSERT INTO tblDriverInTournament VALUES (%1, 1, 0);").arg(i);
        // Driver k (from 0) drives in heat k mod H + 1 at position k div H + 1.
        const int heats = (participants + cars - 1) / cars;
        for (int r = 1; generate && r <= rounds; ++r)
            for (int k = 0; k < participants; ++k) {
                const int race = r * 100 + k % heats + 1;
                if (k < heats)
                    sql << QString("INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, "
                                   "RaceCode, QualRound, QualHeat, Length, Description) VALUES "
                                   "(%1, 1, 1, 1, %2, %3, 5, 'Round %2 - Heat %3');")
                               .arg(race)
                               .arg(r)
                               .arg(k % heats + 1);
                sql << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) "
                               "VALUES (%1, %2, %3);")
                           .arg(k + 1)
                           .arg(race)
                           .arg(k / heats + 1);
            }
        if (!fx.sql(sql))
            qFatal("set-up failed");
        dialog.m_intTournamentID = 1;
        dialog.m_dbConnection = &main.w->state().DbConnection;
        dialog.Form_Load();
    }

    // One round as "1,3,5|2,4": drivers by start position, heat by heat; a gap
    // in the positions shows as "_".
    QString round(int r) const {
        QStringList heats;
        for (const QString& race :
             fx.column(QString("SELECT RaceID FROM tblRace WHERE TournamentID=1 AND RaceCode=1 "
                               "AND QualRound=%1 ORDER BY QualHeat;")
                           .arg(r))) {
            QStringList drivers;
            int expected = 1;
            for (const QString& entry : fx.column("SELECT StartPosition || ':' || DriverID FROM "
                                                  "tblDriverInRace WHERE RaceID=" +
                                                  race + " ORDER BY StartPosition;")) {
                const int position = entry.section(':', 0, 0).toInt();
                for (; expected < position; ++expected)
                    drivers << "_";
                drivers << entry.section(':', 1);
                ++expected;
            }
            heats << drivers.join(',');
        }
        return heats.join('|');
    }
    int storedRounds() const {
        return fx.column("SELECT QualNumOfRounds FROM tblTournament;").value(0).toInt();
    }
    int roundsPresent() const {
        return fx.column("SELECT COUNT(DISTINCT QualRound) FROM tblRace WHERE RaceCode=1;")
            .value(0)
            .toInt();
    }
    void move(int driver, int heat) {
        dialog.cbDriver->setCurrentIndex(dialog.cbDriver->findData(driver));
        dialog.cbHeats->setCurrentIndex(heat - 1);
        dialog.cmdMoveDriver_Click();
    }
    void finish(int round, int heat = 0) {
        const QString which = heat ? QString(" AND QualHeat=%1").arg(heat) : QString();
        [&] {
            QVERIFY(fx.sql({QString("UPDATE tblRace SET Status=2 WHERE QualRound=%1").arg(round) +
                            which + ";"}));
        }();
    }
};

} // namespace

class TestEditQualHeats : public QObject {
    Q_OBJECT
private slots:
    void listsOnLoad() {
        Heats h(5, 2, 4);
        QCOMPARE(h.dialog.cbDriver->count(), 5);
        QCOMPARE(h.dialog.cbDriver->itemText(0), QString("D01, F"));
        QCOMPARE(h.dialog.cbHeats->count(), 2);
        QCOMPARE(h.dialog.cbHeats->itemText(1), QString("Round 1 - Heat 2"));
        QCOMPARE(h.dialog.cbHeats->currentIndex(), -1);
        h.dialog.cbHeats->setCurrentIndex(1);
        QCOMPARE(h.dialog.lbDriversInHeat->count(), 2); // drivers 2 and 4
        QCOMPARE(h.dialog.lbDriversInHeat->item(1)->text(), QString("D04, F"));
    }

    void moveDriver() {
        Heats h(8, 3, 4); // heat 1: 1,3,5,7; heat 2: 2,4,6,8
        h.finish(2);
        h.move(3, 2);
        QCOMPARE(h.round(1), QString("1,_,5,7|2,4,6,8,3"));
        QCOMPARE(h.round(2), QString("1,3,5,7|2,4,6,8"));
        QCOMPARE(h.round(3), QString("1,_,5,7|2,4,6,8,3"));
        QCOMPARE(h.dialog.lbDriversInHeat->count(), 5);
        // Moving to the heat the driver is in gives him the lowest free place:
        // his own again.
        h.move(2, 2);
        QCOMPARE(h.round(1), QString("1,_,5,7|2,4,6,8,3"));
    }

    // Moving the drivers of a heat round and round never runs the start
    // positions past the ten places of the board.
    void repeatedMovesKeepThePlaces() {
        Heats h(8, 2, 4); // heat 1: 1,3,5,7
        for (int i = 0; i < 10; ++i)
            h.move(1 + 2 * (i % 4), 1);
        QCOMPARE(h.round(1), QString("1,3,5,7|2,4,6,8"));
        QCOMPARE(h.round(2), QString("1,3,5,7|2,4,6,8"));
        QCOMPARE(h.fx.column("SELECT MAX(StartPosition) FROM tblDriverInRace;"), QStringList{"4"});
    }

    // A heat of nine with one place free takes the mover at that place.
    void moveFillsTheFreePlace_data() {
        QTest::addColumn<int>("freePlace");
        QTest::newRow("places 2..10 taken") << 1;
        QTest::newRow("a gap in the middle") << 5;
        QTest::newRow("places 1..9 taken") << 10;
    }
    void moveFillsTheFreePlace() {
        QFETCH(int, freePlace);
        Heats h(20, 2, 10); // heat 2: drivers 2, 4 ... 20 at places 1..10
        QVERIFY(h.fx.sql(
            {QString("DELETE FROM tblDriverInRace WHERE DriverID=%1;").arg(2 * freePlace)}));
        h.move(1, 2);
        QVERIFY(h.boxes.messages.isEmpty());
        QCOMPARE(h.fx.column("SELECT StartPosition FROM tblDriverInRace WHERE DriverID=1 ORDER "
                             "BY RaceID;"),
                 (QStringList{QString::number(freePlace), QString::number(freePlace)}));
    }

    void moveWithoutChoiceDoesNothing() {
        Heats h(4, 2, 4);
        const QString before = h.round(1);
        h.dialog.cbDriver->setCurrentIndex(0);
        h.dialog.cmdMoveDriver_Click();
        h.dialog.cbDriver->setCurrentIndex(-1);
        h.dialog.cbHeats->setCurrentIndex(0);
        h.dialog.cmdMoveDriver_Click();
        QCOMPARE(h.round(1), before);
    }

    void participantInNoHeatIsAdded() {
        Heats h(2, 2, 4);
        QVERIFY(h.fx.sql({"INSERT INTO tblDriver (DriverID, Lastname) VALUES (9, 'Late');",
                          "INSERT INTO tblDriverInTournament VALUES (9, 1, 0);"}));
        h.dialog.Form_Load();
        h.move(9, 1);
        QCOMPARE(h.round(1), QString("1,2,9"));
        QCOMPARE(h.round(2), QString("1,2,9"));
    }

    // Ten cars fill a heat: a move into it is refused, a move within it is not.
    void fullHeatTakesNoOneMore() {
        Heats h(20, 2, 10);
        const QString before = h.round(1);
        h.move(1, 2);
        QCOMPARE(h.boxes.messages.size(), 1);
        QCOMPARE(h.boxes.lastText(),
                 QString("A heat holds at most 10 cars. The driver was not moved."));
        QCOMPARE(h.round(1), before);
        h.move(2, 2);
        QCOMPARE(h.boxes.messages.size(), 1);
        QCOMPARE(h.round(1), before);
    }

    void answers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stored");
        QTest::newRow("3.5 reads 4") << "3.5"
                                     << "" << 4;
        QTest::newRow("2.5 reads 2") << "2.5"
                                     << "" << 2;
        QTest::newRow("7") << "7"
                           << "You can not have more than 6 rounds." << 3;
        QTest::newRow("1") << "1"
                           << "You must have at least 2 rounds." << 3;
        QTest::newRow("empty or Cancel") << ""
                                         << "You must have at least 2 rounds." << 3;
        QTest::newRow("the current number") << "3"
                                            << "" << 3;
        QTest::newRow("too large to read") << "1e400"
                                           << "You can not have more than 6 rounds." << 3;
        QTest::newRow("too small to read") << "-1e400"
                                           << "You must have at least 2 rounds." << 3;
    }
    void answers() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, stored);
        Heats h(6, 3, 4);
        h.boxes.inputAnswers = {answer};
        h.dialog.cmdChangeNumOfRounds_Click();
        QCOMPARE(h.boxes.prompts,
                 QStringList{"You currently have 3 rounds.\r\nHow many do you want?"});
        QCOMPARE(h.boxes.lastText(), message);
        QCOMPARE(h.storedRounds(), stored);
        QCOMPARE(h.roundsPresent(), stored);
    }

    void fewerRoundsWithARunHeat_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("roundsLeft");
        QTest::newRow("Cancel keeps the heats") << int(MsgResult::Cancel) << 4;
        QTest::newRow("OK deletes them") << int(MsgResult::OK) << 2;
    }
    void fewerRoundsWithARunHeat() {
        QFETCH(int, answer);
        QFETCH(int, roundsLeft);
        Heats h(6, 4, 4);
        h.finish(3, 1);
        QVERIFY(h.fx.sql({"INSERT INTO tblLapInRace (RaceID, DriverInRaceID, LapTime) SELECT "
                          "RaceID, DriverInRaceID, 9000 FROM tblDriverInRace WHERE RaceID IN "
                          "(SELECT RaceID FROM tblRace WHERE QualRound>=3);"}));
        h.boxes.inputAnswers = {"2"};
        h.boxes.answers = {MsgResult(answer)};
        h.dialog.cmdChangeNumOfRounds_Click();
        QCOMPARE(h.boxes.messages.size(), 1);
        QCOMPARE(h.boxes.messages.first().buttons, MsgButtons::OKCancel);
        QCOMPARE(h.storedRounds(), 2);
        QCOMPARE(h.roundsPresent(), roundsLeft);
        const int left = roundsLeft == 4 ? 1 : 0;
        QCOMPARE(h.fx.column("SELECT COUNT(*) > 0 FROM tblLapInRace;"),
                 QStringList{QString::number(left)});
        QCOMPARE(h.fx.column("SELECT COUNT(*) FROM tblDriverInRace WHERE RaceID NOT IN (SELECT "
                             "RaceID FROM tblRace);"),
                 QStringList{"0"});
    }

    void moreRoundsAreDealt() {
        Heats h(9, 2, 4);
        h.boxes.inputAnswers = {"4"};
        h.dialog.cmdChangeNumOfRounds_Click();
        QVERIFY(h.boxes.messages.isEmpty());
        QCOMPARE(h.storedRounds(), 4);
        QCOMPARE(h.round(3), QString("1,4,7|2,5,8|3,6,9"));
        QCOMPARE(h.round(4), QString("1,4,7|2,5,8|3,6,9"));
        QCOMPARE(
            h.fx.column("SELECT Description FROM tblRace WHERE QualRound=4 ORDER BY QualHeat;"),
            (QStringList{"Round 4 - Heat 1", "Round 4 - Heat 2", "Round 4 - Heat 3"}));
        QCOMPARE(h.fx.column("SELECT DISTINCT Length || '/' || Status FROM tblRace WHERE "
                             "QualRound>2;"),
                 QStringList{"5/0"});
    }

    void moreRoundsRefused_data() {
        QTest::addColumn<int>("cars");
        QTest::addColumn<bool>("generate");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stored");
        QTest::newRow("no heats generated")
            << 4 << false << "No qualification-rounds to copy. First generate qualification heats."
            << 3;
        QTest::newRow("no cars per heat")
            << 0 << true
            << "The number of cars in a heat must be from 1 to 10. The number of rounds was not "
               "changed."
            << 2;
        QTest::newRow("more cars than a heat holds")
            << 12 << true
            << "The number of cars in a heat must be from 1 to 10. The number of rounds was not "
               "changed."
            << 2;
    }
    void moreRoundsRefused() {
        QFETCH(int, cars);
        QFETCH(bool, generate);
        QFETCH(int, stored);
        Heats h(5, 2, 4, generate);
        QVERIFY(h.fx.sql({QString("UPDATE tblTournament SET QualNumOfCarsInHeat=%1;").arg(cars)}));
        const int heatsBefore = h.fx.column("SELECT COUNT(*) FROM tblRace;").value(0).toInt();
        h.boxes.inputAnswers = {"3"};
        h.dialog.cmdChangeNumOfRounds_Click();
        QTEST(h.boxes.lastText(), "message");
        QCOMPARE(h.storedRounds(), stored);
        QCOMPARE(h.fx.column("SELECT COUNT(*) FROM tblRace;").value(0).toInt(), heatsBefore);
    }

    void noParticipants() {
        Heats h(3, 2, 4);
        QVERIFY(h.fx.sql({"DELETE FROM tblDriverInTournament;"}));
        h.boxes.inputAnswers = {"3"};
        h.dialog.cmdChangeNumOfRounds_Click();
        QCOMPARE(h.boxes.messages.last().title, QString("Generate qualification heats."));
        QCOMPARE(h.storedRounds(), 3);
        QCOMPARE(h.roundsPresent(), 2);
    }

    // The Manager page opens the editor for its tournament and shows what it changed.
    void openedFromTheManagerPage() {
        Heats h(4, 2, 4);
        ManagerPage& page = *h.main.w->pageManager;
        h.main.w->state().CurrentTournamentID = 1;
        h.main.w->cmdToolbarMain_Click(1);
        int shown = 0;
        page.showEditQualHeats = [&](frmEditQualHeats& d) {
            ++shown;
            QCOMPARE(d.m_intTournamentID, 1);
            QCOMPARE(d.m_dbConnection, &h.main.w->state().DbConnection);
            h.boxes.inputAnswers = {"3"};
            d.cmdChangeNumOfRounds_Click();
        };
        QVERIFY(page.cmdManagerEditQualHeats->isEnabled());
        page.cmdManagerEditQualHeats->click();
        QCOMPARE(shown, 1);
        QCOMPARE(page.lbManagerGeneratedQualHeats->count(), 3);
        QCOMPARE(page.cbManagerNumOfQualRounds->currentText(), QString("3"));
    }
};

QTEST_MAIN(TestEditQualHeats)
#include "tst_editqualheats.moc"
