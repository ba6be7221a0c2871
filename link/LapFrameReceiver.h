#pragma once

#include <QString>

#include <array>
#include <functional>

// Turns the characters arriving from the lap counter into pass and clock events: buffers them,
// cuts out one "#...$" frame at a time and parses it, with the repeated-pass filter per car.
// Events are delivered synchronously; a handler may call back into the owner (for example to
// stop the race) and the cutting then goes on with the frames still buffered.
// Text that has not closed a frame is kept up to the input buffer's size; older text can no
// longer become part of a frame and is dropped, so a line that never sends "$" costs neither
// memory nor time. A notification searches the characters that are new to the buffer, not the
// whole of it.
class LapFrameReceiver {
public:
    using ReadWaiting = std::function<QString()>;

    std::function<void(qint16 carId, qint32 milliseconds)> registerCar;
    std::function<void(qint32 milliseconds)> updateRaceClock;

    // One arrival notification of the port; readWaiting returns every character waiting in it.
    void receiveNotification(const ReadWaiting& readWaiting);

    // Parses one frame without its leading character, e.g. "P0A000BB8$". On return strMessage
    // holds the message without its kind letter.
    void processReceivedMessage(QString& strMessage);

    // Every car's next pass counts, whatever its time.
    void resetPassTable();

    bool commandBusy() const { return bCommandBusy; }
    // While busy, a command reads the port itself and notifications leave the port alone.
    void setCommandBusy(bool busy) { bCommandBusy = busy; }

    const QString& receiveBuffer() const { return strReceiveBuffer; }
    // Text left from an earlier connection must not run into the first frame of the next one.
    void clearReceiveBuffer();

private:
    void handlePass(QStringView payload);
    void handleClock(QStringView payload);
    void dropBeforeFrameStart(qsizetype searchFrom);
    void keepWithinInputBuffer();

    QString strReceiveBuffer;
    // The buffer's first m_scanned characters hold no "$", and no "#" either unless the buffer
    // starts with one: the next notification searches only the characters after them.
    qsizetype m_scanned = 0;
    bool bCommandBusy = false;
    // Last accepted pass time per car; 0 until the first StartRace. Entry 256 is never addressed:
    // a car ID has two hexadecimal digits.
    std::array<qint32, 257> vLastPassTime{};
};
