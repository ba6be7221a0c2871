#include "LapCounterEmulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr double kWireCharsPerSecond = 1920.0; // 19200 baud, 10 bits per character
constexpr qint32 kCounterTimeMask = 0xFFFFFF;  // six hexadecimal digits
constexpr qint64 kFirstCarPassMs = 250;
constexpr int kMaxSleepMs = 1000;
constexpr double kMaxClockRate = 1e6;

QString hex(qint64 value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString passFrame(int car, qint64 timeMs) {
    return QStringLiteral("#P") + hex(car, 2) + hex(timeMs & kCounterTimeMask, 6) + u'$';
}

QString clockFrame(qint64 timeMs) {
    return QStringLiteral("#U") + hex(timeMs & kCounterTimeMask, 6) + u'$';
}

bool setRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

struct LapCounterEmulator::State {
    mutable std::mutex mutex;

    // Configuration
    QList<ScriptedFrame> script;
    int liveCars = 0;
    int lapMs = 0;
    int clockIntervalMs = 0;
    double clockRate = 1.0;
    Pacing pacing = Pacing::Wire;
    std::optional<int> transponder;
    std::function<void(const QString&)> log;
    std::function<void(const QByteArray&, bool)> sentHook;

    // The line
    int master = -1;
    int slaveKeeper = -1; // keeps the line up while no program has the port open
    int wakeRead = -1;
    int wakeWrite = -1;
    QString devicePath;
    QString linkPath;
    std::thread server;
    bool stopping = false;

    // The counter
    bool running = false;
    SteadyClock::time_point clockStart;
    double runningRate = 1.0; // the rate taken at the last "#S$"
    qsizetype nextScripted = 0;
    std::vector<qint64> nextLivePass;
    qint64 nextClockFrame = 0;
    QByteArray commandBuffer;
    QStringList commands;
    struct Outgoing {
        QByteArray bytes;
        SteadyClock::time_point queuedAt;
    };
    std::deque<Outgoing> outbox;
    SteadyClock::time_point lineFreeAt;

    qint64 counterMs(SteadyClock::time_point now) const {
        const auto real = std::chrono::duration_cast<std::chrono::microseconds>(now - clockStart);
        return qint64(double(real.count()) * runningRate / 1000.0);
    }
    // Real milliseconds until the counter's clock shows `counterTimeMs`; at least 1 while it is
    // still ahead, so the server never spins on a frame that is not due yet.
    qint64 realMsUntil(qint64 counterTimeMs, qint64 elapsed) const {
        if (counterTimeMs <= elapsed)
            return 0;
        return std::max<qint64>(1,
                                qint64(std::ceil(double(counterTimeMs - elapsed) / runningRate)));
    }
    qint64 liveLapMs(size_t car) const {
        // Cars differ a little in pace so that the field spreads out.
        return lapMs + qint64(lapMs) * 3 * qint64(car) / 100;
    }

    void say(const QString& line) const {
        if (log)
            log(line);
    }
    void send(const QString& frame, SteadyClock::time_point now) {
        outbox.push_back({frame.toLatin1(), now});
    }

    void serve();
    void startClock(SteadyClock::time_point now);
    void queueDueFrames(SteadyClock::time_point now);
    void writeOutbox(SteadyClock::time_point now);
    int millisecondsToNextWork(SteadyClock::time_point now) const;
    void readCommands();
    void handleCommand(const QString& command);
    void wake() const;
};

void LapCounterEmulator::State::wake() const {
    if (wakeWrite >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite, &byte, 1);
    }
}

void LapCounterEmulator::State::startClock(SteadyClock::time_point now) {
    running = true;
    clockStart = now;
    runningRate = clockRate;
    nextScripted = 0;
    nextLivePass.clear();
    for (int car = 0; car < liveCars; ++car)
        nextLivePass.push_back(kFirstCarPassMs * (car + 1));
    nextClockFrame = clockIntervalMs;
}

