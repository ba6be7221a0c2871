// The update dialog's session steps against a fake file transfer session:
// failures the real server cannot be made to give, the pointer and the
// clean-up on every path.

#include "FakePlatform.h"
#include "InstallFixture.h"
#include "frmLiveUpdate.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace kv;

namespace {

// Answers every call as told and records what the dialog asked for.
class FakeFtpSession final : public FtpSession {
public:
    QString failAt; // the call that fails: open, callback, connect, find, get
    int error = 0;  // its error number
    bool writeFiles = true;
    QByteArray versionText = "1.4\r\n";
    QStringList calls;
    bool cursorDuringGet = true; // the hourglass showed during every fetch
    bool closed = false;
    // What each fetch tells its watch, bytes received and size, before its
    // file is written.
    QList<QPair<qint64, qint64>> progress = {{0, 1572864}, {500000, 1572864}, {1572864, 1572864}};

    bool open(const QString& agent) override { return step(QStringLiteral("open ") + agent); }
    bool setStatusCallback() override { return step(QStringLiteral("callback")); }
    bool connect(const QString& user, const QString& password) override {
        return step(QStringLiteral("connect ") + user + QLatin1Char(' ') + password);
    }
    bool findFile(const QString& remoteFile) override {
        return step(QStringLiteral("find ") + remoteFile);
    }
    bool getFile(const QString& remoteFile, const QString& localFile, bool failIfExists) override {
        const QCursor* c = QApplication::overrideCursor();
        cursorDuringGet = cursorDuringGet && c && c->shape() == Qt::WaitCursor;
        if (!step(QStringLiteral("get ") + remoteFile + (failIfExists ? " fail" : " replace")))
            return false;
        for (const auto& [received, total] : progress) {
            if (!transferGoesOn(received, total)) {
                error = 42; // the transfer library's code for a transfer its callback stopped
                return false;
            }
        }
        if (writeFiles) {
            QFile f(localFile);
            if (!f.open(QIODevice::WriteOnly))
                return false;
            f.write(remoteFile == QLatin1String("version.dat") ? versionText : "data");
        }
        return true;
    }
    void close() override { closed = true; }
    int lastError() const override { return error; }

private:
    bool step(const QString& call) {
        calls.append(call);
        return !call.startsWith(failAt) || failAt.isEmpty();
    }
};

} // namespace

class TestLiveUpdate : public QObject {
    Q_OBJECT
private slots:
    void dialogLayout();
    void session_data();
    void session();
    void updaterWaitsForTheProgramsLeave_data();
    void updaterWaitsForTheProgramsLeave();
    void installerArrivesUnderProgressBox_data();
    void installerArrivesUnderProgressBox();
};

void TestLiveUpdate::dialogLayout() {
    FakePlatform platform;
    frmLiveUpdate dialog(nullptr, std::make_unique<FakeFtpSession>());
    QCOMPARE(dialog.windowTitle(), QString("Kirv Vorel Update"));
    QCOMPARE(dialog.size(), QSize(312, 96));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.Label1->text(),
             QString("This will enable you to download the newest version of Kirv Vorel. Please "
                     "make sure that you are connected to Internet, and press 'Check for "
                     "update'."));
    QVERIFY(dialog.Label1->wordWrap());
    QCOMPARE(dialog.cmdCheckForUpdate->text(), QString("Check for update"));
    QCOMPARE(dialog.cmdCheckForUpdate->geometry(), QRect(72, 56, 177, 25));
}

void TestLiveUpdate::session_data() {
    QTest::addColumn<QString>("failAt");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("writeFiles");
    QTest::addColumn<bool>("updaterStarts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("update");

    const QString download = QStringLiteral("FTP download error");
    QTest::newRow("ready") << QString() << 0 << true << true << QString() << QString() << true;
    QTest::newRow("session cannot open")
        << "open" << 2 << true << true << "Error connecting to the internet: 2"
        << "Internet connection error" << false;
    QTest::newRow("status callback refused")
        << "callback" << 43 << true << true << QString() << QString() << false;
    QTest::newRow("login refused")
        << "connect" << 67 << true << true << "Error connecting to FTP-server: 67"
        << "FTP connection error" << false;
    QTest::newRow("version transfer breaks off")
        << "get version.dat" << 18 << true << true << "Error downloading: 18" << download << false;
    // The fetch reports success but no file arrived.
    QTest::newRow("version file unreadable")
        << QString() << 0 << false << true << "Error downloading: 26" << download << false;
    QTest::newRow("installer transfer breaks off") << "get dezezivod.dat" << 56 << true << true
                                                   << "Error downloading: 56" << download << false;
    QTest::newRow("updater cannot start") << QString() << 0 << true << false << "<updater>"
                                          << "Kirv Vorel Update" << false;
}

void TestLiveUpdate::session() {
    QFETCH(QString, failAt);
    QFETCH(int, error);
    QFETCH(bool, writeFiles);
    QFETCH(bool, updaterStarts);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(bool, update);

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    platform.desk->result = updaterStarts;
    auto owned = std::make_unique<FakeFtpSession>();
    FakeFtpSession& ftp = *owned;
    ftp.failAt = failAt;
    ftp.error = error;
    ftp.writeFiles = writeFiles;
    const QString updater = fx.appPath() + QStringLiteral("zqu.exe");
    if (message == QLatin1String("<updater>"))
        message = QStringLiteral("The update has been downloaded, but the updater ") + updater +
                  QStringLiteral(" could not be started.");

    frmLiveUpdate dialog(nullptr, std::move(owned));
    QCOMPARE(dialog.m_blnUpdate, false);
    dialog.cmdCheckForUpdate_Click();

    QCOMPARE(dialog.m_blnUpdate, update);
    QVERIFY(ftp.closed);
    QVERIFY(ftp.cursorDuringGet);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!QFile::exists(fx.appPath() + QStringLiteral("version.dat")));
    QCOMPARE(ftp.calls.first(), QStringLiteral("open DazeZiridEdavud"));
    if (ftp.calls.size() > 2)
        QCOMPARE(ftp.calls.at(2), QStringLiteral("connect dazeziridedavud mirexoda"));

    // The question about the new version comes first where the check got that
    // far; the last box is the failure.
    QList<RecordedMessage> boxes = platform.boxes->messages;
    if (!boxes.isEmpty() && boxes.first().buttons == MsgButtons::YesNo)
        boxes.removeFirst();
    if (message.isEmpty()) {
        QCOMPARE(boxes.size(), 0);
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().text, message);
        QCOMPARE(boxes.first().title, title);
        QCOMPARE(boxes.first().icon, MsgIcon::Critical);
        QCOMPARE(boxes.first().buttons, MsgButtons::OK);
    }
    const bool tried = platform.desk->started.size() == 1;
    QCOMPARE(tried, update || message.contains(updater));
    if (tried)
        QCOMPARE(platform.desk->started.first().first, updater);
}

