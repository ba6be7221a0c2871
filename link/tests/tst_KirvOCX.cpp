// KirvOCX driven through a fake serial port: receive path and parser, operations, simulation.

#include "FakeSerialPort.h"
#include "KirvOCX.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

// A control on a fake port that records its events as text: "C<car>@<ms>" for RegisterCar,
// "U<ms>" for UpdateRaceClock and "|" at the end of each arrival notification.
struct Rig {
    FakeSerialPort* port;
    KirvOCX ocx;
    QStringList events;
    QList<int> waits;

    Rig() : Rig(std::make_unique<FakeSerialPort>()) {}
    explicit Rig(std::unique_ptr<FakeSerialPort> fake) : port(fake.get()), ocx(std::move(fake)) {
        QObject::connect(&ocx, &KirvOCX::RegisterCar, &ocx, [this](qint16 car, qint32 ms) {
            events << QStringLiteral("C%1@%2").arg(car).arg(ms);
        });
        QObject::connect(&ocx, &KirvOCX::UpdateRaceClock, &ocx,
                         [this](qint32 ms) { events << QStringLiteral("U%1").arg(ms); });
        ocx.setBlockingWait([this](int ms) { waits << ms; });
    }

    void receive(const QString& text) {
        port->receive(text);
        events << QStringLiteral("|");
    }
    QString log() const { return events.join(u' '); }
};

} // namespace

class tst_KirvOCX : public QObject {
    Q_OBJECT

private slots:
    void receive_data();
    void receive();
    void handlerMayCallBackAndTheLoopGoesOn();
    void processReceivedMessageLeavesThePayload();

    void openConnection_data();
    void openConnection();
    void openConnectionKeepsAnOpenPort();
    void aLinkThatWentStaysThePort();
    void openingThePortDropsUnframedText_data();
    void openingThePortDropsUnframedText();
    void closeConnection();
    void startAndStop_data();
    void startAndStop();
    void startRaceOnAClosedPortStillResetsTheFilter();

    void getSingleID_data();
    void getSingleID();
    void getSingleIDOnAClosedPort();
    void setSingleID_data();
    void setSingleID();
    void busyFlagKeepsTheReceivePathOffThePort();

    void timeConverter_data();
    void timeConverter();

    void simulationButton_data();
    void simulationButton();
    void simulatedPassesBypassTheFilter();
};

void tst_KirvOCX::receive_data() {
    QTest::addColumn<QStringList>("notifications");
    QTest::addColumn<bool>("startRace");
    QTest::addColumn<QString>("expected");

    QTest::newRow("frame split over two notifications")
        << QStringList{"#P0A00", "0BB8$"} << true << "| C10@3000 |";
    QTest::newRow("two frames in one notification keep their order")
        << QStringList{"#U000064$#P01000100$"} << true << "U100 C1@256 |";
    QTest::newRow("noise before # is dropped")
        << QStringList{"zz#U000064$", "~#U0000C8$"} << false << "U100 | U200 |";
    QTest::newRow("without # the first character stands in for it")
        << QStringList{"P0A000BB8$", "xP0A000BB8$"} << true << "| C10@3000 |";
    QTest::newRow("kind is case-sensitive, unknown kinds ignored")
        << QStringList{"#p05000100$#X$#U000001$"} << true << "U1 |";
    QTest::newRow("empty frames") << QStringList{"#$$#U000001$"} << false << "U1 |";
    QTest::newRow("hex digits in either case, extra characters ignored")
        << QStringList{"#P0a000bb8$#P0B000BB8extra$"} << true << "C10@3000 C11@3000 |";
    QTest::newRow("largest car and times")
        << QStringList{"#PFFFFFFFF$#UFFFFFF$"} << true << "C255@16777215 U16777215 |";
    QTest::newRow("first pass after StartRace counts at 0 ms")
        << QStringList{"#P07000000$"} << true << "C7@0 |";
    QTest::newRow("window runs from the last accepted pass: 1000, 3999, 4000, 4001")
        << QStringList{"#P050003E8$", "#P05000F9F$", "#P05000FA0$", "#P05000FA1$"} << true
        << "C5@1000 | | | C5@4001 |";
    QTest::newRow("before any StartRace the window starts at 0: 2500, 3001")
        << QStringList{"#P050009C4$", "#P05000BB9$"} << false << "| C5@3001 |";
    QTest::newRow("each car has its own window")
        << QStringList{"#P050003E8$#P060005DC$#P050007D0$"} << true << "C5@1000 C6@1500 |";
    QTest::newRow("short or non-hex number fields drop the frame")
        << QStringList{"#P0A00$#P0G000BB8$#P+A000BB8$#P0A 00BB8$#U00064$#U0000G4$#U-00064$"
                       "#P0A000BB8$"}
        << true << "C10@3000 |";
    QTest::newRow("a lost $ costs the next frame, then the line recovers")
        << QStringList{"#P0A0", "#U000064$", "#U0000C8$"} << true << "| | U200 |";

    // Text without a "$" is kept up to the size of the input buffer; older text can no longer
    // become part of a frame. A frame that arrives whole is cut whatever its length.
    const QString partial = QStringLiteral("#P0A000BB8");
    QTest::newRow("unframed text of 1024 characters waits for its $")
        << QStringList{partial, QString(1024 - partial.size(), u'~'), "$"} << true
        << "| | C10@3000 |";
    QTest::newRow("at 1025 characters the oldest is dropped, # with it")
        << QStringList{partial, QString(1025 - partial.size(), u'~'), "$"} << true << "| | |";
    QTest::newRow("a long frame that arrives whole")
        << QStringList{partial + QString(3000, u'~') + u'$'} << true << "C10@3000 |";
    QTest::newRow("the line recovers at the next # after an overflow")
        << QStringList{partial, QString(5000, u'~'), "#U000064$"} << true << "| | U100 |";
}

