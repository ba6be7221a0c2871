// Fuzzes the lap counter's receive path and frame parser, and the reading of ID replies, with
// arbitrary line input cut into arbitrary notifications.
//
// Input: byte 0 picks the notification sizes, byte 1 whether the race was started and where the
// command-busy flag is raised; the rest is the text on the line (one character per byte).
// Beyond memory and undefined-behaviour faults it fails when a pass reports a car outside
// 0..255 or a time outside the six hex digits, when an accepted pass lies within the repeated-
// pass window of the car's previous one, or when an ID reply gives a result outside its codes.

#include "LapFrameReceiver.h"
#include "LapProtocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

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

    LapFrameReceiver receiver;
    if (started)
        receiver.resetPassTable();
    receiver.registerCar = [&](qint16 car, qint32 ms) {
        check(car >= 0 && car <= 255);
        check(ms >= 0 && ms <= 0xFFFFFF);
        check(lastAccepted[size_t(car)] + LapProtocol::kRepeatedPassWindowMs < ms);
        lastAccepted[size_t(car)] = ms;
    };
    receiver.updateRaceClock = [&](qint32 ms) { check(ms >= 0 && ms <= 0xFFFFFF); };

    // Notifications of 1..16 characters, sizes taken round-robin from the low and high nibble.
    const qsizetype sizes[2] = {qsizetype(chunking & 0x0F) + 1, qsizetype(chunking >> 4) + 1};
    const qsizetype busyAt = (flags >> 1) % 8; // this notification arrives while a command waits
    QString waitingInPort;
    qsizetype at = 0;
    for (int notification = 0; at < line.size(); ++notification) {
        const QString arrived = line.mid(at, sizes[notification % 2]);
        at += arrived.size();
        waitingInPort += arrived;
        // While busy the receive path must leave the waiting characters in the port.
        receiver.setCommandBusy(notification == busyAt && (flags & 0x10));
        receiver.receiveNotification([&] {
            check(!receiver.commandBusy());
            return std::exchange(waitingInPort, QString());
        });
    }
    receiver.setCommandBusy(false);
    receiver.receiveNotification([&] { return std::exchange(waitingInPort, QString()); });
    check(waitingInPort.isEmpty());

    QString message = line;
    receiver.processReceivedMessage(message);

    const qint16 id = LapProtocol::idFromReadReply(line);
    check(id == LapProtocol::kIdNoAnswer || id == LapProtocol::kIdNoTransponder ||
          (id >= 0 && id <= 255));
    LapProtocol::isWriteConfirmed(line);
    return 0;
}
