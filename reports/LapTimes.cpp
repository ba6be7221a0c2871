#include "LapTimes.h"

#include "Helpers.h"
#include "RaceTiming.h"

namespace kv {

QString FormatLapTime(qint32 time, qint16 format) {
    return FormatRaceTime(time, format != 0);
}

void LapStats::add(qint32 lapTime) {
    ++m_count;
    if (m_count == 1 || lapTime <= m_best) {
        m_best = lapTime;
        m_bestLap = m_count;
    }
    m_total += lapTime;
}

qint32 LapStats::average() const {
    if (m_count == 0)
        return 0;
    return static_cast<qint32>(RoundHalfEven(static_cast<double>(m_total) / m_count));
}

QString LapStats::bestText() const {
    return QStringLiteral("(") + QString::number(m_bestLap) + QStringLiteral(") ") +
           FormatLapTime(m_best, 0);
}

} // namespace kv
