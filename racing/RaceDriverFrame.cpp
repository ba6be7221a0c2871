#include "RaceDriverFrame.h"

#include "DriverDetails.h"
#include "Helpers.h"
#include "MainContext.h"
#include "Platform.h"
#include "Schema.h"
#include "TransponderIdBox.h"
#include "Ui.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kv {

RaceDriverFrame::RaceDriverFrame(MainContext& main, QWidget* page) : m_main(main) {
    QGroupBox* f = frame =
        addControl<QGroupBox>("frameRaceModifyDriver", page, 120, 6120, 3540, 3255);
    f->setTitle(QStringLiteral("Modify driver details"));
    f->setVisible(false);
    addLabel(QStringLiteral("Name: "), f, 120, 300, 600, 255);
    lblRaceModifyDriverName =
        addLabel("lblRaceModifyDriverName", QString(), f, 720, 300, 2700, 255);

    struct Box {
        const char* caption;
        const char* name;
        QLineEdit** member;
        int width;
    };
    const Box boxes[] = {
        {"Car:", "txtRaceModifyDriverCar", &txtRaceModifyDriverCar, 2580},
        {"Team:", "txtRaceModifyDriverTeam", &txtRaceModifyDriverTeam, 2580},
        {"Freq:", "txtRaceModifyDriverFrequency", &txtRaceModifyDriverFrequency, 855},
    };
    int top = 600;
    for (const Box& b : boxes) {
        QLabel* caption = addLabel(QString::fromLatin1(b.caption), f, 120, top + 60, 720, 255);
        *b.member = addControl<QLineEdit>(b.name, f, 840, top, b.width, 315);
        caption->setBuddy(*b.member);
        top += 360;
    }
    addLabel(QStringLiteral("MHz"), f, 1800, top - 360 + 60, 600, 255);
    txtRaceModifyDriverCar->setMaxLength(kShortTextLength);
    txtRaceModifyDriverTeam->setMaxLength(kShortTextLength);

    addLabel(QStringLiteral("Transponder"), f, 120, 1740, 2400, 255);
    chkRaceModifyDriverOwnTransponder =
        addControl<QCheckBox>("chkRaceModifyDriverOwnTransponder", f, 120, 1980, 3300, 255);
    chkRaceModifyDriverOwnTransponder->setText(QStringLiteral("Own personal transponder"));
    idBox = new TransponderIdBox(m_main, f,
                                 {"txtRaceModifyDriverTransponderID", "cmdRaceModifyDriverReadID",
                                  "cmdRaceModifyDriverWriteID"},
                                 QRect(120, 2340, 360, 255), QPoint(480, 2280));
    cmdRaceModifyDriverSave = addButton("cmdRaceModifyDriverSave", QStringLiteral("Save changes"),
                                        f, 120, 2760, 1935, 375);
}

void RaceDriverFrame::load(int driverId) {
    DriverDetails d;
    // Without the driver's own details the frame stays hidden: saving it would
    // store another driver's details under this one.
    if (!LoadDriverDetails(m_main.db(), driverId, d))
        return;
    lblRaceModifyDriverName->setText(d.lastname.value_or(QString()) + QStringLiteral(", ") +
                                     d.firstname.value_or(QString()));
    setStoredText(txtRaceModifyDriverCar, d.car);
    setStoredText(txtRaceModifyDriverTeam, d.team);
    txtRaceModifyDriverFrequency->setText(d.frequency);
    idBox->box->setText(d.transponderID);
    chkRaceModifyDriverOwnTransponder->setChecked(d.ownTransponder);
    setTextColour(txtRaceModifyDriverFrequency, Qt::black);
    frame->setVisible(true);
}

bool RaceDriverFrame::save(int driverId) {
    DriverDetails d;
    d.car = txtRaceModifyDriverCar->text();
    d.team = txtRaceModifyDriverTeam->text();
    d.frequency = txtRaceModifyDriverFrequency->text();
    d.transponderID = idBox->box->text();
    d.ownTransponder = chkRaceModifyDriverOwnTransponder->isChecked();
    switch (SaveDriverDetails(m_main.db(), driverId, d)) {
    case DriverSaveResult::TransponderIDRefused:
        MsgBox(DriverSaveIDRefusedText, MsgButtons::OK, MsgIcon::Critical, kProgramName);
        return false;
    case DriverSaveResult::Failed:
        return false;
    case DriverSaveResult::Saved:
        break;
    }
    return true;
}

} // namespace kv
