#include "LapTimes.h"

#include "Helpers.h"
#include "RaceTiming.h"

namespace kv {

namespace {

// Unlike the score board's times, any time has a text here, however many
// minutes it holds.
QString timeText(qint64 v, bool withMinutes) {
    QString sign;
    if (v < 0) {
        sign = QStringLiteral("-");
        v = -v;
    }
    const qint64 minutes = v / 60000;
    const qint64 seconds = (v % 60000) / 1000;
    const QString milliseconds = QString::number(v % 1000).rightJustified(3, QLatin1Char('0'));
    if (!withMinutes)
        return sign + QString::number(minutes * 60 + seconds) + QLatin1Char('.') + milliseconds;
    return sign + QString::number(minutes) + QLatin1Char(':') +
           QString::number(seconds).rightJustified(2, QLatin1Char('0')) + QLatin1Char('.') +
           milliseconds;
}

} // namespace

QString FormatLapTime(qint32 time, qint16 format) {
    return timeText(time == NoLapTime ? 0 : time, format != 0);
}

QString RaceTimeText(qint64 time) {
    return timeText(time, true);
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
