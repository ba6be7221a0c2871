#pragma once
// The installation step: lays out an install folder with the race database, the
// sounds and the settings key holding AppPath. The program itself never creates
// any of these.

#include <QString>
#include <QStringList>

namespace kv {

class Installer {
public:
    // The schema's statements, one per entry.
    static QStringList schemaStatements();
    // Creates "<folder>/zadiva.dat" from the schema. Fails when the file exists.
    static bool createDatabase(const QString& file, QString* error = nullptr);
    // Writes the six sounds into "<folder>/res/".
    static bool writeSounds(const QString& folder, QString* error = nullptr);
    // The install folder as AppPath: absolute, ending with "/".
    static QString appPathOf(const QString& folder);
    // Creates the settings key and stores AppPath (and COM1 when no port is stored).
    static bool writeSettings(const QString& folder, QString* error = nullptr);
    // The folder the settings point at (AppPath, ending with "/") when it is
    // another folder than the given one and holds a race database; empty
    // otherwise. Asked before install(), it names where the data used so far
    // stays.
    static QString otherDatabaseFolder(const QString& folder);
    // All of it. An existing database is kept, so reinstalling loses no data.
    static bool install(const QString& folder, QString* error = nullptr);

    static const QStringList& soundNames();
    // A short tone as a 16-bit mono WAV file.
    static QByteArray toneWav(const QList<QPair<int, int>>& notes /* (Hz, ms) */);
};

} // namespace kv
