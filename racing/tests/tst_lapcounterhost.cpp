// The lap counter on the main window: connection test, port and delay boxes,
// the simple monitor and the transponder ID tool, against a fake port.
#include "LapCounterConnection.h"
#include "MainFixture.h"
#include "MiscPage.h"
#include "RaceTiming.h"
#include "TransponderIdBox.h"
#include "Ui.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace kv;

namespace {

const QString kPortFailureTail =
    ". Make sure that no other application is using that comport, or select a different port.";
const QString kNoContact =
    "There is no contact with the Kirv system. Please verify the comport settings and try again.";
const QString kNoCar = "There is no car in contact with the Kirv system.";

QColor indicator(test::MainFixture& m) {
    return m.state().shapeHWStatusIndicator->fillColor();
}
QStringList monitorRows(MiscPage* page) {
    QStringList rows;
    for (int i = 0; i < page->lbMiscSimpleMonitor->count(); ++i)
        rows << page->lbMiscSimpleMonitor->item(i)->text();
    return rows;
}

} // namespace

class TestLapCounterHost : public QObject {
    Q_OBJECT
private slots:
    void connectionTest_data() {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<bool>("deviceMissing");
        QTest::addColumn<QString>("reply"); // to "#G$"; empty: silent counter
        QTest::addColumn<bool>("result");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("message"); // empty: none
        QTest::newRow("answers without transponder")
            << "3" << false << "#N$" << true << Colours::Green << "";
        QTest::newRow("answers with a transponder")
            << "3" << false << "#H17$" << true << Colours::Green << "";
        QTest::newRow("silent counter") << "3" << false << "" << false << Colours::DarkRed << "";
        QTest::newRow("port missing") << "3" << true << "#N$" << false << Colours::DarkRed
                                      << "Unable to open COM3" + kPortFailureTail;
        QTest::newRow("empty box") << "" << false << "#N$" << false << Colours::DarkRed
                                   << "Unable to open COM" + kPortFailureTail;
        QTest::newRow("not a 16-bit number")
            << "70000" << false << "#N$" << false << Colours::DarkRed
            << "Unable to open COM70000" + kPortFailureTail;
    }
    void connectionTest() {
        QFETCH(QString, portText);
        QFETCH(bool, deviceMissing);
        QFETCH(QString, reply);
        test::MainFixture m;
        QVERIFY(m.start());
        m.messages().clear();
        if (deviceMissing)
            m.port->refuseDevice("/dev/ttyS2");
        if (!reply.isEmpty()) {
            m.port->queueReplyTo("#G$", reply); // the click
            m.port->queueReplyTo("#G$", reply); // the direct call
        }
        MiscPage* page = m.w->pageMisc;
        page->txtMiscComport->setText(portText);
        page->cmdMiscTestConnection->click();

        QTEST(m.w->TestLapCounterConnection(), "result");
        QCOMPARE(m.state().lblHWStatusComport->text(), "COM" + portText);
        QTEST(indicator(m), "color");
        QFETCH(QString, message);
        if (message.isEmpty()) {
            QVERIFY2(m.messages().isEmpty(), qPrintable(m.platform.boxes->lastText()));
        } else {
            QCOMPARE(m.messages().size(), 2); // once for the click, once for the direct call
            QCOMPARE(m.messages().first().text, message);
            QCOMPARE(m.messages().first().title, QString("Unable to open comport!"));
            QCOMPARE(m.messages().first().icon, MsgIcon::Critical);
            QCOMPARE(m.messages().first().buttons, MsgButtons::OK);
        }
    }

    // A port that is open stays in use until the connection test moves it.
    void openKeepsTheOpenPortUntilTheTest() {
        test::MainFixture m;
        QVERIFY(m.start());
        QCOMPARE(m.port->openAttempts(), QStringList{"/dev/ttyS0"});
        m.w->pageMisc->txtMiscComport->setText("2");
        QVERIFY(m.w->OpenLapCounterPort());
        m.w->pageMisc->txtMiscComport->setText("70000");
        QVERIFY(m.w->OpenLapCounterPort());
        QVERIFY(m.messages().isEmpty());
        QCOMPARE(m.port->openAttempts().size(), 1);
        m.w->pageMisc->txtMiscComport->setText("2");
        QVERIFY(m.w->TestLapCounterConnection() == false); // silent fake counter
        QCOMPARE(m.port->openAttempts().last(), QString("/dev/ttyS1"));
    }

