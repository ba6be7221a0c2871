// A running ten-car heat under a line filled at the lap counter's full 19200 baud:
// the main window with its real serial layer on the emulator's pseudo-terminal and a
// real database file in a fresh install folder. The line carries passes of the ten
// cars (each spaced beyond the repeat filter and the transponder delay), passes of
// transponders that are not in the race, and clock frames.
//
// Reports frames sent and handled, laps stored and expected, the largest number of
// characters the counter had sent that were not yet handled (everything waiting in
// the port and in the control's buffer), and the time from a pass frame's arrival to
// the end of its handling (lap row committed, board redrawn, sound started).
// With --lock-seconds n another connection holds the database's write lock for n
// seconds from a third of the line's time: the laps stored in the end and the
// longest stall of the window thread are the figures then. Every run also times a
// bare SQLite transaction of a lap's shape (one insert, two updates) on the same
// disk, at an idle moment between laps as the program's own lap writes meet the
// disk, and prints as multiples of it both the store's write of a lap alone (its
// transaction on the program's connection, from BEGIN to the end of COMMIT) and
// the whole way from pass to lap stored.
// A p99 rests on the slowest hundredth of its values: of a minute's 165 laps, on the
// two slowest, and it swings between unchanged runs. So the line runs four minutes
// unless told otherwise (some 685 laps; the p99 then the 7th slowest), each ratio of
// p99s is printed with its spread (the range that 90% of resamplings of the laps and
// the references give), and beside it the p95's ratio, which rests on some 35 laps
// and moves far less between runs.
// Prints its targets beside the figures; it asserts nothing.

#include "FakePlatform.h"
#include "Installer.h"
#include "KirvOCX.h"
#include "LapCounterEmulator.h"
#include "RacePage.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "mdlRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#ifdef KV_BENCH_SQLITE_TRACE
#include <sqlite3.h>

#include <QSqlDriver>
#endif

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <unordered_map>
#include <vector>

using namespace kv;
using SteadyClock = std::chrono::steady_clock;
using Frame = LapCounterEmulator::ScriptedFrame;

namespace {

constexpr int kRaceCars = 10; // transponders 1..10, start positions 1..10
constexpr int kFirstOther = 11;
constexpr int kLastOther = 255;
constexpr int kRepeatWindowMs = 3000;
constexpr double kWireCharsPerMs = 1.92;
// The script asks a little more of the line than it carries, so the line never idles;
// the counter's queue absorbs the rest.
constexpr double kScriptCharsPerMs = kWireCharsPerMs * 1.02;
constexpr int kPassChars = 11;
constexpr int kClockChars = 9;
constexpr int kInputBufferChars = 1024;
constexpr double kTargetP99Ms = 5.0;
constexpr double kTargetStallMs = 100.0;
constexpr double kTargetRatioP50 = 1.5;
constexpr double kTargetRatioP99 = 3.0;
// The reference runs this long after a lap is stored, when no other lap was stored
// in the last kReferenceIdleMs: the disk has been idle as long as it is before a lap.
constexpr int kReferenceDelayMs = 125;
constexpr int kReferenceIdleMs = 100;
constexpr int kDefaultSeconds = 240;
constexpr int kResamplings = 1000;

struct Plan {
    QList<Frame> frames;
    std::array<int, kRaceCars + 1> racePasses{}; // by transponder
    int otherPasses = 0;
    int clockFrames = 0;
    qint64 chars = 0;

