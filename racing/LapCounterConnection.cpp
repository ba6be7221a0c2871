#include "LapCounterConnection.h"

#include "Helpers.h"
#include "KirvOCX.h"
#include "MainContext.h"
#include "Platform.h"
#include "Ui.h"

#include <QApplication>
#include <QLabel>

namespace kv {

bool LapCounterConnection::open() {
    // A port that is open is kept.
    const qint16 port = m_state.LapCounter.Port();
    if (!m_state.KirvOCX->OpenConnection(port))
        return false;
    // A port that was open already keeps its number.
    if (m_openPort == 0)
        m_openPort = port;
    return true;
}

void LapCounterConnection::showPortFailure() {
    MsgBox(QStringLiteral("Unable to open COM") + m_state.LapCounter.PortText() +
               QStringLiteral(". Make sure that no other application is using that comport, or "
                              "select a different port."),
           MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Unable to open comport!"));
}

bool LapCounterConnection::TestLapCounterConnection() {
    m_state.KirvOCX->CloseConnection();
    m_openPort = 0;
    const bool opened = open();
    m_state.lblHWStatusComport->setText(QStringLiteral("COM") + m_state.LapCounter.PortText());
    if (!opened) {
        m_state.shapeHWStatusIndicator->setFillColor(Colours::DarkRed);
        showPortFailure();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const qint16 id = m_state.KirvOCX->GetSingleID();
    QApplication::restoreOverrideCursor();
    const bool answered = id >= -1;
    m_state.shapeHWStatusIndicator->setFillColor(answered ? Colours::Green : Colours::DarkRed);
    return answered;
}

bool LapCounterConnection::OpenLapCounterPort() {
    if (open())
        return true;
    m_state.shapeHWStatusIndicator->setFillColor(Colours::DarkRed);
    showPortFailure();
    return false;
}

void LapCounterConnection::ConnectionLost() {
    m_state.shapeHWStatusIndicator->setFillColor(Colours::DarkRed);
    if (m_openPort != 0)
        m_lostPort = m_openPort;
    m_openPort = 0;
    m_reopenedSilent = false;
}

bool LapCounterConnection::ReopenLostPort() {
    if (m_lostPort <= 0 || !m_state.KirvOCX->OpenConnection(m_lostPort))
        return false;
    m_openPort = m_lostPort;
    // An open device is not yet a counter that times: a counter that started
    // again without its start command, or another device on the port, sends
    // nothing.
    m_reopenedSilent = true;
    return true;
}

bool LapCounterConnection::FrameArrived() {
    if (m_openPort == 0)
        return false;
    if (m_state.shapeHWStatusIndicator->fillColor() != Colours::Green)
        m_state.shapeHWStatusIndicator->setFillColor(Colours::Green);
    const bool back = m_reopenedSilent;
    m_reopenedSilent = false;
    return back;
}

} // namespace kv
