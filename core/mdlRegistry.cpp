#include "mdlRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kv {

namespace {

std::shared_ptr<SettingsStore>& currentStore() {
    static std::shared_ptr<SettingsStore> store = std::make_shared<IniSettingsStore>();
    return store;
}

// "Software\Org\App" -> ("Org", "App"); anything shorter keeps what it has.
QStringList keyParts(const QString& keyPath) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() &&
        parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    return parts;
}

} // namespace

SettingsStore& settingsStore() {
    return *currentStore();
}

void setSettingsStore(std::shared_ptr<SettingsStore> store) {
    currentStore() = store ? std::move(store) : std::make_shared<IniSettingsStore>();
}

QString IniSettingsStore::fileForKey(const QString& keyPath) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QStringList parts = keyParts(keyPath);
    if (parts.isEmpty())
        parts << QStringLiteral("default");
    const QString app = parts.takeLast();
    QString dir = base;
    for (const QString& p : parts)
        dir += QLatin1Char('/') + p;
    return dir + QLatin1Char('/') + app + QStringLiteral(".ini");
}

bool IniSettingsStore::createKey(const QString& keyPath) {
    const QString file = fileForKey(keyPath);
    if (QFileInfo::exists(file))
        return true;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    return f.open(QIODevice::WriteOnly);
}

bool IniSettingsStore::keyExists(const QString& keyPath) const {
    return QFileInfo(fileForKey(keyPath)).isFile();
}

bool IniSettingsStore::readText(const QString& keyPath, const QString& name, QString& out) const {
    if (!keyExists(keyPath))
        return false;
    QSettings s(fileForKey(keyPath), QSettings::IniFormat);
    const QVariant v = s.value(name);
    // Only plain text counts; a list (an unquoted value with commas) or
    // anything else reads as absent.
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return false;
    out = v.toString();
    return true;
}

bool IniSettingsStore::writeText(const QString& keyPath, const QString& name,
                                 const QString& value) {
    if (!keyExists(keyPath))
        return false;
    QSettings s(fileForKey(keyPath), QSettings::IniFormat);
    s.setValue(name, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool IniSettingsStore::valueExists(const QString& keyPath, const QString& name) const {
    if (!keyExists(keyPath))
        return false;
    QSettings s(fileForKey(keyPath), QSettings::IniFormat);
    return s.contains(name);
}

} // namespace kv

QString GetRegistryValue(HKEY, const QString& strPath, const QString& strValue,
                         const QString& strDefault) {
    QString text;
    if (!kv::settingsStore().readText(strPath, strValue, text))
        return strDefault;
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

void SetRegistryValue(HKEY, const QString& strPath, const QString& strValue, const QString& strData,
                      bool blnCreate) {
    kv::SettingsStore& store = kv::settingsStore();
    if (!store.keyExists(strPath))
        return;
    if (!blnCreate && !store.valueExists(strPath, strValue))
        return;
    store.writeText(strPath, strValue, strData.isEmpty() ? QStringLiteral(" ") : strData);
}

QString kv::GetAppPath() {
    QString path =
        GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, QStringLiteral("AppPath"), QString());
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