    // An unplugged counter shows at once as no contact, without a message box;
    // the next connection test finds it again.
    void vanishedDeviceTurnsTheIndicatorRed() {
        test::MainFixture m;
        m.port->queueReplyTo("#G$", "#N$");
        QVERIFY(m.start());
        QCOMPARE(indicator(m), Colours::Green);
        m.port->vanish();
        QCOMPARE(indicator(m), Colours::DarkRed);
        QVERIFY(!m.port->isOpen());
        QVERIFY2(m.messages().isEmpty(), qPrintable(m.platform.boxes->lastText()));

        m.port->queueReplyTo("#G$", "#N$");
        QVERIFY(m.w->TestLapCounterConnection());
        QCOMPARE(indicator(m), Colours::Green);
        QVERIFY(m.messages().isEmpty());
    }

    void lightAfterTheCounterReturns_data() {
        QTest::addColumn<bool>("byTest"); // else by the open of a start
        QTest::addColumn<QString>("frame");
        QTest::newRow("opened by a start, a clock frame") << false << "#U000100$";
        QTest::newRow("opened by a start, a pass") << false << "#P0500C350$";
        QTest::newRow("opened by the test, counter silent to it") << true << "#U000100$";
    }
    // Dark red while the port is known to be gone; once the port is open
    // again and the counter's frames arrive, the light shows contact.
    void lightAfterTheCounterReturns() {
        QFETCH(bool, byTest);
        QFETCH(QString, frame);
        test::MainFixture m;
        m.port->queueReplyTo("#G$", "#N$");
        QVERIFY(m.start());
        m.port->vanish();
        QCOMPARE(indicator(m), Colours::DarkRed);
        // Nothing comes from a port that is gone.
        m.state().KirvOCX->cmdSimulateCarRegistration_Click(0);
        QCOMPARE(indicator(m), Colours::DarkRed);

        if (byTest)
            QVERIFY(!m.w->TestLapCounterConnection());
        else
            QVERIFY(m.w->OpenLapCounterPort());
        // Open, but no frame yet.
        QVERIFY(m.port->isOpen());
        QCOMPARE(indicator(m), Colours::DarkRed);
        m.port->receive(frame);
        QCOMPARE(indicator(m), Colours::Green);
        QVERIFY(m.messages().isEmpty());
    }

