#pragma once
// The update dialog: one button that fetches the newest version text from the
// maker's file server, compares it with the installed version and, when the
// user agrees, fetches the installer data and starts the updater.

#include "FtpSession.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace kv {

class frmLiveUpdate final : public QDialog {
    Q_OBJECT
public:
    // Without a session, the dialog talks to the maker's file server.
    explicit frmLiveUpdate(QWidget* parent = nullptr, std::unique_ptr<FtpSession> session = {});
    ~frmLiveUpdate() override;

    // True once the updater has been started: the caller then ends the program.
    bool m_blnUpdate = false;
    // Asked when the update is ready, before the updater starts: false keeps
    // the program running and the updater not started (the downloaded file
    // stays). Unset, the updater starts.
    std::function<bool()> mayHandOver;
    // The session the check runs on, in place of the one given at creation.
    void setSession(std::unique_ptr<FtpSession> session);

    void Form_Load();
    // The whole check; it always ends by unloading the dialog.
    void cmdCheckForUpdate_Click();
    // Fetches one remote file under the hourglass pointer.
    bool FtpDownloadFile(FtpSession& connection, const QString& remoteFile,
                         const QString& localFile, bool failIfExists);

    QLabel* Label1 = nullptr;
    QPushButton* cmdCheckForUpdate = nullptr;

    static const QString kServerHost;
    static constexpr int kServerPort = 21;
    static const QString kAgent;
    static const QString kUser;
    static const QString kPassword;
    static const QString kTitle;

private:
    // Steps of the check up to the downloaded installer data; true when the
    // update is ready to hand over.
    bool fetchUpdate(const QString& appPath);
    // Fetches the installer data under a progress box with Cancel; cancelled
    // tells whether the user gave up.
    bool fetchInstaller(FtpSession& ftp, const QString& localFile, bool& cancelled);
    void startUpdater(const QString& appPath);
    // The pointer is either the hourglass or the default one.
    void setHourglass(bool on);

    std::unique_ptr<FtpSession> m_session;
    bool m_hourglass = false;
};

} // namespace kv