void LapCounterEmulator::State::queueDueFrames(SteadyClock::time_point now) {
    if (!running)
        return;
    const qint64 elapsed = counterMs(now);
    // Several frames fall due at once when the server was held up or the clock runs fast: they go
    // out in the counter's time order whatever their source (on equal times script, cars, clock).
    for (;;) {
        enum class Source { None, Script, Car, Clock } source = Source::None;
        qint64 due = elapsed + 1;
        size_t dueCar = 0;
        if (nextScripted < script.size() && script[nextScripted].timeMs < due) {
            source = Source::Script;
            due = script[nextScripted].timeMs;
        }
        for (size_t car = 0; lapMs > 0 && car < nextLivePass.size(); ++car) {
            if (nextLivePass[car] < due) {
                source = Source::Car;
                due = nextLivePass[car];
                dueCar = car;
            }
        }
        if (clockIntervalMs > 0 && nextClockFrame < due) {
            source = Source::Clock;
            due = nextClockFrame;
        }
        switch (source) {
        case Source::None:
            return;
        case Source::Script: {
            const ScriptedFrame& frame = script[nextScripted++];
            send(frame.car == kClockFrame ? clockFrame(frame.timeMs)
                                          : passFrame(frame.car, frame.timeMs),
                 now);
            break;
        }
        case Source::Car:
            send(passFrame(int(dueCar + 1), due), now);
            nextLivePass[dueCar] += liveLapMs(dueCar);
            break;
        case Source::Clock:
            send(clockFrame(due), now);
            nextClockFrame += clockIntervalMs;
            break;
        }
    }
}

// A frame goes on the line once it is queued and the line is free. Queued frames follow each
// other without a gap, as from a serial transmitter, however late the server wakes up: the
// frames that are due by then go out together.
void LapCounterEmulator::State::writeOutbox(SteadyClock::time_point now) {
    while (!outbox.empty()) {
        const auto start = std::max(lineFreeAt, outbox.front().queuedAt);
        if (pacing == Pacing::Wire && now < start)
            return;
        const QByteArray frame = outbox.front().bytes;
        outbox.pop_front();
        const ssize_t written = ::write(master, frame.constData(), size_t(frame.size()));
        // Nobody reads the line and its buffer is full: the frame is lost, as on a real line.
        if (written < frame.size())
            say(QStringLiteral("line full, dropped %1").arg(QString::fromLatin1(frame)));
        if (sentHook)
            sentHook(frame, written == frame.size());
        const auto duration =
            std::chrono::nanoseconds(qint64(double(frame.size()) * 1e9 / kWireCharsPerSecond));
        lineFreeAt = (pacing == Pacing::Wire ? start : std::max(now, lineFreeAt)) + duration;
    }
}

int LapCounterEmulator::State::millisecondsToNextWork(SteadyClock::time_point now) const {
    qint64 wait = kMaxSleepMs;
    auto consider = [&](qint64 ms) { wait = std::clamp<qint64>(ms, 0, wait); };
    if (!outbox.empty()) {
        const auto lineWait = std::chrono::ceil<Milliseconds>(lineFreeAt - now).count();
        consider(pacing == Pacing::Wire ? lineWait : 0);
    }
    if (running) {
        const qint64 elapsed = counterMs(now);
        if (nextScripted < script.size())
            consider(realMsUntil(script[nextScripted].timeMs, elapsed));
        if (lapMs > 0)
            for (qint64 next : nextLivePass)
                consider(realMsUntil(next, elapsed));
        if (clockIntervalMs > 0)
            consider(realMsUntil(nextClockFrame, elapsed));
    }
    return int(wait);
}

void LapCounterEmulator::State::readCommands() {
    char chunk[256];
    for (;;) {
        const ssize_t n = ::read(master, chunk, sizeof chunk);
        if (n <= 0)
            break;
        commandBuffer.append(chunk, n);
    }
    // Commands are framed like everything else on this line: "#" ... "$".
    for (;;) {
        const qsizetype start = commandBuffer.indexOf('#');
        if (start < 0) {
            commandBuffer.clear();
            return;
        }
        const qsizetype end = commandBuffer.indexOf('$', start);
        if (end < 0) {
            commandBuffer.remove(0, start);
            return;
        }
        const QString command = QString::fromLatin1(commandBuffer.mid(start, end - start + 1));
        commandBuffer.remove(0, end + 1);
        handleCommand(command);
    }
}