    int expectedLaps() const {
        int laps = 0;
        for (int passes : racePasses)
            laps += std::max(passes - 1, 0); // the first crossing starts the car
        return laps;
    }
};

// Frames back to back at the line's rate for `seconds` of counter time. A race car
// passes whenever it is due (car k every 3200 + 60 k ms); otherwise another
// transponder and a clock frame take turns, a transponder only when its last pass
// lies beyond the repeat window, so every frame reaches the program as an event.
Plan makePlan(int seconds) {
    Plan plan;
    std::array<qint64, kRaceCars> nextRace{};
    for (int k = 0; k < kRaceCars; ++k)
        nextRace[size_t(k)] = 100 + 150 * k;
    std::array<qint64, 256> lastOther;
    lastOther.fill(-10 * kRepeatWindowMs);
    int nextOther = kFirstOther;
    bool clockTurn = false;
    double at = 0;
    while (at < seconds * 1000.0) {
        const qint32 ms = qint32(at);
        const auto due = std::min_element(nextRace.begin(), nextRace.end());
        if (*due <= ms) {
            const int k = int(due - nextRace.begin());
            plan.frames.append({ms, k + 1});
            ++plan.racePasses[size_t(k + 1)];
            *due = ms + 3200 + 60 * k;
            at += kPassChars / kScriptCharsPerMs;
            plan.chars += kPassChars;
            continue;
        }
        if (!clockTurn && lastOther[size_t(nextOther)] + kRepeatWindowMs < ms) {
            plan.frames.append({ms, nextOther});
            lastOther[size_t(nextOther)] = ms;
            nextOther = nextOther == kLastOther ? kFirstOther : nextOther + 1;
            ++plan.otherPasses;
            at += kPassChars / kScriptCharsPerMs;
            plan.chars += kPassChars;
        } else {
            plan.frames.append({ms, LapCounterEmulator::kClockFrame});
            ++plan.clockFrames;
            at += kClockChars / kScriptCharsPerMs;
            plan.chars += kClockChars;
        }
        clockTurn = !clockTurn;
    }
    return plan;
}

quint32 passKey(int car, qint32 ms) {
    return (quint32(car) << 24) | (quint32(ms) & 0xFFFFFF);
}

// What the counter handed to the line, seen from its own thread.
struct LineLog {
    std::atomic<qint64> frames{0};
    std::atomic<qint64> chars{0};
    std::atomic<qint64> incomplete{0};
    std::atomic<qint64> firstNs{0};
    std::atomic<qint64> lastNs{0};
    std::mutex mutex;
    std::unordered_map<quint32, SteadyClock::time_point> raceArrivals;

    // Pass and clock frames only: replies to the program's commands are not counted.
    void sent(const QByteArray& frame, bool complete) {
        const auto now = SteadyClock::now();
        if (frame.size() < 2 || (frame[1] != 'P' && frame[1] != 'U'))
            return;
        const qint64 ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
        if (firstNs.load() == 0)
            firstNs = ns;
        lastNs = ns;
        if (!complete) {
            ++incomplete;
            return;
        }
        if (frame.size() == kPassChars && frame[1] == 'P') {
            bool carOk = false;
            bool timeOk = false;
            const int car = frame.mid(2, 2).toInt(&carOk, 16);
            const int ms = frame.mid(4, 6).toInt(&timeOk, 16);
            if (carOk && timeOk && car >= 1 && car <= kRaceCars) {
                std::lock_guard lock(mutex);
                raceArrivals[passKey(car, ms)] = now;
            }
        }
        chars += frame.size();
        ++frames;
    }

    // The frame may be handled before this thread has noted it: wait the moment.
    std::optional<SteadyClock::time_point> arrival(quint32 key) {
        const auto giveUp = SteadyClock::now() + std::chrono::milliseconds(100);
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (const auto it = raceArrivals.find(key); it != raceArrivals.end())
                    return it->second;
            }
            if (SteadyClock::now() > giveUp)
                return std::nullopt;
            std::this_thread::yield();
        }
    }
};

struct Handled {
    qint64 frames = 0;
    qint64 chars = 0;
    qint64 largestBacklog = 0;
    qint64 unmatched = 0;
    std::array<int, kRaceCars + 1> racePasses{};
    std::vector<double> lapLatencyMs;
    // The lap's own share: from its arrival or the end of the frame before it, whichever
    // came later, so the time it waited behind other frames is left out.
    std::vector<double> lapHandlingMs;
    // The store's transaction of each lap on the program's connection.
    std::vector<double> storeWriteMs;
    SteadyClock::time_point lastDone;
    SteadyClock::time_point lastLapDone;
};

bool runSql(const QString& file, const QStringList& statements,
            QStringList* firstColumn = nullptr) {
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& s : statements) {
            if (!ok)
                break;
            if (!q.exec(s)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(s), qPrintable(q.lastError().text()));
                ok = false;
            }
            while (firstColumn && q.next())
                *firstColumn << q.value(0).toString();
        }
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("bench");
    return ok;
}

