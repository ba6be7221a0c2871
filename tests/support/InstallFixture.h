#pragma once
// A throw-away installation for one test: an install folder made by the
// installation step (database, sounds) and a settings key of its own in a
// temporary configuration folder.

#include "Installer.h"
#include "mdlRegistry.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

namespace kv::test {

class InstallFixture {
public:
    explicit InstallFixture(bool installNow = true) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        setSettingsStore(nullptr);
        if (installNow)
            install();
    }
    ~InstallFixture() { qunsetenv("XDG_CONFIG_HOME"); }
    InstallFixture(const InstallFixture&) = delete;
    InstallFixture& operator=(const InstallFixture&) = delete;

    void install() {
        QString error;
        if (!Installer::install(appFolder(), &error))
            qFatal("installation failed: %s", qPrintable(error));
    }
    QString appFolder() const { return m_dir.filePath(QStringLiteral("app")); }
    QString appPath() const { return Installer::appPathOf(appFolder()); }
    QString databaseFile() const { return appPath() + QStringLiteral("zadiva.dat"); }
    QString setting(const QString& name) const {
        return GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, name, QStringLiteral("<none>"));
    }
    void setSetting(const QString& name, const QString& value) {
        SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, name, value, true);
    }

    // Runs statements on the database file over a connection of the test's own.
    bool sql(const QStringList& statements) const {
        const QString name = QStringLiteral("fixture-") + QUuid::createUuid().toString();
        bool ok = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(databaseFile());
            ok = db.open();
            QSqlQuery q(db);
            for (const QString& s : statements) {
                if (!ok)
                    break;
                if (!q.exec(s)) {
                    qWarning("%s: %s", qPrintable(s), qPrintable(q.lastError().text()));
                    ok = false;
                }
            }
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }
    // The first column of every row of a statement, as text ("NULL" for none).
    QStringList column(const QString& statement) const {
        const QString name = QStringLiteral("fixture-") + QUuid::createUuid().toString();
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(databaseFile());
            db.open();
            QSqlQuery q(db);
            if (!q.exec(statement))
                qWarning("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
            while (q.next())
                out << (q.value(0).isNull() ? QStringLiteral("NULL") : q.value(0).toString());
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return out;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace kv::test
