#pragma once
// The lap counter set-up in use: the COM port, the transponder delay and the
// practice delete delay. The boxes of the Miscellaneous and practice pages are
// where a person types them; their change handlers hand each new text to this
// owner (and to the settings store), and the link and the timing rules read
// the numbers here.

#include <QString>
#include <QtGlobal>

namespace kv {

class LapCounterSettings {
public:
    // The boxes' texts before start-up fills them.
    static inline const QString kDefaultPort = QStringLiteral("1");
    static inline const QString kDefaultTransponderDelay = QStringLiteral("5");
    static inline const QString kDefaultPracticeDeleteDelay = QStringLiteral("5");

    void setPortText(const QString& text) { m_port = text; }
    void setTransponderDelayText(const QString& text);
    void setPracticeDeleteDelayText(const QString& text);

    // The port as typed: the status strip and the messages show it.
    QString PortText() const { return m_port; }
    // The port number to open: the typed number rounded, halves to even; 0
    // (which opens nothing) when it does not fit 16 bits.
    qint16 Port() const;
    // Seconds, fractions allowed; the number at the start of the typed text
    // with "." as the decimal point (empty or other text: 0).
    double TransponderDelaySeconds() const { return m_delaySeconds; }
    // Whole minutes, rounded halves to even.
    double PracticeDeleteDelayMinutes() const { return m_deleteMinutes; }

    static double ReadTransponderDelay(const QString& text);
    static double ReadPracticeDeleteDelay(const QString& text);

private:
    QString m_port = kDefaultPort;
    double m_delaySeconds = ReadTransponderDelay(kDefaultTransponderDelay);
    double m_deleteMinutes = ReadPracticeDeleteDelay(kDefaultPracticeDeleteDelay);
};

} // namespace kv