void LapCounterEmulator::State::handleCommand(const QString& command) {
    commands.append(command);
    say(QStringLiteral("<- %1").arg(command));
    const auto now = SteadyClock::now();
    const QChar kind = command.size() > 1 ? command[1] : QChar();
    QString reply;
    if (command == QLatin1String("#S$")) {
        startClock(now);
    } else if (command == QLatin1String("#F$")) {
        running = false;
        outbox.clear();
    } else if (command == QLatin1String("#G$")) {
        reply = transponder ? QStringLiteral("#H") + hex(*transponder, 2) + u'$'
                            : QStringLiteral("#N$");
    } else if (kind == u'I') {
        const QString idText = command.mid(2, command.size() - 3);
        bool ok = false;
        const int id = idText.toInt(&ok, 16);
        static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
        if (transponder && ok && hexDigits.match(idText).hasMatch()) {
            transponder = id;
            reply = QStringLiteral("#O") + hex(id, 2) + u'$';
        } else {
            reply = QStringLiteral("#E") + idText + u'$';
        }
    }
    if (!reply.isEmpty()) {
        send(reply, now);
        say(QStringLiteral("-> %1").arg(reply));
    }
}

void LapCounterEmulator::State::serve() {
    std::unique_lock lock(mutex);
    while (!stopping) {
        auto now = SteadyClock::now();
        queueDueFrames(now);
        writeOutbox(now);
        const int timeout = millisecondsToNextWork(now);

        pollfd fds[2] = {{master, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        lock.unlock();
        const int ready = ::poll(fds, 2, timeout);
        lock.lock();
        if (ready <= 0)
            continue;
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN)
            readCommands();
    }
}

// ---------------------------------------------------------------------------------------------

std::optional<QList<LapCounterEmulator::ScriptedFrame>>
LapCounterEmulator::parseScript(const QString& text, QString* error) {
    QList<ScriptedFrame> frames;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")));
        bool timeOk = false;
        const int time = fields.value(0).toInt(&timeOk);
        bool carOk = fields.value(1) == QLatin1String("U");
        const int car = carOk ? kClockFrame : fields.value(1).toInt(&carOk);
        if (fields.size() != 2 || !timeOk || time < 0 || time > kCounterTimeMask || !carOk ||
            car < kClockFrame || car > 255) {
            if (error)
                *error = QStringLiteral("line %1: expected \"<ms 0..16777215> <car 0..255 or U>\", "
                                        "got \"%2\"")
                             .arg(i + 1)
                             .arg(line);
            return std::nullopt;
        }
        frames.append({time, car});
    }
    std::stable_sort(
        frames.begin(), frames.end(),
        [](const ScriptedFrame& a, const ScriptedFrame& b) { return a.timeMs < b.timeMs; });
    return frames;
}

QString LapCounterEmulator::portLinkPath(const QString& portsFolder, int portNumber) {
    return QDir(portsFolder).filePath(QStringLiteral("COM%1").arg(portNumber));
}

LapCounterEmulator::LapCounterEmulator() : d(std::make_unique<State>()) {}

LapCounterEmulator::~LapCounterEmulator() {
    close();
}

bool LapCounterEmulator::open(QString* error) {
    if (d->master >= 0)
        return true;
    if (openLine(error))
        return true;
    close();
    return false;
}

bool LapCounterEmulator::openLine(QString* error) {
    auto fail = [&](const char* what) {
        if (error)
            *error = systemError(what);
        closeLine();
        return false;
    };
    d->master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (d->master < 0)
        return fail("posix_openpt");
    if (::grantpt(d->master) != 0 || ::unlockpt(d->master) != 0)
        return fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(d->master, name, sizeof name) != 0)
        return fail("ptsname");
    // Raw before anything flows: no echo, no line editing, every byte passes as it is.
    if (!setRaw(d->master))
        return fail("tcsetattr");
    if (::fcntl(d->master, F_SETFL, ::fcntl(d->master, F_GETFL) | O_NONBLOCK) != 0)
        return fail("fcntl");
    d->devicePath = QString::fromLocal8Bit(name);
    d->slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->slaveKeeper < 0)
        return fail("open pseudo-terminal device");

    int wake[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0)
        return fail("pipe");
    d->wakeRead = wake[0];
    d->wakeWrite = wake[1];

    d->stopping = false;
    d->server = std::thread([state = d.get()] { state->serve(); });
    return true;
}

