#include "LapCounterEmulator.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using Frames = QList<LapCounterEmulator::ScriptedFrame>;

namespace {

// The program's end of the line: sends commands and cuts what the counter sends into frames.
class LineEnd {
public:
    explicit LineEnd(const QString& device)
        : m_fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~LineEnd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool send(const QByteArray& command) {
        return ::write(m_fd, command.constData(), size_t(command.size())) == command.size();
    }
    // Every complete frame received so far, up to `count` of them.
    QStringList frames(qsizetype count) {
        char chunk[512];
        ssize_t n = 0;
        while ((n = ::read(m_fd, chunk, sizeof chunk)) > 0)
            m_received.append(chunk, n);
        QStringList out;
        qsizetype at = 0;
        for (qsizetype end; out.size() < count && (end = m_received.indexOf('$', at)) >= 0;
             at = end + 1)
            out << QString::fromLatin1(m_received.mid(at, end - at + 1));
        return out;
    }

private:
    int m_fd = -1;
    QByteArray m_received;
};

} // namespace

class tst_LapCounterEmulator : public QObject {
    Q_OBJECT

private slots:
    void parseScript_data();
    void parseScript();
    void fastClockSendsInCounterTimeOrder_data();
    void fastClockSendsInCounterTimeOrder();
};

void tst_LapCounterEmulator::parseScript_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<QString>("errorStart");

    constexpr int U = LapCounterEmulator::kClockFrame;
    QTest::newRow("passes and clock frames, sorted by time")
        << "; a short heat\n\n 3000 7\n1000\tU\n1000 255\n0 0\n"
        << true << Frames{{0, 0}, {1000, U}, {1000, 255}, {3000, 7}} << "";
    QTest::newRow("car beyond two hex digits") << "10 1\n20 256\n"
                                               << false << Frames{} << "line 2:";
    QTest::newRow("time beyond six hex digits") << "16777216 1" << false << Frames{} << "line 1:";
    QTest::newRow("negative time") << "-5 1" << false << Frames{} << "line 1:";
    QTest::newRow("missing car") << "\n100" << false << Frames{} << "line 2:";
}

void tst_LapCounterEmulator::parseScript() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(Frames, frames);
    QFETCH(QString, errorStart);

    QString error;
    const auto parsed = LapCounterEmulator::parseScript(text, &error);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, frames);
    else
        QVERIFY2(error.startsWith(errorStart), qPrintable(error));
}

void tst_LapCounterEmulator::fastClockSendsInCounterTimeOrder_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("liveCars");
    QTest::addColumn<int>("clockMs");
    QTest::addColumn<QStringList>("expected");

    // At a thousand times real time these take well under a second; at real time the
    // three-minute script alone would outlast the wait.
    QTest::newRow("a three-minute script keeps its times")
        << "0 1\n60000 U\n90000 1\n180000 U\n180500 1\n"
        << 0 << 0
        << QStringList{"#P01000000$", "#U00EA60$", "#P01015F90$", "#U02BF20$", "#P0102C114$"};
    // Many frames fall due at each wake-up of the counter: they still go out in time order, on
    // equal times the scripted one first.
    QTest::newRow("script and clock frames interleave")
        << "100 1\n300 2\n400 3\n"
        << 0 << 200 << QStringList{"#P01000064$", "#U0000C8$", "#P0200012C$",
                                   "#P03000190$", "#U000190$", "#U000258$"};
    // Car 1 laps in 1000 ms, car 2 in 1030 ms; their first passes come at 250 and 500 ms.
    QTest::newRow("live cars and clock frames interleave")
        << "" << 2 << 300
        << QStringList{"#P010000FA$", "#U00012C$",   "#P020001F4$", "#U000258$",  "#U000384$",
                       "#U0004B0$",   "#P010004E2$", "#U0005DC$",   "#P020005FA$"};
}

void tst_LapCounterEmulator::fastClockSendsInCounterTimeOrder() {
    QFETCH(QString, script);
    QFETCH(int, liveCars);
    QFETCH(int, clockMs);
    QFETCH(QStringList, expected);

    LapCounterEmulator counter;
    QString error;
    QVERIFY2(counter.open(&error), qPrintable(error));
    const auto frames = LapCounterEmulator::parseScript(script);
    QVERIFY(frames);
    counter.setScript(*frames);
    counter.setLiveCars(liveCars, 1000);
    counter.setClockInterval(clockMs);
    counter.setClockRate(1000);

    LineEnd line(counter.devicePath());
    QVERIFY(line.isOpen());
    QVERIFY(line.send("#S$"));
    QTRY_COMPARE(line.frames(expected.size()), expected);
}

QTEST_MAIN(tst_LapCounterEmulator)
#include "tst_LapCounterEmulator.moc"
