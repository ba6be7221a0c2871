#include "FtpSession.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace kv {

namespace {

CURL* handle(void* p) {
    return static_cast<CURL*>(p);
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

size_t writeToFile(char* data, size_t size, size_t count, void* file) {
    const qint64 bytes = qint64(size * count);
    return static_cast<QSaveFile*>(file)->write(data, bytes) == bytes ? size_t(bytes) : 0;
}

// Status notices of the transfer library are not shown to anyone; during a
// file transfer they watch its time and tell the session's watch how far it
// has come.
int quietStatus(void* session, curl_off_t downloadTotal, curl_off_t downloaded, curl_off_t,
                curl_off_t) {
    return CurlFtpSession::statusGoesOn(session, qint64(downloadTotal), qint64(downloaded)) ? 0 : 1;
}

} // namespace

CurlFtpSession::CurlFtpSession(QString host, int port, StallLimit stall)
    : m_host(std::move(host)), m_port(port), m_stall(stall) {}

CurlFtpSession::~CurlFtpSession() {
    close();
}

int CurlFtpSession::writeErrorNumber() {
    return CURLE_WRITE_ERROR;
}

int CurlFtpSession::readErrorNumber() {
    return CURLE_READ_ERROR;
}

bool CurlFtpSession::overTime(qint64 totalBytes, qint64 receivedBytes) const {
    if (!m_transfer.isValid())
        return false;
    const qint64 size = std::max(totalBytes, receivedBytes);
    const qint64 allowedMs =
        std::min<qint64>(m_stall.startSeconds + size / std::max(1L, m_stall.averageBytesPerSecond),
                         m_stall.longestSeconds) *
        1000;
    return m_transfer.elapsed() > allowedMs;
}

bool CurlFtpSession::statusGoesOn(void* session, qint64 totalBytes, qint64 receivedBytes) {
    auto* self = static_cast<CurlFtpSession*>(session);
    if (!self || !self->m_transfer.isValid())
        return true;
    if (self->overTime(totalBytes, receivedBytes)) {
        self->m_timedOut = true;
        return false;
    }
    return self->transferGoesOn(receivedBytes, totalBytes);
}

bool CurlFtpSession::open(const QString& agent) {
    static std::once_flag global;
    std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    close();
    m_curl = curl_easy_init();
    if (!m_curl) {
        m_lastError = CURLE_FAILED_INIT;
        return false;
    }
    CURL* c = handle(m_curl);
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*"); // direct access
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    // The connect timeout ends nothing once the server has answered: a reply
    // to a command would otherwise take up to two minutes, and a server that
    // stops sending, or sends a byte now and then, would hold the transfer for
    // ever.
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_stall.replySeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, m_stall.bytesPerSecond);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, m_stall.seconds);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &discard);
    // Passive transfers: no PORT address is ever offered.
    curl_easy_setopt(c, CURLOPT_FTPPORT, static_cast<char*>(nullptr));
    return true;
}

bool CurlFtpSession::setStatusCallback() {
    if (!m_curl)
        return false;
    CURL* c = handle(m_curl);
    const CURLcode a = curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &quietStatus);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, this);
    const CURLcode b = curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    m_lastError = a != CURLE_OK ? a : b;
    return m_lastError == CURLE_OK;
}

QString CurlFtpSession::url(const QString& remoteFile) const {
    return QStringLiteral("ftp://%1:%2/").arg(m_host).arg(m_port) +
           QString::fromLatin1(QUrl::toPercentEncoding(remoteFile));
}

bool CurlFtpSession::perform(const QString& remoteFile, bool body) {
    if (!m_curl) {
        m_lastError = CURLE_FAILED_INIT;
        return false;
    }
    CURL* c = handle(m_curl);
    const QByteArray address = url(remoteFile).toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_NOBODY, body ? 0L : 1L);
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);
    m_lastError = curl_easy_perform(c);
    return m_lastError == CURLE_OK;
}

bool CurlFtpSession::connect(const QString& user, const QString& password) {
    if (!m_curl) {
        m_lastError = CURLE_FAILED_INIT;
        return false;
    }
    CURL* c = handle(m_curl);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.toUtf8().constData());
    // Logging in at the server's root transfers nothing; the connection stays
    // open for the calls that follow.
    return perform(QString(), false);
}

bool CurlFtpSession::findFile(const QString& remoteFile) {
    return perform(remoteFile, false);
}

bool CurlFtpSession::getFile(const QString& remoteFile, const QString& localFile,
                             bool failIfExists) {
    if (failIfExists && QFile::exists(localFile)) {
        m_lastError = CURLE_WRITE_ERROR;
        return false;
    }
    QSaveFile file(localFile);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = CURLE_WRITE_ERROR;
        return false;
    }
    bool ok = false;
    if (m_curl) {
        CURL* c = handle(m_curl);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeToFile);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &file);
        // The whole transfer has a time limit that grows with the file's size,
        // which the server tells before the first byte; the status callback
        // watches it.
        m_transfer.start();
        m_timedOut = false;
        ok = perform(remoteFile, true);
        m_transfer.invalidate();
        if (m_timedOut)
            m_lastError = CURLE_OPERATION_TIMEDOUT;
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &discard);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, static_cast<void*>(nullptr));
    } else {
        m_lastError = CURLE_FAILED_INIT;
    }
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_lastError = CURLE_WRITE_ERROR;
        return false;
    }
    return true;
}

void CurlFtpSession::close() {
    if (m_curl) {
        curl_easy_cleanup(handle(m_curl));
        m_curl = nullptr;
    }
}

} // namespace kv