void LapCounterEmulator::closeLine() {
    {
        std::lock_guard lock(d->mutex);
        d->stopping = true;
    }
    d->wake();
    if (d->server.joinable())
        d->server.join();
    for (int* fd : {&d->master, &d->slaveKeeper, &d->wakeRead, &d->wakeWrite}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void LapCounterEmulator::close() {
    closeLine();
    if (!d->linkPath.isEmpty() && QFileInfo(d->linkPath).symLinkTarget() == d->devicePath)
        QFile::remove(d->linkPath);
    d->linkPath.clear();
    d->running = false;
}

void LapCounterEmulator::unplug() {
    closeLine();
    // The link leads to a device that is not there, as a link to an unplugged adapter does.
    if (!d->linkPath.isEmpty()) {
        QFile::remove(d->linkPath);
        [[maybe_unused]] const int linked =
            ::symlink((d->devicePath + QStringLiteral(".unplugged")).toLocal8Bit().constData(),
                      d->linkPath.toLocal8Bit().constData());
    }
    d->outbox.clear();
}

bool LapCounterEmulator::plugIn(QString* error) {
    if (d->master >= 0)
        return true;
    {
        // What the counter sent while nothing was connected never arrives.
        std::lock_guard lock(d->mutex);
        d->queueDueFrames(SteadyClock::now());
        d->outbox.clear();
    }
    const QString link = d->linkPath;
    if (!openLine(error))
        return false;
    return link.isEmpty() || placeLink(link, error);
}

QString LapCounterEmulator::devicePath() const {
    return d->devicePath;
}

bool LapCounterEmulator::placeLink(const QString& linkPath, QString* error) {
    if (d->devicePath.isEmpty()) {
        if (error)
            *error = QStringLiteral("the emulator is not open");
        return false;
    }
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        QFile::remove(linkPath);
    } else if (existing.exists()) {
        if (error)
            *error = QStringLiteral("%1 exists and is not a link").arg(linkPath);
        return false;
    }
    QDir().mkpath(existing.absolutePath());
    if (::symlink(d->devicePath.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) !=
        0) {
        if (error)
            *error = systemError("symlink");
        return false;
    }
    d->linkPath = linkPath;
    return true;
}

void LapCounterEmulator::setScript(const QList<ScriptedFrame>& frames) {
    QList<ScriptedFrame> sorted = frames;
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const ScriptedFrame& a, const ScriptedFrame& b) { return a.timeMs < b.timeMs; });
    std::lock_guard lock(d->mutex);
    d->script = sorted;
    d->nextScripted = d->script.size(); // not before the next "#S$"
}

void LapCounterEmulator::setLiveCars(int cars, int lapMs) {
    std::lock_guard lock(d->mutex);
    d->liveCars = std::clamp(cars, 0, 255);
    d->lapMs = std::max(lapMs, 0);
}

void LapCounterEmulator::setClockInterval(int milliseconds) {
    std::lock_guard lock(d->mutex);
    d->clockIntervalMs = std::max(milliseconds, 0);
}

void LapCounterEmulator::setClockRate(double rate) {
    std::lock_guard lock(d->mutex);
    d->clockRate = std::isfinite(rate) && rate > 0 ? std::min(rate, kMaxClockRate) : 1.0;
}

void LapCounterEmulator::setPacing(Pacing pacing) {
    std::lock_guard lock(d->mutex);
    d->pacing = pacing;
}

void LapCounterEmulator::setTransponder(std::optional<int> id) {
    std::lock_guard lock(d->mutex);
    d->transponder = id;
}

std::optional<int> LapCounterEmulator::transponder() const {
    std::lock_guard lock(d->mutex);
    return d->transponder;
}

QStringList LapCounterEmulator::commandsReceived() const {
    std::lock_guard lock(d->mutex);
    return d->commands;
}

bool LapCounterEmulator::clockRunning() const {
    std::lock_guard lock(d->mutex);
    return d->running;
}

void LapCounterEmulator::setLog(std::function<void(const QString&)> log) {
    std::lock_guard lock(d->mutex);
    d->log = std::move(log);
}

void LapCounterEmulator::setSentHook(std::function<void(const QByteArray&, bool)> hook) {
    std::lock_guard lock(d->mutex);
    d->sentHook = std::move(hook);
}
