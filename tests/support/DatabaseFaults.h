#pragma once
// Faults of the race database for a test: a full disk on the program's own
// connection, and a lock held by another connection as another program would.

#include "Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace kv::test {

// The connection cannot grow the file by a single page, and the pages of the
// lap and entry tables (and their indexes) are full, so every insert there is
// refused as on a full disk. The rows that filled them belong to no race the
// test uses and are removed again by end().
class FullDisk {
public:
    explicit FullDisk(Database& db) : m_db(db) {}
    ~FullDisk() { end(); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool begin() {
        Recordset rs;
        if (!m_db.Select(QStringLiteral("PRAGMA page_count;"), rs) || rs.isEmpty())
            return false;
        if (!m_db.tryExecute(QStringLiteral("PRAGMA max_page_count=") + rs.value(0, 0).toString() +
                             QLatin1Char(';')))
            return false;
        m_active = true;
        return fill(QStringLiteral("INSERT INTO tblLapInRace (DriverInRaceID, TotalTime, "
                                   "TotalTimeString, LapTime, LapTimeString, RaceID) VALUES "
                                   "(-1, 0, '0.000', 0, '0.000', %1);")) &&
               fill(QStringLiteral("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
                                   "TransponderID, TimeToFinish, TimeToFinishString) VALUES "
                                   "(-1, %1, 0, 0, 100000000, '...');"));
    }
    // Room again, without the rows that filled the pages.
    bool end() {
        if (!m_active)
            return true;
        m_active = false;
        return m_db.tryExecute(QStringLiteral("PRAGMA max_page_count=1073741823;")) &&
               m_db.tryExecute(QStringLiteral("DELETE FROM tblLapInRace WHERE RaceID=") +
                               QString::number(kFillerRace) + QLatin1Char(';')) &&
               m_db.tryExecute(QStringLiteral("DELETE FROM tblDriverInRace WHERE RaceID=") +
                               QString::number(kFillerRace) + QLatin1Char(';'));
    }

private:
    static constexpr int kFillerRace = 30000;

    // Inserts rows until the file is full.
    bool fill(const QString& insert) {
        for (int i = 0; i < 100000; ++i) {
            QString error;
            if (!m_db.tryExecute(insert.arg(kFillerRace), &error))
                return error.contains(QStringLiteral("full"));
        }
        return false;
    }

    Database& m_db;
    bool m_active = false;
};

// Another program's write lock on the database file, held until release().
class HeldLock {
public:
    explicit HeldLock(const QString& file)
        : m_name(QStringLiteral("lock-") + QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        m_held = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE;"));
    }
    ~HeldLock() {
        release();
        QSqlDatabase::removeDatabase(m_name);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

    bool held() const { return m_held; }
    void release() {
        if (!QSqlDatabase::contains(m_name))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (m_held)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK;"));
            db.close();
        }
        m_held = false;
    }

private:
    QString m_name;
    bool m_held = false;
};

// A lock a test cannot go on without: the test program ends when it cannot be
// taken.
class OtherProgramLock : public HeldLock {
public:
    explicit OtherProgramLock(const QString& file) : HeldLock(file) {
        if (!held())
            qFatal("another connection could not take the database's write lock");
    }
};

} // namespace kv::test
