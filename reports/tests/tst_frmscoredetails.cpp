// The details window on a real database: loading, refreshing by button and
// timer, the refresh period box and the smallest size.
#include "Database.h"
#include "FakePlatform.h"
#include "ItemTexts.h"
#include "ReportStatements.h"
#include "ReportsMeeting.h"
#include "ReportsTestDb.h"
#include "ScoreDetailsData.h"
#include "Ui.h"
#include "frmScoreDetails.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

class TestFrmScoreDetails : public QObject {
    Q_OBJECT
    test::InstallFixture fx;
    std::unique_ptr<Database> db;

    std::unique_ptr<frmScoreDetails> open(qint32 race) {
        auto w = std::make_unique<frmScoreDetails>();
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->m_intRaceID = race;
        w->m_dbConnection = db.get();
        w->Form_Load();
        return w;
    }

private slots:
    void initTestCase() {
        QVERIFY(fx.sql(test::kReportsMeeting));
        db = test::openDatabase(fx);
    }
    void cleanupTestCase() { db.reset(); }

    void loadShowsTheLapsAndRefreshesEvery30Seconds() {
        auto w = open(10);
        Recordset rs;
        QVERIFY(db->Select(ScoreDetailsSql(10), rs));
        QCOMPARE(itemTexts(w->lbLaps), ScoreDetailsRows(rs));
        QCOMPARE(w->lbLaps->item(0)->text().section('\t', 1, 2), "Berg, Anna\tDahl, Erik");
        QVERIFY(w->tmrAutomaticRefresh.isActive());
        QCOMPARE(w->tmrAutomaticRefresh.interval(), 30000);
        QCOMPARE(w->windowTitle(), "Details");
    }

    void timerTickReadsNewLaps() {
        auto w = open(10);
        const int rows = w->lbLaps->count();
        QVERIFY(fx.sql({"INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, "
                        "LapTimeString) VALUES (101,10,21000,70000,'21.000');",
                        "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, "
                        "LapTimeString) VALUES (101,10,21500,91500,'21.500');"}));
        w->tmrAutomaticRefresh_Timer();
        QCOMPARE(w->lbLaps->count(), rows + 1);
        QCOMPARE(w->lbLaps->item(4)->text(), "#4\t\t21.500\t\t\t\t\t\t\t\t");
        QVERIFY(fx.sql({"DELETE FROM tblLapInRace WHERE TotalTime IN (70000, 91500);"}));
    }

    void periodBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // -1: no automatic refresh
        QTest::newRow("fraction of a second") << "2.5" << 2500;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("negative") << "-30" << -1;
        QTest::newRow("not a number") << "soon" << -1;
        QTest::newRow("beyond the timer") << "99999999" << -1;
    }
    void periodBox() {
        QFETCH(QString, text);
        QFETCH(int, interval);
        auto w = open(10);
        w->txtAutomaticRefresh->setText(text);
        QCOMPARE(w->tmrAutomaticRefresh.isActive(), interval > 0);
        if (interval > 0)
            QCOMPARE(w->tmrAutomaticRefresh.interval(), interval);
        // A period typed again takes the refresh back up.
        w->txtAutomaticRefresh->setText("30");
        QVERIFY(w->tmrAutomaticRefresh.isActive());
        QCOMPARE(w->tmrAutomaticRefresh.interval(), 30000);
    }

    void windowKeepsItsSmallestSizeAndTheListFollows() {
        auto w = open(10);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->resize(tw(2000), tw(3000));
        QCOMPARE(w->size(), QSize(tw(3645), tw(5775)));
        QCOMPARE(w->lbLaps->geometry(), twRect(120, 1080, 3375, 4545));
        w->resize(tw(6000), tw(8000));
        QCOMPARE(w->lbLaps->size(), QSize(tw(6000) - tw(270), tw(8000) - tw(1230)));
    }

    void narrowListScrollsToItsWidestRow() {
        auto w = open(10);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const int widest = w->lbAddHScroll(w->lbLaps);
        QVERIFY(widest > w->lbLaps->viewport()->width());
        QVERIFY(w->lbLaps->horizontalScrollBar()->maximum() > 0);
    }

    // The lap numbers stand in the first column, before the first car's
    // right-aligned cells.
    void lapNumbersAreDrawn() {
        auto w = open(10);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QRect row = w->lbLaps->visualItemRect(w->lbLaps->item(1)); // "#1"
        const QImage image = w->lbLaps->viewport()->grab(row).toImage();
        const QColor text = w->lbLaps->palette().color(QPalette::Text);
        int inked = 0;
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qAbs(image.pixelColor(x, y).lightness() - text.lightness()) < 100)
                    ++inked;
        QVERIFY2(inked > 0, "the lap number is not drawn");
    }

    void refusedStatementKeepsTheTable() {
        FakePlatform platform;
        auto w = open(10);
        const QStringList before = itemTexts(w->lbLaps);
        Database closed(QStringLiteral("closed"));
        closed.setErrorReporter(
            [](const QString& what, const QString&, const QString&) { MsgBox(what); });
        w->m_dbConnection = &closed;
        w->cmdRefresh_Click();
        QCOMPARE(itemTexts(w->lbLaps), before);
        QCOMPARE(platform.boxes->messages.size(), 1);
    }
};

QTEST_MAIN(TestFrmScoreDetails)
#include "tst_frmscoredetails.moc"
