#include "DatabaseSetup.h"

namespace kv {

bool DatabaseTakesWrites(Database& db, QString* error) {
    QString why;
    const bool ok = WriteAllOrNone(
        db,
        {QStringLiteral("UPDATE tblSetup SET SetupValue=SetupValue WHERE SetupKey='Version';")},
        &why);
    if (error)
        *error = why;
    return ok;
}

SkippedWrites::SkippedWrites(Database& db) : m_db(db), m_quiet(db) {
    m_db.tryExecute(QStringLiteral("PRAGMA query_only=ON;"));
}

SkippedWrites::~SkippedWrites() {
    m_db.tryExecute(QStringLiteral("PRAGMA query_only=OFF;"));
}

} // namespace kv
