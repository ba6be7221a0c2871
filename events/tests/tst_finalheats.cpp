// The Manager page's final heats on a real database: the two combos, rankings
// with their marks, Add and Remove, new and deleted final races.
#include "FinalsMeeting.h"
#include "ItemTexts.h"
#include "MainFixture.h"
#include "ManagerPage.h"
#include "Ui.h"
#include "frmAddRace.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace kv;
using kv::test::itemTexts;

namespace {

// Rows as "text=key".
QStringList rowsWithKeys(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text() + '=' + list->item(i)->data(Qt::UserRole).toString();
    return out;
}

class Finals {
public:
    test::MainFixture main;
    test::InstallFixture& fx = main.fx;
    frmMain& w = *main.w;
    ManagerPage* page = nullptr;
    QList<RecordedMessage>& messages = main.platform.boxes->messages;

    Finals() {
        if (!main.start() || !fx.sql(test::kFinalsMeeting))
            qFatal("set-up failed");
        page = w.pageManager;
        w.state().CurrentTournamentID = 1;
        w.cmdToolbarMain_Click(1);
    }
    void chooseDestination(const QString& description) {
        const int row =
            page->cbManagerFinalHeatDestination->findText(description, Qt::MatchStartsWith);
        QVERIFY(row > 0);
        page->cbManagerFinalHeatDestination->setCurrentIndex(row);
    }
    void chooseCandidate(int driver) {
        for (int i = 0; i < page->lbManagerFinalHeatSource->count(); ++i)
            if (page->lbManagerFinalHeatSource->item(i)->text().section('\t', 0, 0) ==
                QString::number(driver)) {
                page->lbManagerFinalHeatSource->setCurrentRow(i);
                return;
            }
        QFAIL("no such candidate");
    }
    QStringList destinationDrivers() const {
        QStringList out;
        for (int i = 0; i < page->lbManagerFinalHeatDestination->count(); ++i)
            out << page->lbManagerFinalHeatDestination->item(i)->text().section('\t', 0, 0);
        return out;
    }
};

} // namespace

class TestFinalHeats : public QObject {
    Q_OBJECT
private slots:
    void combosAfterRefresh() {
        Finals f;
        QCOMPARE(
            itemTexts(f.page->cbManagerFinalHeatSource),
            (QStringList{"Qualification", " Qual - All results", " Qual - Best results",
                         " Qual - Best lap", "", "Finals (grouped)", " Semifinals - by heat",
                         " Semifinals - total", " Quarterfinals - by heat",
                         " Quarterfinals - total", " Eightfinals - by heat", " Eightfinals - total",
                         "", "Finals (single race)", " Old final", " Semi A", " Semi B"}));
        QCOMPARE(f.page->cbManagerFinalHeatSource->currentIndex(), 0);
        QCOMPARE(f.page->cbManagerFinalHeatSource->itemData(15).toInt(), 20);
        QCOMPARE(itemTexts(f.page->cbManagerFinalHeatDestination),
                 (QStringList{"<Add new final race>", "Old final (Finished - Unassigned)",
                              "Unassigned new (New - Unassigned)", "Final (New - Final)",
                              "Final B (New - Final)", "Semi A (Finished - Semifinal)",
                              "Semi B (Finished - Semifinal)", "Semi C (New - Semifinal)"}));
        // The first race is chosen and its start list shown.
        QCOMPARE(f.page->cbManagerFinalHeatDestination->currentIndex(), 1);
        QCOMPARE(f.destinationDrivers(), QStringList{"5"});
        QVERIFY(f.messages.isEmpty());
    }

