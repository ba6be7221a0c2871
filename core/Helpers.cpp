#include "Helpers.h"

#include <QDateTime>
#include <QLocale>

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
