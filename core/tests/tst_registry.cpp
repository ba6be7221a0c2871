// The settings store: what reads and writes of the program's key do, with and
// without the key.
#include "InstallFixture.h"
#include "mdlRegistry.h"

#include <QSettings>
#include <QtTest>

using namespace kv;

class TestRegistry : public QObject {
    Q_OBJECT
private:
    static QString get(const QString& name) {
        return GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, name, QString());
    }
    static void set(const QString& name, const QString& value, bool create = true) {
        SetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, name, value, create);
    }

private slots:
    void roundTrip_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << "12"
                               << "12";
        QTest::newRow("empty stores one blank") << ""
                                                << " ";
        QTest::newRow("cut at the first NUL") << QString("12") + QChar(u'\0') + "34"
                                              << "12";
        QTest::newRow("folder with blanks") << "/opt/kirv vorel/"
                                            << "/opt/kirv vorel/";
        QTest::newRow("commas stay text") << "a, b"
                                          << "a, b";
        QTest::newRow("backslashes") << "C:\\Kirv\\"
                                     << "C:\\Kirv\\";
    }
    void roundTrip() {
        QFETCH(QString, written);
        QFETCH(QString, read);
        test::InstallFixture fx;
        set("ComPort", written);
        QCOMPARE(get("ComPort"), read);
    }

    void neverWrittenReadsAsDefault() {
        test::InstallFixture fx;
        QCOMPARE(get("LastTournamentID"), QString());
        QCOMPARE(GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, "LastTournamentID", "d"),
                 QString("d"));
    }

    void missingKeyReadsDefaultsAndWritesNothing() {
        test::InstallFixture fx(false);
        set("ComPort", "3");
        QVERIFY(!QFile::exists(IniSettingsStore::fileForKey(kRegistryPath)));
        QCOMPARE(GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, "ComPort", "x"), QString("x"));
    }

    void createFlagFalseWritesOnlyExistingValues() {
        test::InstallFixture fx;
        set("PracticeDeleteDelay", "3", false);
        QCOMPARE(get("PracticeDeleteDelay"), QString());
        set("PracticeDeleteDelay", "4", true);
        set("PracticeDeleteDelay", "5", false);
        QCOMPARE(get("PracticeDeleteDelay"), QString("5"));
    }

    void nonTextValueReadsAsDefault() {
        test::InstallFixture fx;
        {
            QSettings s(IniSettingsStore::fileForKey(kRegistryPath), QSettings::IniFormat);
            s.setValue("ComPort", QStringList{"1", "2"});
        }
        QCOMPARE(GetRegistryValue(HKEY_LOCAL_MACHINE, kRegistryPath, "ComPort", "d"), QString("d"));
        set("ComPort", "7");
        QCOMPARE(get("ComPort"), QString("7"));
    }

    void installationStoresAppPathAndKeepsThePort() {
        test::InstallFixture fx;
        QCOMPARE(get("AppPath"), fx.appPath());
        QVERIFY(get("AppPath").endsWith('/'));
        QCOMPARE(get("ComPort"), QString("1"));
        set("ComPort", "4");
        fx.install();
        QCOMPARE(get("ComPort"), QString("4"));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
