#include "Helpers.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv {

double ValOrInfinity(const QString& text) {
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString number;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number += text[i++];
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent belongs to the number only when digits follow it.
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            exponent += text[j++];
        bool expDigits = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exponent += text[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(number, &ok);
    // An overflow gives an infinity of the number's sign; an underflow gives 0.
    return ok || std::isinf(v) ? v : 0.0;
}

double Val(const QString& text) {
    const double v = ValOrInfinity(text);
    return std::isfinite(v) ? v : 0.0;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value); // default rounding mode: to nearest, ties to even
}

bool ToInt16(const QString& text, qint16& value) {
    const double r = RoundHalfEven(Val(text));
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        return false;
    value = static_cast<qint16>(r);
    return true;
}

QString NumberText(double value) {
    // The C locale writes neither grouping nor another script's digits.
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

QString RegionalNumberText(double value) {
    QString text = NumberText(value);
    if (QLocale().decimalPoint() == QLatin1String(","))
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

bool WholeNumber(const QString& text, qint32& value) {
    const qsizetype digitsFrom = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == digitsFrom)
        return false;
    for (qsizetype i = digitsFrom; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    bool ok = false;
    const qint32 number = text.toInt(&ok);
    if (ok)
        value = number;
    return ok;
}

QString DateTimeText(const QVariant& field) {
    const QString stored = FieldToString(field);
    const QDateTime when = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return when.isValid() ? QLocale().toString(when, QLocale::ShortFormat) : stored;
}

namespace {

// The number of `count` ASCII digits from `at`; -1 when one is no digit.
int digitsAt(const QString& s, qsizetype at, int count) {
    int n = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

} // namespace

DateTimeTexts::DateTimeTexts() : m_locale() {
    // A form that names the zone needs the local time itself.
    m_zoneInForm = m_locale.dateTimeFormat(QLocale::ShortFormat).contains(QLatin1Char('t'));
}

// No change of the clock from noon the day before to noon the day after: every
// time of the day is a local time as it stands.
bool DateTimeTexts::plainDay(const QDate& day) {
    const auto known = m_plainDays.constFind(day.toJulianDay());
    if (known != m_plainDays.cend())
        return *known;
    const QDateTime before(day.addDays(-1), QTime(12, 0));
    const QDateTime after(day.addDays(1), QTime(12, 0));
    const bool plain =
        before.isValid() && after.isValid() && before.offsetFromUtc() == after.offsetFromUtc();
    m_plainDays.insert(day.toJulianDay(), plain);
    return plain;
}

QString DateTimeTexts::operator()(const QVariant& field) {
    if (m_zoneInForm || field.typeId() != QMetaType::QString)
        return DateTimeText(field);
    const QString stored = field.toString();
    // yyyy-MM-dd HH:mm:ss
    if (stored.size() != 19 || stored.at(4) != u'-' || stored.at(7) != u'-' ||
        stored.at(10) != u' ' || stored.at(13) != u':' || stored.at(16) != u':')
        return DateTimeText(field);
    const int year = digitsAt(stored, 0, 4);
    const int month = digitsAt(stored, 5, 2);
    const int day = digitsAt(stored, 8, 2);
    const int hour = digitsAt(stored, 11, 2);
    const int minute = digitsAt(stored, 14, 2);
    const int second = digitsAt(stored, 17, 2);
    if (std::min({year, month, day, hour, minute, second}) < 0 ||
        !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return DateTimeText(field);
    const QDate date(year, month, day);
    if (!plainDay(date))
        return DateTimeText(field);
    // Universal time has the same fields, without asking for the zone's offset.
    const QDateTime when(date, QTime(hour, minute, second), Qt::UTC);
    return m_locale.toString(when, QLocale::ShortFormat);
}

} // namespace kv

qint16 BooleanToCheckValue(bool b) {
    return b ? 1 : 0;
}

QString FieldToString(const QVariant& field) {
    if (field.isNull() || !field.isValid())
        return QString();
    if (field.typeId() == QMetaType::Double)
        return QString::number(field.toDouble(), 'g', 15);
    return field.toString();
}

QString ReplaceQuotes(const QString& s) {
    QString r = s;
    r.replace(QLatin1Char('\''), QLatin1Char('?'));
    return r;
}

bool SplitTime(qint32 t, qint16& minutes, qint16& seconds, qint16& milliseconds) {
    const qint32 m = t / 60000;
    if (m > std::numeric_limits<qint16>::max() || m < std::numeric_limits<qint16>::min()) {
        minutes = seconds = milliseconds = 0;
        return false;
    }
    const qint32 rest = t - m * 60000;
    minutes = static_cast<qint16>(m);
    seconds = static_cast<qint16>(rest / 1000);
    milliseconds = static_cast<qint16>(rest - (rest / 1000) * 1000);
    return true;
}
