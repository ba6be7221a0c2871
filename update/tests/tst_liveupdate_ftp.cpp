// The update dialog against a real FTP server on 127.0.0.1: the version check,
// the hand-over to the updater and the failures a server gives, each with the
// message the user sees.

#include "FakePlatform.h"
#include "InstallFixture.h"
#include "LocalFtpServer.h"
#include "frmLiveUpdate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>

using namespace kv;

Q_DECLARE_METATYPE(kv::StallLimit)

namespace {

const QString kUser = QStringLiteral("dazeziridedavud");
const QString kPassword = QStringLiteral("mirexoda");

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// Runs one check against the server on the port; returns m_blnUpdate.
bool check(int port, StallLimit stall = {}) {
    frmLiveUpdate dialog(
        nullptr, std::make_unique<CurlFtpSession>(QStringLiteral("127.0.0.1"), port, stall));
    dialog.cmdCheckForUpdate_Click();
    return dialog.m_blnUpdate;
}

bool writeFile(const QString& file, const QByteArray& content) {
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestLiveUpdateFtp : public QObject {
    Q_OBJECT
private slots:
    void versionCheck_data();
    void versionCheck();
    void yesFetchesAndStartsUpdater();
    void failures_data();
    void failures();
    void stalledTransferFails_data();
    void stalledTransferFails();
    void slowServerFailsInTime_data();
    void slowServerFailsInTime();
    void givingUpEndsTheDownload_data();
    void givingUpEndsTheDownload();
};

void TestLiveUpdateFtp::versionCheck_data() {
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QByteArray>("versionFile");
    QTest::addColumn<bool>("newer");

    QTest::newRow("same") << "1.3" << QByteArray("1.3\r\n") << false;
    QTest::newRow("same, no line end") << "1.3" << QByteArray("1.3") << false;
    QTest::newRow("same first line of several")
        << "1.3" << QByteArray("1.3\r\n1.4\r\nnotes\r\n") << false;
    QTest::newRow("same first line, Unix line ends") << "1.3" << QByteArray("1.3\n2.0\n") << false;
    QTest::newRow("letter case differs") << "1.3b" << QByteArray("1.3B\r\n") << true;
    QTest::newRow("trailing blank") << "1.3" << QByteArray("1.3 \r\n") << true;
    QTest::newRow("newer first line of several") << "1.3" << QByteArray("1.4\r\n1.3\r\n") << true;
    QTest::newRow("empty file") << "1.3" << QByteArray() << true;
}

// Whatever the version file says, answering No (or having the newest version)
// leaves the install folder as it was and starts nothing.
void TestLiveUpdateFtp::versionCheck() {
    QFETCH(QString, installed);
    QFETCH(QByteArray, versionFile);
    QFETCH(bool, newer);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), installed);
    FakePlatform platform;
    platform.boxes->answers = {MsgResult::No};
    test::LocalFtpServer server(kUser, kPassword);
    QVERIFY(server.port() > 0);
    QVERIFY(server.put(QStringLiteral("version.dat"), versionFile));
    QVERIFY(server.put(QStringLiteral("dezezivod.dat"), "installer"));
    const QStringList before = filesIn(fx.appPath());

    QCOMPARE(check(server.port()), false);

