#include "RaceControls.h"

#include "ButtonPictures.h"
#include "Colours.h"
#include "Ui.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>

namespace kv {

const QString RaceControls::kRaceEndNotStoredText =
    QStringLiteral("The end of the race could not be stored in the race database yet. It is "
                   "stored as soon as the database accepts it; Stop tries again at once.");
const QString RaceControls::kLapCounterLostText =
    LapCounterNote::LostText(QStringLiteral("the race"), false);
const QString RaceControls::kLapCounterLostPassesWaitText =
    LapCounterNote::LostText(QStringLiteral("the race"), true);
const QString RaceControls::kLapCounterLostBeforeTheGoText = LapCounterNote::LostBeforeTheGoText();
const QString RaceControls::kLapCounterNotStartedText =
    QStringLiteral("The lap counter was not started for this heat: no laps are counted. Stop the "
                   "race, clear it and start it again.");
const QString RaceControls::kRaceStartNotStoredText =
    QStringLiteral("The start of the race could not be stored in the race database yet. It is "
                   "stored as soon as the database accepts it.");
const QString RaceControls::kLapCounterBackText = LapCounterNote::BackText();

RaceControls::RaceControls(QWidget* page) {
    struct Display {
        const char* caption;
        const char* name;
        QLineEdit** member;
        int left;
        int width;
        const char* design;
        QColor colour;
    };
    const Display displays[] = {
        {"Race time", "txtRaceTime", &txtRaceTime, 4080, 4935, "0:00.000", Colours::Green},
        {"Lap counter", "txtRaceLapCounter", &txtRaceLapCounter, 9120, 2895, "0", Colours::Blue},
    };
    for (const Display& d : displays) {
        QLabel* caption = addLabel(QString::fromLatin1(d.caption), page, d.left, 480, 2400, 315);
        QLineEdit* box = *d.member =
            addControl<QLineEdit>(d.name, page, d.left, 840, d.width, 1335);
        caption->setBuddy(box);
        box->setReadOnly(true);
        box->setFont(blackFont(39.75));
        box->setAlignment(Qt::AlignCenter);
        box->setText(QString::fromLatin1(d.design));
        setTextColour(box, d.colour);
    }

    Frame1 = addControl<QGroupBox>("Frame1", page, 12240, 240, 2655, 1935);
    Frame1->setTitle(QStringLiteral("Race control"));
    cmdRaceStart = addPictureButton("cmdRaceStart", Frame1, 120, 300, 1095, 975,
                                    ButtonPicture::Start, QStringLiteral("Start race"));
    cmdRaceStop = addPictureButton("cmdRaceStop", Frame1, 1320, 300, 1095, 975, ButtonPicture::Stop,
                                   QStringLiteral("Stop race"));
    // Disabled until a race is selected.
    cmdRaceStart->setEnabled(false);
    cmdRaceStop->setEnabled(false);
    cmdRaceClear =
        addButton("cmdRaceClear", QStringLiteral("Clear race"), Frame1, 120, 1380, 1575, 435);
    cmdRaceClear->setEnabled(false);
    // The preview and the details stay usable while a race runs.
    cmdRaceHeatResultPreview =
        addPictureButton("cmdRaceHeatResultPreview", Frame1, 1800, 1380, 615, 435,
                         ButtonPicture::Preview, QStringLiteral("Heat result preview"));
    cmdRaceScoreCompareShow = addButton("cmdRaceScoreCompareShow", QStringLiteral("Show details"),
                                        page, 12360, 8985, 1335, 375);
    cmdRaceScoreCompareShow->setToolTip(QStringLiteral("Display details for checked drivers."));

    lblRaceLapCounterLost =
        addLabel("lblRaceLapCounterLost", kLapCounterLostText, page, 3840, 8985, 8400, 435);
    lapCounterNote.emplace(lblRaceLapCounterLost, QStringLiteral("the race"),
                           kLapCounterNotStartedText);

    // Passes the database has not taken yet; in the start list's place, which
    // is hidden while a race runs. Tall enough for the start, the passes and
    // the end waiting at once.
    lblRaceWaitingPasses = addLabel("lblRaceWaitingPasses", QString(), page, 240, 6120, 3360, 3135);
    lblRaceWaitingPasses->setWordWrap(true);
    lblRaceWaitingPasses->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(lblRaceWaitingPasses, Colours::Red);
    lblRaceWaitingPasses->setVisible(false);
}

void RaceControls::showWaiting(bool startWaiting, int passes, bool endWaiting) {
    QStringList lines;
    if (startWaiting)
        lines << kRaceStartNotStoredText;
    if (passes > 0)
        lines << QStringLiteral("Passes waiting to be stored in the race database: %1. They are "
                                "stored as soon as the database accepts them.")
                     .arg(passes);
    if (endWaiting)
        lines << kRaceEndNotStoredText;
    const QString text = lines.join(QLatin1Char('\n'));
    lblRaceWaitingPasses->setText(text);
    lblRaceWaitingPasses->setVisible(!text.isEmpty());
    lapCounterNote->setPassesWait(passes > 0);
}

} // namespace kv
