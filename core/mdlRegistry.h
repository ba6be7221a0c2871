#pragma once
// The program's settings: a handful of text values under one key of the
// settings store. The installation creates the key (with AppPath); the program
// only reads and writes values in it, never creates it.

#include <QString>

#include <memory>

namespace kv {

// Where the values of one key live. The real store is an INI file per key; tests
// may plug in their own.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // False when the key (its file) does not exist.
    virtual bool keyExists(const QString& keyPath) const = 0;
    // Returns false when the value is absent or not plain text.
    virtual bool readText(const QString& keyPath, const QString& name, QString& out) const = 0;
    virtual bool writeText(const QString& keyPath, const QString& name, const QString& value) = 0;
    virtual bool valueExists(const QString& keyPath, const QString& name) const = 0;
};

// The default store: QSettings INI files in the user's configuration folder. The
// key path "Software\<Organisation>\<Application>" names the file
// "<config>/<Organisation>/<Application>.ini".
class IniSettingsStore final : public SettingsStore {
public:
    bool keyExists(const QString& keyPath) const override;
    bool readText(const QString& keyPath, const QString& name, QString& out) const override;
    bool writeText(const QString& keyPath, const QString& name, const QString& value) override;
    bool valueExists(const QString& keyPath, const QString& name) const override;

    static QString fileForKey(const QString& keyPath);
    // Creates the key's file (used by the installation only).
    static bool createKey(const QString& keyPath);
};

SettingsStore& settingsStore();
// Replaces the store (nullptr restores the INI store). Returns the previous one.
void setSettingsStore(std::shared_ptr<SettingsStore> store);

} // namespace kv

enum class HKEY { HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER };
inline constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::HKEY_LOCAL_MACHINE;

// The program's one key.
inline const QString kRegistryPath = QStringLiteral("Software\\Vevevur UR\\DezeZivod");

// The stored text of the value, cut before its first NUL, or strDefault when the
// value cannot be read.
QString GetRegistryValue(HKEY hKey, const QString& strPath, const QString& strValue,
                         const QString& strDefault);
// Writes the value as text; the empty text is stored as one blank. Nothing is
// written when the key does not exist, or when blnCreate is false and the value
// does not exist yet. No failure is reported.
void SetRegistryValue(HKEY hKey, const QString& strPath, const QString& strValue,
                      const QString& strData, bool blnCreate);

namespace kv {

// The install folder: the value AppPath, ending with "/" also when the stored
// value lacks it, so file names can be appended; empty when it is missing.
QString GetAppPath();

} // namespace kv