void tst_KirvOCX::receive() {
    QFETCH(QStringList, notifications);
    QFETCH(bool, startRace);
    QFETCH(QString, expected);

    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    if (startRace)
        QVERIFY(rig.ocx.StartRace());
    for (const QString& text : notifications)
        rig.receive(text);
    QCOMPARE(rig.log(), expected);
}

void tst_KirvOCX::handlerMayCallBackAndTheLoopGoesOn() {
    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.ocx.StartRace();
    rig.port->clearWritten();
    // The host ends its race on a pass; meanwhile another clock frame reaches the port.
    QObject::connect(&rig.ocx, &KirvOCX::RegisterCar, &rig.ocx, [&] {
        QVERIFY(rig.ocx.StopRace());
        rig.port->queueIncoming(QStringLiteral("#U000300$"));
    });
    rig.receive(QStringLiteral("#P01000100$#U000200$"));
    QCOMPARE(rig.log(), QStringLiteral("C1@256 U512 U768 |"));
    QCOMPARE(rig.port->written(), QStringList{"#F$"});
}

void tst_KirvOCX::processReceivedMessageLeavesThePayload() {
    Rig rig;
    QString message = QStringLiteral("U000064$");
    rig.ocx.ProcessReceivedMessage(message);
    QCOMPARE(message, QStringLiteral("000064$"));
    QCOMPARE(rig.log(), QStringLiteral("U100"));
}

void tst_KirvOCX::openConnection_data() {
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QString>("linkInFolder"); // "COM<N>" -> an existing device, "COM<N>!" dangling
    QTest::addColumn<QString>("refusedDevice");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("attempts"); // "@" stands for the ports folder

    QTest::newRow("0 is refused") << 0 << ""
                                  << "" << false << QStringList{};
    QTest::newRow("negative is refused") << -1 << ""
                                         << "" << false << QStringList{};
    QTest::newRow("without a link: ttyS<N-1>") << 1 << ""
                                               << "" << true << QStringList{"/dev/ttyS0"};
    QTest::newRow("link in the ports folder") << 2 << "COM2"
                                              << "" << true << QStringList{"@/COM2"};
    QTest::newRow("link of another port") << 3 << "COM2"
                                          << "" << true << QStringList{"/dev/ttyS2"};
    QTest::newRow("dangling link is not bypassed") << 2 << "COM2!"
                                                   << "@/COM2" << false << QStringList{"@/COM2"};
    QTest::newRow("missing or busy device") << 1 << ""
                                            << "/dev/ttyS0" << false << QStringList{"/dev/ttyS0"};
}

