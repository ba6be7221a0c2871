#include "FakeSerialPort.h"

#include <utility>

bool FakeSerialPort::open(const QString& devicePath) {
    m_openAttempts.append(devicePath);
    m_open = m_open || !m_refused.contains(devicePath);
    return m_open;
}

void FakeSerialPort::close() {
    m_open = false;
}

bool FakeSerialPort::write(const QString& text) {
    if (!m_open || m_failWrites)
        return false;
    m_written.append(text);
    if (auto reply = m_replies.find(text); reply != m_replies.end() && !reply->isEmpty())
        m_incoming += reply->takeFirst();
    return true;
}

QString FakeSerialPort::readAll() {
    if (!m_open)
        return {};
    return std::exchange(m_incoming, QString());
}

void FakeSerialPort::setArrivalHandler(std::function<void()> handler) {
    m_arrivalHandler = std::move(handler);
}

void FakeSerialPort::setLossHandler(std::function<void()> handler) {
    m_lossHandler = std::move(handler);
}

void FakeSerialPort::vanish() {
    if (!m_open)
        return;
    m_open = false;
    if (m_lossHandler)
        m_lossHandler();
}

void FakeSerialPort::notifyArrival() {
    if (m_arrivalHandler)
        m_arrivalHandler();
}

void FakeSerialPort::receive(const QString& text) {
    queueIncoming(text);
    notifyArrival();
}

void FakeSerialPort::queueReplyTo(const QString& command, const QString& reply) {
    m_replies[command].append(reply);
}
