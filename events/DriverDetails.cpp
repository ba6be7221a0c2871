#include "DriverDetails.h"

#include "Database.h"
#include "EventData.h"
#include "Helpers.h"
#include "Schema.h"

namespace kv {

namespace {

QString numberOrEmpty(const QVariant& field, QString (*text)(double)) {
    return field.isNull() ? QString() : text(field.toDouble());
}

// A text for a TEXT(50) column, ready to go between apostrophes.
QString shortText(const QString& typed) {
    return ReplaceQuotes(typed.left(kShortTextLength));
}

} // namespace

bool LoadDriverDetails(Database& db, qint32 driverID, DriverDetails& details) {
    Recordset rs;
    if (!db.Select(QStringLiteral("SELECT * FROM tblDriver WHERE DriverID=") +
                       QString::number(driverID) + QStringLiteral(";"),
                   rs) ||
        rs.isEmpty())
        return false;
    auto text = [&rs](const char* column) {
        return FieldToString(rs.value(0, QString::fromLatin1(column)));
    };
    details.lastname = text("Lastname");
    details.firstname = text("Firstname");
    details.email = text("Email");
    details.team = text("Team");
    details.car = text("Car");
    details.frequency =
        numberOrEmpty(rs.value(0, QStringLiteral("Frequency")), &RegionalNumberText);
    details.transponderID =
        numberOrEmpty(rs.value(0, QStringLiteral("TransponderID")), &NumberText);
    details.ownTransponder =
        BooleanToCheckValue(rs.value(0, QStringLiteral("OwnTransponder")).toDouble() != 0) == 1;
    return true;
}

DriverSaveResult SaveDriverDetails(Database& db, qint32 driverID, const DriverDetails& details,
                                   double* frequency) {
    // The column holds whole numbers; an ID the lap counter can never send would
    // leave the driver's car uncounted.
    const double transponderID = RoundHalfEven(Val(details.transponderID));
    if (!IsTransponderID(transponderID))
        return DriverSaveResult::TransponderIDRefused;
    QString typedFrequency = details.frequency;
    const double mhz = ParseFrequency(typedFrequency);
    if (frequency)
        *frequency = mhz;

    QString set;
    auto add = [&set](const char* column, const QString& value) {
        if (!set.isEmpty())
            set += QStringLiteral(", ");
        set += QString::fromLatin1(column) + QLatin1Char('=') + value;
    };
    auto quoted = [](const QString& text) { return QLatin1Char('\'') + text + QLatin1Char('\''); };
    if (details.lastname)
        add("Lastname", quoted(shortText(*details.lastname)));
    if (details.firstname)
        add("Firstname", quoted(shortText(*details.firstname)));
    add("Team", quoted(shortText(details.team)));
    add("Car", quoted(shortText(details.car)));
    if (details.email)
        add("Email", quoted(ReplaceQuotes(*details.email)));
    add("Frequency", DoubleToSqlString(mhz));
    add("OwnTransponder", QString::number(details.ownTransponder ? 1 : 0));
    add("TransponderID", NumberText(transponderID));
    return db.Execute(QStringLiteral("UPDATE tblDriver SET ") + set +
                      QStringLiteral(" WHERE DriverID=") + QString::number(driverID) +
                      QStringLiteral(";"))
               ? DriverSaveResult::Saved
               : DriverSaveResult::Failed;
}

bool ReadRegisteredDrivers(Database& db, Recordset& drivers) {
    return db.Select(QStringLiteral("SELECT * FROM tblDriver WHERE Deleted=0 ORDER BY Lastname;"),
                     drivers);
}

bool AddNewDriver(Database& db, qint64& key) {
    return db.Insert(QStringLiteral("INSERT INTO tblDriver (Lastname) VALUES ('New driver');"),
                     key);
}

bool MarkDriverDeleted(Database& db, qint64 driverID) {
    return db.Execute(QStringLiteral("UPDATE tblDriver SET Deleted=1 WHERE DriverID=") +
                      QString::number(driverID) + QStringLiteral(";"));
}

QString DriverTableSource() {
    return QStringLiteral("SELECT * FROM tblDriver WHERE Deleted=0;");
}

} // namespace kv
