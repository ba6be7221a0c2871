#pragma once

#include "SerialPort.h"

#include <QSerialPort>

// The lap counter's line on a real serial device: 19200 baud, 8 data bits, no parity, 1 stop bit.
class QtSerialPort final : public SerialPort {
public:
    QtSerialPort();

    bool open(const QString& devicePath) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QString& text) override;
    QString readAll() override;
    void setArrivalHandler(std::function<void()> handler) override;
    void setLossHandler(std::function<void()> handler) override;

private:
    static bool isFatal(QSerialPort::SerialPortError error);
    void closeIfDeviceGone();

    QSerialPort m_port;
    std::function<void()> m_arrivalHandler;
    std::function<void()> m_lossHandler;
};
