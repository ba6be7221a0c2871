// What assistive technology hears of the main window and its pages: a window,
// controls named by their captions, picture buttons named by their purpose.
#include "MainFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace kv;

namespace {

QString spokenName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

bool isInputControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) ||
           (qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QHeaderView*>(w));
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void mainWindowIsAWindow() {
        test::MainFixture m;
        QVERIFY(m.start());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(m.w.get());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Window);
        QCOMPARE(iface->text(QAccessible::Name), m.w->windowTitle());
    }

    void controlsAreNamedByTheirCaptions_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        const QList<QPair<const char*, const char*>> rows{
            {"cbTournamentSelectTournament", "Select:"},
            {"txtTournamentTournamentName", "Name:"},
            {"txtTournamentTournamentLocation", "Location:"},
            {"txtTournamentTournamentTime", "Time:"},
            {"txtTournamentDriverLastname", "Lastname:"},
            {"txtTournamentDriverFirstname", "Firstname:"},
            {"txtTournamentDriverTeam", "Team:"},
            {"txtTournamentDriverCar", "Car:"},
            {"txtTournamentDriverEmail", "Email:"},
            {"txtTournamentDriverFrequency", "Frequency:"},
            {"txtTournamentDriverTransponderID", "ID:"},
            {"lbTournamentPotentialParticipants", "Not registered"},
            {"lbTournamentParticipants", "Registered"},
            {"cbManagerNumOfCarsInQualHeat", "Num. of cars in heat:"},
            {"cbManagerNumOfQualRounds", "Num. of qual.rounds:"},
            {"cbManagerQualRaceTime", "Race time (min.):"},
            {"lbManagerGeneratedQualHeats", "Qualification heats"},
            {"lbManagerQualHeatParticipants", "Drivers in heat"},
            {"tdbgDriver", "Table of all drivers in database:"},
            {"txtMiscComport", "Select com-port:"},
            {"txtMiscTransponderID", "ID:"},
            {"txtMiscTransponderDelay", "Delay [s]:"},
            {"lbMiscSimpleMonitor", "Quickly monitor transponder ID's "},
            {"lbPracticeUnassignedTransponders", "Unassigned transponders"},
            {"lbPracticeUnassignedDrivers", "Unassigned drivers"},
            {"txtPracticeAutomaticDeleteDelay", "Automatic delete delay [min]:"},
            {"txtPracticeTime", "Practice time"},
            {"cbReportsMain", "Select report:"},
            {"cbReportsLapProgressRace", "Select heat:"},
        };
        for (const auto& [control, name] : rows)
            QTest::newRow(control) << QString(control) << QString(name);
    }
    void controlsAreNamedByTheirCaptions() {
        QFETCH(QString, control);
        test::MainFixture m;
        QVERIFY(m.start());
        auto* w = m.w->findChild<QWidget*>(control);
        QVERIFY(w);
        QTEST(spokenName(w), "name");
        // The box of an editable combo says the same.
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
            QTEST(spokenName(combo->lineEdit()), "name");
    }

    // Every control of every page, and the toolbar: a name, never the frame's
    // caption where a caption of its own stands next to it, and never the same
    // name as another control of its frame.
    void everyControlCanBeToldApart() {
        test::MainFixture m;
        QVERIFY(m.start());
        QMultiHash<QWidget*, QString> namesInFrame;
        for (QWidget* w : m.w->findChildren<QWidget*>()) {
            // Popups, and the pieces of a table that speaks for them.
            if (w->window() != m.w.get() || qobject_cast<QAbstractItemView*>(w->parentWidget()))
                continue;
            const QString name = spokenName(w);
            if (qobject_cast<QAbstractButton*>(w)) {
                QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
                continue;
            }
            if (!isInputControl(w) || qobject_cast<QComboBox*>(w->parentWidget()))
                continue;
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(!namesInFrame.contains(w->parentWidget(), name),
                     qPrintable(w->objectName() + ": " + name));
            namesInFrame.insert(w->parentWidget(), name);
        }
        // The driver list is the one control without a caption: its frame names it.
        auto* drivers = m.w->findChild<QComboBox*>("cbTournamentDriverSelect");
        QCOMPARE(spokenName(drivers), QString("Add or change drivers"));
    }

    // The dialogs of the event organisation: every control named, by its own
    // caption where it has one, and no two alike in one frame.
    void dialogControlsCanBeToldApart_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("add race") << "frmAddRace"
                                  << "txtComment"
                                  << "Comment:";
        QTest::newRow("single race registration") << "frmSingleRaceRegistration"
                                                  << "lbHeatSource"
                                                  << "Source";
        QTest::newRow("qualification heat editor") << "frmEditQualHeats"
                                                   << "cbHeats"
                                                   << "Select heat:";
    }
    void dialogControlsCanBeToldApart() {
        QFETCH(QString, dialog);
        test::MainFixture m;
        QVERIFY(m.start());
        std::unique_ptr<QDialog> d;
        if (dialog == "frmAddRace")
            d = std::make_unique<frmAddRace>();
        else if (dialog == "frmSingleRaceRegistration")
            d = std::make_unique<frmSingleRaceRegistration>();
        else
            d = std::make_unique<frmEditQualHeats>();
        QMultiHash<QWidget*, QString> namesInFrame;
        for (QWidget* w : d->findChildren<QWidget*>()) {
            // Popups, and the pieces of a list or combo.
            if (w->window() != d.get() || qobject_cast<QAbstractItemView*>(w->parentWidget()) ||
                qobject_cast<QComboBox*>(w->parentWidget()))
                continue;
            const QString name = spokenName(w);
            if (qobject_cast<QAbstractButton*>(w) || isInputControl(w) ||
                qobject_cast<QPlainTextEdit*>(w)) {
                QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
                QVERIFY2(!namesInFrame.contains(w->parentWidget(), name),
                         qPrintable(w->objectName() + ": " + name));
                namesInFrame.insert(w->parentWidget(), name);
            }
        }
        QFETCH(QString, control);
        QWidget* captioned = d->findChild<QWidget*>(control);
        QVERIFY(captioned);
        QTEST(spokenName(captioned), "name");
    }

    void toolbarButtonsAreNamedByTheirPurpose() {
        test::MainFixture m;
        QVERIFY(m.start());
        QStringList names;
        for (QToolButton* b : m.w->cmdToolbarMain)
            names << spokenName(b);
        QCOMPARE(names, (QStringList{"Tournament registration", "Manage qual-heats and final heats",
                                     "Race", "Results", "Setup", "Practice mode"}));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