void tst_KirvOCX::openConnection() {
    QFETCH(int, portNumber);
    QFETCH(QString, linkInFolder);
    QFETCH(QString, refusedDevice);
    QFETCH(bool, expected);
    QFETCH(QStringList, attempts);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!linkInFolder.isEmpty()) {
        const bool dangling = linkInFolder.endsWith(u'!');
        const QString target = dangling ? folder.filePath("unplugged") : folder.path();
        QVERIFY(QFile::link(target, folder.filePath(linkInFolder.remove(u'!'))));
    }
    attempts.replaceInStrings(QStringLiteral("@"), folder.path());

    Rig rig;
    rig.ocx.setPortsFolder(folder.path() + u'/');
    rig.port->refuseDevice(refusedDevice.replace(u'@', folder.path()));
    QCOMPARE(rig.ocx.OpenConnection(qint16(portNumber)), expected);
    QCOMPARE(rig.port->isOpen(), expected);
    QCOMPARE(rig.port->openAttempts(), attempts);
}

void tst_KirvOCX::openConnectionKeepsAnOpenPort() {
    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    QVERIFY(rig.ocx.OpenConnection(3));
    QVERIFY(rig.port->isOpen());
    QCOMPARE(rig.port->openAttempts(), QStringList{"/dev/ttyS0"});
}

// The emulator, or a person, removes the link with its device; the fixed port of the same
// number may well exist on the machine, without a lap counter behind it.
void tst_KirvOCX::aLinkThatWentStaysThePort() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString link = folder.filePath(QStringLiteral("COM1"));
    QVERIFY(QFile::link(folder.path(), link));
    Rig rig;
    rig.ocx.setPortsFolder(folder.path() + u'/');
    QVERIFY(rig.ocx.OpenConnection(1));

    rig.port->vanish();
    QVERIFY(QFile::remove(link));
    rig.port->refuseDevice(link);
    QVERIFY(!rig.ocx.OpenConnection(1));
    QVERIFY(!rig.port->isOpen());

    // Back with a new link: opened through it again.
    QVERIFY(QFile::link(folder.path(), link));
    rig.port->acceptDevice(link);
    QVERIFY(rig.ocx.OpenConnection(1));
    QCOMPARE(rig.port->openAttempts(), (QStringList{link, link, link}));
}

void tst_KirvOCX::openingThePortDropsUnframedText_data() {
    QTest::addColumn<bool>("closeFirst");
    QTest::addColumn<QString>("next"); // arrives after the port was opened again
    QTest::addColumn<QString>("expected");

    // Half a pass frame waits in the control when the host opens the port again.
    QTest::newRow("reopened: the first frame of the new line counts") << true << "#U000064$"
                                                                      << "| U100 |";
    QTest::newRow("reopened: the old half frame is not completed") << true << "0BB8$"
                                                                   << "| |";
    QTest::newRow("still open: the half frame completes") << false << "0BB8$"
                                                          << "| C10@3000 |";
}

void tst_KirvOCX::openingThePortDropsUnframedText() {
    QFETCH(bool, closeFirst);
    QFETCH(QString, next);
    QFETCH(QString, expected);

    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.ocx.StartRace();
    rig.receive(QStringLiteral("#P0A00"));
    if (closeFirst)
        QVERIFY(rig.ocx.CloseConnection());
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.receive(next);
    QCOMPARE(rig.log(), expected);
}

void tst_KirvOCX::closeConnection() {
    Rig rig;
    QVERIFY(rig.ocx.CloseConnection());
    QVERIFY(rig.ocx.OpenConnection(1));
    QVERIFY(rig.ocx.CloseConnection());
    QVERIFY(!rig.port->isOpen());
}

void tst_KirvOCX::startAndStop_data() {
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<bool>("start");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("start") << true << true << true << QStringList{"#S$"};
    QTest::newRow("stop") << true << false << true << QStringList{"#F$"};
    QTest::newRow("start, port closed") << false << true << false << QStringList{};
    QTest::newRow("stop, port closed") << false << false << false << QStringList{};
}

void tst_KirvOCX::startAndStop() {
    QFETCH(bool, portOpen);
    QFETCH(bool, start);
    QFETCH(bool, expected);
    QFETCH(QStringList, written);

    Rig rig;
    if (portOpen)
        QVERIFY(rig.ocx.OpenConnection(1));
    QCOMPARE(start ? rig.ocx.StartRace() : rig.ocx.StopRace(), expected);
    QCOMPARE(rig.port->written(), written);
}