    void headingRowsLeaveTheCandidates_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("finals heading") << 5;
        QTest::newRow("empty row") << 4;
        QTest::newRow("single race heading") << 13;
    }
    void headingRowsLeaveTheCandidates() {
        QFETCH(int, row);
        Finals f;
        f.page->cbManagerFinalHeatSource->setCurrentIndex(2);
        const QStringList before = rowsWithKeys(f.page->lbManagerFinalHeatSource);
        QCOMPARE(before.size(), 4);
        f.page->cbManagerFinalHeatSource->setCurrentIndex(row);
        QCOMPARE(f.page->cbManagerFinalHeatSource->currentIndex(), 0);
        QCOMPARE(rowsWithKeys(f.page->lbManagerFinalHeatSource), before);
    }

    void candidatesAreMarkedForTheChosenLevel() {
        Finals f;
        f.chooseDestination("Final B");
        f.page->cbManagerFinalHeatSource->setCurrentIndex(2);
        QCOMPARE(rowsWithKeys(f.page->lbManagerFinalHeatSource),
                 (QStringList{"1\tAsh, Al\t12-5:05.000\tF=27/ID=11\tNot assigned=1",
                              "2\tBirch, Bo\t11-5:10.000\tF=28/ID=12\tAssigned=0",
                              "4\tDogwood, Di\t10-5:00.000\tF=30/ID=14\tNot assigned=4",
                              "3\tCedar, \t10-...\tF=29/ID=13\tNot assigned=3"}));
        QCOMPARE(f.page->lbManagerFinalHeatSource->currentRow(), -1);

        // Choosing another destination refreshes the marks.
        f.chooseDestination("Semi C");
        QCOMPARE(f.page->lbManagerFinalHeatSource->item(1)->text().section('\t', 4),
                 QString("Assigned")); // driver 2 raced Semi A
        QCOMPARE(f.page->lbManagerFinalHeatSource->item(2)->text().section('\t', 4),
                 QString("Assigned")); // driver 4 raced Semi B
    }

    void levelRankingSelectsItsHeading() {
        Finals f;
        f.page->cbManagerFinalHeatSource->setCurrentIndex(6);
        const QStringList rows = rowsWithKeys(f.page->lbManagerFinalHeatSource);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.at(0), QString("Semi A=0"));
        QCOMPARE(rows.at(3), QString("=0"));
        QCOMPARE(f.page->lbManagerFinalHeatSource->currentRow(), 0);
        // Add on the heading adds nobody.
        f.chooseDestination("Final B");
        f.page->lbManagerFinalHeatSource->setCurrentRow(0);
        f.page->cmdManagerFinalHeatAddParticipant_Click();
        QVERIFY(f.destinationDrivers().isEmpty());
    }

    // A heading row has no columns: its text is not cut at the first stop.
    void headingRowsAreShownWhole() {
        Finals f;
        QVERIFY(f.fx.sql({"UPDATE tblRace SET Description='Semifinal heat A' WHERE RaceID=20;"}));
        f.page->cbManagerFinalHeatSource->setCurrentIndex(6);
        QListWidget* list = f.page->lbManagerFinalHeatSource;
        QCOMPARE(list->item(0)->text(), QString("Semifinal heat A"));
        const QRect row(0, 0, 300, 20);
        QImage image(row.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = row;
        option.font = list->font();
        option.widget = list;
        list->itemDelegate()->paint(&painter, option, list->model()->index(0, 0));
        painter.end();
        const int firstStop = 2 + int(20 * QFontMetrics(list->font()).averageCharWidth() / 4.0);
        int inkBeyond = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = firstStop + 20; x < image.width(); ++x)
                inkBeyond += qGray(image.pixel(x, y)) < 128;
        QVERIFY(inkBeyond > 0);
    }

    // A long name is cut at its column with the whole row as tooltip; the
    // frequency and ID at the end of a row can be scrolled to.
    void longRowsStayReadable() {
        Finals f;
        QVERIFY(f.fx.sql({"UPDATE tblDriver SET Lastname='Haugen-Kristiansen', "
                          "Firstname='Vilde-Marie', Frequency=27.015, TransponderID=8765432 "
                          "WHERE DriverID=1;"}));
        f.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        f.chooseDestination("Final B");
        f.page->cbManagerFinalHeatSource->setCurrentIndex(1);
        f.chooseCandidate(1);
        f.page->cmdManagerFinalHeatAddParticipant_Click();

        QListWidget* destination = f.page->lbManagerFinalHeatDestination;
        QCOMPARE(destination->item(0)->text(),
                 QString("1\tHaugen-Kristiansen, Vilde-Marie\tF=27.015/ID=8765432"));
        destination->doItemsLayout();
        QStyleOptionViewItem option;
        option.initFrom(destination);
        option.font = destination->font();
        const int rowWidth = destination->itemDelegate()
                                 ->sizeHint(option, destination->model()->index(0, 0))
                                 .width();
        QVERIFY(rowWidth > destination->viewport()->width());
        QVERIFY(destination->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QVERIFY(destination->viewport()->width() + destination->horizontalScrollBar()->maximum() >=
                rowWidth);

        QListWidget* source = f.page->lbManagerFinalHeatSource;
        QListWidgetItem* row = source->findItems("1\tHaugen", Qt::MatchStartsWith).value(0);
        QVERIFY(row);
        auto* delegate = dynamic_cast<TabStopDelegate*>(source->itemDelegate());
        QVERIFY(delegate);
        const auto columns =
            delegate->columns(row->text(), source->font(), source->visualItemRect(row));
        QVERIFY(columns.at(1).cut);
        QVERIFY(columns.at(1).text.endsWith(QChar(0x2026)));
        QVERIFY(columns.at(1).rect.right() < columns.at(2).rect.left());
        const QPoint at = source->visualItemRect(row).center();
        QHelpEvent tip(QEvent::ToolTip, at, source->viewport()->mapToGlobal(at));
        QApplication::sendEvent(source->viewport(), &tip);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), row->text());
        QToolTip::hideText();
    }

    void addAndRemoveOnTheStartList() {
        Finals f;
        f.chooseDestination("Final B");
        f.page->cbManagerFinalHeatSource->setCurrentIndex(1);
        for (int driver : {4, 1, 3}) {
            f.chooseCandidate(driver);
            f.page->cmdManagerFinalHeatAddParticipant_Click();
        }
        QCOMPARE(f.destinationDrivers(), (QStringList{"4", "1", "3"}));
        // The candidates now carry their new marks.
        f.chooseCandidate(4);
        QVERIFY(f.page->lbManagerFinalHeatSource->currentItem()->text().endsWith("\tAssigned"));

        f.page->lbManagerFinalHeatDestination->setCurrentRow(1);
        f.page->cmdManagerFinalHeatRemoveParticipant_Click();
        QCOMPARE(f.destinationDrivers(), (QStringList{"4", "3"}));

        // Driver 2 stands in "Final"; the row is marked, so Add does nothing.
        f.chooseCandidate(2);
        f.page->cmdManagerFinalHeatAddParticipant_Click();
        QVERIFY(f.messages.isEmpty());
    }

    // Adding refills the start list; the row chosen in it stays chosen.
    void startListChoiceSurvivesAnAdd() {
        Finals f;
        f.chooseDestination("Final B");
        f.page->cbManagerFinalHeatSource->setCurrentIndex(1);
        for (int driver : {4, 1}) {
            f.chooseCandidate(driver);
            f.page->cmdManagerFinalHeatAddParticipant_Click();
        }
        f.page->lbManagerFinalHeatDestination->setCurrentRow(0);
        f.chooseCandidate(3);
        f.page->cmdManagerFinalHeatAddParticipant_Click();
        QCOMPARE(f.destinationDrivers(), (QStringList{"4", "1", "3"}));
        f.page->cmdManagerFinalHeatRemoveParticipant_Click();
        QCOMPARE(f.destinationDrivers(), (QStringList{"1", "3"}));
    }

    // Choosing another race shows another start list: a row chosen in the
    // last one is not chosen there, so Remove cannot take the driver out of a
    // race nobody chose him in.
    void startListChoiceStaysWithItsRace() {
        Finals f;
        f.page->cbManagerFinalHeatSource->setCurrentIndex(1);
        for (const QString race : {"Final B", "Unassigned new"}) {
            f.chooseDestination(race);
            f.chooseCandidate(1);
            f.page->cmdManagerFinalHeatAddParticipant_Click();
            QVERIFY(f.destinationDrivers().contains("1"));
        }
        f.chooseDestination("Final B");
        f.page->lbManagerFinalHeatDestination->setCurrentRow(
            int(f.destinationDrivers().indexOf("1")));
        f.chooseDestination("Unassigned new");
        QCOMPARE(f.page->lbManagerFinalHeatDestination->currentItem(), nullptr);
        f.page->cmdManagerFinalHeatRemoveParticipant_Click();
        QVERIFY(f.destinationDrivers().contains("1"));
        QVERIFY(f.messages.isEmpty());
    }

    // The level rule holds even where the mark has gone stale.
    void levelMessageNamesTheOtherRace() {
        Finals f;
        f.chooseDestination("Final B");
        f.page->cbManagerFinalHeatSource->setCurrentIndex(1);
        f.chooseCandidate(1);
        QVERIFY(f.fx.sql({"INSERT INTO tblDriverInRace (DriverID, RaceID, StartPosition) VALUES "
                          "(1, 30, 2);"}));
        f.page->cmdManagerFinalHeatAddParticipant_Click();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.first().text,
                 QString("This driver is already part of a race on this level: Final"));
        QCOMPARE(f.messages.first().title, QString("Kirv Vorel"));
        QVERIFY(f.destinationDrivers().isEmpty());
    }

    void newFinalRace_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("OK") << true << "Final Q (New - Quartfinal)";
        QTest::newRow("Cancel") << false << "Old final (Finished - Unassigned)";
    }
    void newFinalRace() {
        QFETCH(bool, confirm);
        Finals f;
        int shown = 0;
        f.page->showAddRace = [&](frmAddRace& d) {
            ++shown;
            d.Form_Load();
            QCOMPARE(d.m_intTournamentID, 1);
            QCOMPARE(d.m_intRaceCode, qint16(2));
            if (!confirm)
                return d.cmdCancel_Click();
            d.txtDescription->setText("Final Q");
            d.cbFinalLevel->setCurrentIndex(3);
            d.cmdOK_Click();
        };
        f.page->cbManagerFinalHeatDestination->setCurrentIndex(0);
        QCOMPARE(shown, 1);
        QTEST(f.page->cbManagerFinalHeatDestination->currentText(), "chosen");
    }

    void deleteRace_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("racesLeft");
        QTest::newRow("yes") << int(MsgResult::Yes) << 6;
        QTest::newRow("no") << int(MsgResult::No) << 7;
    }
    void deleteRace() {
        QFETCH(int, answer);
        QFETCH(int, racesLeft);
        Finals f;
        f.chooseDestination("Semi A");
        f.main.platform.boxes->answers = {MsgResult(answer)};
        f.page->cmdManagerFinalHeatDelete_Click();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.first().title, QString("Delete final race?"));
        QCOMPARE(f.page->cbManagerFinalHeatDestination->count() - 1, racesLeft);
        if (racesLeft == 6) {
            QCOMPARE(f.page->cbManagerFinalHeatDestination->currentIndex(), 1);
            QCOMPARE(f.fx.column("SELECT COUNT(*) FROM tblDriverInRace WHERE RaceID=20;"),
                     QStringList{"0"});
            QCOMPARE(f.fx.column("SELECT COUNT(*) FROM tblLapInRace WHERE DriverInRaceID=200;"),
                     QStringList{"0"});
        }
    }
};

QTEST_MAIN(TestFinalHeats)
#include "tst_finalheats.moc"
