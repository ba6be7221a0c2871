// kirv-install as a person runs it: options never become a folder, and moving
// to a new folder says where the race database used so far stays.
#include "Installer.h"
#include "mdlRegistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kv;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// A working folder and a configuration folder of one test's own.
class Sandbox {
public:
    Sandbox() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
        setSettingsStore(nullptr);
        QDir().mkpath(cwd());
    }
    ~Sandbox() { qunsetenv("XDG_CONFIG_HOME"); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString cwd() const { return path(QStringLiteral("cwd")); }
    QByteArray settings() const {
        QFile f(IniSettingsStore::fileForKey(kRegistryPath));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no settings>");
    }
    // Runs kirv-install in the working folder; the child inherits the
    // configuration folder.
    Run run(const QStringList& args) const {
        QProcess p;
        p.setWorkingDirectory(cwd());
        p.start(QStringLiteral(KV_INSTALL_PROGRAM), args);
        Run r;
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestInstaller : public QObject {
    Q_OBJECT
private slots:
    void optionsChangeNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("help");
        QTest::newRow("--help") << QStringList{"--help"} << true;
        QTest::newRow("-h") << QStringList{"-h"} << true;
        QTest::newRow("help after a folder") << QStringList{"club", "--help"} << true;
        QTest::newRow("unknown long option") << QStringList{"--prefix=/opt"} << false;
        QTest::newRow("unknown short option") << QStringList{"-v"} << false;
        QTest::newRow("unknown option after a folder") << QStringList{"club", "-x"} << false;
    }
    // An option prints the usage and leaves the working folder and the
    // settings of an earlier installation as they were.
    void optionsChangeNothing() {
        QFETCH(QStringList, args);
        QFETCH(bool, help);
        Sandbox box;
        QString error;
        QVERIFY2(Installer::install(box.path("club"), &error), qPrintable(error));
        const QByteArray settings = box.settings();

        const Run r = box.run(args);

        if (help) {
            QCOMPARE(r.exitCode, 0);
            QVERIFY2(r.out.startsWith("usage: kirv-install <install folder>\n"), qPrintable(r.out));
        } else {
            QVERIFY2(r.exitCode > 0, qPrintable(r.out));
            QVERIFY2(r.err.contains("usage: kirv-install <install folder>\n"), qPrintable(r.err));
            QVERIFY2(r.err.contains(args.last()), qPrintable(r.err));
        }
        QCOMPARE(QDir(box.cwd()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QCOMPARE(box.settings(), settings);
    }

    void earlierDatabaseIsNamed_data() {
        QTest::addColumn<QString>("before"); // folder installed before; empty: none
        QTest::addColumn<bool>("keepDatabase");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("notice");
        QTest::newRow("another folder holding a database") << "old" << true << "new" << true;
        QTest::newRow("another folder without a database") << "old" << false << "new" << false;
        QTest::newRow("the same folder again") << "old" << true << "old" << false;
        QTest::newRow("the same folder written otherwise")
            << "old" << true << "new/../old/" << false;
        QTest::newRow("no installation before") << "" << false << "new" << false;
    }
    // Installing into a new folder while the settings point at a folder that
    // holds a race database says so, with both folders: the program will show
    // an empty database, and the club's data is in the old folder.
    void earlierDatabaseIsNamed() {
        QFETCH(QString, before);
        QFETCH(bool, keepDatabase);
        QFETCH(QString, target);
        QFETCH(bool, notice);
        Sandbox box;
        if (!before.isEmpty()) {
            QString error;
            QVERIFY2(Installer::install(box.path(before), &error), qPrintable(error));
            if (!keepDatabase)
                QVERIFY(QFile::remove(box.path(before) + "/zadiva.dat"));
        }
        const QString oldPath = Installer::appPathOf(box.path(before));
        const QString newPath = Installer::appPathOf(box.path(target));

        const Run r = box.run({box.path(target)});

        QCOMPARE(r.exitCode, 0);
        QString expected = "Installed into " + newPath + "\n";
        if (notice)
            expected += "The settings pointed at " + oldPath +
                        ", which holds a race database; that database stays there.\n"
                        "Kirv Vorel now uses " +
                        newPath + " instead.\n";
        QCOMPARE(r.out, expected);
        QCOMPARE(GetAppPath(), newPath);
        QVERIFY(QFile::exists(newPath + "zadiva.dat"));
    }
};

QTEST_GUILESS_MAIN(TestInstaller)
#include "tst_installer.moc"
