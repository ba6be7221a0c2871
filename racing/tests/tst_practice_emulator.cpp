// A practice session through the real lap counter control and an emulated
// counter on a pseudo-terminal: cars come, lap, are removed by hand and by the
// idle check, and a newcomer takes the freed row.
#include "FakePlatform.h"
#include "InstallFixture.h"
#include "LapCounterEmulator.h"
#include "PracticePage.h"
#include "RaceTiming.h"
#include "frmMain.h"
#include "frmSplash.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

using namespace kv;

namespace {

QString rowText(const PracticePage* page, int row) {
    const auto s = size_t(row);
    if (!page->lblPracticeScoreDriver[s]->isVisibleTo(page))
        return QStringLiteral("-");
    return page->lblPracticeScoreDriver[s]->text() + QLatin1Char(' ') +
           page->lblPracticeScoreLaps[s]->text() + QLatin1Char(' ') +
           page->lblPracticeScoreLastTime[s]->text();
}

QStringList board(const PracticePage* page) {
    QStringList rows;
    for (int i = 0; i < 4; ++i)
        rows << rowText(page, i);
    return rows;
}

} // namespace

class TestPracticeEmulator : public QObject {
    Q_OBJECT
private slots:
    void sessionAgainstTheEmulatedCounter() {
        test::InstallFixture fx;
        FakePlatform platform;
        LapCounterEmulator counter;
        QString error;
        QVERIFY2(counter.open(&error), qPrintable(error));
        // A port number of this process's own: the serial layer locks devices by name.
        const int port = 300 + int(QCoreApplication::applicationPid() % 10000);
        QVERIFY2(counter.placeLink(LapCounterEmulator::portLinkPath(fx.appPath() + "ports", port),
                                   &error),
                 qPrintable(error));
        counter.setPacing(LapCounterEmulator::Pacing::FlatOut);
        counter.setClockInterval(0);
        fx.setSetting("ComPort", QString::number(port));
        QVERIFY(fx.sql({"INSERT INTO tblDriver (Lastname, Firstname, Car, TransponderID, "
                        "OwnTransponder) VALUES ('Vorel', 'Anna', 'Buggy', 17, 1);"}));

        // The counter's own times (also when they are sent). Laps are just over
        // the control's 3000 ms repeat filter; the clock frame sets the practice
        // clock to the counter's.
        counter.setScript(*LapCounterEmulator::parseScript("300 5\n"
                                                           "500 17\n"
                                                           "700 23\n"
                                                           "3600 17\n"
                                                           "3900 23\n"
                                                           "4000 U\n"
                                                           "6500 9\n"));

        frmMain w;
        w.showSplash = [](frmSplash&) {};
        QVERIFY(w.Form_Load());
        PracticePage* page = w.pagePractice;
        w.cmdToolbarMain[5]->click();
        // No idle removal while the cars come in.
        page->txtPracticeAutomaticDeleteDelay->setText("0");
        page->cmdPracticeStart->click();
        QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
        QTRY_VERIFY(counter.clockRunning());

        QTRY_COMPARE_WITH_TIMEOUT(page->lblPracticeScoreLaps[2]->text(), QString("1"), 10000);
        QTRY_COMPARE(w.timing().PracticeElapsedMs >= 4000, true);
        QCOMPARE(board(page), (QStringList{"Transponder: 5 0 0:00.000", "17-Vorel, Anna 1 0:03.100",
                                           "Transponder: 23 1 0:03.200", "-"}));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 (QStringList{"Started: 1, TransponderID: 5", "Started: 3, TransponderID: 23"}));

        // Car 23 leaves by hand; car 5, last seen at 300, is idle for a minute.
        page->cmdPracticeDelete[2]->click();
        page->txtPracticeAutomaticDeleteDelay->setText("1");
        int ticks = 0;
        while (rowText(page, 0) != "-" && ticks < 1000) {
            page->tmrPracticeTime_Timer();
            ++ticks;
        }
        page->txtPracticeAutomaticDeleteDelay->setText("0");
        QVERIFY(w.timing().PracticeElapsedMs > 60300);
        QVERIFY(w.timing().PracticeElapsedMs <= 60300 + 5200);
        QCOMPARE(board(page), (QStringList{"-", "17-Vorel, Anna 1 0:03.100", "-", "-"}));

        // A newcomer takes the lowest free row.
        QTRY_COMPARE_WITH_TIMEOUT(rowText(page, 0), QString("Transponder: 9 0 0:00.000"), 10000);
        page->cmdPracticeStop->click();
        QTRY_VERIFY(!counter.clockRunning());
        QCOMPARE(fx.column("SELECT StartPosition || ':' || TransponderID || ':' || NumOfLaps || "
                           "':' || StartDelay FROM tblDriverInRace ORDER BY StartPosition;"),
                 (QStringList{"1:9:0:6500", "2:17:1:500"}));
        QCOMPARE(fx.column("SELECT TotalTime || ':' || LapTime FROM tblLapInRace;"),
                 QStringList{"3100:3100"});
        QCOMPARE(fx.column("SELECT Status FROM tblRace WHERE RaceCode=4;"), QStringList{"2"});
        QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
    }

private:
    static QStringList itemTexts(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

QTEST_MAIN(TestPracticeEmulator)
#include "tst_practice_emulator.moc"
