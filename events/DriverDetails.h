#pragma once
// A driver's details as the two driver forms show and save them: the driver
// form of the tournament registration page and the race page's correction of
// a participant. Both read and store through here, so a typed ID, frequency or
// name means the same wherever it is typed.

#include <QString>

#include <optional>

namespace kv {

class Database;

// The texts of a form's boxes. The race page's correction has no boxes for
// the names and the email; those stay unset and keep their stored values.
struct DriverDetails {
    std::optional<QString> lastname;
    std::optional<QString> firstname;
    std::optional<QString> email;
    QString team;
    QString car;
    QString frequency;     // MHz; loaded in the regional form
    QString transponderID; // loaded as its number
    bool ownTransponder = false;
};

class Recordset;

// The drivers of the register that are not deleted, by last name: the driver
// form's choice.
bool ReadRegisteredDrivers(Database& db, Recordset& drivers);
// A new driver in the register, named "New driver"; `key` receives its key.
bool AddNewDriver(Database& db, qint64& key);
// Marks a driver deleted: gone from the register's choices, kept in the
// results of the races he drove.
bool MarkDriverDeleted(Database& db, qint64 driverID);
// What the register's table shows: every driver that is not deleted.
QString DriverTableSource();

// Loads the stored details as the boxes show them: missing texts and numbers as
// empty text. False when the driver cannot be read or does not exist; the
// details are then untouched.
bool LoadDriverDetails(Database& db, qint32 driverID, DriverDetails& details);

enum class DriverSaveResult {
    Saved,
    // The ID is none the lap counter can send; nothing was stored.
    TransponderIDRefused,
    // The database refused the statement and has reported it.
    Failed,
};

// Said when a save is refused for its transponder ID. The whole save is
// refused, so the text says that nothing of it was stored; the form keeps
// what was typed.
inline const QString DriverSaveIDRefusedText =
    QStringLiteral("A transponder ID is a number from 0 to 255. None of the driver's changes were "
                   "saved: correct the ID and press \"Save changes\" again.");

// Stores the typed details of a driver. The transponder ID is the number at
// the start of its text (empty or non-numeric text is 0), rounded, and must be
// one of the lap counter's IDs. The frequency is read as typed frequencies
// are; `frequency` receives it. Names, team and car are cut to their columns'
// width, and apostrophes become "?".
DriverSaveResult SaveDriverDetails(Database& db, qint32 driverID, const DriverDetails& details,
                                   double* frequency = nullptr);

} // namespace kv
