// The Reports page in the main window: the report list filled at start-up,
// the race selector, the reports in the page's viewer, the previews of the race
// and practice pages and the details windows they open.
#include "ItemTexts.h"
#include "MainFixture.h"
#include "PracticePage.h"
#include "RacePage.h"
#include "ReportDefinition.h"
#include "ReportsMeeting.h"
#include "ReportsPage.h"
#include "Ui.h"
#include "crvReport.h"
#include "frmPrintPreview.h"
#include "frmScoreDetails.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

// What the viewer shows: the definition and its number of records, or "none".
QString shown(const crvReport* viewer) {
    const ReportDefinition* r = viewer->ReportSource();
    return r ? r->name() + ' ' + QString::number(r->DataSource().RecordCount())
             : QStringLiteral("none");
}

void choose(QComboBox* combo, const QString& text) {
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    // As the user picks a row: the row becomes current and counts as chosen
    // even when it was current already.
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

} // namespace

class TestReportsPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void startupListsTheFourReportsWithNoneChosen() {
        test::MainFixture mf;
        QVERIFY(mf.start());
        ReportsPage* page = mf.w->pageReports;
        QCOMPARE(itemTexts(page->cbReportsMain),
                 (QStringList{"All participants", "Qualification results", "Heat results",
                              "Individual race progress"}));
        QCOMPARE(page->cbReportsMain->currentIndex(), -1);
        QVERIFY(page->frameReportsAdditionalInfo->isHidden());
        QCOMPARE(shown(page->crvReport), "none");
    }

    void choosingReportsAndRaces() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        mf.fx.setSetting("LastTournamentID", "1");
        QVERIFY(mf.start());
        ReportsPage* page = mf.w->pageReports;
        crvReport* viewer = page->crvReport;

        choose(page->cbReportsMain, "All participants");
        QCOMPARE(shown(viewer), "crdTournamentParticipants 4");
        QVERIFY(!viewer->DisplayGroupTree());
        QVERIFY(page->frameReportsAdditionalInfo->isHidden());

        // A race report first asks for the race; the viewer keeps its report.
        choose(page->cbReportsMain, "Heat results");
        QVERIFY(!page->frameReportsAdditionalInfo->isHidden());
        QCOMPARE(
            itemTexts(page->cbReportsLapProgressRace),
            (QStringList{"A-Final (01/04/2024 14:00)", "Fun race (01/05/2024 18:00)",
                         "Round 1 - Heat 1 (01/04/2024 10:00)",
                         "Round 1 - Heat 2 (01/04/2024 10:10)", "B-Final (01/04/2024 13:00)"}));
        QCOMPARE(page->cbReportsLapProgressRace->currentIndex(), -1);
        QCOMPARE(page->cbReportsLapProgressRace->placeholderText(), "<Select heat>");
        QCOMPARE(shown(viewer), "crdTournamentParticipants 4");
        choose(page->cbReportsLapProgressRace, "Round 1 - Heat 1 (01/04/2024 10:00)");
        QCOMPARE(shown(viewer), "crdHeatResults 2");
        QVERIFY(!viewer->DisplayGroupTree());
        // A single race lists its entries too.
        choose(page->cbReportsLapProgressRace, "Fun race (01/05/2024 18:00)");
        QCOMPARE(shown(viewer), "crdHeatResults 2");

        choose(page->cbReportsMain, "Individual race progress");
        QCOMPARE(page->cbReportsLapProgressRace->currentIndex(), -1);
        QCOMPARE(shown(viewer), "crdHeatResults 2");
        choose(page->cbReportsLapProgressRace, "Round 1 - Heat 1 (01/04/2024 10:00)");
        QCOMPARE(shown(viewer), "crdRaceLapProgress 5");
        QVERIFY(viewer->DisplayGroupTree());
        QVERIFY(viewer->pageCount() >= 1);

        // The next choice hides the race frame and uses the tournament current then.
        mf.state().CurrentTournamentID = 2;
        choose(page->cbReportsMain, "Qualification results");
        QVERIFY(page->frameReportsAdditionalInfo->isHidden());
        QCOMPARE(shown(viewer), "crdQualResults 1");
        QVERIFY(!viewer->DisplayGroupTree());
        // Choosing the row shown again reads the tournament current then.
        mf.state().CurrentTournamentID = 1;
        choose(page->cbReportsMain, "Qualification results");
        QCOMPARE(shown(viewer), "crdQualResults 6");
        QVERIFY(mf.messages().isEmpty());
    }

    // A race too long for the box ends in "…" and shows whole as tooltip.
    void longRaceRowIsCut() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.fx.sql({"UPDATE tblRace SET Description='Round 1 - Heat 1 of the Open "
                           "Class' WHERE Description='Round 1 - Heat 1';"}));
        mf.fx.setSetting("LastTournamentID", "1");
        QVERIFY(mf.start());
        ReportsPage* page = mf.w->pageReports;
        choose(page->cbReportsMain, "Heat results");
        auto* combo = qobject_cast<ElidingComboBox*>(page->cbReportsLapProgressRace);
        QVERIFY(combo);
        const QString whole = "Round 1 - Heat 1 of the Open Class (01/04/2024 10:00)";
        choose(combo, whole);
        QCOMPARE(combo->currentText(), whole);
        const QString cut = combo->shownText();
        QVERIFY2(cut.startsWith("Round 1") && cut.endsWith(QChar(0x2026)), qPrintable(cut));

        const QPoint at = combo->rect().center();
        QHelpEvent tip(QEvent::ToolTip, at, combo->mapToGlobal(at));
        QApplication::sendEvent(combo, &tip);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), whole);
        QToolTip::hideText();

        // A row that fits is drawn whole.
        choose(combo, "Fun race (01/05/2024 18:00)");
        QCOMPARE(combo->shownText(), QString("Fun race (01/05/2024 18:00)"));
    }

    void withoutTournamentTheSelectorOffersRacesOfNone() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.start());
        QCOMPARE(mf.state().CurrentTournamentID, 1); // the first tournament is chosen
        mf.state().CurrentTournamentID = 0;
        ReportsPage* page = mf.w->pageReports;
        choose(page->cbReportsMain, "Individual race progress");
        QCOMPARE(itemTexts(page->cbReportsLapProgressRace),
                 (QStringList{"Fun race (01/05/2024 18:00)", "Practice (02/05/2024 17:00)"}));
        choose(page->cbReportsLapProgressRace, "Practice (02/05/2024 17:00)");
        QCOMPARE(shown(page->crvReport), "crdRaceLapProgress 2");
    }

    void previews_data() {
        QTest::addColumn<int>("race");
        QTest::addColumn<int>("startPosition"); // 0: heat results
        QTest::addColumn<QString>("expected");  // the report shown, or "none"
        QTest::newRow("heat results of a finished heat") << 10 << 0 << "crdHeatResults 2";
        QTest::newRow("heat results of a running heat") << 14 << 0 << "none";
        QTest::newRow("heat results of a single race") << 30 << 0 << "crdHeatResults 2";
        QTest::newRow("heat results of no race") << -1 << 0 << "none";
        QTest::newRow("practice car without a driver") << 31 << 1 << "crdRaceLapProgress 2";
        QTest::newRow("practice car without laps") << 31 << 2 << "none";
    }
    void previews() {
        QFETCH(int, race);
        QFETCH(int, startPosition);
        QFETCH(QString, expected);
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.start());
        QStringList opened;
        mf.w->pageReports->showPrintPreview = [&](frmPrintPreview& window) {
            opened << shown(window.crvReport);
            QCOMPARE(window.windowTitle(), "Print preview");
            QVERIFY(!window.crvReport->DisplayGroupTree());
            QCOMPARE(window.crvReport->currentPage(), 1);
        };
        if (startPosition == 0)
            mf.w->PreviewHeatResults(race);
        else
            mf.w->PreviewLapProgress(race, startPosition);
        QCOMPARE(opened, expected == "none" ? QStringList{} : QStringList{expected});
        QVERIFY(mf.messages().isEmpty());
        // The page's own viewer is not touched.
        QCOMPARE(shown(mf.w->pageReports->crvReport), "none");
    }

    // The race page's buttons open the preview and the details of its race.
    void racePageButtons_data() {
        QTest::addColumn<int>("race");
        QTest::addColumn<int>("previews");
        QTest::newRow("finished heat") << 10 << 1;
        QTest::newRow("running heat") << 14 << 0;
    }
    void racePageButtons() {
        QFETCH(int, race);
        QFETCH(int, previews);
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.start());
        int opened = 0;
        mf.w->pageReports->showPrintPreview = [&](frmPrintPreview&) { ++opened; };
        mf.timing().CurrentRaceID = race;
        RacePage* page = mf.w->pageRace;
        page->cmdRaceHeatResultPreview->click();
        QCOMPARE(opened, previews);
        page->cmdRaceScoreCompareShow->click();
        page->cmdRaceScoreCompareShow->click();
        const QList<frmScoreDetails*> windows = mf.w->findChildren<frmScoreDetails*>();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(windows.last()->m_intRaceID, race);
    }

    // The practice page's row buttons preview the car of their row; its
    // details button opens the session's details.
    void practicePageButtons() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.start());
        QStringList opened;
        mf.w->pageReports->showPrintPreview = [&](frmPrintPreview& window) {
            opened << window.crvReport->ReportSource()->content().groups.value(0).caption;
        };
        mf.timing().CurrentRaceID = 31;
        PracticePage* page = mf.w->pagePractice;
        page->cmdPracticeLapProgressPreview[0]->click();
        page->cmdPracticeLapProgressPreview[1]->click(); // a car without laps
        QCOMPARE(opened, QStringList{"Start 1: Transponder: 7"});
        page->cmdPracticeScoreCompareShow->click();
        const QList<frmScoreDetails*> windows = mf.w->findChildren<frmScoreDetails*>();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows[0]->m_intRaceID, 31);
    }

    void detailsWindowsOpenOnePerPress() {
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(test::kReportsMeeting));
        QVERIFY(mf.start());
        mf.w->ShowScoreDetails(10);
        mf.w->ShowScoreDetails(31);
        const QList<frmScoreDetails*> windows = mf.w->findChildren<frmScoreDetails*>();
        QCOMPARE(windows.size(), 2);
        for (frmScoreDetails* d : windows) {
            QVERIFY(d->isVisible());
            QVERIFY(d->isWindow());
            QCOMPARE(d->windowModality(), Qt::NonModal);
            QCOMPARE(d->m_dbConnection, &mf.state().DbConnection);
        }
        QCOMPARE(windows[0]->m_intRaceID, 10);
        QCOMPARE(windows[0]->lbLaps->item(0)->text().section('\t', 1, 2), "Berg, Anna\tDahl, Erik");
        QCOMPARE(windows[1]->lbLaps->item(0)->text().section('\t', 1, 1), "Transp.ID = 7");
        // Closing releases the window.
        QPointer<frmScoreDetails> first = windows[0];
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QCOMPARE(mf.w->findChildren<frmScoreDetails*>().size(), 1);
    }
};

QTEST_MAIN(TestReportsPage)
#include "tst_reportspage.moc"
