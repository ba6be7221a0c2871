#pragma once

#include "SerialPort.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// A serial port for tests: records what is written, hands out queued incoming text, fires the
// arrival notification on request, and can answer a command the moment it is written.
class FakeSerialPort final : public SerialPort {
public:
    bool open(const QString& devicePath) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QString& text) override;
    QString readAll() override;
    void setArrivalHandler(std::function<void()> handler) override;
    void setLossHandler(std::function<void()> handler) override;

    // Opening this device fails, as for a missing or busy device.
    void refuseDevice(const QString& devicePath) { m_refused.insert(devicePath); }
    // Opening this device works again (it was plugged back in).
    void acceptDevice(const QString& devicePath) { m_refused.remove(devicePath); }
    // Every device path an open was tried with, in order.
    const QStringList& openAttempts() const { return m_openAttempts; }
    // Every write, one entry per call.
    const QStringList& written() const { return m_written; }
    void clearWritten() { m_written.clear(); }

    // Text that waits in the port until the next read.
    void queueIncoming(const QString& text) { m_incoming += text; }
    void notifyArrival();
    // queueIncoming() followed by notifyArrival().
    void receive(const QString& text);
    // When `command` is written, `reply` joins the incoming text (without a notification, as when
    // the reply arrives while the thread is blocked).
    void queueReplyTo(const QString& command, const QString& reply);
    // The device goes away while the port is open: the port closes and reports the loss.
    void vanish();
    // Writes fail while the port still looks open, as to a device that went before its loss
    // was reported.
    void failWrites(bool fail) { m_failWrites = fail; }

private:
    bool m_open = false;
    bool m_failWrites = false;
    QSet<QString> m_refused;
    QStringList m_openAttempts;
    QStringList m_written;
    QString m_incoming;
    QHash<QString, QStringList> m_replies;
    std::function<void()> m_arrivalHandler;
    std::function<void()> m_lossHandler;
};
