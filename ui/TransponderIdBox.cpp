#include "TransponderIdBox.h"

#include "Helpers.h"
#include "MainContext.h"
#include "Platform.h"
#include "Ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kv {

namespace {
const QString kReadTitle = QStringLiteral("Read transponder ID");
const QString kWriteTitle = QStringLiteral("Write new ID to transponder.");
} // namespace

TransponderIdBox::TransponderIdBox(MainContext& main, QWidget* parent, const Names& names,
                                   const QRect& label, const QPoint& boxAt)
    : QObject(parent), m_main(main) {
    QLabel* caption = addLabel(QStringLiteral("ID:"), parent, label.x(), label.y(), label.width(),
                               label.height());
    box = addControl<QLineEdit>(names.box, parent, boxAt.x(), boxAt.y(), 735, 315);
    caption->setBuddy(box);
    cmdRead =
        addButton(names.read, QStringLiteral("Read"), parent, boxAt.x() + 840, boxAt.y(), 615, 315);
    cmdWrite = addButton(names.write, QStringLiteral("Write"), parent, boxAt.x() + 1560, boxAt.y(),
                         615, 315);
}

void TransponderIdBox::setTextColor(QLineEdit* box, const QColor& color) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, color);
    box->setPalette(p);
}

QColor TransponderIdBox::textColor(const QLineEdit* box) {
    return box->palette().color(QPalette::Text);
}

void TransponderIdBox::BoxChanged() {
    const QString text = box->text();
    if (!text.isEmpty()) {
        const QString number = NumberText(Val(text));
        if (number != text)
            box->setText(number); // runs this handler again with the number
    }
    setTextColor(box, Qt::black);
}

void TransponderIdBox::Read() {
    const TransponderRead r = m_main.GetTransponderID();
    if (r.outcome == TransponderRead::ID) {
        box->setText(QString::number(r.id));
        setTextColor(box, Colours::Green);
        return;
    }
    setTextColor(box, Colours::Red);
    MsgBox(r.outcome == TransponderRead::NoCar
               ? QStringLiteral("There is no car in contact with the Kirv system.")
               : QStringLiteral("There is no contact with the Kirv system. Please verify the "
                                "comport settings and try again."),
           MsgButtons::OK, MsgIcon::None, kReadTitle);
}

void TransponderIdBox::Write() {
    switch (m_main.SetTransponderID(RoundHalfEven(Val(box->text())))) {
    case TransponderWrite::Stored:
        setTextColor(box, Colours::Green);
        MsgBox(QStringLiteral("New ID was stored."), MsgButtons::OK, MsgIcon::None, kWriteTitle);
        return;
    case TransponderWrite::NotStored:
        setTextColor(box, Colours::Red);
        MsgBox(QStringLiteral("New ID was NOT stored."), MsgButtons::OK, MsgIcon::Critical,
               kWriteTitle);
        return;
    case TransponderWrite::NotAnID:
        setTextColor(box, Colours::Red);
        MsgBox(TransponderIDRangeText, MsgButtons::OK, MsgIcon::Critical, kWriteTitle);
        return;
    }
}

} // namespace kv
