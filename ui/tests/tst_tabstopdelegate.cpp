// Rows with tab-separated columns: a column too narrow for its text ends in "…"
// and the row shows its whole text as tooltip; a row wider than its list scrolls.
#include "Ui.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace kv;

namespace {

const QChar kEllipsis(0x2026);

// A shown list of 240 pixels with the participant lists' stops.
struct List {
    QListWidget list;
    TabStopDelegate* delegate = nullptr;
    explicit List(const QStringList& rows, std::initializer_list<int> stops = {20, 90}) {
        list.setFont(formFont(8.25, false));
        SetTabStops(&list, stops);
        delegate = dynamic_cast<TabStopDelegate*>(list.itemDelegate());
        list.addItems(rows);
        list.resize(240, 200);
        list.show();
        if (!QTest::qWaitForWindowExposed(&list))
            qFatal("list not shown");
    }
    std::vector<TabStopDelegate::Column> columns(int row) const {
        QListWidgetItem* item = list.item(row);
        return delegate->columns(item->text(), list.font(), list.visualItemRect(item));
    }
    // The tooltip the row shows when the pointer rests on it.
    QString toolTip(int row) {
        QToolTip::hideText();
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QHelpEvent event(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

} // namespace

class TestTabStopDelegate : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QToolTip::hideText(); }

    void columnsAndTooltip_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("toolTip");
        QTest::newRow("fits") << "12\tLund, Ola\tMugen" << QStringList{"12", "Lund, Ola", "Mugen"}
                              << false;
        QTest::newRow("long name") << "12\tHaugen-Kristiansen, Vilde-Marie\tBuggy"
                                   << QStringList{"12", "*", "Buggy"} << true;
        QTest::newRow("long last column")
            << "12\tLund, Ola\t[ID=8765432 / F=27.015] Mugen MBX8 Eco 2024 edition"
            << QStringList{"12", "Lund, Ola", "[ID=8765432 / F=27.015] Mugen MBX8 Eco 2024 edition"}
            << false;
        QTest::newRow("no stop left")
            << "1\t2\t3\t4\tfive" << QStringList{"1", "2", "3", "4", "five"} << false;
    }
    void columnsAndTooltip() {
        QFETCH(QString, row);
        QFETCH(QStringList, shown);
        QFETCH(bool, toolTip);
        List l({row});
        const std::vector<TabStopDelegate::Column> cols = l.columns(0);
        QCOMPARE(int(cols.size()), shown.size());
        const QFontMetrics fm(l.list.font());
        const QStringList whole = row.split('\t');
        for (int c = 0; c < shown.size(); ++c) {
            const TabStopDelegate::Column& col = cols[size_t(c)];
            if (shown[c] == "*") {
                QVERIFY(col.cut);
                QVERIFY(col.text.endsWith(kEllipsis));
                QVERIFY(whole[c].startsWith(col.text.chopped(1)));
            } else {
                QCOMPARE(col.text, shown[c]);
                QVERIFY(!col.cut);
            }
            // Nothing drawn runs into the next column.
            QVERIFY(fm.horizontalAdvance(col.text) <= col.rect.width());
            if (c + 1 < shown.size())
                QVERIFY(col.rect.right() < cols[size_t(c) + 1].rect.left());
        }
        QCOMPARE(l.toolTip(0), toolTip ? row : QString());
    }

    // A row wider than the list scrolls sideways to its end; one whose columns
    // end inside the list does not, however long its cut columns are.
    void wideRowsScroll() {
        List narrow({"1\tHaugen-Kristiansen, Vilde-Marie\t12-5:05.000\tF=27/ID=11\tAssigned"},
                    {20, 90, 125, 180});
        narrow.list.resize(420, 200);
        narrow.list.doItemsLayout();
        QVERIFY(narrow.columns(0).back().rect.right() < narrow.list.viewport()->width());
        QCOMPARE(narrow.list.horizontalScrollBar()->maximum(), 0);
        List wide(
            {"1\tA\tB", "12\tLund, Ola\t[ID=8765432 / F=27.015] Mugen MBX8 Eco 2024 edition"});
        QVERIFY(wide.list.horizontalScrollBar()->maximum() > 0);
        const std::vector<TabStopDelegate::Column> cols = wide.columns(1);
        const int end = cols.back().rect.right();
        QVERIFY(end > wide.list.viewport()->width());
        QVERIFY(end <= wide.list.viewport()->width() + wide.list.horizontalScrollBar()->maximum());
    }

    // Right-aligned columns end at their stops and are cut there too.
    void rightAligned() {
        List l({"Lap\t12:34.567\t1234567890123456789012345"}, {0, -70, -120});
        const std::vector<TabStopDelegate::Column> cols = l.columns(0);
        QVERIFY(cols[1].rightAligned && !cols[1].cut);
        QCOMPARE(cols[1].text, QString("12:34.567"));
        QVERIFY(cols[2].rightAligned && cols[2].cut);
        QVERIFY(cols[2].text.endsWith(kEllipsis));
        QCOMPARE(cols[2].rect.left(), cols[1].rect.right() + 1);
        QCOMPARE(l.toolTip(0), l.list.item(0)->text());
    }
};

QTEST_MAIN(TestTabStopDelegate)
#include "tst_tabstopdelegate.moc"
