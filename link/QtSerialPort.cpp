#include "QtSerialPort.h"

#include <QSignalBlocker>

QtSerialPort::QtSerialPort() {
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] {
        if (m_arrivalHandler)
            m_arrivalHandler();
    });
    // An unplugged adapter reports a resource error, a vanished pseudo-terminal a read error over
    // and over: either leaves the port useless, so close it; the operations then report the
    // closed port and the host can open it again. Queued, because the port must not be closed
    // from inside its own error report.
    QObject::connect(
        &m_port, &QSerialPort::errorOccurred, &m_port,
        [this](QSerialPort::SerialPortError error) {
            if (isFatal(error))
                closeIfDeviceGone();
        },
        Qt::QueuedConnection);
}

bool QtSerialPort::open(const QString& devicePath) {
    if (m_port.isOpen())
        return true;
    m_port.setPortName(devicePath);
    m_port.setBaudRate(QSerialPort::Baud19200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.clearError();
    return true;
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

bool QtSerialPort::write(const QString& text) {
    if (!m_port.isOpen())
        return false;
    const QByteArray bytes = text.toLatin1();
    if (m_port.write(bytes) != bytes.size()) {
        closeIfDeviceGone();
        return false;
    }
    // Hand the frame to the device now: the caller may block the thread right after a command.
    // flush() only writes, so no arrival is reported from in here.
    m_port.flush();
    if (isFatal(m_port.error())) {
        closeIfDeviceGone();
        return false;
    }
    return true;
}

QString QtSerialPort::readAll() {
    if (!m_port.isOpen())
        return {};
    {
        // Pull in what the device holds, also after the thread was blocked. Each successful wait
        // reports an arrival; the caller is reading anyway, so those reports are kept quiet.
        const QSignalBlocker quiet(m_port);
        while (m_port.waitForReadyRead(0)) {
        }
    }
    const QString text = QString::fromLatin1(m_port.readAll());
    if (isFatal(m_port.error()))
        closeIfDeviceGone();
    return text;
}

void QtSerialPort::setArrivalHandler(std::function<void()> handler) {
    m_arrivalHandler = std::move(handler);
}

void QtSerialPort::setLossHandler(std::function<void()> handler) {
    m_lossHandler = std::move(handler);
}

bool QtSerialPort::isFatal(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError;
}

void QtSerialPort::closeIfDeviceGone() {
    const bool gone = m_port.isOpen() && isFatal(m_port.error());
    if (gone)
        m_port.close();
    m_port.clearError();
    if (!gone)
        return;
    // Told from the event loop, never from inside the operation that noticed it. A port opened
    // again meanwhile has not been lost.
    QMetaObject::invokeMethod(
        &m_port,
        [this] {
            if (!m_port.isOpen() && m_lossHandler)
                m_lossHandler();
        },
        Qt::QueuedConnection);
}
