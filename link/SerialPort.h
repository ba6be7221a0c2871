#pragma once

#include <QString>

#include <functional>

// The lap counter's serial line as the control sees it: a port opened by device path, text
// written and read one byte per character (Latin-1), and a notification when characters arrive.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool open(const QString& devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Returns false when the text could not be handed to the line.
    virtual bool write(const QString& text) = 0;

    // Every character waiting in the port, also those that arrived while the thread was blocked.
    virtual QString readAll() = 0;

    // Called on the owner's thread whenever characters have arrived; never from inside readAll().
    virtual void setArrivalHandler(std::function<void()> handler) = 0;

    // Called on the owner's thread when the port has closed itself because its device went away
    // (an adapter unplugged while open); never from inside another call of the port, and not
    // for close().
    virtual void setLossHandler(std::function<void()> handler) = 0;
};
