#include "Installer.h"

#include "mdlRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace kv {

QStringList Installer::schemaStatements() {
    QFile f(QStringLiteral(":/install/schema.sql"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char(' ');
        if (line.endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    return statements;
}

bool Installer::createDatabase(const QString& file, QString* error) {
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (QFileInfo::exists(file))
        return fail(QStringLiteral("%1 exists already.").arg(file));
    const QString name = QStringLiteral("kv-install-") + QUuid::createUuid().toString();
    bool ok = true;
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open()) {
            ok = false;
            why = db.lastError().text();
        } else {
            QSqlQuery q(db);
            // The journal mode is kept in the file: every later connection uses WAL.
            QStringList all{QStringLiteral("PRAGMA journal_mode=WAL;"), QStringLiteral("BEGIN;")};
            all += schemaStatements();
            all << QStringLiteral("COMMIT;");
            for (const QString& s : all) {
                if (!q.exec(s)) {
                    ok = false;
                    why = s + QStringLiteral(": ") + q.lastError().text();
                    break;
                }
            }
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(file);
        return fail(why);
    }
    return true;
}

const QStringList& Installer::soundNames() {
    static const QStringList names{QStringLiteral("start.wav"),  QStringLiteral("count.wav"),
                                   QStringLiteral("go.wav"),     QStringLiteral("pass.wav"),
                                   QStringLiteral("finish.wav"), QStringLiteral("complete.wav")};
    return names;
}

QByteArray Installer::toneWav(const QList<QPair<int, int>>& notes) {
    constexpr int rate = 22050;
    QByteArray samples;
    for (const auto& [hz, ms] : notes) {
        const int n = rate * ms / 1000;
        const int fade = std::min(n / 4, rate / 200); // short ramps, no clicks
        for (int i = 0; i < n; ++i) {
            double amp = 0.45;
            if (i < fade)
                amp *= double(i) / fade;
            else if (i > n - fade)
                amp *= double(n - i) / fade;
            const double v = hz > 0 ? amp * std::sin(2.0 * std::numbers::pi * hz * i / rate) : 0.0;
            const qint16 s = qToLittleEndian(static_cast<qint16>(std::lround(v * 32767)));
            samples.append(reinterpret_cast<const char*>(&s), 2);
        }
    }
    QByteArray wav;
    auto u32 = [&wav](quint32 v) {
        v = qToLittleEndian(v);
        wav.append(reinterpret_cast<const char*>(&v), 4);
    };
    auto u16 = [&wav](quint16 v) {
        v = qToLittleEndian(v);
        wav.append(reinterpret_cast<const char*>(&v), 2);
    };
    wav.append("RIFF");
    u32(36 + samples.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(samples.size());
    wav.append(samples);
    return wav;
}

bool Installer::writeSounds(const QString& folder, QString* error) {
    const QString res = QDir(folder).filePath(QStringLiteral("res"));
    if (!QDir().mkpath(res)) {
        if (error)
            *error = QStringLiteral("Cannot create %1.").arg(res);
        return false;
    }
    // Each event has its own clearly different sound.
    const QList<QList<QPair<int, int>>> tones{
        {{523, 120}, {0, 60}, {659, 120}, {0, 60}, {784, 200}}, // start: rising triad
        {{880, 150}},                                           // count: one short beep
        {{1320, 700}},                                          // go: long high tone
        {{1760, 60}},                                           // pass: a tick
        {{784, 200}, {659, 200}, {523, 400}},                   // finish: falling triad
        {{523, 150}, {659, 150}, {784, 150}, {1047, 500}},      // complete: fanfare
    };
    for (int i = 0; i < soundNames().size(); ++i) {
        QFile f(res + QLatin1Char('/') + soundNames().at(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(toneWav(tones.at(i))) < 0) {
            if (error)
                *error = QStringLiteral("Cannot write %1.").arg(f.fileName());
            return false;
        }
    }
    return true;
}

QString Installer::appPathOf(const QString& folder) {
    QString path = QDir(folder).absolutePath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

bool Installer::writeSettings(const QString& folder, QString* error) {
    if (!IniSettingsStore::createKey(kRegistryPath)) {
        if (error)
            *error = QStringLiteral("Cannot create the settings file %1.")
                         .arg(IniSettingsStore::fileForKey(kRegistryPath));
        return false;
    }
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("AppPath"),
                     appPathOf(folder), true);
    // The lap counter's port starts as the port box shows it, COM1; a port the
    // organiser chose before is kept.
    if (GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("ComPort"), QString())
            .isEmpty())
        SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("ComPort"),
                         QStringLiteral("1"), true);
    return true;
}

QString Installer::otherDatabaseFolder(const QString& folder) {
    const QString current = GetAppPath();
    if (current.isEmpty() || !QFileInfo::exists(current + QStringLiteral("zadiva.dat")))
        return {};
    // Compared as the file system sees them: "x", "x/" and a link to x are one folder.
    if (QFileInfo(current).canonicalFilePath() == QFileInfo(appPathOf(folder)).canonicalFilePath())
        return {};
    return current;
}

bool Installer::install(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Cannot create %1.").arg(folder);
        return false;
    }
    const QString db = QDir(folder).filePath(QStringLiteral("zadiva.dat"));
    if (!QFileInfo::exists(db) && !createDatabase(db, error))
        return false;
    return writeSounds(folder, error) && writeSettings(folder, error);
}

} // namespace kv
