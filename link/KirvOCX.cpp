#include "KirvOCX.h"

#include "LapFrameReceiver.h"
#include "LapProtocol.h"
#include "QtSerialPort.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <limits>

using namespace LapProtocol;

namespace {

constexpr int kReplyWaitMs = 500;
constexpr qint64 kSecondsPerDay = 86400;

// The face is laid out in twips; 15 twips make one pixel at 96 dpi.
constexpr int px(int twips) {
    return twips / 15;
}

QFont faceFont(qreal pointSize) {
    QFont font(QStringLiteral("Arial Black"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Black); // the nearest heavy sans where Arial Black is missing
    return font;
}

// Seconds on the local wall clock, without daylight-saving jumps, truncated to whole seconds:
// the simulation clock only ever shows whole seconds.
qint64 wallClockSeconds(const QDateTime& dateTime) {
    return dateTime.date().toJulianDay() * kSecondsPerDay +
           dateTime.time().msecsSinceStartOfDay() / 1000;
}

qint16 clampToInt16(qint32 value) {
    return qint16(std::clamp<qint32>(value, std::numeric_limits<qint16>::min(),
                                     std::numeric_limits<qint16>::max()));
}

} // namespace

KirvOCX::KirvOCX(QWidget* parent) : KirvOCX(std::make_unique<QtSerialPort>(), parent) {}

KirvOCX::KirvOCX(std::unique_ptr<SerialPort> port, QWidget* parent)
    : QWidget(parent), LapCommPort(std::move(port)),
      m_receiver(std::make_unique<LapFrameReceiver>()),
      // The origin of the date scale: before the first Reset a simulated pass is the time of day.
      dtSimulationStart(QDate(1899, 12, 30), QTime(0, 0)),
      m_now([] { return QDateTime::currentDateTime(); }),
      m_blockingWait([](int ms) { QThread::msleep(ulong(ms)); }) {
    m_receiver->registerCar = [this](qint16 carId, qint32 ms) { emit RegisterCar(carId, ms); };
    m_receiver->updateRaceClock = [this](qint32 ms) { emit UpdateRaceClock(ms); };
    LapCommPort->setArrivalHandler([this] { LapCommPort_OnComm(); });
    LapCommPort->setLossHandler([this] { emit ConnectionLost(); });
    buildFace();
}

KirvOCX::~KirvOCX() {
    LapCommPort->setArrivalHandler({});
    LapCommPort->setLossHandler({});
}

void KirvOCX::buildFace() {
    setFixedSize(px(7845), px(780));

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(px(0), px(0), px(855), px(615));

    Label1 = new QLabel(QStringLiteral("Kirv"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(faceFont(11.25));
    Label1->setGeometry(px(120), px(120), px(615), px(375));

    for (int index = 0; index < int(cmdSimulateCarRegistration.size()); ++index) {
        auto* button = new QPushButton(QString::number(index + 1), this);
        button->setObjectName(QStringLiteral("cmdSimulateCarRegistration_%1").arg(index));
        button->setFont(faceFont(14.25));
        button->setGeometry(px(1080 + 600 * index), px(120), px(495), px(495));
        cmdSimulateCarRegistration[size_t(index)] = button;
        connect(button, &QPushButton::clicked, this,
                [this, index] { cmdSimulateCarRegistration_Click(index); });
    }

    cmdResetSimulationTimer = new QPushButton(QStringLiteral("Reset"), this);
    cmdResetSimulationTimer->setObjectName(QStringLiteral("cmdResetSimulationTimer"));
    cmdResetSimulationTimer->setGeometry(px(5880), px(120), px(975), px(495));
    connect(cmdResetSimulationTimer, &QPushButton::clicked, this,
            &KirvOCX::cmdResetSimulationTimer_Click);
}

void KirvOCX::setPortsFolder(const QString& folder) {
    m_portsFolder = folder;
}

void KirvOCX::setClock(std::function<QDateTime()> now) {
    m_now = std::move(now);
}

void KirvOCX::setBlockingWait(std::function<void(int)> wait) {
    m_blockingWait = std::move(wait);
}

std::optional<QString> KirvOCX::linkPath(qint16 iComPort) const {
    if (m_portsFolder.isEmpty())
        return std::nullopt;
    const QString link = QDir(m_portsFolder).filePath(QStringLiteral("COM%1").arg(iComPort));
    // A link whose device is unplugged still names the port the user chose: opening it
    // fails, rather than silently falling back to a different device. So does a link that
    // went with its device: a port once opened through its link is opened through it until
    // the program ends.
    const QFileInfo info(link);
    if (info.isSymLink() || info.exists() || m_linkedPorts.contains(iComPort))
        return link;
    return std::nullopt;
}

bool KirvOCX::OpenConnection(qint16 iComPort) {
    m_receiver->setCommandBusy(false);
    if (LapCommPort->isOpen())
        return true;
    if (iComPort <= 0)
        return false;
    // Half a frame from an earlier connection would swallow the first frame of this one.
    m_receiver->clearReceiveBuffer();
    const std::optional<QString> link = linkPath(iComPort);
    LapCommPort->open(link ? *link : QStringLiteral("/dev/ttyS%1").arg(iComPort - 1));
    if (link && LapCommPort->isOpen())
        m_linkedPorts.insert(iComPort);
    return LapCommPort->isOpen();
}

bool KirvOCX::CloseConnection() {
    if (LapCommPort->isOpen())
        LapCommPort->close();
    return !LapCommPort->isOpen();
}

bool KirvOCX::StartRace() {
    m_receiver->resetPassTable();
    const bool sent = LapCommPort->isOpen() && LapCommPort->write(kStartFrame);
    m_receiver->setCommandBusy(false);
    return sent;
}

bool KirvOCX::StopRace() {
    const bool sent = LapCommPort->isOpen() && LapCommPort->write(kStopFrame);
    m_receiver->setCommandBusy(false);
    return sent;
}

// Stops the counter, throws away whatever was waiting, sends the command and takes everything
// that arrived within the wait as its reply. The busy flag keeps arrival notifications off the
// port meanwhile; frames that arrive in these moments are lost.
std::optional<QString> KirvOCX::exchange(const QString& command) {
    m_receiver->setCommandBusy(true);
    LapCommPort->write(kStopFrame);
    LapCommPort->readAll();
    // A device that has gone is noticed by the stop frame or the discarding read: that is a
    // closed port, not a counter that does not answer.
    if (!LapCommPort->isOpen()) {
        m_receiver->setCommandBusy(false);
        return std::nullopt;
    }
    LapCommPort->write(command);
    m_blockingWait(kReplyWaitMs);
    const QString reply = LapCommPort->readAll();
    m_receiver->setCommandBusy(false);
    return reply;
}

qint16 KirvOCX::GetSingleID() {
    if (!LapCommPort->isOpen())
        return kIdPortClosed;
    const std::optional<QString> reply = exchange(kReadIdFrame);
    return reply ? idFromReadReply(*reply) : kIdPortClosed;
}

bool KirvOCX::SetSingleID(qint16 iNewID) {
    if (!LapCommPort->isOpen())
        return false;
    const std::optional<QString> reply = exchange(writeIdFrame(iNewID));
    return reply && isWriteConfirmed(*reply);
}

void KirvOCX::ProcessReceivedMessage(QString& strMessage) {
    m_receiver->processReceivedMessage(strMessage);
}

void KirvOCX::LapCommPort_OnComm() {
    m_receiver->receiveNotification([this] { return LapCommPort->readAll(); });
}

void KirvOCX::TimeConverter(qint32 lTime, qint16& iMinutes, qint16& iSeconds,
                            qint16& iMilliseconds) {
    // Minutes beyond 16 bits (about 22 days) stay at the largest value; seconds and milliseconds
    // keep their usual ranges.
    iMinutes = clampToInt16(lTime / 60000);
    iSeconds = qint16(lTime % 60000 / 1000);
    iMilliseconds = qint16(lTime % 1000);
}

void KirvOCX::cmdResetSimulationTimer_Click() {
    dtSimulationStart = m_now();
}

void KirvOCX::cmdSimulateCarRegistration_Click(int Index) {
    if (Index < 0 || Index >= int(cmdSimulateCarRegistration.size()))
        return;
    const qint64 elapsed = wallClockSeconds(m_now()) - wallClockSeconds(dtSimulationStart);
    // Only the elapsed value's time of day counts: whole days drop out and the clock wraps after
    // 24 hours. A negative span (the clock was set back) keeps its time of day as a positive value.
    const qint64 timeOfDay = std::llabs(elapsed) % kSecondsPerDay;
    emit RegisterCar(qint16(Index + 1), qint32(timeOfDay * 1000));
}
