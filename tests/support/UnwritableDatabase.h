#pragma once
// Ways a race database file becomes one the program can read but not write, as
// a user meets them: a file without write permission, and a lock held by
// another program.

#include "DatabaseFaults.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include <initializer_list>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kv::test {

// The file loses its write permission. A test run as root would still write it
// (root passes every permission check), so the calling thread also puts down
// its power to override file permissions for as long as this lives; SQLite then
// opens the file read-only, exactly as for an ordinary user. Only the calling
// thread is affected, and the power is taken up again at the end.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& file) : m_file(QFile::encodeName(file)) {
        struct stat st {};
        if (::stat(m_file.constData(), &st) == 0)
            m_mode = st.st_mode & 07777;
        ::chmod(m_file.constData(), 0444);
        m_dropped = setFileOverride(false);
    }
    ~ReadOnlyFile() {
        if (m_dropped)
            setFileOverride(true);
        ::chmod(m_file.constData(), m_mode);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

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

    QByteArray m_file;
    mode_t m_mode = 0644;
    bool m_dropped = false;
};

} // namespace kv::test
