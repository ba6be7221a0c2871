#pragma once
// A file transfer session with the maker's file server: open, connect and log
// in, look for a remote file, fetch it, close. Every call is synchronous. After
// a failed call lastError() is the transfer library's error number.

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

namespace kv {

class FtpSession {
public:
    // Told the bytes received and the file's size (0 while the server has not
    // told it) as a file transfer goes on; false stops the transfer, which then
    // fails like any other.
    using TransferWatch = std::function<bool(qint64 receivedBytes, qint64 totalBytes)>;

    virtual ~FtpSession() = default;
    // Prepares the session under the agent name; false when it cannot.
    virtual bool open(const QString& agent) = 0;
    // Installs the quiet status callback; false when it is refused.
    virtual bool setStatusCallback() = 0;
    // Connects to the server and logs in (passive transfers).
    virtual bool connect(const QString& user, const QString& password) = 0;
    // True when the remote file exists.
    virtual bool findFile(const QString& remoteFile) = 0;
    // Fetches the remote file (binary) into the local file. An existing local
    // file is replaced only by a complete transfer, and then only when
    // failIfExists is false; a failed transfer leaves nothing behind.
    virtual bool getFile(const QString& remoteFile, const QString& localFile,
                         bool failIfExists) = 0;
    // Ends the connection and the session; safe to call more than once.
    virtual void close() = 0;
    virtual int lastError() const = 0;

    // The watch of the file transfers that follow; an empty one watches none.
    void setTransferWatch(TransferWatch watch) { m_watch = std::move(watch); }

protected:
    // False once the watch has stopped the running file transfer.
    bool transferGoesOn(qint64 receivedBytes, qint64 totalBytes) const {
        return !m_watch || m_watch(receivedBytes, totalBytes);
    }

private:
    TransferWatch m_watch;
};

// How long the session waits on a server before it gives up. Every wait is
// bounded, so a server that stops answering or sends next to nothing cannot
// hold the window for good.
struct StallLimit {
    // A transfer that stays below bytesPerSecond for the whole of seconds has
    // stalled or trickles slower than any real line: it fails.
    long bytesPerSecond = 256;
    long seconds = 30;
    // The longest wait for the server's reply to one command (as long as the
    // connect may take).
    long replySeconds = 30;
    // A file has to arrive within startSeconds plus its size at the lowest
    // average rate the session accepts (the bytes received so far stand for a
    // size the server does not tell).
    long startSeconds = 60;
    long averageBytesPerSecond = 1024;
    // However big the server says a file is, its transfer ends after this:
    // the size comes from the server, and one that announces far more than it
    // sends would otherwise hold the window for days. An hour leaves the
    // installer data (1.5 MB) all the time the rule above gives it.
    long longestSeconds = 3600;
};

// The session over libcurl: FTP to host:port, passive mode. A wait beyond its
// limits fails with the library's timeout code.
class CurlFtpSession final : public FtpSession {
public:
    CurlFtpSession(QString host, int port = 21, StallLimit stall = {});
    ~CurlFtpSession() override;
    CurlFtpSession(const CurlFtpSession&) = delete;
    CurlFtpSession& operator=(const CurlFtpSession&) = delete;

    bool open(const QString& agent) override;
    bool setStatusCallback() override;
    bool connect(const QString& user, const QString& password) override;
    bool findFile(const QString& remoteFile) override;
    bool getFile(const QString& remoteFile, const QString& localFile, bool failIfExists) override;
    void close() override;
    int lastError() const override { return m_lastError; }

    // The error number given when a local file cannot be written.
    static int writeErrorNumber();
    // The error number given when a local file cannot be read.
    static int readErrorNumber();
    // The quiet status callback's work: false when the running file transfer
    // has to give up, because it took too long or its watch stopped it.
    static bool statusGoesOn(void* session, qint64 totalBytes, qint64 receivedBytes);

private:
    QString url(const QString& remoteFile) const;
    bool perform(const QString& remoteFile, bool body);
    // True when the running file transfer has taken longer than a file of
    // its size may.
    bool overTime(qint64 totalBytes, qint64 receivedBytes) const;

    QString m_host;
    int m_port;
    StallLimit m_stall;
    void* m_curl = nullptr; // CURL*
    int m_lastError = 0;
    QElapsedTimer m_transfer; // runs during a file transfer only
    bool m_timedOut = false;
};

} // namespace kv
