// The single race registration dialog on a real database, and its opening from
// the race page.
#include "ItemTexts.h"
#include "MainFixture.h"
#include "RacePage.h"
#include "frmAddRace.h"
#include "frmSingleRaceRegistration.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

// Four drivers (one deleted from the register) and, unless told otherwise,
// two single races: "Single B" new, "Single A" finished with a lap.
class Register {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    QList<RecordedMessage>& messages = main.platform.boxes->messages;
    frmSingleRaceRegistration dialog;

    explicit Register(bool withRaces = true) {
        QStringList sql = {
            "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES (1, 'Ash', 'Al', "
            "'Buggy');",
            "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES (2, 'Birch', 'Bo', "
            "NULL);",
            "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Deleted) VALUES (3, "
            "'Cedar', 'Cy', 'Truck', 1);",
            "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES (4, 'Dogwood', "
            "'Di', 'Van');"};
        if (withRaces)
            sql << "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) "
                   "VALUES (50, 0, 3, 0, 'Single B');"
                << "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) "
                   "VALUES (51, 0, 3, 2, 'Single A');"
                << "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) "
                   "VALUES (510, 2, 51, 1);"
                << "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime) VALUES (510, 51, "
                   "9000);";
        if (!main.start() || !fx.sql(sql))
            qFatal("set-up failed");
        dialog.m_dbConnection = &main.w->state().DbConnection;
    }
    void chooseSource(int driver) {
        for (int i = 0; i < dialog.lbHeatSource->count(); ++i)
            if (dialog.lbHeatSource->item(i)->data(Qt::UserRole).toInt() == driver)
                return dialog.lbHeatSource->setCurrentRow(i);
        QFAIL("driver not offered");
    }
    void chooseEntry(int driver) {
        for (int i = 0; i < dialog.lbHeatDestination->count(); ++i)
            if (dialog.lbHeatDestination->item(i)->data(Qt::UserRole).toInt() == driver)
                return dialog.lbHeatDestination->setCurrentRow(i);
        QFAIL("driver not in the race");
    }
    QString startList(int race) const {
        return fx
            .column(QString("SELECT DriverID || '@' || StartPosition FROM tblDriverInRace WHERE "
                            "RaceID=%1 ORDER BY StartPosition;")
                        .arg(race))
            .join(' ');
    }
};

} // namespace

class TestSingleRace : public QObject {
    Q_OBJECT
private slots:
    void withoutSingleRaces() {
        Register r(false);
        r.dialog.Form_Load();
        QCOMPARE(itemTexts(r.dialog.cbHeatDestination), QStringList{"<Add new single race>"});
        QCOMPARE(r.dialog.cbHeatDestination->currentIndex(), -1);
        QCOMPARE(r.dialog.lbHeatSource->count(), 0);
    }

    void opensOnTheFirstRace() {
        Register r;
        r.dialog.Form_Load();
        QCOMPARE(itemTexts(r.dialog.cbHeatDestination),
                 (QStringList{"<Add new single race>", "Single A (Finished)", "Single B (New)"}));
        QCOMPARE(r.dialog.cbHeatDestination->currentIndex(), 1);
        QCOMPARE(itemTexts(r.dialog.lbHeatDestination), QStringList{"2 Birch, Bo []"});
        // The whole register, deleted drivers too.
        QCOMPARE(itemTexts(r.dialog.lbHeatSource),
                 (QStringList{"1 Ash, Al [Buggy]", "3 Cedar, Cy [Truck]", "4 Dogwood, Di [Van]"}));
    }