    QCOMPARE(platform.boxes->messages.size(), 1);
    const RecordedMessage box = platform.boxes->messages.first();
    if (newer) {
        QCOMPARE(box.text,
                 QStringLiteral("A new version is available. Do you want to download it now?"));
        QCOMPARE(box.title, QStringLiteral("Kirv Vorel Update"));
        QCOMPARE(box.buttons, MsgButtons::YesNo);
    } else {
        QCOMPARE(box.text,
                 QStringLiteral("You already have the newest version of Kirv Vorel installed."));
        QCOMPARE(box.title, QStringLiteral("Kirv Vorel"));
        QCOMPARE(box.buttons, MsgButtons::OK);
    }
    QCOMPARE(filesIn(fx.appPath()), before);
    QVERIFY(platform.desk->started.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// Yes: the installer data arrives byte for byte in place of an older copy, and
// the updater (a script here) is really started.
void TestLiveUpdateFtp::yesFetchesAndStartsUpdater() {
    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    setDesktop(nullptr); // the real program start
    platform.boxes->answers = {MsgResult::Yes};
    const QString app = fx.appPath();
    const QString marker = app + QStringLiteral("updater-started");
    {
        QFile updater(app + QStringLiteral("zqu.exe"));
        QVERIFY(updater.open(QIODevice::WriteOnly));
        updater.write("#!/bin/sh\necho started > \"$(dirname \"$0\")/updater-started\"\n");
        updater.close();
        QVERIFY(updater.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile old(app + QStringLiteral("Kirv Vorel.dat"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QByteArray installer;
    for (int i = 0; i < 70000; ++i)
        installer.append(char(i % 256));
    installer.append("\r\n\n\r\0end", 8);
    test::LocalFtpServer server(kUser, kPassword);
    QVERIFY(server.port() > 0);
    QVERIFY(server.put(QStringLiteral("version.dat"), "1.4\r\n"));
    QVERIFY(server.put(QStringLiteral("dezezivod.dat"), installer));

    QCOMPARE(check(server.port()), true);

    QCOMPARE(platform.boxes->messages.size(), 1); // the question only
    QCOMPARE(readAll(app + QStringLiteral("Kirv Vorel.dat")), installer);
    QVERIFY(!QFile::exists(app + QStringLiteral("version.dat")));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
}

void TestLiveUpdateFtp::failures_data() {
    QTest::addColumn<QString>("serverPassword"); // empty: nothing listens on the port
    QTest::addColumn<QStringList>("remoteFiles");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");

    const QStringList both = {QStringLiteral("version.dat"), QStringLiteral("dezezivod.dat")};
    // The numbers are the transfer library's error codes.
    QTest::newRow("version file missing")
        << kPassword << QStringList{"dezezivod.dat"} << "Error downloading: 78"
        << "FTP download error";
    QTest::newRow("installer data missing")
        << kPassword << QStringList{"version.dat"} << "Error downloading: 78"
        << "FTP download error";
    QTest::newRow("login refused") << "other" << both << "Error connecting to FTP-server: 67"
                                   << "FTP connection error";
    QTest::newRow("connection refused") << QString() << both << "Error connecting to FTP-server: 7"
                                        << "FTP connection error";
}

// A failed check tells the user once, leaves no file behind and starts nothing.
void TestLiveUpdateFtp::failures() {
    QFETCH(QString, serverPassword);
    QFETCH(QStringList, remoteFiles);
    QFETCH(QString, message);
    QFETCH(QString, title);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    platform.boxes->answers = {MsgResult::Yes};
    const QStringList before = filesIn(fx.appPath());

    int port = 0;
    std::unique_ptr<test::LocalFtpServer> server;
    if (serverPassword.isEmpty()) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        port = closed.serverPort();
    } else {
        server = std::make_unique<test::LocalFtpServer>(kUser, serverPassword);
        port = server->port();
        QVERIFY(port > 0);
        for (const QString& name : remoteFiles)
            QVERIFY(server->put(name, "1.4\r\n"));
    }

    QCOMPARE(check(port), false);

    QVERIFY(!platform.boxes->messages.isEmpty());
    const RecordedMessage box = platform.boxes->messages.last();
    QCOMPARE(box.text, message);
    QCOMPARE(box.title, title);
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(box.buttons, MsgButtons::OK);
    QCOMPARE(filesIn(fx.appPath()), before);
    QVERIFY(platform.desk->started.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestLiveUpdateFtp::stalledTransferFails_data() {
    QTest::addColumn<QString>("stall");
    QTest::addColumn<int>("messages"); // the question comes before the installer data

    QTest::newRow("version file after 2 of 5 bytes") << "version.dat:2" << 1;
    QTest::newRow("installer data after 500000 of 1572864 bytes") << "dezezivod.dat:500000" << 2;
}

// A server that stops sending in the middle of a file while keeping the data
// connection open: once the transfer has been below 1 byte/s for the stall
// time (2 s here) it fails like any other download, with the transfer
// library's timeout code, and leaves no partial file.
void TestLiveUpdateFtp::stalledTransferFails() {
    QFETCH(QString, stall);
    QFETCH(int, messages);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    platform.boxes->answers = {MsgResult::Yes};
    test::LocalFtpServer server(kUser, kPassword, {stall});
    QVERIFY(server.port() > 0);
    QVERIFY(server.put(QStringLiteral("version.dat"), "1.4\r\n"));
    QVERIFY(server.put(QStringLiteral("dezezivod.dat"), QByteArray(1572864, 'i')));
    const QStringList before = filesIn(fx.appPath());

    QCOMPARE(check(server.port(), StallLimit{1, 2}), false);

    QCOMPARE(platform.boxes->messages.size(), messages);
    const RecordedMessage box = platform.boxes->messages.last();
    QCOMPARE(box.text, QStringLiteral("Error downloading: 28"));
    QCOMPARE(box.title, QStringLiteral("FTP download error"));
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(filesIn(fx.appPath()), before);
    QVERIFY(platform.desk->started.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestLiveUpdateFtp::slowServerFailsInTime_data() {
    QTest::addColumn<QStringList>("behaviour");
    QTest::addColumn<StallLimit>("limit");
    QTest::addColumn<int>("messages"); // the question comes before the installer data

    // The session's own limits with their waits shortened, so that each ends
    // after 2 to 4 s instead of 30 s or more.
    const StallLimit shortWaits{.seconds = 2, .replySeconds = 2};
    // Two bytes a second: the lowest rate the session accepts is far above.
    QTest::newRow("version file trickles")
        << QStringList{"trickle:version.dat:1:500"} << shortWaits << 1;
    QTest::newRow("installer data trickles")
        << QStringList{"trickle:dezezivod.dat:1:500"} << shortWaits << 2;
    // 20 kB/s is fast enough for that, but the installer data may take 4 s
    // here (3 s plus 1 s for its size).
    QTest::newRow("installer data too slow for its size")
        << QStringList{"trickle:dezezivod.dat:2000:100"}
        << StallLimit{.startSeconds = 3, .averageBytesPerSecond = 1572864} << 2;
    // A server that announces far more than it sends would otherwise set the
    // limit for itself.
    QTest::newRow("installer data announced far too big")
        << QStringList{"size:dezezivod.dat:1572864000", "trickle:dezezivod.dat:2000:100"}
        << StallLimit{.startSeconds = 3, .averageBytesPerSecond = 1572864, .longestSeconds = 4}
        << 2;
    QTest::newRow("no reply to SIZE") << QStringList{"silent:SIZE"} << shortWaits << 1;
    QTest::newRow("no reply to RETR") << QStringList{"silent:RETR"} << shortWaits << 1;
    QTest::newRow("no reply to EPSV") << QStringList{"silent:EPSV"} << shortWaits << 1;
}

// A server that is alive but next to useless, sending a byte now and then or
// leaving a command unanswered, fails within the session's limits like any
// other download, with the transfer library's timeout code; no partial file is
// left and an older installer data file is kept.
void TestLiveUpdateFtp::slowServerFailsInTime() {
    QFETCH(QStringList, behaviour);
    QFETCH(StallLimit, limit);
    QFETCH(int, messages);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    platform.boxes->answers = {MsgResult::Yes};
    const QString app = fx.appPath();
    const QByteArray older(1000, 'o');
    QVERIFY(writeFile(app + QStringLiteral("Kirv Vorel.dat"), older));
    test::LocalFtpServer server(kUser, kPassword, behaviour);
    QVERIFY(server.port() > 0);
    // The first line is the version; the notes make the file long enough to
    // trickle for a while.
    QVERIFY(server.put(QStringLiteral("version.dat"), "1.4\r\n" + QByteArray(2000, 'n')));
    QVERIFY(server.put(QStringLiteral("dezezivod.dat"), QByteArray(1572864, 'i')));
    const QStringList before = filesIn(app);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(check(server.port(), limit), false);
    // Each limit above ends its wait after 2 to 3 s; without it the check
    // would wait for minutes or days.
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));

    QVERIFY2(platform.boxes->messages.size() == messages, qPrintable(platform.boxes->lastText()));
    const RecordedMessage box = platform.boxes->messages.last();
    QCOMPARE(box.text, QStringLiteral("Error downloading: 28"));
    QCOMPARE(box.title, QStringLiteral("FTP download error"));
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(filesIn(app), before);
    QCOMPARE(readAll(app + QStringLiteral("Kirv Vorel.dat")), older);
    QVERIFY(platform.desk->started.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestLiveUpdateFtp::givingUpEndsTheDownload_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel clicked") << "click";
    QTest::newRow("Escape pressed") << "escape";
    QTest::newRow("close box") << "close";
}

// A server that sends the installer data at 300 bytes/s, above the lowest rate
// the session accepts, would hold the window for almost half an hour. While
// the data arrives a progress box shows how much has come, and giving up there
// ends the check at once like a failed download, without a message: no partial
// file, the older installer data kept, no updater, the program going on.
void TestLiveUpdateFtp::givingUpEndsTheDownload() {
    QFETCH(QString, how);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    setProgressBoxes(nullptr); // the real progress dialog
    platform.boxes->answers = {MsgResult::Yes};
    const QString app = fx.appPath();
    const QByteArray older(1000, 'o');
    QVERIFY(writeFile(app + QStringLiteral("Kirv Vorel.dat"), older));
    test::LocalFtpServer server(kUser, kPassword, {QStringLiteral("trickle:dezezivod.dat:30:100")});
    QVERIFY(server.port() > 0);
    QVERIFY(server.put(QStringLiteral("version.dat"), "1.4\r\n"));
    QVERIFY(server.put(QStringLiteral("dezezivod.dat"), QByteArray(1572864, 'i')));
    const QStringList before = filesIn(app);

    // The user gives up once the first bytes show in the progress dialog.
    bool gaveUp = false;
    QString label;
    int maximum = -1;
    QString cancelName;
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QProgressDialog*>(window);
            if (!box || !box->isVisible() || !box->isModal() || box->value() <= 0)
                continue;
            user.stop();
            gaveUp = true;
            label = box->labelText();
            maximum = box->maximum();
            auto* cancel = box->findChild<QPushButton*>();
            QVERIFY(cancel);
            cancelName = cancel->accessibleName();
            if (how == QLatin1String("click"))
                QTest::mouseClick(cancel, Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
            return;
        }
    });
    user.start();

    // Should giving up not end the transfer, its limit ends it after 10 s with
    // an error box.
    QCOMPARE(check(server.port(), StallLimit{.longestSeconds = 10}), false);

    QVERIFY(gaveUp);
    QVERIFY2(label.startsWith(QStringLiteral("Downloading the new version of Kirv Vorel: ")) &&
                 label.endsWith(QStringLiteral(" of 1572864 bytes")),
             qPrintable(label));
    QCOMPARE(maximum, 1572864);
    QCOMPARE(cancelName, QStringLiteral("Cancel"));
    QVERIFY2(platform.boxes->messages.size() == 1, qPrintable(platform.boxes->lastText()));
    QCOMPARE(filesIn(app), before);
    QCOMPARE(readAll(app + QStringLiteral("Kirv Vorel.dat")), older);
    QVERIFY(platform.desk->started.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QProgressDialog*>(window));
}

QTEST_MAIN(TestLiveUpdateFtp)
#include "tst_liveupdate_ftp.moc"