void TestLiveUpdate::updaterWaitsForTheProgramsLeave_data() {
    QTest::addColumn<bool>("mayEnd");
    QTest::newRow("the program may end") << true;
    QTest::newRow("the program stays") << false;
}

// The program is asked whether it may end once the update is ready and before
// the updater starts; a program that stays starts no updater and keeps the
// downloaded file.
void TestLiveUpdate::updaterWaitsForTheProgramsLeave() {
    QFETCH(bool, mayEnd);
    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    frmLiveUpdate dialog(nullptr, std::make_unique<FakeFtpSession>());
    int asked = 0;
    dialog.mayHandOver = [&] {
        ++asked;
        return mayEnd;
    };
    dialog.cmdCheckForUpdate_Click();
    QCOMPARE(asked, 1);
    QCOMPARE(dialog.m_blnUpdate, mayEnd);
    QCOMPARE(platform.desk->started.size(), mayEnd ? 1 : 0);
    QVERIFY(QFile::exists(fx.appPath() + QStringLiteral("Kirv Vorel.dat")));
    QCOMPARE(platform.boxes->messages.size(), 1); // the question about the new version
}

void TestLiveUpdate::installerArrivesUnderProgressBox_data() {
    QTest::addColumn<int>("cancelAt"); // the update Cancel ends; -1: none
    QTest::newRow("arrives") << -1;
    QTest::newRow("Cancel before the first byte") << 0;
    QTest::newRow("Cancel as the last bytes arrive") << 2;
}

// Only the installer data arrives under a progress box, which tells how many of
// its bytes have come. Cancel ends the check like a failed download but
// without a message: the older installer data stays, no updater starts.
void TestLiveUpdate::installerArrivesUnderProgressBox() {
    QFETCH(int, cancelAt);
    const bool cancelled = cancelAt >= 0;

    test::InstallFixture fx;
    fx.setSetting(QStringLiteral("Version"), QStringLiteral("1.3"));
    FakePlatform platform;
    platform.progress->cancelAt = cancelAt;
    const QString installer = fx.appPath() + QStringLiteral("Kirv Vorel.dat");
    {
        QFile old(installer);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older");
    }
    auto owned = std::make_unique<FakeFtpSession>();
    FakeFtpSession& ftp = *owned;
    frmLiveUpdate dialog(nullptr, std::move(owned));
    dialog.cmdCheckForUpdate_Click();

    QCOMPARE(platform.progress->titles, QStringList{QStringLiteral("Kirv Vorel Update")});
    const QString arriving = QStringLiteral("Downloading the new version of Kirv Vorel: ");
    const QList<FakeProgressBoxes::Shown> shown = platform.progress->shown;
    QCOMPARE(shown.size(), 1 + (cancelled ? cancelAt + 1 : 3));
    QCOMPARE(shown.first().text, arriving + QStringLiteral("0 bytes"));
    for (int i = 1; i < shown.size(); ++i) {
        const auto [received, total] = ftp.progress.at(i - 1);
        QCOMPARE(shown.at(i).done, received);
        QCOMPARE(shown.at(i).total, total);
        QCOMPARE(shown.at(i).text, arriving + QString::number(received) + QStringLiteral(" of ") +
                                       QString::number(total) + QStringLiteral(" bytes"));
    }
    QCOMPARE(platform.progress->openBoxes, 0);

    QCOMPARE(platform.boxes->messages.size(), 1); // the question about the new version
    QCOMPARE(dialog.m_blnUpdate, !cancelled);
    QCOMPARE(platform.desk->started.size(), cancelled ? 0 : 1);
    QFile file(installer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(cancelled ? "older" : "data"));
    QVERIFY(ftp.closed);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestLiveUpdate)
#include "tst_liveupdate.moc"