    void newRace_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("OK") << true << "Single C (New)";
        QTest::newRow("Cancel") << false << "Single A (Finished)";
    }
    void newRace() {
        QFETCH(bool, confirm);
        Register r;
        r.dialog.Form_Load();
        r.dialog.showAddRace = [&](frmAddRace& d) {
            d.Form_Load();
            QCOMPARE(d.m_intTournamentID, 0);
            QCOMPARE(d.m_intRaceCode, qint16(0));
            QCOMPARE(d.m_dbConnection, r.dialog.m_dbConnection);
            if (!confirm)
                return d.cmdCancel_Click();
            d.txtDescription->setText("Single C");
            d.cmdOK_Click();
        };
        r.dialog.cbHeatDestination->setCurrentIndex(0);
        QTEST(r.dialog.cbHeatDestination->currentText(), "chosen");
        if (confirm) {
            QCOMPARE(r.dialog.lbHeatDestination->count(), 0);
            QCOMPARE(r.dialog.lbHeatSource->count(), 4);
        }
    }

    void startPositionsFollowAddAndRemove() {
        Register r;
        r.dialog.Form_Load();
        r.dialog.cbHeatDestination->setCurrentIndex(2); // Single B, new
        for (int driver : {4, 1, 3}) {
            r.chooseSource(driver);
            r.dialog.cmdHeatAddParticipant_Click();
        }
        QCOMPARE(r.startList(50), QString("4@1 1@2 3@3"));
        r.chooseEntry(1);
        r.dialog.cmdHeatRemoveParticipant_Click();
        QCOMPARE(r.startList(50), QString("4@1 3@3"));
        r.chooseSource(2);
        r.dialog.cmdHeatAddParticipant_Click();
        QCOMPARE(r.startList(50), QString("4@1 3@2 2@3"));
        QCOMPARE(itemTexts(r.dialog.lbHeatSource), QStringList{"1 Ash, Al [Buggy]"});
    }

    void finishedRaceKeepsItsStartList() {
        Register r;
        r.dialog.Form_Load(); // Single A, finished
        r.chooseSource(1);
        r.dialog.cmdHeatAddParticipant_Click();
        r.chooseEntry(2);
        r.dialog.cmdHeatRemoveParticipant_Click();
        QCOMPARE(r.startList(51), QString("2@1"));
        QVERIFY(r.messages.isEmpty());
    }

    void noEleventhCar() {
        Register r;
        QStringList sql;
        for (int i = 1; i <= 10; ++i)
            sql << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                           "(%1, 50, %2);")
                       .arg(100 + i)
                       .arg(i);
        QVERIFY(r.fx.sql(sql));
        r.dialog.Form_Load();
        r.dialog.cbHeatDestination->setCurrentIndex(2);
        r.chooseSource(1);
        r.dialog.cmdHeatAddParticipant_Click();
        QCOMPARE(r.messages.size(), 1);
        QVERIFY(r.messages.first().text.contains("at most 10 cars"));
        QCOMPARE(r.fx.column("SELECT COUNT(*) FROM tblDriverInRace WHERE RaceID=50;"),
                 QStringList{"10"});
    }

    void deleteRace_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("races");
        QTest::addColumn<int>("laps");
        QTest::newRow("yes") << int(MsgResult::Yes)
                             << QStringList{"<Add new single race>", "Single B (New)"} << 0;
        QTest::newRow("no") << int(MsgResult::No)
                            << QStringList{"<Add new single race>", "Single A (Finished)",
                                           "Single B (New)"}
                            << 1;
    }
    void deleteRace() {
        QFETCH(int, answer);
        QFETCH(int, laps);
        Register r;
        r.dialog.Form_Load(); // Single A, finished, with a lap
        r.main.platform.boxes->answers = {MsgResult(answer)};
        r.dialog.cmdHeatDelete_Click();
        QCOMPARE(r.messages.first().text, QString("Are you sure you want to delete this race?"));
        QTEST(itemTexts(r.dialog.cbHeatDestination), "races");
        QCOMPARE(r.dialog.cbHeatDestination->currentIndex(), 1);
        QCOMPARE(r.fx.column("SELECT COUNT(*) FROM tblLapInRace;"),
                 QStringList{QString::number(laps)});
        QCOMPARE(r.fx.column("SELECT COUNT(*) FROM tblDriverInRace WHERE RaceID=51;"),
                 QStringList{QString::number(laps)});
    }

    // The race page's registration row opens the dialog on the main connection
    // and lists the races it added.
    void openedFromTheRacePage() {
        Register r;
        frmMain& w = *r.main.w;
        int shown = 0;
        w.showSingleRaceRegistration = [&](frmSingleRaceRegistration& d) {
            ++shown;
            QCOMPARE(d.m_dbConnection, &w.state().DbConnection);
            d.Form_Load();
            d.showAddRace = [](frmAddRace& add) {
                add.Form_Load();
                add.txtDescription->setText("Single 0");
                add.cmdOK_Click();
            };
            d.cbHeatDestination->setCurrentIndex(0);
        };
        w.cmdToolbarMain_Click(2);
        w.pageRace->cbRaceShowRaceCategory->setCurrentIndex(3);
        w.pageRace->cbRaceHeats->setCurrentIndex(0);
        QCOMPARE(shown, 1);
        QVERIFY(itemTexts(w.pageRace->cbRaceHeats).contains("Single 0 (New)"));
    }
};

QTEST_MAIN(TestSingleRace)
#include "tst_singlerace.moc"
