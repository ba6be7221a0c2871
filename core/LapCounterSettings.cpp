#include "LapCounterSettings.h"

#include "Helpers.h"

namespace kv {

void LapCounterSettings::setTransponderDelayText(const QString& text) {
    m_delaySeconds = ReadTransponderDelay(text);
}

void LapCounterSettings::setPracticeDeleteDelayText(const QString& text) {
    m_deleteMinutes = ReadPracticeDeleteDelay(text);
}

qint16 LapCounterSettings::Port() const {
    qint16 port = 0;
    // A number that cannot be a port opens nothing, like port 0.
    if (!ToInt16(m_port, port))
        port = 0;
    return port;
}

double LapCounterSettings::ReadTransponderDelay(const QString& text) {
    return Val(text);
}

double LapCounterSettings::ReadPracticeDeleteDelay(const QString& text) {
    return RoundHalfEven(Val(text));
}

} // namespace kv
