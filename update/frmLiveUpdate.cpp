#include "frmLiveUpdate.h"

#include "Helpers.h"
#include "Platform.h"
#include "Ui.h"
#include "mdlRegistry.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace kv {

const QString frmLiveUpdate::kServerHost = QStringLiteral("ftp.vevevur.example");
const QString frmLiveUpdate::kAgent = QStringLiteral("DazeZiridEdavud");
const QString frmLiveUpdate::kUser = QStringLiteral("dazeziridedavud");
const QString frmLiveUpdate::kPassword = QStringLiteral("mirexoda");
const QString frmLiveUpdate::kTitle = QStringLiteral("Kirv Vorel Update");

namespace {

const QString kVersionFile = QStringLiteral("version.dat");
const QString kInstallerFile = QStringLiteral("dezezivod.dat");
const QString kLocalInstallerFile = QStringLiteral("Kirv Vorel.dat");
const QString kUpdater = QStringLiteral("zqu.exe");

void showError(const QString& text, int number, const QString& title) {
    MsgBox(text + QString::number(number), MsgButtons::OK, MsgIcon::Critical, title);
}

void downloadError(int number) {
    showError(QStringLiteral("Error downloading: "), number, QStringLiteral("FTP download error"));
}

// What the progress box says while the installer data arrives.
QString installerProgressText(qint64 receivedBytes, qint64 totalBytes) {
    QString text = QStringLiteral("Downloading the new version of Kirv Vorel: ") +
                   QString::number(receivedBytes);
    if (totalBytes > 0)
        text += QStringLiteral(" of ") + QString::number(totalBytes);
    return text + QStringLiteral(" bytes");
}

// The first line of a text file, without its line end; false when the file
// cannot be read.
bool readFirstLine(const QString& fileName, QString& line) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes;
    char c = 0;
    while (file.getChar(&c) && c != '\n' && c != '\r')
        bytes.append(c);
    if (file.error() != QFileDevice::NoError)
        return false;
    line = QString::fromLatin1(bytes);
    return true;
}

} // namespace

frmLiveUpdate::frmLiveUpdate(QWidget* parent, std::unique_ptr<FtpSession> session)
    : QDialog(parent), m_session(std::move(session)) {
    if (!m_session)
        m_session = std::make_unique<CurlFtpSession>(kServerHost, kServerPort);
    SetUpFixedWindow(this, "frmLiveUpdate", kTitle, 4680, 1440, formFont(8.25, false));

    Label1 = addLabel("Label1",
                      QStringLiteral("This will enable you to download the newest version of Kirv "
                                     "Vorel. Please make sure that you are connected to Internet, "
                                     "and press 'Check for update'."),
                      this, 120, 120, 4455, 735);
    Label1->setWordWrap(true);
    cmdCheckForUpdate = addButton("cmdCheckForUpdate", QStringLiteral("Check for update"), this,
                                  1080, 840, 2655, 375);
    connect(cmdCheckForUpdate, &QPushButton::clicked, this,
            &frmLiveUpdate::cmdCheckForUpdate_Click);
    DescribeControls(this);
    Form_Load();
}

frmLiveUpdate::~frmLiveUpdate() {
    setHourglass(false);
}

void frmLiveUpdate::setSession(std::unique_ptr<FtpSession> session) {
    m_session = std::move(session);
}

void frmLiveUpdate::Form_Load() {
    m_blnUpdate = false;
}

void frmLiveUpdate::setHourglass(bool on) {
    if (on == m_hourglass)
        return;
    m_hourglass = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool frmLiveUpdate::FtpDownloadFile(FtpSession& connection, const QString& remoteFile,
                                    const QString& localFile, bool failIfExists) {
    setHourglass(true);
    const bool ok = connection.getFile(remoteFile, localFile, failIfExists);
    setHourglass(false);
    return ok;
}

void frmLiveUpdate::cmdCheckForUpdate_Click() {
    setHourglass(true);
    const QString appPath = GetAppPath();
    const bool ready = fetchUpdate(appPath);
    m_session->close();
    setHourglass(false);
    if (ready && (!mayHandOver || mayHandOver()))
        startUpdater(appPath);
    done(QDialog::Accepted);
}

bool frmLiveUpdate::fetchUpdate(const QString& appPath) {
    FtpSession& ftp = *m_session;
    if (!ftp.open(kAgent)) {
        setHourglass(false);
        showError(QStringLiteral("Error connecting to the internet: "), ftp.lastError(),
                  QStringLiteral("Internet connection error"));
        return false;
    }
    if (!ftp.setStatusCallback())
        return false;
    if (!ftp.connect(kUser, kPassword)) {
        showError(QStringLiteral("Error connecting to FTP-server: "), ftp.lastError(),
                  QStringLiteral("FTP connection error"));
        return false;
    }

    if (!ftp.findFile(kVersionFile)) {
        setHourglass(false);
        downloadError(ftp.lastError());
        return false;
    }
    const QString localVersionFile = appPath + kVersionFile;
    if (!FtpDownloadFile(ftp, kVersionFile, localVersionFile, false)) {
        downloadError(ftp.lastError());
        return false;
    }

    const QString installed =
        GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("Version"), QString());
    QString newest;
    const bool read = readFirstLine(localVersionFile, newest);
    QFile::remove(localVersionFile);
    if (!read) {
        // A version file that cannot be read counts as a failed download.
        downloadError(CurlFtpSession::readErrorNumber());
        return false;
    }
    if (newest == installed) {
        MsgBox(QStringLiteral("You already have the newest version of Kirv Vorel installed."),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return false;
    }
    if (MsgBox(QStringLiteral("A new version is available. Do you want to download it now?"),
               MsgButtons::YesNo, MsgIcon::None, kTitle) != MsgResult::Yes)
        return false;

    if (!ftp.findFile(kInstallerFile)) {
        setHourglass(false);
        downloadError(ftp.lastError());
        return false;
    }
    bool cancelled = false;
    if (!fetchInstaller(ftp, appPath + kLocalInstallerFile, cancelled)) {
        // Cancel is the user's own choice: it ends the check like a failed
        // download, without a message.
        if (!cancelled)
            downloadError(ftp.lastError());
        return false;
    }
    return true;
}

bool frmLiveUpdate::fetchInstaller(FtpSession& ftp, const QString& localFile, bool& cancelled) {
    // The installer data takes minutes on a slow line: a progress box shows
    // how much of it has arrived and lets the user give up. It closes before
    // any message about the download.
    const std::unique_ptr<ProgressBox> progress =
        progressBoxes().open(this, kTitle, installerProgressText(0, 0));
    ftp.setTransferWatch([&](qint64 receivedBytes, qint64 totalBytes) {
        cancelled = cancelled || !progress->update(installerProgressText(receivedBytes, totalBytes),
                                                   receivedBytes, totalBytes);
        return !cancelled;
    });
    const bool fetched = FtpDownloadFile(ftp, kInstallerFile, localFile, false);
    ftp.setTransferWatch({});
    return fetched;
}

void frmLiveUpdate::startUpdater(const QString& appPath) {
    const QString program = appPath + kUpdater;
    if (!desktop().startDetached(program, {})) {
        MsgBox(QStringLiteral("The update has been downloaded, but the updater ") + program +
                   QStringLiteral(" could not be started."),
               MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    m_blnUpdate = true;
}

} // namespace kv
