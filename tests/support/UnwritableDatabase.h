#pragma once
// Ways a race database file becomes one the program can read but not write, as
// a user meets them: a file without write permission, a folder without it, and
// a lock held by another program.

#include "DatabaseFaults.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <initializer_list>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kv::test {

// Paths lose their write permission (a file 0644 becomes 0444, a folder 0755
// becomes 0555). A test run as root would still write them (root passes every
// permission check), so the calling thread also puts down its power to
// override file permissions for as long as this lives; SQLite then meets the
// paths exactly as an ordinary user does. Only the calling thread is affected;
// at the end the power is taken up again and the permissions put back.
class WritePermissionTaken {
public:
    explicit WritePermissionTaken(const QStringList& paths) {
        for (const QString& path : paths) {
            const QByteArray name = QFile::encodeName(path);
            struct stat st {};
            if (::stat(name.constData(), &st) != 0)
                continue;
            m_modes.append({name, mode_t(st.st_mode & 07777)});
            ::chmod(name.constData(), st.st_mode & 07777 & ~mode_t(0222));
        }
        m_dropped = setFileOverride(false);
    }
    ~WritePermissionTaken() {
        if (m_dropped)
            setFileOverride(true);
        for (auto it = m_modes.crbegin(); it != m_modes.crend(); ++it)
            ::chmod(it->first.constData(), it->second);
    }
    WritePermissionTaken(const WritePermissionTaken&) = delete;
    WritePermissionTaken& operator=(const WritePermissionTaken&) = delete;

private:
    // Raises or lowers the thread's permission overrides; false when there was
    // nothing to lower (not root).
    static bool setFileOverride(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return false;
        bool changed = false;
        for (int cap : {int(CAP_DAC_OVERRIDE), int(CAP_DAC_READ_SEARCH)}) {
            const __u32 bit = 1u << (cap % 32);
            if (!(data[cap / 32].permitted & bit))
                continue;
            if (on)
                data[cap / 32].effective |= bit;
            else
                data[cap / 32].effective &= ~bit;
            changed = true;
        }
        return changed && ::syscall(SYS_capset, &header, data) == 0;
    }

    QList<QPair<QByteArray, mode_t>> m_modes;
    bool m_dropped = false;
};

// The database file loses its write permission; its folder stays writable.
class ReadOnlyFile : public WritePermissionTaken {
public:
    explicit ReadOnlyFile(const QString& file) : WritePermissionTaken({file}) {}
};

// The folder of the database file and every file directly in it lose their
// write permission, as on a write-protected stick or a read-only share.
class ReadOnlyFolder : public WritePermissionTaken {
public:
    explicit ReadOnlyFolder(const QString& file) : WritePermissionTaken(folderAndFiles(file)) {}

private:
    static QStringList folderAndFiles(const QString& file) {
        const QDir folder = QFileInfo(file).absoluteDir();
        QStringList paths;
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            paths << folder.filePath(name);
        return paths << folder.path();
    }
};

// Runs statements on the database file and leaves their changes only in its
// write log ("<file>-wal") beside it, as when the program that made them did
// not close the database: the file itself keeps the state from before.
inline bool LeaveChangesInWriteLog(const QString& file, const QStringList& statements) {
    const QString name = QStringLiteral("writelog-") + QUuid::createUuid().toString();
    const QString log = file + QStringLiteral("-wal");
    const QString keptFile = file + QStringLiteral(".kept");
    const QString keptLog = log + QStringLiteral(".kept");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& s : statements)
            ok = ok && q.exec(s);
        // Taken while the connection is open: the changes are in the log only.
        ok = ok && QFile::copy(file, keptFile) && QFile::copy(log, keptLog);
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile::remove(log);
    QFile::remove(file + QStringLiteral("-shm"));
    return ok && QFile::remove(file) && QFile::rename(keptFile, file) &&
           QFile::rename(keptLog, log) && QFileInfo(log).size() > 0;
}

// Every file directly in a folder, by name, with a digest of its content.
inline QMap<QString, QByteArray> FolderContent(const QString& folder) {
    QMap<QString, QByteArray> content;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(dir.filePath(name));
        content.insert(name, f.open(QIODevice::ReadOnly)
                                 ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                 : QByteArray());
    }
    return content;
}

} // namespace kv::test
