#pragma once
// Lap time texts and the per-car lap statistics that the details window and
// the lap progress report show.

#include <QString>
#include <QtGlobal>

namespace kv {

// A lap time in ms as text: format 0 gives whole seconds, "." and three-digit
// milliseconds (83.456); any other format minutes, ":", two-digit seconds and
// milliseconds (1:23.456). A negative time gets a leading "-"; a car without a
// lap (NoLapTime) shows as zero.
QString FormatLapTime(qint32 time, qint16 format);

// A time in ms from the go in the race board's form: minutes, ":", two-digit
// seconds, "." and three-digit milliseconds (1:04.592), however many minutes
// it holds. A negative time gets a leading "-".
QString RaceTimeText(qint64 time);

// Lap count, best lap and average of one car, fed lap by lap in the order
// driven.
class LapStats {
public:
    void add(qint32 lapTime);

    int count() const { return m_count; }
    // The shortest lap and its number (1 = the first lap); an equal time moves
    // the best lap to the later lap. Both 0 before the first lap.
    qint32 best() const { return m_best; }
    int bestLap() const { return m_bestLap; }
    qint64 total() const { return m_total; }
    // The mean lap in whole ms, halves to even; 0 before the first lap.
    qint32 average() const;

    // "(3) 22.100": the best lap's number and time.
    QString bestText() const;
    QString averageText() const { return FormatLapTime(average(), 0); }

private:
    int m_count = 0;
    qint32 m_best = 0;
    int m_bestLap = 0;
    qint64 m_total = 0;
};

} // namespace kv
