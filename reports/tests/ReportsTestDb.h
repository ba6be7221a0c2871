#pragma once
// Opens the test installation's database on a connection of the test's own.

#include "Database.h"
#include "InstallFixture.h"

#include <memory>

namespace kv::test {

inline std::unique_ptr<Database> openDatabase(const InstallFixture& fx,
                                              const QString& name = QStringLiteral("reports")) {
    auto db = std::make_unique<Database>(name);
    if (!db->Open(QStringLiteral("Provider=SQLite;Data Source=") + fx.databaseFile() +
                  QStringLiteral(";")))
        qFatal("database: %s", qPrintable(db->errorText()));
    return db;
}

} // namespace kv::test
