#include "LapFrameReceiver.h"

#include "LapProtocol.h"

#include <algorithm>

using namespace LapProtocol;

void LapFrameReceiver::receiveNotification(const ReadWaiting& readWaiting) {
    if (bCommandBusy)
        return;
    for (;;) {
        // Characters that arrived while the previous frame's handlers ran join before the next cut.
        strReceiveBuffer += readWaiting();

        // Everything in front of the first "#" goes; a buffer without "#" stays as it is, and its
        // first character then stands in for the "#".
        if (!strReceiveBuffer.startsWith(QChar(kFrameStart)))
            dropBeforeFrameStart(m_scanned);

        const qsizetype end = strReceiveBuffer.indexOf(QChar(kFrameEnd), m_scanned);
        if (end < 0) {
            m_scanned = strReceiveBuffer.size();
            keepWithinInputBuffer();
            return;
        }

        // The frame without its first character; the closing "$" stays on the message. The frame
        // leaves the buffer before its handlers run, so a handler that re-enters finds it gone.
        QString message = strReceiveBuffer.mid(1, end);
        strReceiveBuffer.remove(0, end + 1);
        m_scanned = 0;
        processReceivedMessage(message);
    }
}

void LapFrameReceiver::clearReceiveBuffer() {
    strReceiveBuffer.clear();
    m_scanned = 0;
}

void LapFrameReceiver::dropBeforeFrameStart(qsizetype searchFrom) {
    const qsizetype start = strReceiveBuffer.indexOf(QChar(kFrameStart), searchFrom);
    if (start <= 0)
        return;
    strReceiveBuffer.remove(0, start);
    m_scanned = qMax<qsizetype>(0, m_scanned - start);
}

// Called when the buffer holds no "$": a frame can only begin within the last kInputBufferChars
// characters, so everything before them goes.
void LapFrameReceiver::keepWithinInputBuffer() {
    const qsizetype excess = strReceiveBuffer.size() - kInputBufferChars;
    if (excess <= 0)
        return;
    const bool startedWithFrameStart = strReceiveBuffer.startsWith(QChar(kFrameStart));
    strReceiveBuffer.remove(0, excess);
    m_scanned -= excess;
    // The "#" that began the text went with it; the frame now begins at the next "#". Text that
    // did not begin with "#" holds none, so there is nothing to search.
    if (startedWithFrameStart)
        dropBeforeFrameStart(0);
}

void LapFrameReceiver::processReceivedMessage(QString& strMessage) {
    if (strMessage.isEmpty())
        return;
    const QChar kind = strMessage.front();
    strMessage.remove(0, 1);
    if (kind == u'P')
        handlePass(strMessage);
    else if (kind == u'U')
        handleClock(strMessage);
}

void LapFrameReceiver::resetPassTable() {
    std::fill(vLastPassTime.begin(), vLastPassTime.begin() + 256, kPassTableStartValue);
}

// A frame with a short or non-hexadecimal number field is dropped whole: a guessed car or time
// would credit a lap to the wrong car or at the wrong moment.
void LapFrameReceiver::handlePass(QStringView payload) {
    const std::optional<qint32> carId = readHex(payload, 2);
    const std::optional<qint32> time = readHex(payload.mid(qMin<qsizetype>(2, payload.size())), 6);
    if (!carId || !time)
        return;
    // Measured from the last accepted pass, so a refused pass does not move the window.
    if (vLastPassTime[*carId] + kRepeatedPassWindowMs >= *time)
        return;
    vLastPassTime[*carId] = *time;
    if (registerCar)
        registerCar(qint16(*carId), *time);
}

void LapFrameReceiver::handleClock(QStringView payload) {
    const std::optional<qint32> time = readHex(payload, 6);
    if (time && updateRaceClock)
        updateRaceClock(*time);
}