void tst_KirvOCX::startRaceOnAClosedPortStillResetsTheFilter() {
    Rig rig;
    QVERIFY(!rig.ocx.StartRace());
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.receive(QStringLiteral("#P05000000$"));
    QCOMPARE(rig.log(), QStringLiteral("C5@0 |"));
}

void tst_KirvOCX::getSingleID_data() {
    QTest::addColumn<QString>("waiting"); // already in the port when the command starts
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("expected");

    QTest::newRow("ID") << ""
                        << "#H1F$" << 31;
    QTest::newRow("largest ID, lower-case digits") << ""
                                                   << "#Hff$" << 255;
    QTest::newRow("first character not examined") << ""
                                                  << "?H1F$" << 31;
    QTest::newRow("no transponder") << ""
                                    << "#N$" << -1;
    QTest::newRow("kind letter is case-sensitive") << ""
                                                   << "#h1F$" << -1;
    QTest::newRow("two characters") << ""
                                    << "#H" << -3;
    QTest::newRow("no reply") << ""
                              << "" << -3;
    QTest::newRow("H without two hex digits") << ""
                                              << "#H1$" << -3;
    QTest::newRow("H with non-hex digits") << ""
                                           << "#HZZ$" << -3;
    QTest::newRow("stale characters are discarded first") << "#H05$#P0A000BB8$"
                                                          << "#N$" << -1;
}

void tst_KirvOCX::getSingleID() {
    QFETCH(QString, waiting);
    QFETCH(QString, reply);
    QFETCH(int, expected);

    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.port->queueIncoming(waiting);
    rig.port->queueReplyTo(QStringLiteral("#G$"), reply);

    QCOMPARE(rig.ocx.GetSingleID(), qint16(expected));
    QCOMPARE(rig.port->written(), (QStringList{"#F$", "#G$"}));
    QCOMPARE(rig.waits, QList<int>{500});
    // Stale frames raised nothing, and the receive path works again afterwards.
    rig.receive(QStringLiteral("#U000001$"));
    QCOMPARE(rig.log(), QStringLiteral("U1 |"));
}

void tst_KirvOCX::getSingleIDOnAClosedPort() {
    Rig rig;
    QCOMPARE(rig.ocx.GetSingleID(), qint16(-2));
    QVERIFY(rig.port->written().isEmpty());
    QVERIFY(rig.waits.isEmpty());
}

void tst_KirvOCX::setSingleID_data() {
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<bool>("expected");

    const QStringList write10{"#F$", "#I0A$"};
    QTest::newRow("confirmed") << true << 10 << "#O0A$" << write10 << true;
    QTest::newRow("error reply") << true << 10 << "#E0A$" << write10 << false;
    QTest::newRow("O reply too short") << true << 10 << "#O$" << write10 << false;
    QTest::newRow("no reply") << true << 10 << "" << write10 << false;
    QTest::newRow("0") << true << 0 << "#O00$" << QStringList{"#F$", "#I00$"} << true;
    QTest::newRow("255") << true << 255 << "#OFF$" << QStringList{"#F$", "#IFF$"} << true;
    QTest::newRow("256, three digits")
        << true << 256 << "#O00$" << QStringList{"#F$", "#I100$"} << true;
    QTest::newRow("negative, 16-bit two's complement")
        << true << -1 << "#EFF$" << QStringList{"#F$", "#IFFFF$"} << false;
    QTest::newRow("port closed") << false << 10 << "#O0A$" << QStringList{} << false;
}

void tst_KirvOCX::setSingleID() {
    QFETCH(bool, portOpen);
    QFETCH(int, id);
    QFETCH(QString, reply);
    QFETCH(QStringList, written);
    QFETCH(bool, expected);

    Rig rig;
    if (portOpen)
        QVERIFY(rig.ocx.OpenConnection(1));
    if (written.size() == 2)
        rig.port->queueReplyTo(written[1], reply);
    QCOMPARE(rig.ocx.SetSingleID(qint16(id)), expected);
    QCOMPARE(rig.port->written(), written);
    QCOMPARE(rig.waits, written.isEmpty() ? QList<int>{} : QList<int>{500});
}

void tst_KirvOCX::busyFlagKeepsTheReceivePathOffThePort() {
    Rig rig;
    QVERIFY(rig.ocx.OpenConnection(1));
    // The reply arrives during the wait and the port reports it; only the command may read it.
    rig.ocx.setBlockingWait([&](int) { rig.port->receive(QStringLiteral("#H1F$")); });
    QCOMPARE(rig.ocx.GetSingleID(), qint16(31));
    rig.receive(QStringLiteral("#U000064$"));
    QCOMPARE(rig.log(), QStringLiteral("U100 |"));
}

