#include "LapProtocol.h"

namespace LapProtocol {

namespace {

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

std::optional<qint32> readHex(QStringView text, qsizetype digits) {
    if (text.size() < digits)
        return std::nullopt;
    qint32 value = 0;
    for (qsizetype i = 0; i < digits; ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

qint16 idFromReadReply(const QString& reply) {
    if (reply.size() < 3)
        return kIdNoAnswer;
    // The first character is not examined: the kind letter is the second one.
    if (reply[1] != u'H')
        return kIdNoTransponder;
    // A garbled ID is no answer; reading it as some number would hand out a wrong ID.
    const std::optional<qint32> id = readHex(QStringView(reply).mid(2), 2);
    return id ? qint16(*id) : kIdNoAnswer;
}

bool isWriteConfirmed(const QString& reply) {
    return reply.size() >= 5 && reply[1] == u'O';
}

QString writeIdFrame(qint16 id) {
    // Upper-case hexadecimal of the 16-bit value, at least two digits: 10 is "0A", 256 is "100",
    // -1 is "FFFF".
    return QStringLiteral("#I%1$").arg(quint16(id), 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace LapProtocol
