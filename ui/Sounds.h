#pragma once
// The sounds of a timed run: "res/<name>.wav" under the install folder, played
// without waiting. The install folder is read once and kept, so that a pass
// never waits for the settings.

#include <QString>

namespace kv {

class RunSounds {
public:
    // Reads the install folder again; a run does this when it starts.
    void readInstallFolder();
    // Plays res/<name>.wav; the install folder is read on the first sound if
    // no run has read it yet.
    void play(const char* name);

private:
    QString m_appPath;
};

} // namespace kv
