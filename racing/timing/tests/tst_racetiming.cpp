#include "RaceTiming.h"

#include <QtTest>

using namespace kv;

class TestRaceTiming : public QObject {
    Q_OBJECT
private slots:
    void placeholder() { QCOMPARE(FormatRaceTime(83456, true), QString("1:23.456")); }
};

QTEST_GUILESS_MAIN(TestRaceTiming)
#include "tst_racetiming.moc"
