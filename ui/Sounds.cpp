#include "Sounds.h"

#include "Platform.h"
#include "mdlRegistry.h"

namespace kv {

void RunSounds::readInstallFolder() {
    m_appPath = GetAppPath();
}

void RunSounds::play(const char* name) {
    if (m_appPath.isEmpty())
        readInstallFolder();
    PlaySound(m_appPath + QStringLiteral("res/") + QLatin1String(name) + QStringLiteral(".wav"),
              SND_ASYNC);
}

} // namespace kv
