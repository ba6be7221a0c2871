// kirv-emulator: a lap counter on a pseudo-terminal, so the program can be tried without hardware.

#include "LapCounterEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <pthread.h>

namespace {

void print(const QString& line) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "kirv-emulator: %s\n", qPrintable(message));
    std::exit(1);
}

int intOption(const QCommandLineParser& parser, const QString& name, int low, int high) {
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        fail(
            QStringLiteral("--%1 needs a whole number from %2 to %3").arg(name).arg(low).arg(high));
    return value;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kirv-emulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lap counter emulator on a pseudo-terminal. Runs until interrupted."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("link"),
         QStringLiteral("Place a link to the device here, e.g. <AppPath>/ports/COM1."),
         QStringLiteral("path")},
        {QStringLiteral("script"),
         QStringLiteral("Send the frames of this file after each start: lines of \"<ms> <car>\" or "
                        "\"<ms> U\"."),
         QStringLiteral("file")},
        {QStringLiteral("cars"),
         QStringLiteral("Simulate this many cars (IDs 1..n) after each start."),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("lap-ms"), QStringLiteral("Lap time of the simulated cars."),
         QStringLiteral("ms"), QStringLiteral("10000")},
        {QStringLiteral("clock-ms"), QStringLiteral("Send a clock frame this often; 0 for none."),
         QStringLiteral("ms"), QStringLiteral("1000")},
        {QStringLiteral("id"), QStringLiteral("A transponder with this ID lies on the reader."),
         QStringLiteral("id")},
        {QStringLiteral("rate"),
         QStringLiteral("Run the counter's clock this many times as fast as real time."),
         QStringLiteral("factor"), QStringLiteral("1")},
        {QStringLiteral("fast"), QStringLiteral("Send flat out instead of at 19200 baud.")},
    });
    parser.process(app);

    LapCounterEmulator emulator;
    if (parser.isSet(QStringLiteral("script"))) {
        QFile file(parser.value(QStringLiteral("script")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            fail(QStringLiteral("cannot read %1").arg(file.fileName()));
        QString error;
        const auto frames =
            LapCounterEmulator::parseScript(QString::fromUtf8(file.readAll()), &error);
        if (!frames)
            fail(QStringLiteral("%1: %2").arg(file.fileName(), error));
        emulator.setScript(*frames);
    }
    emulator.setLiveCars(intOption(parser, QStringLiteral("cars"), 0, 255),
                         intOption(parser, QStringLiteral("lap-ms"), 1, 16777215));
    emulator.setClockInterval(intOption(parser, QStringLiteral("clock-ms"), 0, 16777215));
    bool rateOk = false;
    const double rate = parser.value(QStringLiteral("rate")).toDouble(&rateOk);
    if (!rateOk || !(rate > 0) || rate > 1e6)
        fail(QStringLiteral("--rate needs a number above 0 and at most 1000000"));
    emulator.setClockRate(rate);
    if (parser.isSet(QStringLiteral("id")))
        emulator.setTransponder(intOption(parser, QStringLiteral("id"), 0, 255));
    emulator.setPacing(parser.isSet(QStringLiteral("fast")) ? LapCounterEmulator::Pacing::FlatOut
                                                            : LapCounterEmulator::Pacing::Wire);
    emulator.setLog(print);

    // Only this thread takes the interrupt; the emulator's own thread must not.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QString error;
    if (!emulator.open(&error))
        fail(error);
    print(QStringLiteral("Lap counter on %1").arg(emulator.devicePath()));
    if (parser.isSet(QStringLiteral("link"))) {
        const QString link = parser.value(QStringLiteral("link"));
        if (!emulator.placeLink(link, &error))
            fail(error);
        print(QStringLiteral("Link %1 -> %2").arg(link, emulator.devicePath()));
    }

    int signal = 0;
    sigwait(&stopSignals, &signal);
    emulator.close();
    return 0;
}