QStringList heatSetup(int minutes) {
    QStringList sql{
        "INSERT INTO tblTournament (TournamentID, Name, RegTime) VALUES (1, 'Bench', "
        "'2024-05-01 10:00:00');",
        QString("INSERT INTO tblRace (TournamentID, RaceCategoryID, RaceCode, QualRound, "
                "QualHeat, Length, Status, Description) VALUES (1, 1, 1, 1, 1, %1, 0, "
                "'Round 1 - Heat 1');")
            .arg(minutes)};
    for (int k = 1; k <= kRaceCars; ++k) {
        sql << QString("INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, "
                       "TransponderID) VALUES (%1, 'Driver%1', 'F%1', %2, %1);")
                   .arg(k)
                   .arg(27.0 + 0.01 * k, 0, 'f', 2)
            << QString("INSERT INTO tblDriverInTournament (DriverID, TournamentID, Reserved) "
                       "VALUES (%1, 1, 0);")
                   .arg(k)
            << QString("INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition, "
                       "TimeToFinish, TimeToFinishString) VALUES (%1, 1, %1, 100000000, '...');")
                   .arg(k);
    }
    return sql;
}

// The transactions of one connection, each from the start of its BEGIN to the end
// of its COMMIT, as SQLite's own trace reports them: the program's writes are
// timed without a change to the program, and the reference the same way.
class TransactionClock {
public:
    bool attach(const QSqlDatabase& db) {
#ifdef KV_BENCH_SQLITE_TRACE
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
            return false;
        sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
        return connection && sqlite3_trace_v2(connection, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE,
                                              &trace, this) == SQLITE_OK;
#else
        (void)db;
        return false;
#endif
    }
    // The transaction that ended last, taken once.
    std::optional<double> takeLast() {
        std::optional<double> last = m_last;
        m_last.reset();
        return last;
    }

private:
#ifdef KV_BENCH_SQLITE_TRACE
    static int trace(unsigned type, void* self, void* statement, void*) {
        auto* clock = static_cast<TransactionClock*>(self);
        const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
        if (!sql)
            return 0;
        const auto now = SteadyClock::now();
        if (type == SQLITE_TRACE_STMT && std::strncmp(sql, "BEGIN", 5) == 0)
            clock->m_begun = now;
        else if (type == SQLITE_TRACE_PROFILE && std::strncmp(sql, "COMMIT", 6) == 0 &&
                 clock->m_begun) {
            clock->m_last =
                std::chrono::duration<double, std::milli>(now - *clock->m_begun).count();
            clock->m_begun.reset();
        }
        return 0;
    }
#endif
    std::optional<SteadyClock::time_point> m_begun;
    std::optional<double> m_last;
};

