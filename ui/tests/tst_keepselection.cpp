// A list refilled by the program keeps the row a person chose, by its key, and
// no handler of the list runs for it.
#include "KeepSelection.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

using namespace kv;

namespace {

// Rows "name" with key `key`; a key of 0 marks a row that cannot be chosen.
void fill(QListWidget* list, const QList<QPair<QString, int>>& rows) {
    list->clear();
    for (const auto& [text, key] : rows) {
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, key);
    }
}

QString chosen(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

} // namespace

using Rows = QList<QPair<QString, int>>;

class TestKeepSelection : public QObject {
    Q_OBJECT
private slots:
    void refill_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<Rows>("after");
        QTest::addColumn<QString>("expected");
        const Rows moved{{"new", 9}, {"b", 2}, {"a", 1}};
        QTest::newRow("moved down") << 1 << moved << "b";
        QTest::newRow("text changed") << 0 << Rows{{"c", 3}, {"a again", 1}} << "a again";
        QTest::newRow("gone") << 1 << Rows{{"a", 1}, {"c", 3}} << "";
        QTest::newRow("nothing chosen") << -1 << moved << "";
        QTest::newRow("row without a key") << 2 << Rows{{"-", 0}, {"a", 1}} << "";
    }
    void refill() {
        QFETCH(int, before);
        QFETCH(Rows, after);
        QFETCH(QString, expected);
        QListWidget list;
        fill(&list, {{"a", 1}, {"b", 2}, {"-", 0}});
        list.setCurrentRow(before);
        {
            const KeepSelection keep(&list);
            fill(&list, after);
        }
        QCOMPARE(chosen(&list), expected);
        if (!expected.isEmpty())
            QCOMPARE(list.currentItem()->text(), expected);
    }

    void noHandlerRunsForTheKeptRow() {
        QListWidget list;
        fill(&list, {{"a", 1}, {"b", 2}});
        list.setCurrentRow(1);
        QSignalSpy selection(&list, &QListWidget::itemSelectionChanged);
        QSignalSpy current(&list, &QListWidget::currentRowChanged);
        QSignalSpy clicks(&list, &QListWidget::itemClicked);
        {
            const KeepSelection keep(&list);
            fill(&list, {{"c", 3}, {"b", 2}});
            // What the clear itself raised is the page's own affair.
            selection.clear();
            current.clear();
        }
        QCOMPARE(chosen(&list), QString("b"));
        QCOMPARE(selection.size() + current.size() + clicks.size(), 0);
        // Signals come back: the person's next choice is heard.
        list.setCurrentRow(0);
        QCOMPARE(current.size(), 1);
    }

    // A list that shows something else after the refill (another race) is
    // not a refill of the list the row was chosen in.
    void choiceStaysWithWhatTheListShows_data() {
        QTest::addColumn<int>("shownAfter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the same race") << 7 << "b";
        QTest::newRow("another race") << 8 << "";
    }
    void choiceStaysWithWhatTheListShows() {
        QFETCH(int, shownAfter);
        QFETCH(QString, expected);
        QListWidget list;
        {
            const KeepSelection keep(&list, 7);
            fill(&list, {{"a", 1}, {"b", 2}});
        }
        list.setCurrentRow(1);
        {
            const KeepSelection keep(&list, shownAfter);
            fill(&list, {{"a", 1}, {"b", 2}});
        }
        QCOMPARE(chosen(&list), expected);
    }

    // Rows whose key may still be 0 (a row whose insert waits) are kept by an
    // identity of their own; an empty identity is none.
    void keptByAnIdentityOfItsOwn_data() {
        QTest::addColumn<int>("keyAfter");
        QTest::addColumn<QString>("identityAfter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("key still 0") << 0 << "car 9 at 2"
                                     << "b";
        QTest::newRow("its key came meanwhile") << 12 << "car 9 at 2"
                                                << "b";
        QTest::newRow("another car in its place") << 0 << "car 7 at 2"
                                                  << "";
    }
    void keptByAnIdentityOfItsOwn() {
        QFETCH(int, keyAfter);
        QFETCH(QString, identityAfter);
        QFETCH(QString, expected);
        constexpr int identity = Qt::UserRole + 2;
        auto fillWithIdentities = [&](QListWidget* list, int key, const QString& id) {
            fill(list, {{"a", 1}, {"b", key}});
            list->item(0)->setData(identity, QString());
            list->item(1)->setData(identity, id);
        };
        QListWidget list;
        fillWithIdentities(&list, 0, "car 9 at 2");
        list.setCurrentRow(1);
        {
            const KeepSelection keep(&list, {}, identity);
            fillWithIdentities(&list, keyAfter, identityAfter);
        }
        QCOMPARE(chosen(&list), expected);
        // A row whose identity is empty is not chosen again.
        list.setCurrentRow(0);
        {
            const KeepSelection keep(&list, {}, identity);
            fillWithIdentities(&list, keyAfter, identityAfter);
        }
        QCOMPARE(chosen(&list), QString());
    }

    // A refill that chooses a row itself keeps its own choice.
    void refillsOwnChoiceWins() {
        QListWidget list;
        fill(&list, {{"a", 1}, {"b", 2}});
        list.setCurrentRow(1);
        {
            const KeepSelection keep(&list);
            fill(&list, {{"a", 1}, {"b", 2}});
            list.setCurrentRow(0);
        }
        QCOMPARE(chosen(&list), QString("a"));
    }
};

QTEST_MAIN(TestKeepSelection)
#include "tst_keepselection.moc"
