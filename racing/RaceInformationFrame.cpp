#include "RaceInformationFrame.h"

#include "Colours.h"
#include "Helpers.h"
#include "RaceCodes.h"
#include "RaceTiming.h"
#include "Ui.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSqlRecord>

namespace kv {

RaceInformationFrame::RaceInformationFrame(QWidget* page) {
    frame = addControl<QGroupBox>("frameRaceInformation", page, 120, 3240, 3540, 2760);
    frame->setTitle(QStringLiteral("Race information"));
    frame->setVisible(false);
    struct Info {
        const char* caption;
        const char* name;
        QLabel** member;
        const char* design;
    };
    const Info rows[] = {
        {"Category:", "lblRaceInfoCategory", &lblRaceInfoCategory, ""},
        {"Time:", "lblRaceInfoTimeOfRace", &lblRaceInfoTimeOfRace, ""},
        {"Length:", "lblRaceInfoLength", &lblRaceInfoLength, ""},
        {"Status:", "lblRaceInfoStatus", &lblRaceInfoStatus, ""},
        {"Conflicts:", "lblRaceHeatConflicts", &lblRaceHeatConflicts, "No conflict"},
    };
    int top = 300;
    for (const Info& r : rows) {
        addLabel(QString::fromLatin1(r.caption), frame, 120, top, 960, 255);
        *r.member = addLabel(r.name, QString::fromLatin1(r.design), frame, 1080, top, 2340, 255);
        top += 270;
    }
    QLabel* comment = addLabel(QStringLiteral("Comment:"), frame, 120, 1680, 960, 255);
    txtRaceInfoComment =
        addControl<QPlainTextEdit>("txtRaceInfoComment", frame, 120, 1920, 3300, 720);
    comment->setBuddy(txtRaceInfoComment);
}

void RaceInformationFrame::showRace(const QSqlRecord& r) {
    lblRaceInfoTimeOfRace->setText(DateTimeText(r.value(QStringLiteral("TimeOfRace"))));
    const int code = r.value(QStringLiteral("RaceCode")).toInt();
    lblRaceInfoCategory->setText(code == 0 || code == SingleRaceCode ? QStringLiteral("Single")
                                 : code == QualificationHeatCode ? QStringLiteral("Qualification")
                                                                 : QStringLiteral("Final"));
    const int category = r.value(QStringLiteral("RaceCategoryID")).toInt();
    QString length = QString::number(r.value(QStringLiteral("Length")).toInt());
    if (category == TimeRace)
        length += QStringLiteral(" [minutes]");
    else if (category == LapsRace)
        length += QStringLiteral(" [laps]");
    lblRaceInfoLength->setText(length);
    showStatus(r.value(QStringLiteral("Status")).toInt());
}

void RaceInformationFrame::showComment(const QSqlRecord& r) {
    // Shown, not stored: the box's change handler stores what the person types.
    const QSignalBlocker quiet(txtRaceInfoComment);
    txtRaceInfoComment->setPlainText(FieldToString(r.value(QStringLiteral("Comment"))));
}

void RaceInformationFrame::showStatus(int status) {
    lblRaceInfoStatus->setText(RaceStatusText(status));
}

void RaceInformationFrame::clear() {
    for (QLabel* l : {lblRaceInfoCategory, lblRaceInfoTimeOfRace, lblRaceInfoLength,
                      lblRaceInfoStatus, lblRaceHeatConflicts})
        l->clear();
    const QSignalBlocker quiet(txtRaceInfoComment);
    txtRaceInfoComment->clear();
}

void RaceInformationFrame::showConflicts(bool frequency, bool id) {
    if (!frequency && !id) {
        lblRaceHeatConflicts->setText(QStringLiteral("No conflict"));
        setTextColour(lblRaceHeatConflicts, QApplication::palette().color(QPalette::ButtonText));
        return;
    }
    lblRaceHeatConflicts->setText(frequency && id ? QStringLiteral("Frequency and ID conflict")
                                  : frequency     ? QStringLiteral("Frequency conflict")
                                                  : QStringLiteral("ID conflict"));
    setTextColour(lblRaceHeatConflicts, Colours::Red);
}

} // namespace kv