void tst_KirvOCX::timeConverter_data() {
    QTest::addColumn<qint32>("time");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("milliseconds");

    QTest::newRow("0") << 0 << 0 << 0 << 0;
    QTest::newRow("83456") << 83456 << 1 << 23 << 456;
    QTest::newRow("negative truncates toward zero") << -61500 << -1 << -1 << -500;
    QTest::newRow("largest 16-bit minutes") << 1966079999 << 32767 << 59 << 999;
    QTest::newRow("minutes beyond 16 bits stay at the largest") << 1966080000 << 32767 << 0 << 0;
    QTest::newRow("largest time") << std::numeric_limits<qint32>::max() << 32767 << 23 << 647;
    QTest::newRow("smallest time") << std::numeric_limits<qint32>::min() << -32768 << -23 << -648;
}

void tst_KirvOCX::timeConverter() {
    QFETCH(qint32, time);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QFETCH(int, milliseconds);

    Rig rig;
    qint16 m = -7, s = -7, ms = -7;
    rig.ocx.TimeConverter(time, m, s, ms);
    QCOMPARE(m, qint16(minutes));
    QCOMPARE(s, qint16(seconds));
    QCOMPARE(ms, qint16(milliseconds));
}

void tst_KirvOCX::simulationButton_data() {
    QTest::addColumn<QDateTime>("reset"); // invalid: never pressed
    QTest::addColumn<QDateTime>("press");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    const QDate day(2024, 6, 1);
    QTest::newRow("button 3 five seconds after Reset")
        << QDateTime(day, QTime(10, 0, 0)) << QDateTime(day, QTime(10, 0, 5)) << 2 << "C3@5000";
    QTest::newRow("whole seconds of the clock")
        << QDateTime(day, QTime(10, 0, 0, 900)) << QDateTime(day, QTime(10, 0, 5, 100)) << 0
        << "C1@5000";
    QTest::newRow("before any Reset: the time of day")
        << QDateTime() << QDateTime(day, QTime(13, 45, 10, 500)) << 7 << "C8@49510000";
    QTest::newRow("whole days drop out")
        << QDateTime(day, QTime(10, 0, 0)) << QDateTime(day.addDays(1), QTime(11, 0, 0)) << 1
        << "C2@3600000";
    QTest::newRow("clock set back")
        << QDateTime(day, QTime(10, 0, 5)) << QDateTime(day, QTime(10, 0, 0)) << 1 << "C2@5000";
}

void tst_KirvOCX::simulationButton() {
    QFETCH(QDateTime, reset);
    QFETCH(QDateTime, press);
    QFETCH(int, index);
    QFETCH(QString, expected);

    Rig rig;
    QDateTime now = reset;
    rig.ocx.setClock([&] { return now; });
    if (reset.isValid())
        rig.ocx.findChild<QPushButton*>("cmdResetSimulationTimer")->click();
    now = press;
    auto* button =
        rig.ocx.findChild<QPushButton*>(QStringLiteral("cmdSimulateCarRegistration_%1").arg(index));
    QVERIFY(button);
    QCOMPARE(button->text(), QString::number(index + 1));
    button->click();
    QCOMPARE(rig.log(), expected);
}

void tst_KirvOCX::simulatedPassesBypassTheFilter() {
    Rig rig;
    const QDateTime reset(QDate(2024, 6, 1), QTime(10, 0, 0));
    QDateTime now = reset;
    rig.ocx.setClock([&] { return now; });
    rig.ocx.cmdResetSimulationTimer_Click();
    QVERIFY(rig.ocx.OpenConnection(1));
    rig.ocx.StartRace();

    now = reset.addSecs(5);
    rig.ocx.cmdSimulateCarRegistration_Click(2);
    now = reset.addSecs(6);
    rig.ocx.cmdSimulateCarRegistration_Click(2);
    // The simulated passes left car 3's window alone.
    rig.receive(QStringLiteral("#P03000064$"));
    QCOMPARE(rig.log(), QStringLiteral("C3@5000 C3@6000 C3@100 |"));
}

QTEST_MAIN(tst_KirvOCX)
#include "tst_KirvOCX.moc"
