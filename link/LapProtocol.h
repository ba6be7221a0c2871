#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The lap counter's framed text protocol: "#" + kind letter + payload + "$".
namespace LapProtocol {

inline constexpr char16_t kFrameStart = u'#';
inline constexpr char16_t kFrameEnd = u'$';

inline const QString kStartFrame = QStringLiteral("#S$");
inline const QString kStopFrame = QStringLiteral("#F$");
inline const QString kReadIdFrame = QStringLiteral("#G$");

// The control's input buffer: text that has not closed a frame is kept up to this many characters.
inline constexpr qsizetype kInputBufferChars = 1024;

inline constexpr qint32 kRepeatedPassWindowMs = 3000;
// What StartRace writes into the pass table, so that every car's first pass counts, even at 0 ms.
inline constexpr qint32 kPassTableStartValue = -kRepeatedPassWindowMs - 1;

inline constexpr qint16 kIdNoTransponder = -1;
inline constexpr qint16 kIdPortClosed = -2;
inline constexpr qint16 kIdNoAnswer = -3;

inline constexpr qint16 kHighestId = 255;

// Exactly `digits` hexadecimal digits (either case) at the start of `text`; nothing when the text
// is shorter or one of them is not a hexadecimal digit.
std::optional<qint32> readHex(QStringView text, qsizetype digits);

// Reply to "#G$": the ID read, kIdNoTransponder for an answer of another kind, kIdNoAnswer for
// no answer, a reply too short to hold a kind, or an "H" reply without two hexadecimal digits.
qint16 idFromReadReply(const QString& reply);

// Reply to "#I..$": the counter stored the ID.
bool isWriteConfirmed(const QString& reply);

// "#I" + the ID in upper-case hexadecimal (at least two digits, the 16-bit two's complement for
// a negative ID) + "$".
QString writeIdFrame(qint16 id);

} // namespace LapProtocol
