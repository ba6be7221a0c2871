// Fuzzes the lap counter's receive path and frame parser, and the reading of ID replies, with
// arbitrary line input cut into arbitrary notifications.
//
// Input: byte 0 picks the notification sizes, byte 1 whether the race was started and where the
// command-busy flag is raised; the rest is the text on the line (one character per byte).
// Beyond memory and undefined-behaviour faults it fails when a pass reports a car outside
// 0..255 or a time outside the six hex digits, when an accepted pass lies within the repeated-
// pass window of the car's previous one, when an ID reply gives a result outside its codes, when
// the text waiting for its "$" grows beyond the 1024-character input buffer, or when the events
// or the waiting text differ from those of a plain second reading of the same line (below).

#include "LapFrameReceiver.h"
#include "LapProtocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// A second, deliberately plain reading of the line: the same notifications, written against
// std::string, with its own hexadecimal reading. Events are "C<car>@<ms>" and "U<ms>".
struct Reference {
    std::string buffer;
    std::array<long, 256> last{};
    std::vector<std::string> events;

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }
    // Exactly `digits` hexadecimal digits at `from`, or -1.
    static long hex(const std::string& s, size_t from, size_t digits) {
        if (s.size() < from + digits)
            return -1;
        long value = 0;
        for (size_t i = 0; i < digits; ++i) {
            const int d = hexDigit(s[from + i]);
            if (d < 0)
                return -1;
            value = value * 16 + d;
        }
        return value;
    }
    void parse(const std::string& message) {
        if (message.empty())
            return;
        if (message[0] == 'P') {
            const long car = hex(message, 1, 2);
            const long ms = hex(message, 3, 6);
            if (car < 0 || ms < 0 || last[size_t(car)] + 3000 >= ms)
                return;
            last[size_t(car)] = ms;
            events.push_back("C" + std::to_string(car) + "@" + std::to_string(ms));
        } else if (message[0] == 'U') {
            const long ms = hex(message, 1, 6);
            if (ms >= 0)
                events.push_back("U" + std::to_string(ms));
        }
    }
    void notify(const std::string& arrived) {
        buffer += arrived;
        for (;;) {
            const size_t start = buffer.find('#');
            if (start != std::string::npos)
                buffer.erase(0, start);
            const size_t end = buffer.find('$');
            if (end == std::string::npos) {
                // Only the last 1024 characters can still become part of a frame.
                if (buffer.size() > 1024) {
                    buffer.erase(0, buffer.size() - 1024);
                    continue;
                }
                return;
            }
            const std::string message = buffer.substr(1, end);
            buffer.erase(0, end + 1);
            parse(message);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t chunking = data[0];
    const uint8_t flags = data[1];
    const QString line =
        QString::fromLatin1(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    const bool started = flags & 1;
    std::array<qint32, 256> lastAccepted{};
    lastAccepted.fill(started ? LapProtocol::kPassTableStartValue : 0);
    std::vector<std::string> events;
    Reference reference;
    reference.last.fill(started ? -3001 : 0);

    LapFrameReceiver receiver;
    if (started)
        receiver.resetPassTable();
    receiver.registerCar = [&](qint16 car, qint32 ms) {
        check(car >= 0 && car <= 255);
        check(ms >= 0 && ms <= 0xFFFFFF);
        check(lastAccepted[size_t(car)] + LapProtocol::kRepeatedPassWindowMs < ms);
        lastAccepted[size_t(car)] = ms;
        events.push_back("C" + std::to_string(car) + "@" + std::to_string(ms));
    };
    receiver.updateRaceClock = [&](qint32 ms) {
        check(ms >= 0 && ms <= 0xFFFFFF);
        events.push_back("U" + std::to_string(ms));
    };

    // Notifications of 1..16 characters, sizes taken round-robin from the low and high nibble.
    const qsizetype sizes[2] = {qsizetype(chunking & 0x0F) + 1, qsizetype(chunking >> 4) + 1};
    const qsizetype busyAt = (flags >> 1) % 8; // this notification arrives while a command waits
    QString waitingInPort;
    std::string referencePort; // the same characters, as the plain reading sees them
    qsizetype at = 0;
    for (int notification = 0; at < line.size(); ++notification) {
        const QString arrived = line.mid(at, sizes[notification % 2]);
        at += arrived.size();
        waitingInPort += arrived;
        referencePort += arrived.toLatin1().toStdString();
        // While busy the receive path must leave the waiting characters in the port.
        const bool busy = notification == busyAt && (flags & 0x10);
        receiver.setCommandBusy(busy);
        receiver.receiveNotification([&] {
            check(!receiver.commandBusy());
            return std::exchange(waitingInPort, QString());
        });
        if (!busy)
            reference.notify(std::exchange(referencePort, std::string()));
        check(receiver.receiveBuffer().size() <= LapProtocol::kInputBufferChars);
        check(receiver.receiveBuffer().toLatin1().toStdString() == reference.buffer);
    }
    receiver.setCommandBusy(false);
    receiver.receiveNotification([&] { return std::exchange(waitingInPort, QString()); });
    check(waitingInPort.isEmpty());
    reference.notify(std::exchange(referencePort, std::string()));
    check(receiver.receiveBuffer().toLatin1().toStdString() == reference.buffer);
    check(events == reference.events);

    QString message = line;
    receiver.processReceivedMessage(message);

    const qint16 id = LapProtocol::idFromReadReply(line);
    check(id == LapProtocol::kIdNoAnswer || id == LapProtocol::kIdNoTransponder ||
          (id >= 0 && id <= 255));
    LapProtocol::isWriteConfirmed(line);
    return 0;
}
