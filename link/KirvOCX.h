#pragma once

#include "SerialPort.h"
#include "kirvocx_export.h"

#include <QDateTime>
#include <QSet>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class LapFrameReceiver;
class QFrame;
class QLabel;
class QPushButton;

// The lap counter control: the only part of the program that talks to the lap counter's serial
// port. It sends the start, stop, read-ID and write-ID commands, turns received frames into
// RegisterCar and UpdateRaceClock, and offers eight buttons that simulate car passes.
class KIRVOCX_EXPORT KirvOCX : public QWidget {
    Q_OBJECT
public:
    explicit KirvOCX(QWidget* parent = nullptr);
    KirvOCX(std::unique_ptr<SerialPort> port, QWidget* parent = nullptr);
    ~KirvOCX() override;

    // Folder holding the COM<N> links to serial devices (the host passes "<AppPath>ports/").
    void setPortsFolder(const QString& folder);

    bool OpenConnection(qint16 iComPort);
    bool CloseConnection();
    bool StartRace();
    bool StopRace();
    // The ID on the counter's reader (0..255), -1 no transponder, -2 port closed, -3 no answer.
    qint16 GetSingleID();
    bool SetSingleID(qint16 iNewID);
    void ProcessReceivedMessage(QString& strMessage);
    void TimeConverter(qint32 lTime, qint16& iMinutes, qint16& iSeconds, qint16& iMilliseconds);

    void cmdResetSimulationTimer_Click();
    void cmdSimulateCarRegistration_Click(int Index);

    // Seams for tests: the wall clock of the simulation buttons, and the blocking wait of the ID
    // commands (by default the thread sleeps, handling no events).
    void setClock(std::function<QDateTime()> now);
    void setBlockingWait(std::function<void(int milliseconds)> wait);

signals:
    void RegisterCar(qint16 iCarID, qint32 lMilliseconds);
    void UpdateRaceClock(qint32 lMilliseconds);
    // The open port closed because the lap counter's device went away (unplugged). Raised once,
    // from the event loop; the port stays closed until the host opens it again.
    void ConnectionLost();

private:
    void buildFace();
    void LapCommPort_OnComm();
    // The port's link in the ports folder, if it is reached through one.
    std::optional<QString> linkPath(qint16 iComPort) const;
    // Stop frame, discard, command, wait, reply; nothing when the port turned out to be closed.
    std::optional<QString> exchange(const QString& command);

    std::unique_ptr<SerialPort> LapCommPort;
    std::unique_ptr<LapFrameReceiver> m_receiver;
    QString m_portsFolder;
    // Port numbers opened through a link in the ports folder.
    QSet<qint16> m_linkedPorts;
    QDateTime dtSimulationStart;
    std::function<QDateTime()> m_now;
    std::function<void(int)> m_blockingWait;

    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QPushButton*, 8> cmdSimulateCarRegistration{};
    QPushButton* cmdResetSimulationTimer = nullptr;
};
