// Throughput of the lap counter's receive path: frame cutting and parsing of a realistic stream
// of pass and clock frames, in characters per second, against the 1920 characters per second
// that the 19200-baud line can deliver; and the cost per character of an hour of text that never
// closes a frame (a wrong port, a noisy adapter), which must stay flat as the hour goes on.

#include "LapFrameReceiver.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

constexpr double kWireCharsPerSecond = 1920.0;

QString hex(qint64 value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// A dense stream: a frame every 37 ms of counter time, every third a clock frame, the others
// passes of 20 cars in turn (each car every 740 ms, so most passes fall inside the repeat
// window and are dropped by the filter), and a little line noise.
QString raceStream(qsizetype targetChars) {
    QString stream;
    stream.reserve(targetChars + 64);
    qint64 time = 0;
    int frame = 0;
    while (stream.size() < targetChars) {
        time += 37;
        if (frame % 3 == 0)
            stream += QStringLiteral("#U") + hex(time & 0xFFFFFF, 6) + u'$';
        else
            stream +=
                QStringLiteral("#P") + hex(frame % 20 + 1, 2) + hex(time & 0xFFFFFF, 6) + u'$';
        if (frame % 97 == 0)
            stream += QStringLiteral("~\r\n");
        ++frame;
    }
    return stream;
}

struct Result {
    double charsPerSecond;
    qint64 events;
};

Result run(const QString& stream, qsizetype chunk, int rounds) {
    qint64 events = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        LapFrameReceiver receiver;
        receiver.resetPassTable();
        receiver.registerCar = [&](qint16, qint32) { ++events; };
        receiver.updateRaceClock = [&](qint32) { ++events; };
        for (qsizetype at = 0; at < stream.size(); at += chunk) {
            const QString arrived = stream.mid(at, chunk);
            bool pending = true;
            receiver.receiveNotification([&] {
                if (!std::exchange(pending, false))
                    return QString();
                return arrived;
            });
        }
    }
    const double seconds = std::max(timer.nsecsElapsed(), qint64(1)) / 1e9;
    return {double(stream.size()) * rounds / seconds, events};
}

// One character of line noise: any byte but "#" and "$", or, with halfFrames, the start of a
// pass frame now and then that is never closed.
class Noise {
public:
    explicit Noise(bool halfFrames) : m_halfFrames(halfFrames) {}
    QChar next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto byte = uchar(m_state >> 56);
        if (m_halfFrames && byte < 8)
            return QLatin1Char('#');
        return byte == '#' || byte == '$' ? QLatin1Char('~') : QLatin1Char(char(byte));
    }

private:
    bool m_halfFrames;
    std::uint64_t m_state = 1;
};

// An hour at the wire's rate, one notification per character as the line raises them, timed in
// slices of ten minutes.
void noiseHour(const char* name, bool halfFrames) {
    constexpr qint64 kSliceChars = qint64(kWireCharsPerSecond) * 600;
    Noise noise(halfFrames);
    LapFrameReceiver receiver;
    qint64 events = 0;
    receiver.registerCar = [&](qint16, qint32) { ++events; };
    receiver.updateRaceClock = [&](qint32) { ++events; };
    std::printf("%-24s", name);
    for (int slice = 0; slice < 6; ++slice) {
        QElapsedTimer timer;
        timer.start();
        for (qint64 i = 0; i < kSliceChars; ++i) {
            QString arrived(noise.next());
            receiver.receiveNotification([&] { return std::exchange(arrived, QString()); });
        }
        std::printf(" %8.0f", double(timer.nsecsElapsed()) / double(kSliceChars));
    }
    std::printf(" %12lld %8lld\n", static_cast<long long>(receiver.receiveBuffer().size()),
                static_cast<long long>(events));
}

} // namespace

int main() {
    const QString stream = raceStream(1 << 20);
    std::printf("Lap counter receive path: %lld characters per round\n",
                static_cast<long long>(stream.size()));
    std::printf("%-28s %16s %14s %12s\n", "characters per notification", "characters/s",
                "x wire rate", "events");
    // 1: a notification per character, as the line delivers them; 1024: a full input buffer
    // after the thread was blocked.
    for (const qsizetype chunk : {1, 11, 64, 1024}) {
        const int rounds = chunk == 1 ? 2 : 5;
        const Result result = run(stream, chunk, rounds);
        std::printf("%-28lld %16.0f %14.0f %12lld\n", static_cast<long long>(chunk),
                    result.charsPerSecond, result.charsPerSecond / kWireCharsPerSecond,
                    static_cast<long long>(result.events / rounds));
    }

    std::printf("\nAn hour of unframed text at 19200 baud, one character per notification\n");
    std::printf("%-24s %53s\n", "", "ns per character in the minutes");
    std::printf("%-24s %8s %8s %8s %8s %8s %8s %12s %8s\n", "", "0-10", "10-20", "20-30", "30-40",
                "40-50", "50-60", "left waiting", "events");
    noiseHour("no # or $", false);
    noiseHour("# now and then, no $", true);
    return 0;
}
