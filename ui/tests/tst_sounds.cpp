// The sounds of a run: the install folder is read once, when a run starts (or
// at the first sound), and every sound of the run is found under that folder,
// without reading the settings again.

#include "FakePlatform.h"
#include "Sounds.h"
#include "mdlRegistry.h"

#include <QHash>
#include <QtTest>

using namespace kv;

namespace {

// Settings in memory that count their reads.
class CountingSettings final : public SettingsStore {
public:
    QHash<QString, QString> values;
    mutable int reads = 0;
    bool keyExists(const QString&) const override { return true; }
    bool readText(const QString&, const QString& name, QString& out) const override {
        ++reads;
        if (!values.contains(name))
            return false;
        out = values.value(name);
        return true;
    }
    bool writeText(const QString&, const QString& name, const QString& value) override {
        values.insert(name, value);
        return true;
    }
    bool valueExists(const QString&, const QString& name) const override {
        return values.contains(name);
    }
};

} // namespace

class tst_sounds : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        setSettingsStore(nullptr);
        setSoundPlayer(nullptr);
    }

    void keepsTheFolderOfTheRun_data() {
        QTest::addColumn<QString>("appPath");
        QTest::addColumn<bool>("readAtStart");
        QTest::addColumn<QStringList>("played");
        const QStringList underOpt{"/opt/kv/res/start.wav", "/opt/kv/res/pass.wav",
                                   "/opt/kv/res/pass.wav"};
        QTest::newRow("read at the start") << "/opt/kv/" << true << underOpt;
        QTest::newRow("read at the first sound") << "/opt/kv/" << false << underOpt;
        QTest::newRow("folder stored without its slash") << "/opt/kv" << true << underOpt;
    }
    void keepsTheFolderOfTheRun() {
        QFETCH(QString, appPath);
        QFETCH(bool, readAtStart);
        QFETCH(QStringList, played);
        auto settings = std::make_shared<CountingSettings>();
        settings->values.insert("AppPath", appPath);
        setSettingsStore(settings);
        auto player = std::make_shared<FakeSoundPlayer>();
        setSoundPlayer(player);

        RunSounds sounds;
        if (readAtStart)
            sounds.readInstallFolder();
        sounds.play("start");
        // A folder changed during the run is the next run's.
        settings->values.insert("AppPath", "/elsewhere/");
        sounds.play("pass");
        sounds.play("pass");
        QCOMPARE(player->played, played);
        QCOMPARE(settings->reads, 1);

        sounds.readInstallFolder();
        sounds.play("go");
        QCOMPARE(player->played.last(), QString("/elsewhere/res/go.wav"));
    }
};

QTEST_GUILESS_MAIN(tst_sounds)
#include "tst_sounds.moc"
