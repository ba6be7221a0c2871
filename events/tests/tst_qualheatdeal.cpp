// The dealing of participants into qualification heats, and the settings
// generation accepts.
#include "QualHeatDeal.h"

#include <QStringList>
#include <QtTest>

#include <map>

using namespace kv;

Q_DECLARE_METATYPE(kv::QualHeatDeal::Refusal)

namespace {

// The heats of one round as "1,4,7|2,5|3,6": participants counted from 1, each
// heat in start position order. Empty when a heat's start positions are not
// 1, 2, 3 ... without gaps.
QString lineUp(const std::vector<QualHeatDeal::Seat>& seats, int round) {
    std::map<int, std::map<int, int>> heats; // heat -> start position -> participant
    for (const auto& s : seats)
        if (s.round == round)
            heats[s.heat][s.startPosition] = s.participant + 1;
    QStringList out;
    int expectedHeat = 1;
    for (const auto& [heat, positions] : heats) {
        if (heat != expectedHeat++)
            return QString();
        QStringList drivers;
        int expectedPosition = 1;
        for (const auto& [position, participant] : positions) {
            if (position != expectedPosition++)
                return QString();
            drivers << QString::number(participant);
        }
        out << drivers.join(',');
    }
    return out.join('|');
}

} // namespace

class TestQualHeatDeal : public QObject {
    Q_OBJECT
private slots:
    void dealsTheSameLineUpInEveryRound_data() {
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("cars");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<QString>("lineUp");
        QTest::newRow("10 participants, 4 cars") << 10 << 4 << 2 << "1,4,7,10|2,5,8|3,6,9";
        QTest::newRow("8 participants, 4 cars") << 8 << 4 << 3 << "1,3,5,7|2,4,6,8";
        QTest::newRow("5 participants, 8 cars") << 5 << 8 << 2 << "1,2,3,4,5";
        QTest::newRow("full heats") << 12 << 4 << 1 << "1,4,7,10|2,5,8,11|3,6,9,12";
        QTest::newRow("one over full heats") << 9 << 4 << 1 << "1,4,7|2,5,8|3,6,9";
        QTest::newRow("ten cars") << 11 << 10 << 1 << "1,3,5,7,9,11|2,4,6,8,10";
        QTest::newRow("one car per heat") << 3 << 1 << 2 << "1|2|3";
        QTest::newRow("one participant") << 1 << 6 << 4 << "1";
    }
    void dealsTheSameLineUpInEveryRound() {
        QFETCH(int, participants);
        QFETCH(int, cars);
        QFETCH(int, rounds);
        QFETCH(QString, lineUp);
        const auto seats = QualHeatDeal::deal(participants, cars, rounds);
        QCOMPARE(int(seats.size()), participants * rounds);
        for (int r = 1; r <= rounds; ++r)
            QCOMPARE(::lineUp(seats, r), lineUp);
        // Round by round, each round in participant order.
        for (size_t i = 0; i < seats.size(); ++i) {
            QCOMPARE(seats[i].round, int(i) / participants + 1);
            QCOMPARE(seats[i].participant, int(i) % participants);
        }
    }

    void dealsNothingWithoutParticipantsOrCars_data() {
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("cars");
        QTest::addColumn<int>("rounds");
        QTest::newRow("no participants") << 0 << 4 << 3;
        QTest::newRow("no cars") << 5 << 0 << 3;
        QTest::newRow("negative cars") << 5 << -2 << 3;
        QTest::newRow("no rounds") << 5 << 4 << 0;
    }
    void dealsNothingWithoutParticipantsOrCars() {
        QFETCH(int, participants);
        QFETCH(int, cars);
        QFETCH(int, rounds);
        QVERIFY(QualHeatDeal::deal(participants, cars, rounds).empty());
    }

    void checksTheSettings_data() {
        using R = QualHeatDeal::Refusal;
        QTest::addColumn<double>("cars");
        QTest::addColumn<double>("rounds");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<R>("refusal");
        QTest::newRow("offered lists") << 4.0 << 2.0 << 1.0 << R::None;
        QTest::newRow("one car") << 1.0 << 1.0 << 1.0 << R::None;
        QTest::newRow("ten cars") << 10.0 << 6.0 << 9.0 << R::None;
        QTest::newRow("no cars") << 0.0 << 3.0 << 5.0 << R::CarsInHeat;
        QTest::newRow("negative cars") << -4.0 << 3.0 << 5.0 << R::CarsInHeat;
        QTest::newRow("eleven cars") << 11.0 << 3.0 << 5.0 << R::CarsInHeat;
        QTest::newRow("huge cars") << 1e300 << 3.0 << 5.0 << R::CarsInHeat;
        QTest::newRow("no rounds") << 6.0 << 0.0 << 5.0 << R::Rounds;
        QTest::newRow("negative rounds") << 6.0 << -1.0 << 5.0 << R::Rounds;
        QTest::newRow("rounds beyond 16 bits") << 6.0 << 32768.0 << 5.0 << R::Rounds;
        QTest::newRow("no minutes") << 6.0 << 3.0 << 0.0 << R::RaceTime;
        QTest::newRow("minutes beyond 16 bits") << 6.0 << 3.0 << 40000.0 << R::RaceTime;
    }
    void checksTheSettings() {
        QFETCH(double, cars);
        QFETCH(double, rounds);
        QFETCH(double, minutes);
        QFETCH(QualHeatDeal::Refusal, refusal);
        QCOMPARE(QualHeatDeal::check(cars, rounds, minutes), refusal);
    }
};

QTEST_APPLESS_MAIN(TestQualHeatDeal)
#include "tst_qualheatdeal.moc"
