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
    return m_state.KirvOCX->OpenConnection(m_state.LapCounter.Port());
}

void LapCounterConnection::showPortFailure() {
    MsgBox(QStringLiteral("Unable to open COM") + m_state.LapCounter.PortText() +
               QStringLiteral(". Make sure that no other application is using that comport, or "
                              "select a different port."),
           MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Unable to open comport!"));
}

bool LapCounterConnection::TestLapCounterConnection() {
    m_state.KirvOCX->CloseConnection();
    const bool opened = open();
    m_state.lblHWStatusComport->setText(QStringLiteral("COM") + m_state.LapCounter.PortText());
    if (!opened) {
        m_state.shapeHWStatusIndicator->setFillColor(kLinkDarkRed);
        showPortFailure();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const qint16 id = m_state.KirvOCX->GetSingleID();
    QApplication::restoreOverrideCursor();
    const bool answered = id >= -1;
    m_state.shapeHWStatusIndicator->setFillColor(answered ? kLinkGreen : kLinkDarkRed);
    return answered;
}

bool LapCounterConnection::OpenLapCounterPort() {
    if (open())
        return true;
    m_state.shapeHWStatusIndicator->setFillColor(kLinkDarkRed);
    showPortFailure();
    return false;
}

void LapCounterConnection::ConnectionLost() {
    m_state.shapeHWStatusIndicator->setFillColor(kLinkDarkRed);
}

} // namespace kv
