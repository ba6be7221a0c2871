#pragma once
// A real FTP server on 127.0.0.1 for one test: Debian's Python runs the
// pyftpdlib script beside this file on a free port and serves a temporary
// folder; the server stops when the object goes. A file named in stalls
// ("<file>:<bytes>") stops coming after that many bytes while its data
// connection stays open.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace kv::test {

class LocalFtpServer {
public:
    LocalFtpServer(const QString& user, const QString& password, const QStringList& stalls = {}) {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        QStringList{QStringLiteral("-u"),
                                    QStringLiteral(KV_SOURCE_DIR "/update/tests/ftp_server.py"),
                                    m_root.path(), user, password} +
                            stalls);
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = m_process.readLine().trimmed().toInt();
    }
    ~LocalFtpServer() {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    LocalFtpServer(const LocalFtpServer&) = delete;
    LocalFtpServer& operator=(const LocalFtpServer&) = delete;

    // 0 when the server did not start.
    int port() const { return m_port; }
    bool put(const QString& name, const QByteArray& content) const {
        QFile f(QDir(m_root.path()).filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    }

private:
    QTemporaryDir m_root;
    QProcess m_process;
    int m_port = 0;
};

} // namespace kv::test
