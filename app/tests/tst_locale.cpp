// The main window under a locale that writes its own digits (LC_ALL, Arabic of
// Egypt unless the environment names another): the numbers the program writes
// into boxes it reads back, into statements and into the settings store keep
// ASCII digits, so the driver form, the ID tools and the port box still work.
#include "MainFixture.h"
#include "MiscPage.h"
#include "TournamentPage.h"
#include "TransponderIdBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cstdlib>

using namespace kv;

namespace {

const QStringList kDriver = {
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES "
    "(1,'Berg','Anna',27.145,11);",
};

// Gives the C library the locale LC_ALL names, as in a user's session: a
// machine without it gets it compiled into `dir`, which LOCPATH then names.
// Qt takes its digits from its own locale data, so a failure here is reported
// but does not stop the tests. Runs before the application object exists.
QString prepareCLibraryLocale(const QTemporaryDir& dir) {
    if (std::setlocale(LC_ALL, ""))
        return QString();
    const QByteArray name = qgetenv("LC_ALL");
    for (const char c : name)
        if (!QChar::isLetterOrNumber(uchar(c)) && c != '_' && c != '.' && c != '-')
            return QStringLiteral("LC_ALL is no locale name");
    if (const qsizetype dot = name.indexOf('.'); dot > 0 && dir.isValid()) {
        const QByteArray command = "localedef -i " + name.left(dot) + " -f UTF-8 '" +
                                   QFile::encodeName(dir.path()) + "/" + name + "' >/dev/null 2>&1";
        (void)std::system(command.constData()); // warnings give a non-zero status
        qputenv("LOCPATH", QFile::encodeName(dir.path()));
        if (std::setlocale(LC_ALL, ""))
            return QString();
    }
    return QStringLiteral("the C library lacks %1 and localedef could not make it (its source "
                          "comes with the locales package)")
        .arg(QString::fromLatin1(name));
}

} // namespace

class TestLocale : public QObject {
    Q_OBJECT
public:
    QString cLibraryProblem;

private slots:
    void initTestCase() {
        if (QLocale().zeroDigit() == QLatin1String("0"))
            QSKIP(qPrintable("LC_ALL=" + qEnvironmentVariable("LC_ALL") +
                             " writes ASCII digits; these tests need a locale that writes its own, "
                             "such as ar_EG.UTF-8 or fa_IR.UTF-8"));
        if (!cLibraryProblem.isEmpty())
            qWarning("%s", qPrintable(cLibraryProblem));
    }

    void driverSaveKeepsTheNumbers_data() {
        QTest::addColumn<QString>("frequency"); // typed; empty: as loaded
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("frequencyShown");
        QTest::newRow("as loaded") << ""
                                   << ""
                                   << "27.145|11"
                                   << "27.145";
        QTest::newRow("typed") << "40665"
                               << "42"
                               << "40.665|42"
                               << "40.665";
    }
    void driverSaveKeepsTheNumbers() {
        QFETCH(QString, frequency);
        QFETCH(QString, id);
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kDriver));
        QVERIFY(mf.start());
        TournamentPage* page = mf.w->pageTournament;
        QCOMPARE(page->txtTournamentDriverFrequency->text(), QString("27.145"));
        QCOMPARE(page->txtTournamentDriverTransponderID->text(), QString("11"));
        if (!frequency.isEmpty()) {
            page->txtTournamentDriverFrequency->setText(frequency);
            page->txtTournamentDriverTransponderID->setText(id);
        }
        page->cmdTournamentModifyDriverSave->click();
        QTEST(mf.fx.column("SELECT Frequency || '|' || TransponderID FROM tblDriver;").value(0),
              "stored");
        QTEST(page->txtTournamentDriverFrequency->text(), "frequencyShown");
        QVERIFY2(mf.messages().isEmpty(), qPrintable(mf.platform.boxes->lastText()));
    }

    void transponderIdReadIsShownAndWritten_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("write");
        QTest::newRow("quick tool") << "txtMiscTransponderID"
                                    << "cmdMiscTransponderReadID"
                                    << "cmdMiscTransponderWriteID";
        QTest::newRow("driver form") << "txtTournamentDriverTransponderID"
                                     << "cmdTournamentModifyDriverReadID"
                                     << "cmdTournamentModifyDriverWriteID";
    }
    void transponderIdReadIsShownAndWritten() {
        QFETCH(QString, box);
        QFETCH(QString, read);
        QFETCH(QString, write);
        test::MainFixture mf;
        QVERIFY(mf.fx.sql(kDriver));
        QVERIFY(mf.start());
        auto* idBox = mf.w->findChild<QLineEdit*>(box);
        QVERIFY(idBox);
        mf.port->queueReplyTo("#G$", "#H17$");
        mf.w->findChild<QPushButton*>(read)->click();
        QCOMPARE(idBox->text(), QString("23"));
        QCOMPARE(TransponderIdBox::textColor(idBox), Colours::Green);

        mf.port->clearWritten();
        mf.port->queueReplyTo("#I17$", "#O17$");
        mf.w->findChild<QPushButton*>(write)->click();
        QVERIFY2(mf.port->written().contains("#I17$"), qPrintable(mf.port->written().join(" ")));
        QCOMPARE(mf.platform.boxes->lastText(), QString("New ID was stored."));
    }

    void portBoxStoresAPortThatOpens() {
        test::MainFixture mf;
        QVERIFY(mf.start());
        mf.messages().clear();
        MiscPage* page = mf.w->pageMisc;
        page->txtMiscComport->setText("2a");
        QCOMPARE(page->txtMiscComport->text(), QString("2"));
        QCOMPARE(mf.fx.setting("ComPort"), QString("2"));
        page->cmdMiscTestConnection->click();
        QCOMPARE(mf.port->openAttempts().last(), QString("/dev/ttyS1"));
        QCOMPARE(mf.state().lblHWStatusComport->text(), QString("COM2"));
        QVERIFY2(mf.messages().isEmpty(), qPrintable(mf.platform.boxes->lastText()));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("LC_ALL"))
        qputenv("LC_ALL", "ar_EG.UTF-8");
    QTemporaryDir localeDir;
    const QString problem = prepareCLibraryLocale(localeDir);
    // Qt reads its default locale from the environment here.
    QApplication app(argc, argv);
    TestLocale test;
    test.cLibraryProblem = problem;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locale.moc"
