// The add race dialog on a real database: both modes, the level check, what
// is stored, Cancel.
#include "Database.h"
#include "FakePlatform.h"
#include "InstallFixture.h"
#include "frmAddRace.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace kv;

namespace {

class Setup {
public:
    test::InstallFixture fx;
    FakePlatform platform;
    Database db;

    Setup() {
        if (!fx.sql({"INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES (7, 'Spring "
                     "Cup', '2024-04-01 10:00:00');",
                     "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Description) VALUES "
                     "(40, 7, 1, 'Round 1 - Heat 1');"}) ||
            !db.Open("Data Source=" + fx.databaseFile() + ";"))
            qFatal("set-up failed");
    }

    void open(frmAddRace& d, qint32 tournament, qint16 code) {
        d.m_intTournamentID = tournament;
        d.m_intRaceCode = code;
        d.m_dbConnection = &db;
        d.Form_Load();
    }

    QStringList races() const {
        return fx.column("SELECT RaceID || '|' || TournamentID || '|' || RaceCategoryID || '|' || "
                         "RaceCode || '|' || Length || '|' || Status || '|' || Description || "
                         "'|' || Comment FROM tblRace WHERE RaceID<>40 ORDER BY RaceID;");
    }
};

} // namespace

class TestAddRace : public QObject {
    Q_OBJECT
private slots:
    void finalModeOpensUnassignedAndRefusesIt() {
        Setup s;
        frmAddRace d;
        s.open(d, 7, 2);
        QCOMPARE(d.lblInformation->text(),
                 QString("Add information to a new final heat in the 'Spring Cup' tournament."));
        QCOMPARE(d.txtDescription->text(), QString("Final "));
        QCOMPARE(d.cbCategory->currentText(), QString("Laps"));
        QCOMPARE(d.lblLengthStyle->text(), QString("(laps)"));
        for (const QWidget* button : {d.cmdOK, d.cmdCancel})
            QCOMPARE(button->palette().color(QPalette::Button), QColor(0xE0, 0xE0, 0xE0));
        QVERIFY(!d.cbFinalLevel->isHidden());
        QCOMPARE(d.cbFinalLevel->currentText(), QString("Unassigned"));

        d.cbCategory->setCurrentIndex(0);
        QCOMPARE(d.lblLengthStyle->text(), QString("(minutes)"));
        d.cbCategory->setCurrentIndex(1);
        QCOMPARE(d.lblLengthStyle->text(), QString("(laps)"));

        d.cmdOK_Click();
        QCOMPARE(s.platform.boxes->lastText(),
                 QString("You have to assign a final level to this race."));
        QCOMPARE(d.m_intNewRaceID, -1);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(s.races().isEmpty());
    }

    void okStoresTheRace_data() {
        QTest::addColumn<int>("tournament");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("stored"); // tournament|category|code|length|status|descr|comment
        QTest::newRow("semi-final on time") << 7 << 2 << 2 << 0 << "5"
                                            << "Final A"
                                            << ""
                                            << "7|1|11|5|0|Final A|";
        QTest::newRow("eight-final") << 7 << 2 << 4 << 1 << "20"
                                     << "Final E"
                                     << "x"
                                     << "7|2|13|20|0|Final E|x";
        QTest::newRow("single race") << 0 << 0 << -1 << 1 << "3"
                                     << "Single fun"
                                     << ""
                                     << "0|2|3|3|0|Single fun|";
        QTest::newRow("number then word") << 0 << 0 << -1 << 1 << "12 laps"
                                          << "S"
                                          << ""
                                          << "0|2|3|12|0|S|";
        QTest::newRow("half rounds to even") << 0 << 0 << -1 << 1 << "2.5"
                                             << "S"
                                             << ""
                                             << "0|2|3|2|0|S|";
        QTest::newRow("description longer than its column")
            << 0 << 0 << -1 << 1 << "4" << QString(48, 'x') + "yzTAIL"
            << ""
            << "0|2|3|4|0|" + QString(48, 'x') + "yz|";
        QTest::newRow("apostrophes") << 7 << 2 << 1 << 1 << "1"
                                     << "Bob's final"
                                     << "it's 'on'"
                                     << "7|2|10|1|0|Bob?s final|it?s ?on?";
    }
    void okStoresTheRace() {
        QFETCH(int, tournament);
        QFETCH(int, mode);
        QFETCH(int, level);
        QFETCH(int, category);
        QFETCH(QString, length);
        QFETCH(QString, description);
        QFETCH(QString, comment);
        QFETCH(QString, stored);
        Setup s;
        frmAddRace d;
        s.open(d, tournament, static_cast<qint16>(mode));
        QCOMPARE(d.cbFinalLevel->isHidden(), mode == 0);
        if (mode == 0)
            QCOMPARE(d.lblInformation->text(), QString("Add information to a new single race."));
        if (level >= 0)
            d.cbFinalLevel->setCurrentIndex(level);
        d.cbCategory->setCurrentIndex(category);
        d.txtLength->setText(length);
        d.txtDescription->setText(description);
        d.txtComment->setPlainText(comment);
        d.cmdOK_Click();

        QVERIFY(s.platform.boxes->messages.isEmpty());
        const QStringList races = s.races();
        QCOMPARE(races.size(), 1);
        QCOMPARE(races.first().section('|', 1), stored);
        QCOMPARE(d.m_intNewRaceID, races.first().section('|', 0, 0).toInt());
        QCOMPARE(d.m_intNewRaceID,
                 s.fx.column("SELECT MAX(RaceID) FROM tblRace;").value(0).toInt());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    // A length the program cannot read back, or no length at all, is refused
    // rather than stored.
    void lengthsRefused_data() {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("message");
        const QString tooLarge = "The length is too large. The race was not added.";
        const QString tooSmall = "The length must be at least 1. The race was not added.";
        QTest::newRow("40000") << "40000" << tooLarge;
        QTest::newRow("32768") << "32768" << tooLarge;
        QTest::newRow("too large to read") << "1e400" << tooLarge;
        QTest::newRow("negative") << "-5" << tooSmall;
        QTest::newRow("zero") << "0" << tooSmall;
        QTest::newRow("rounds to zero") << "0.4" << tooSmall;
        QTest::newRow("empty") << "" << tooSmall;
        QTest::newRow("letters") << "abc" << tooSmall;
        QTest::newRow("too small to read") << "-1e400" << tooSmall;
    }
    void lengthsRefused() {
        QFETCH(QString, length);
        Setup s;
        frmAddRace d;
        s.open(d, 0, 0);
        d.txtLength->setText(length);
        d.cmdOK_Click();
        QCOMPARE(s.platform.boxes->messages.size(), 1);
        QTEST(s.platform.boxes->lastText(), "message");
        QCOMPARE(d.m_intNewRaceID, -1);
        QVERIFY(s.races().isEmpty());
    }

    void cancelAddsNothing() {
        Setup s;
        frmAddRace d;
        s.open(d, 7, 2);
        d.cbFinalLevel->setCurrentIndex(1);
        d.cmdCancel_Click();
        QCOMPARE(d.m_intNewRaceID, -1);
        QVERIFY(s.races().isEmpty());
    }
};

QTEST_MAIN(TestAddRace)
#include "tst_addrace.moc"