// A lap's writes with nothing around them: one transaction of one insert and two
// updates, prepared once, on a database of its own in the race database's folder.
// One runs at an idle moment after each lap of the heat, so both meet the same
// disk in the same state.
class ReferenceTransaction {
public:
    explicit ReferenceTransaction(const QString& folder) : m_file(folder + "reference.dat") {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reference");
        db.setDatabaseName(m_file);
        if (!db.open())
            return;
        QSqlQuery q(db);
        for (const char* sql :
             {"PRAGMA journal_mode=WAL;", "PRAGMA synchronous=FULL;",
              "CREATE TABLE lap (id INTEGER PRIMARY KEY AUTOINCREMENT, entry INTEGER, total "
              "INTEGER, totalText TEXT, lap INTEGER, lapText TEXT, race INTEGER);",
              "CREATE TABLE entry (id INTEGER PRIMARY KEY, laps INTEGER, result INTEGER, "
              "resultText TEXT);",
              "INSERT INTO entry (id, laps, result, resultText) VALUES (1, 0, 0, '...');"})
            q.exec(sql);
        m_insert = QSqlQuery(db);
        m_count = QSqlQuery(db);
        m_result = QSqlQuery(db);
        m_begin = QSqlQuery(db);
        m_commit = QSqlQuery(db);
        m_insert.prepare("INSERT INTO lap (entry, total, totalText, lap, lapText, race) VALUES "
                         "(?,?,?,?,?,?);");
        m_count.prepare("UPDATE entry SET laps=? WHERE id=?;");
        m_result.prepare("UPDATE entry SET result=?, resultText=? WHERE id=?;");
        m_begin.prepare("BEGIN IMMEDIATE;");
        m_commit.prepare("COMMIT;");
        m_traced = m_clock.attach(db);
    }
    // Whether the transactions are timed as the program's are (by SQLite's trace).
    bool traced() const { return m_traced; }
    ~ReferenceTransaction() {
        for (QSqlQuery* query : {&m_insert, &m_count, &m_result, &m_begin, &m_commit})
            *query = QSqlQuery();
        QSqlDatabase::database("reference", false).close();
        QSqlDatabase::removeDatabase("reference");
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(m_file + suffix);
    }
    void once() {
        const int i = int(ms.size());
        const auto start = SteadyClock::now();
        m_begin.exec();
        for (const QVariant& v : {QVariant(1), QVariant(i * 3300), QVariant("12.345"),
                                  QVariant(3300), QVariant("3.300"), QVariant(1)})
            m_insert.addBindValue(v);
        m_insert.exec();
        m_count.addBindValue(i);
        m_count.addBindValue(1);
        m_count.exec();
        m_result.addBindValue(i);
        m_result.addBindValue("1.234");
        m_result.addBindValue(1);
        m_result.exec();
        m_commit.exec();
        const double elapsed =
            std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
        ms.push_back(m_clock.takeLast().value_or(elapsed));
    }
    std::vector<double> ms;

private:
    QString m_file;
    QSqlQuery m_insert, m_count, m_result, m_begin, m_commit;
    TransactionClock m_clock;
    bool m_traced = false;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

// How many of n values, the slowest, the p-th percentile is taken from: it is the
// fastest of them.
size_t slowest(size_t n, double p) {
    if (n == 0)
        return 0;
    return n + 1 - std::clamp<size_t>(size_t(std::ceil(p / 100.0 * double(n))), 1, n);
}

// How far the ratio of two series' p-th percentiles moves with the values that
// happened to come: the 5th and 95th percentile of that ratio over resamplings of
// both series (with replacement, from a fixed seed, so the same values give the same
// range).
struct Spread {
    double low = 0;
    double high = 0;
};
Spread ratioSpread(const std::vector<double>& values, const std::vector<double>& reference,
                   double p) {
    if (values.empty() || reference.empty())
        return {};
    std::mt19937 random(1);
    std::uniform_int_distribution<size_t> pickValue(0, values.size() - 1);
    std::uniform_int_distribution<size_t> pickReference(0, reference.size() - 1);
    std::vector<double> drawn(values.size()), drawnReference(reference.size()), ratios;
    ratios.reserve(kResamplings);
    for (int i = 0; i < kResamplings; ++i) {
        for (double& v : drawn)
            v = values[pickValue(random)];
        for (double& v : drawnReference)
            v = reference[pickReference(random)];
        ratios.push_back(percentile(drawn, p) / std::max(percentile(drawnReference, p), 1e-6));
    }
    return {percentile(ratios, 5), percentile(ratios, 95)};
}

const char* verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));

    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("A running ten-car heat under a full lap counter line.");
    parser.addHelpOption();
    parser.addOption(
        {"seconds", "How long the line is filled.", "n", QString::number(kDefaultSeconds)});
    parser.addOption({"lock-seconds",
                      "Another connection holds the write lock this long, from a third of the "
                      "line's time.",
                      "n", "0"});
    parser.process(app);
    const int lockSeconds = parser.value("lock-seconds").toInt();
    bool ok = false;
    const int seconds = parser.value("seconds").toInt(&ok);
    if (!ok || seconds < 5 || seconds > 4 * 3600) {
        std::fprintf(stderr, "bench_race: --seconds needs a whole number from 5 to 14400\n");
        return 2;
    }

    // The install folder and its settings, as the installation leaves them.
    setSettingsStore(nullptr);
    const QString folder = home.filePath("app");
    QString error;
    if (!Installer::install(folder, &error)) {
        std::fprintf(stderr, "bench_race: installation failed: %s\n", qPrintable(error));
        return 1;
    }
    const QString appPath = Installer::appPathOf(folder);
    const QString database = appPath + "zadiva.dat";
    // A time race long enough not to end while the line is filled.
    if (!runSql(database, heatSetup(seconds / 60 + 10)))
        return 1;

    LapCounterEmulator counter;
    if (!counter.open(&error)) {
        std::fprintf(stderr, "bench_race: %s\n", qPrintable(error));
        return 1;
    }
    const int port = 25000 + int(QCoreApplication::applicationPid() % 5000);
    if (!counter.placeLink(LapCounterEmulator::portLinkPath(appPath + "ports", port), &error)) {
        std::fprintf(stderr, "bench_race: %s\n", qPrintable(error));
        return 1;
    }
    const Plan plan = makePlan(seconds);
    counter.setScript(plan.frames);
    counter.setClockInterval(0);
    counter.setPacing(LapCounterEmulator::Pacing::Wire);
    LineLog line;
    counter.setSentHook(
        [&line](const QByteArray& frame, bool complete) { line.sent(frame, complete); });
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, "ComPort", QString::number(port), true);
    SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, "TransponderDelay", "3", true);

    // Message boxes are answered and kept, so nothing modal holds the line up.
    auto boxes = std::make_shared<FakeMessageBoxes>();
    setMessageBoxes(boxes);
    {
        frmMain w;
        w.showSplash = [](frmSplash&) {};
        if (!w.Form_Load()) {
            std::fprintf(stderr, "bench_race: start-up failed: %s\n",
                         qPrintable(boxes->lastText()));
            return 1;
        }

        Handled handled;
        ReferenceTransaction reference(appPath);
        TransactionClock store;
        bool lineOpen = true;
        const bool storeTraced =
            store.attach(QSqlDatabase::database(w.state().DbConnection.connectionName(), false));
        auto note = [&](qint64 chars) {
            handled.lastDone = SteadyClock::now();
            ++handled.frames;
            handled.chars += chars;
            handled.largestBacklog =
                std::max(handled.largestBacklog, line.chars.load() - handled.chars);
        };
        // Connected after the main window's own handlers, so these run once a frame's
        // handling is over.
        QObject::connect(w.state().KirvOCX, &KirvOCX::UpdateRaceClock, &w,
                         [&](qint32) { note(kClockChars); });
        QObject::connect(w.state().KirvOCX, &KirvOCX::RegisterCar, &w, [&](qint16 car, qint32 ms) {
            const auto done = SteadyClock::now();
            const auto previousDone = handled.lastDone;
            note(kPassChars);
            if (car < 1 || car > kRaceCars)
                return;
            if (++handled.racePasses[size_t(car)] < 2)
                return; // the start crossing stores no lap
            const auto arrived = line.arrival(passKey(car, ms));
            if (!arrived) {
                ++handled.unmatched;
                return;
            }
            handled.lapLatencyMs.push_back(
                std::chrono::duration<double, std::milli>(done - *arrived).count());
            handled.lapHandlingMs.push_back(
                std::chrono::duration<double, std::milli>(done - std::max(*arrived, previousDone))
                    .count());
            if (const auto write = store.takeLast())
                handled.storeWriteMs.push_back(*write);
            handled.lastLapDone = done;
            // The reference at an idle moment between laps, as the program's write meets
            // the disk; none while laps come close together.
            QTimer::singleShot(kReferenceDelayMs, &w, [&] {
                if (lineOpen && SteadyClock::now() - handled.lastLapDone >=
                                    std::chrono::milliseconds(kReferenceIdleMs)) {
                    reference.once();
                    handled.lastDone = SteadyClock::now(); // the next frame's share leaves it out
                }
            });
        });

        RacePage* page = w.pageRace;
        w.state().CurrentTournamentID = 1;
        w.cmdToolbarMain_Click(2);
        page->cbRaceShowRaceCategory->setCurrentIndex(0);
        page->cmdRaceStart_Click();
        for (int i = 0; i < 10; ++i)
            page->tmrRaceCountdown_Timer();
        if (w.timing().CurrentRaceStatus != RaceRunning) {
            std::fprintf(stderr, "bench_race: the heat did not start: %s\n",
                         qPrintable(boxes->lastText()));
            return 1;
        }

        // The window thread's longest stall: the largest gap between ticks of a fast
        // timer, beyond its interval.
        double longestStallMs = 0;
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer stallProbe;
        stallProbe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&stallProbe, &QTimer::timeout, &w, [&] {
            longestStallMs = std::max(longestStallMs, sinceTick.nsecsElapsed() / 1e6 - 10.0);
            sinceTick.restart();
        });
        stallProbe.start(10);

        // Another program's lock for part of the heat.
        std::optional<QSqlDatabase> other;
        if (lockSeconds > 0) {
            QTimer::singleShot(seconds * 1000 / 3, &w, [&] {
                other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
                other->setDatabaseName(database);
                if (!other->open() || !QSqlQuery(*other).exec("BEGIN EXCLUSIVE;"))
                    std::fprintf(stderr, "bench_race: no lock\n");
            });
            QTimer::singleShot(seconds * 1000 / 3 + lockSeconds * 1000, &w, [&] {
                QSqlQuery(*other).exec("COMMIT;");
                other->close();
            });
        }

        // Until the script has gone out and every frame sent is handled, or well past.
        QElapsedTimer clock;
        clock.start();
        const qint64 limitMs = qint64(seconds) * 1000 * 2 + 10000;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            const bool allSent = line.frames.load() + line.incomplete.load() >= plan.frames.size();
            if ((allSent && handled.frames >= line.frames.load()) || clock.elapsed() > limitMs)
                loop.quit();
        });
        poll.start(100);
        loop.exec();
        lineOpen = false;
        const double lineS = double(line.lastNs.load() - line.firstNs.load()) / 1e9;
        stallProbe.stop();
        const int waitingAtEnd = page->passesWaiting();
        page->cmdRaceStop_Click();
        if (other) {
            *other = QSqlDatabase();
            other.reset();
            QSqlDatabase::removeDatabase("other");
        }

        QStringList stored;
        runSql(database, {"SELECT COUNT(*) FROM tblLapInRace WHERE RaceID=1;"}, &stored);
        const qint64 lapsStored = stored.value(0).toLongLong();

        const qint64 sent = line.frames.load();
        const bool nothingLost = sent == plan.frames.size() && handled.frames == sent &&
                                 line.incomplete.load() == 0 && lapsStored == plan.expectedLaps();
        const bool backlogOk = handled.largestBacklog < kInputBufferChars;
        const double p50 = percentile(handled.lapLatencyMs, 50);
        const double p99 = percentile(handled.lapLatencyMs, 99);
        const bool latencyOk = !handled.lapLatencyMs.empty() && p99 < kTargetP99Ms;

        std::printf(
            "Ten-car heat under a full lap counter line, %d s, database %s (removed at exit)\n",
            seconds, qPrintable(QDir::toNativeSeparators(database)));
        std::printf("  line: %lld characters in %.1f s = %.0f characters/s (19200 baud carries "
                    "1920)\n",
                    static_cast<long long>(line.chars.load()), lineS,
                    double(line.chars.load()) / std::max(lineS, 1e-3));
        std::printf("  frames sent     %7lld of %lld scripted (race passes %d, other "
                    "transponders %d, clock %d; cut short by a full line %lld)\n",
                    static_cast<long long>(sent), static_cast<long long>(plan.frames.size()),
                    plan.expectedLaps() + kRaceCars, plan.otherPasses, plan.clockFrames,
                    static_cast<long long>(line.incomplete.load()));
        std::printf("  frames handled  %7lld\n", static_cast<long long>(handled.frames));
        std::printf("  laps stored     %7lld of %d expected\n", static_cast<long long>(lapsStored),
                    plan.expectedLaps());
        std::printf("  %-44s %s\n", "target: nothing lost", verdict(nothingLost));
        std::printf("  largest backlog %7lld characters      target: below %d     %s\n",
                    static_cast<long long>(handled.largestBacklog), kInputBufferChars,
                    verdict(backlogOk));
        std::printf("  pass to lap stored (%zu laps%s): p50 %.2f ms, p99 %.2f ms, max %.2f ms  "
                    "target: p99 under %.0f ms  %s\n",
                    handled.lapLatencyMs.size(),
                    handled.unmatched ? ", some without arrival time" : "", p50, p99,
                    percentile(handled.lapLatencyMs, 100), kTargetP99Ms, verdict(latencyOk));
        std::printf("    of which handling the lap itself: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                    percentile(handled.lapHandlingMs, 50), percentile(handled.lapHandlingMs, 99),
                    percentile(handled.lapHandlingMs, 100));
        const double refP50 = percentile(reference.ms, 50);
        const double refP99 = percentile(reference.ms, 99);
        std::printf("  reference: a bare transaction of one insert and two updates on the same "
                    "disk, %d ms after a lap with no lap in the last %d ms (%zu%s): p50 %.2f ms, "
                    "p99 %.2f ms\n",
                    kReferenceDelayMs, kReferenceIdleMs, reference.ms.size(),
                    reference.traced() ? ", BEGIN to end of COMMIT" : "", refP50, refP99);
        if (storeTraced && reference.traced()) {
            const double store50 = percentile(handled.storeWriteMs, 50);
            const double store99 = percentile(handled.storeWriteMs, 99);
            std::printf("  store's write of a lap alone (%zu, BEGIN to end of COMMIT): p50 %.2f "
                        "ms, p99 %.2f ms\n",
                        handled.storeWriteMs.size(), store50, store99);
            const Spread spread = ratioSpread(handled.storeWriteMs, reference.ms, 99);
            std::printf("  store's write / reference: p50 %.2fx, p99 %.2fx (90%% of resamplings "
                        "%.2fx-%.2fx)\n",
                        store50 / std::max(refP50, 1e-6), store99 / std::max(refP99, 1e-6),
                        spread.low, spread.high);
        } else {
            std::printf("  store's write of a lap alone: not timed (built without SQLite's "
                        "trace)\n");
        }
        const double ratio50 = p50 / std::max(refP50, 1e-6);
        const double ratio99 = p99 / std::max(refP99, 1e-6);
        const Spread spread99 = ratioSpread(handled.lapLatencyMs, reference.ms, 99);
        std::printf("  pass to lap stored / reference: p50 %.2fx (target within %.1fx) %s, p99 "
                    "%.2fx (target within %.1fx) %s\n",
                    ratio50, kTargetRatioP50, verdict(ratio50 <= kTargetRatioP50), ratio99,
                    kTargetRatioP99, verdict(ratio99 <= kTargetRatioP99));
        std::printf(
            "    p95 %.2fx; the p99 from the %zu slowest of %zu laps and the %zu slowest of "
            "%zu references, 90%% of resamplings of both giving %.2fx-%.2fx\n",
            percentile(handled.lapLatencyMs, 95) / std::max(percentile(reference.ms, 95), 1e-6),
            slowest(handled.lapLatencyMs.size(), 99), handled.lapLatencyMs.size(),
            slowest(reference.ms.size(), 99), reference.ms.size(), spread99.low, spread99.high);
        std::printf("  database locked %d s; passes waiting when the line ended %d\n", lockSeconds,
                    waitingAtEnd);
        std::printf("  laps stored / expected %lld / %d %s; longest window stall %.1f ms  "
                    "target: under %.0f ms  %s\n",
                    static_cast<long long>(lapsStored), plan.expectedLaps(),
                    verdict(lapsStored == plan.expectedLaps()), longestStallMs, kTargetStallMs,
                    verdict(longestStallMs < kTargetStallMs));
        if (!boxes->messages.isEmpty())
            std::printf("  message shown: %s\n", qPrintable(boxes->lastText()));
    }
    counter.close();
    setMessageBoxes(nullptr);
    // The sound player that played the passes holds a sound effect, which must go while the
    // application still exists; a fresh player holds none.
    setSoundPlayer(nullptr);
    return 0;
}