    void portBoxIsNormalised_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("trailing letter") << "3a"
                                         << "3"
                                         << "3";
        QTest::newRow("letters") << "abc"
                                 << "0"
                                 << "0";
        QTest::newRow("fraction, half to even") << "2.5"
                                                << "2"
                                                << "2";
        QTest::newRow("leading zeros") << "007"
                                       << "7"
                                       << "7";
        QTest::newRow("empty stores nothing") << ""
                                              << ""
                                              << "1";
    }
    void portBoxIsNormalised() {
        QFETCH(QString, typed);
        test::MainFixture m;
        QVERIFY(m.start());
        QLineEdit* box = m.w->pageMisc->txtMiscComport;
        box->setText(typed); // as pasted: typing "2.5" keystroke by keystroke ends as 25

        QTEST(box->text(), "shown");
        QTEST(m.fx.setting("ComPort"), "stored");
    }

    void delayBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("ms");
        QTest::newRow("fraction") << "1.5"
                                  << "1.5" << 1500.0;
        QTest::newRow("letters") << "abc"
                                 << "0" << 0.0;
        QTest::newRow("number then text") << "4s"
                                          << "4" << 4000.0;
    }
    void delayBox() {
        QFETCH(QString, typed);
        test::MainFixture m;
        QVERIFY(m.start());
        QLineEdit* box = m.w->pageMisc->txtMiscTransponderDelay;
        box->clear();
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), typed);
        QTEST(m.fx.setting("TransponderDelay"), "stored");
        QTEST(m.state().LapCounter.TransponderDelaySeconds() * 1000.0, "ms");
    }

    void startUpRestoresPortAndDelay_data() {
        QTest::addColumn<QString>("comPort");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("delayShown");
        QTest::addColumn<QString>("device");
        QTest::newRow("stored values") << "3"
                                       << "4.5"
                                       << "4.5"
                                       << "/dev/ttyS2";
        QTest::newRow("delay below 3") << "1"
                                       << "1"
                                       << "3"
                                       << "/dev/ttyS0";
        QTest::newRow("the boxes' own texts") << "1"
                                              << "5"
                                              << "5"
                                              << "/dev/ttyS0";
        QTest::newRow("no delay stored") << "2"
                                         << ""
                                         << "3"
                                         << "/dev/ttyS1";
    }
    void startUpRestoresPortAndDelay() {
        QFETCH(QString, comPort);
        QFETCH(QString, delay);
        test::MainFixture m;
        m.fx.setSetting("ComPort", comPort);
        if (!delay.isEmpty())
            m.fx.setSetting("TransponderDelay", delay);
        m.port->queueReplyTo("#G$", "#N$");
        QVERIFY(m.start());
        QCOMPARE(m.w->pageMisc->txtMiscComport->text(), comPort);
        QTEST(m.w->pageMisc->txtMiscTransponderDelay->text(), "delayShown");
        QTEST(m.fx.setting("TransponderDelay"), "delayShown");
        // What the passes and the link use is what the boxes show.
        QFETCH(QString, delayShown);
        QCOMPARE(m.state().LapCounter.TransponderDelaySeconds(), delayShown.toDouble());
        QCOMPARE(m.state().LapCounter.PortText(), comPort);
        QTEST(m.port->openAttempts().last(), "device");
        QCOMPARE(m.state().lblHWStatusComport->text(), "COM" + comPort);
        QCOMPARE(indicator(m), Colours::Green);
        QVERIFY(m.messages().isEmpty());
    }

    void readTransponderId_data() {
        QTest::addColumn<bool>("portMissing");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("textColor");
        QTest::addColumn<QColor>("indicatorColor");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("transponder 23")
            << false << "#H17$"
            << "23" << Colours::Green << Colours::Green << QStringList{};
        QTest::newRow("no transponder")
            << false << "#N$"
            << "7" << Colours::Red << Colours::Green << QStringList{kNoCar};
        QTest::newRow("silent counter")
            << false << ""
            << "7" << Colours::Red << Colours::DarkRed << QStringList{kNoContact};
        QTest::newRow("port missing")
            << true << "#H17$"
            << "7" << Colours::Red << Colours::DarkRed
            << QStringList{"Unable to open COM1" + kPortFailureTail, kNoContact};
    }
    void readTransponderId() {
        QFETCH(bool, portMissing);
        QFETCH(QString, reply);
        QFETCH(QStringList, messages);
        test::MainFixture m;
        QVERIFY(m.start());
        MiscPage* page = m.w->pageMisc;
        page->txtMiscTransponderID->setText("7");
        m.state().KirvOCX->CloseConnection();
        m.messages().clear();
        if (portMissing)
            m.port->refuseDevice("/dev/ttyS0");
        if (!reply.isEmpty())
            m.port->queueReplyTo("#G$", reply);
        page->cmdMiscTransponderReadID->click();
        QTEST(page->txtMiscTransponderID->text(), "text");
        QTEST(TransponderIdBox::textColor(page->txtMiscTransponderID), "textColor");
        QTEST(indicator(m), "indicatorColor");
        QStringList texts;
        for (const RecordedMessage& r : m.messages())
            texts << r.text;
        QCOMPARE(texts, messages);
        if (!messages.isEmpty()) {
            QCOMPARE(m.messages().last().title, QString("Read transponder ID"));
            QCOMPARE(m.messages().last().icon, MsgIcon::None);
            QCOMPARE(m.messages().last().buttons, MsgButtons::OK);
        }
        // Editing the box turns it black again.
        QTest::keyClick(page->txtMiscTransponderID, Qt::Key_1);
        QCOMPARE(TransponderIdBox::textColor(page->txtMiscTransponderID), QColor(Qt::black));
    }

    void writeTransponderId_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("sent"); // empty: nothing written
        QTest::addColumn<QColor>("textColor");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MsgIcon>("icon");
        QTest::newRow("stored") << "12abc"
                                << "12"
                                << "#O0C$"
                                << "#I0C$" << Colours::Green << "New ID was stored."
                                << MsgIcon::None;
        QTest::newRow("refused by the counter")
            << "12"
            << "12"
            << "#E0C$"
            << "#I0C$" << Colours::Red << "New ID was NOT stored." << MsgIcon::Critical;
        QTest::newRow("no answer")
            << "255"
            << "255"
            << ""
            << "#IFF$" << Colours::Red << "New ID was NOT stored." << MsgIcon::Critical;
        QTest::newRow("outside the counter's IDs")
            << "300"
            << "300"
            << "#O12C$"
            << "" << Colours::Red
            << "A transponder ID is a number from 0 to 255. New ID was NOT stored."
            << MsgIcon::Critical;
        QTest::newRow("too large for any ID")
            << "99999999999"
            << "99999999999"
            << ""
            << "" << Colours::Red
            << "A transponder ID is a number from 0 to 255. New ID was NOT stored."
            << MsgIcon::Critical;
    }
    void writeTransponderId() {
        QFETCH(QString, typed);
        QFETCH(QString, reply);
        QFETCH(QString, sent);
        test::MainFixture m;
        QVERIFY(m.start());
        MiscPage* page = m.w->pageMisc;
        QTest::keyClicks(page->txtMiscTransponderID, typed);
        QTEST(page->txtMiscTransponderID->text(), "shown");
        if (!reply.isEmpty())
            m.port->queueReplyTo(sent, reply);
        m.port->clearWritten();
        m.messages().clear();
        page->cmdMiscTransponderWriteID->click();
        QCOMPARE(m.port->written().contains(sent), !sent.isEmpty());
        if (sent.isEmpty())
            QVERIFY(m.port->written().isEmpty());
        QTEST(TransponderIdBox::textColor(page->txtMiscTransponderID), "textColor");
        QCOMPARE(m.messages().size(), 1);
        QTEST(m.messages().first().text, "message");
        QCOMPARE(m.messages().first().title, QString("Write new ID to transponder."));
        QTEST(m.messages().first().icon, "icon");
    }

    // The ID boxes of the three pages behave alike.
    void everyIdBoxReadsEditsAndWrites_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("readName");
        QTest::addColumn<QString>("writeName");
        QTest::newRow("quick tool") << "txtMiscTransponderID"
                                    << "cmdMiscTransponderReadID"
                                    << "cmdMiscTransponderWriteID";
        QTest::newRow("driver form") << "txtTournamentDriverTransponderID"
                                     << "cmdTournamentModifyDriverReadID"
                                     << "cmdTournamentModifyDriverWriteID";
        QTest::newRow("race correction") << "txtRaceModifyDriverTransponderID"
                                         << "cmdRaceModifyDriverReadID"
                                         << "cmdRaceModifyDriverWriteID";
    }
    void everyIdBoxReadsEditsAndWrites() {
        QFETCH(QString, boxName);
        QFETCH(QString, readName);
        QFETCH(QString, writeName);
        test::MainFixture m;
        QVERIFY(m.start());
        auto* box = m.w->findChild<QLineEdit*>(boxName);
        auto* read = m.w->findChild<QPushButton*>(readName);
        auto* write = m.w->findChild<QPushButton*>(writeName);
        QVERIFY(box && read && write);
        m.messages().clear();

        m.port->queueReplyTo("#G$", "#H17$");
        read->click();
        QCOMPARE(box->text(), QString("23"));
        QCOMPARE(TransponderIdBox::textColor(box), Colours::Green);
        QVERIFY(m.messages().isEmpty());

        box->clear();
        QTest::keyClicks(box, "12abc");
        QCOMPARE(box->text(), QString("12"));
        QCOMPARE(TransponderIdBox::textColor(box), QColor(Qt::black));

        m.port->queueReplyTo("#I0C$", "#O0C$");
        write->click();
        QCOMPARE(TransponderIdBox::textColor(box), Colours::Green);
        QCOMPARE(m.messages().size(), 1);
        QCOMPARE(m.messages().first().text, QString("New ID was stored."));

        m.port->queueReplyTo("#G$", "#N$");
        read->click();
        QCOMPARE(box->text(), QString("12"));
        QCOMPARE(TransponderIdBox::textColor(box), Colours::Red);
        QCOMPARE(m.messages().last().text, kNoCar);
    }

    void simpleMonitor() {
        test::MainFixture m;
        QVERIFY(m.start());
        MiscPage* page = m.w->pageMisc;
        page->lbMiscSimpleMonitor->addItem("old");
        m.port->clearWritten();

        // Stop outside the monitor sends nothing.
        page->cmdMiscSimpleMonitorStop->click();
        QVERIFY(m.port->written().isEmpty());

        page->cmdMiscSimpleMonitorStart->click();
        QCOMPARE(m.port->written(), (QStringList{"#F$", "#S$"}));
        QCOMPARE(m.platform.sleeps, QList<int>{500});
        QCOMPARE(m.timing().TimingMode, int(TimingMonitor));
        QVERIFY(monitorRows(page).isEmpty());

        m.port->receive("#P05000100$#P11000200$#U000300$#P17000400$");
        QCOMPARE(monitorRows(page), (QStringList{"23", "17", "5"}));

        page->cmdMiscSimpleMonitorStop->click();
        QCOMPARE(m.port->written().last(), QString("#F$"));
        QCOMPARE(m.timing().TimingMode, int(TimingIdle));
        m.port->receive("#P09009000$");
        QCOMPARE(monitorRows(page).size(), 3);
    }

    void monitorKeepsTheNewestEntries() {
        test::MainFixture m;
        QVERIFY(m.start());
        MiscPage* page = m.w->pageMisc;
        page->cmdMiscSimpleMonitorStart_Click();
        for (int i = 0; i < MiscPage::kMonitorEntries + 5; ++i)
            m.w->KirvOCX_RegisterCar(qint16(i % 256), i * 4000);
        QCOMPARE(page->lbMiscSimpleMonitor->count(), MiscPage::kMonitorEntries);
        QCOMPARE(page->lbMiscSimpleMonitor->item(0)->text(),
                 QString::number((MiscPage::kMonitorEntries + 4) % 256));
    }

    void unloadClosesThePort() {
        test::MainFixture m;
        QVERIFY(m.start());
        QVERIFY(m.port->isOpen());
        m.w->close();
        QVERIFY(!m.port->isOpen());
    }
};

QTEST_MAIN(TestLapCounterHost)
#include "tst_lapcounterhost.moc"
