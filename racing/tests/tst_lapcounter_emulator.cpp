// The lap counter on the main window through a real pseudo-terminal: the
// emulated counter is reached by port number through the install folder's
// ports/COM<N> link.
#include "FakePlatform.h"
#include "InstallFixture.h"
#include "KirvOCX.h"
#include "LapCounterConnection.h"
#include "LapCounterEmulator.h"
#include "MiscPage.h"
#include "Ui.h"
#include "frmMain.h"
#include "frmSplash.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace kv;

class TestLapCounterEmulator : public QObject {
    Q_OBJECT
private slots:
    void programAgainstTheEmulatedCounter() {
        test::InstallFixture fx;
        FakePlatform platform;
        LapCounterEmulator counter;
        QString error;
        QVERIFY2(counter.open(&error), qPrintable(error));
        // Port numbers of this process's own: the serial layer locks devices by name.
        const int first = 100 + int(QCoreApplication::applicationPid() % 10000) * 2;
        const QString firstText = QString::number(first);
        const QString secondText = QString::number(first + 1);
        QVERIFY2(counter.placeLink(LapCounterEmulator::portLinkPath(fx.appPath() + "ports", first),
                                   &error),
                 qPrintable(error));
        counter.setPacing(LapCounterEmulator::Pacing::FlatOut);
        counter.setClockInterval(0);
        counter.setTransponder(23);
        fx.setSetting("ComPort", firstText);

        frmMain w;
        w.showSplash = [](frmSplash&) {};
        QVERIFY(w.Form_Load());
        QVERIFY2(platform.boxes->messages.isEmpty(), qPrintable(platform.boxes->lastText()));
        QCOMPARE(w.state().lblHWStatusComport->text(), "COM" + firstText);
        QCOMPARE(w.state().shapeHWStatusIndicator->fillColor(), Colours::Green);
        QVERIFY(counter.commandsReceived().contains("#G$"));

        // Read the transponder on the reader.
        MiscPage* page = w.pageMisc;
        page->cmdMiscTransponderReadID->click();
        QCOMPARE(page->txtMiscTransponderID->text(), QString("23"));
        QVERIFY(platform.boxes->messages.isEmpty());

        // A monitor run lists the passing cars, newest first.
        counter.setScript(*LapCounterEmulator::parseScript("100 5\n200 17\n300 23\n"));
        page->cmdMiscSimpleMonitorStart->click();
        QTRY_COMPARE(page->lbMiscSimpleMonitor->count(), 3);
        QCOMPARE(page->lbMiscSimpleMonitor->item(0)->text(), QString("23"));
        QCOMPARE(page->lbMiscSimpleMonitor->item(2)->text(), QString("5"));
        page->cmdMiscSimpleMonitorStop->click();

        // A second counter on the next port: the connection test moves the link there.
        LapCounterEmulator second;
        QVERIFY2(second.open(&error), qPrintable(error));
        QVERIFY(second.placeLink(
            LapCounterEmulator::portLinkPath(fx.appPath() + "ports", first + 1), &error));
        page->txtMiscComport->setText(secondText);
        QCOMPARE(fx.setting("ComPort"), secondText);
        page->cmdMiscTestConnection->click();
        QCOMPARE(w.state().lblHWStatusComport->text(), "COM" + secondText);
        QCOMPARE(w.state().shapeHWStatusIndicator->fillColor(), Colours::Green);
        QVERIFY(second.commandsReceived().contains("#G$"));
        QVERIFY(platform.boxes->messages.isEmpty());

        // The counter is unplugged while its port is open: no contact shows at once.
        second.close();
        QTRY_COMPARE(w.state().shapeHWStatusIndicator->fillColor(), Colours::DarkRed);
        QVERIFY(platform.boxes->messages.isEmpty());
    }
};

QTEST_MAIN(TestLapCounterEmulator)
#include "tst_lapcounter_emulator.moc"
