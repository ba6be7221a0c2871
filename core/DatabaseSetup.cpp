#include "DatabaseSetup.h"

#include "Helpers.h"
#include "RaceCodes.h"

namespace kv {

std::optional<QString> ReadSchemaVersion(Database& db) {
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT SetupValue FROM tblSetup WHERE SetupKey='Version';"),
                   rs) ||
        rs.RecordCount() != 1)
        return std::nullopt;
    return FieldToString(rs.value(0, QStringLiteral("SetupValue")));
}

bool UpgradeSchema(Database& db, double storedVersion) {
    Transaction trans(db);
    bool ok = trans.active();
    if (ok && storedVersion <= 1.2) {
        ok =
            db.Execute(QStringLiteral("ALTER TABLE tblDriverInRace ADD COLUMN StartDelay Long;")) &&
            db.Execute(
                QStringLiteral("ALTER TABLE tblDriverInRace ADD COLUMN TransponderID Long;")) &&
            db.Execute(QStringLiteral("UPDATE tblRace SET ") + RaceCodeIs(SingleRaceCode) +
                       QStringLiteral(" WHERE TournamentID=0;"));
    }
    ok = ok && db.Execute(QStringLiteral("UPDATE tblSetup SET SetupValue='") + kProgramVersion +
                          QStringLiteral("' WHERE SetupKey='Version';"));
    return ok && trans.commit();
}

void UseWriteAheadLog(Database& db) {
    db.tryExecute(QStringLiteral("PRAGMA journal_mode=WAL;"));
}

bool DatabaseTakesWrites(Database& db, QString* error) {
    QString why;
    const bool ok = WriteAllOrNone(
        db, {QStringLiteral("UPDATE tblSetup SET SetupValue=SetupValue WHERE SetupKey='Version';")},
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
