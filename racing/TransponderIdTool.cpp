#include "TransponderIdTool.h"

#include "Helpers.h"
#include "KirvOCX.h"
#include "LapCounterConnection.h"
#include "MainContext.h"
#include "Platform.h"
#include "Ui.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace kv {

namespace {
const QString kReadTitle = QStringLiteral("Read transponder ID");
const QString kWriteTitle = QStringLiteral("Write new ID to transponder.");
} // namespace

void TransponderIdTool::setTextColor(QLineEdit* box, const QColor& color) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, color);
    box->setPalette(p);
}

QColor TransponderIdTool::textColor(const QLineEdit* box) {
    return box->palette().color(QPalette::Text);
}

void TransponderIdTool::BoxChanged(QLineEdit* box) {
    const QString text = box->text();
    if (!text.isEmpty()) {
        const QString number = NumberText(Val(text));
        if (number != text)
            box->setText(number); // runs this handler again with the number
    }
    setTextColor(box, Qt::black);
}

void TransponderIdTool::Read(QLineEdit* box) {
    m_main.OpenLapCounterPort();
    MainState& s = m_main.state();
    const qint16 id = s.KirvOCX->GetSingleID();
    if (id >= 0) {
        box->setText(QString::number(id));
        s.shapeHWStatusIndicator->setFillColor(kLinkGreen);
        setTextColor(box, kIdGreen);
        return;
    }
    setTextColor(box, kIdLightRed);
    if (id == -1) {
        s.shapeHWStatusIndicator->setFillColor(kLinkGreen);
        MsgBox(QStringLiteral("There is no car in contact with the Kirv system."), MsgButtons::OK,
               MsgIcon::None, kReadTitle);
    } else {
        s.shapeHWStatusIndicator->setFillColor(kLinkDarkRed);
        MsgBox(QStringLiteral("There is no contact with the Kirv system. Please verify the comport "
                              "settings and try again."),
               MsgButtons::OK, MsgIcon::None, kReadTitle);
    }
}

void TransponderIdTool::Write(QLineEdit* box) {
    // The counter's IDs are two hexadecimal digits: anything else would be
    // written as some other ID, or not at all.
    const double id = RoundHalfEven(Val(box->text()));
    if (!IsTransponderID(id)) {
        setTextColor(box, kIdLightRed);
        MsgBox(TransponderIDRangeText, MsgButtons::OK, MsgIcon::Critical, kWriteTitle);
        return;
    }
    m_main.OpenLapCounterPort();
    if (m_main.state().KirvOCX->SetSingleID(static_cast<qint16>(id))) {
        setTextColor(box, kIdGreen);
        MsgBox(QStringLiteral("New ID was stored."), MsgButtons::OK, MsgIcon::None, kWriteTitle);
    } else {
        setTextColor(box, kIdLightRed);
        MsgBox(QStringLiteral("New ID was NOT stored."), MsgButtons::OK, MsgIcon::Critical,
               kWriteTitle);
    }
}

} // namespace kv
