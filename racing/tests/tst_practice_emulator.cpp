// A practice session through the real lap counter control and an emulated
// counter on a pseudo-terminal: cars come and lap, one is removed by hand and
// one by the idle check once the counter's clock has moved on; once more with
// the database locked by another program for the first part of the session.
#include "DatabaseFaults.h"
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
    void sessionAgainstTheEmulatedCounter_data() {
        QTest::addColumn<bool>("locked");
        QTest::newRow("fault-free") << false;
        QTest::newRow("locked until car 8 arrives") << true;
    }
    void sessionAgainstTheEmulatedCounter() {
        QFETCH(bool, locked);
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

        // The counter's own times, on a clock running 500 times as fast as real
        // time. Laps lie just over the control's 3000 ms repeat filter; the
        // last frame, a clock frame, moves the practice clock to 100 s.
        counter.setClockRate(500);
        counter.setScript(*LapCounterEmulator::parseScript("300 5\n"
                                                           "500 17\n"
                                                           "700 23\n"
                                                           "3600 17\n"
                                                           "3900 23\n"
                                                           "7000 17\n"
                                                           "9000 8\n"
                                                           "60000 17\n"
                                                           "61000 8\n"
                                                           "100000 U\n"));

        frmMain w;
        w.showSplash = [](frmSplash&) {};
        QVERIFY(w.Form_Load());
        PracticePage* page = w.pagePractice;
        w.cmdToolbarMain[5]->click();
        // No idle removal while the cars come in.
        page->txtPracticeAutomaticDeleteDelay->setText("0");
        std::unique_ptr<test::HeldLock> lock;
        page->cmdPracticeStart->click();
        if (locked) {
            // Frames are read only by the event loop, so every pass comes
            // while the lock is held, until it is released.
            lock = std::make_unique<test::HeldLock>(fx.databaseFile());
            QVERIFY(lock->held());
        }
        QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));

        if (locked) {
            QTRY_VERIFY_WITH_TIMEOUT(page->lblPracticeScoreDriver[3]->isVisibleTo(page), 10000);
            QVERIFY(page->lblPracticeWaitingWrites->isVisibleTo(page));
            QCOMPARE(fx.column("SELECT count(*) FROM tblDriverInRace;"), QStringList{"0"});
            lock.reset();
        }
        QTRY_VERIFY_WITH_TIMEOUT(w.timing().PracticeElapsedMs >= 100000, 10000);
        page->tmrPracticeWrites_Timer();
        QVERIFY(!page->lblPracticeWaitingWrites->isVisibleTo(page));
        QCOMPARE(board(page),
                 (QStringList{"Transponder: 5 0 0:00.000", "17-Vorel, Anna 3 0:53.000",
                              "Transponder: 23 1 0:03.200", "Transponder: 8 1 0:52.000"}));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 (QStringList{"Started: 1, TransponderID: 5", "Started: 3, TransponderID: 23",
                              "Started: 4, TransponderID: 8"}));

        // Car 23 leaves by hand. With a delay of one minute the next idle check
        // removes car 5, last seen at 300; cars 17 and 8 crossed after 40 s.
        page->cmdPracticeDelete[2]->click();
        page->txtPracticeAutomaticDeleteDelay->setText("1");
        for (int tick = 0; tick < 52; ++tick)
            page->tmrPracticeTime_Timer();
        QCOMPARE(board(page),
                 (QStringList{"-", "17-Vorel, Anna 3 0:53.000", "-", "Transponder: 8 1 0:52.000"}));
        QCOMPARE(itemTexts(page->lbPracticeUnassignedTransponders),
                 QStringList{"Started: 4, TransponderID: 8"});

        page->cmdPracticeStop->click();
        QTRY_VERIFY(!counter.clockRunning());
        QCOMPARE(fx.column("SELECT StartPosition || ':' || TransponderID || ':' || NumOfLaps || "
                           "':' || StartDelay FROM tblDriverInRace ORDER BY StartPosition;"),
                 (QStringList{"2:17:3:500", "4:8:1:9000"}));
        QCOMPARE(fx.column("SELECT TransponderID || ':' || TotalTime || ':' || LapTime FROM "
                           "tblLapInRace INNER JOIN tblDriverInRace ON "
                           "tblLapInRace.DriverInRaceID=tblDriverInRace.DriverInRaceID ORDER BY "
                           "LapInRaceID;"),
                 (QStringList{"17:3100:3100", "17:6500:3400", "17:59500:53000", "8:52000:52000"}));
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
