#pragma once
// Number rules and deletions of the event organisation that need no window:
// reading a typed frequency, writing fractional numbers into statements, and
// the cascade that removes a tournament with everything that belongs to it.

#include <QString>

namespace kv {
class Database;
} // namespace kv

// Reads a typed frequency in MHz. Digits typed without a separator get one after
// the first two ("27145" becomes "27,145" in the caller's text); "," and "." both
// serve as the decimal point. A value that still has three or more integer
// digits (a separator typed late, as in "271.45") is moved to the same
// two-integer-digit form. Empty or non-numeric text reads as 0.
double ParseFrequency(QString& text);

// A fractional number as statement text, always with "." as decimal point.
QString DoubleToSqlString(double value);

namespace kv {

// Deletes the tournament's races with their laps and entries, its
// registrations and the tournament itself, all in one transaction. False (with
// nothing deleted) when a statement is refused; the database has then reported it.
bool DeleteTournamentCascade(Database& db, qint32 tournamentID);

} // namespace kv
