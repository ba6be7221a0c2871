#pragma once
// Small helpers shared by every page of the main window.

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace kv {

// The program version; also the database schema version it expects.
inline const QString kProgramVersion = QStringLiteral("1.3");
inline const QString kProgramName = QStringLiteral("Kirv Vorel");

// Not-yet-raced entry.
inline constexpr qint32 NoResultTime = 100000000;
inline const QString NoResultText = QStringLiteral("...");
inline constexpr qint32 ProvisionalStartPosition = 1000;

// The number at the start of a text: optional blanks, a sign, digits and one
// "." as the decimal point, an exponent. Reading stops at the first character
// that cannot belong to the number; empty or non-numeric text reads as 0.
double Val(const QString& text);
// As Val, except that a number too large for a double ("1e400") reads as an
// infinity of its sign rather than 0, so that a limit check can refuse it.
double ValOrInfinity(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// A typed number as a 16-bit whole number: Val, rounded halves to even. Returns
// false when it does not fit (the value is then left unchanged).
bool ToInt16(const QString& text, qint16& value);

// A number for a box the program reads back, a statement or the settings store:
// ASCII digits and "-" whatever the locale writes, "." as the decimal point, no
// grouping, shortest form, so that Val reads it back unchanged.
QString NumberText(double value);

// A fractional number in the regional form the program can still read back: as
// NumberText, with a decimal comma where the locale uses one (the frequency
// reader takes both). The digits stay ASCII.
QString RegionalNumberText(double value);

// Text that is a whole number and nothing else: an optional "-" and ASCII
// digits that fit 32 bits. Returns false otherwise (value is then unchanged).
bool WholeNumber(const QString& text, qint32& value);

// The IDs the lap counter can send and write: two hexadecimal digits.
inline constexpr double MaxTransponderID = 255;
inline const QString TransponderIDRangeText =
    QStringLiteral("A transponder ID is a number from 0 to 255. New ID was NOT stored.");
// Whether a rounded ID is one of those.
inline bool IsTransponderID(double id) {
    return id >= 0 && id <= MaxTransponderID;
}

// A stored date and time (yyyy-MM-dd HH:mm:ss) in the regional form; any
// other stored text as it stands.
QString DateTimeText(const QVariant& field);

// DateTimeText for the rows of a list, with the same texts. A stored value of
// the usual form is read digit by digit, without the C library's local time
// conversion (which reads the zone file again for every value); a day on
// which the clock changes, and any other text, take DateTimeText's full way.
class DateTimeTexts {
public:
    DateTimeTexts();
    QString operator()(const QVariant& field);

private:
    bool plainDay(const QDate& day);

    QLocale m_locale;
    bool m_zoneInForm = false;
    QHash<qint64, bool> m_plainDays; // by Julian day
};

} // namespace kv

// 1 when b is true, otherwise 0: the value for a check box.
qint16 BooleanToCheckValue(bool b);

// The empty text for a missing (NULL) field, otherwise its text.
QString FieldToString(const QVariant& field);

// Every apostrophe replaced by "?", so user text can go between apostrophes in a
// statement.
QString ReplaceQuotes(const QString& s);

// Splits a time in ms into minutes, seconds and milliseconds (each cut toward
// zero). When the minutes do not fit 16 bits, all three are 0 and the result is
// false.
bool SplitTime(qint32 t, qint16& minutes, qint16& seconds, qint16& milliseconds);
