#include "frmAddRace.h"

#include "Database.h"
#include "Helpers.h"
#include "Platform.h"
#include "RaceCodes.h"
#include "Races.h"
#include "Schema.h"
#include "Ui.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kv {

namespace {

QLabel* boldLabel(const char* name, const QString& text, QWidget* parent, int left, int top,
                  int width, int height) {
    QLabel* label = addLabel(name, text, parent, left, top, width, height);
    label->setFont(formFont(8.25, true));
    return label;
}

} // namespace

frmAddRace::frmAddRace(QWidget* parent) : QDialog(parent) {
    SetUpFixedWindow(this, "frmAddRace", QStringLiteral("Add new race"), 4335, 4245,
                     formFont(8.25, false));

    lblInformation =
        boldLabel("lblInformation", QStringLiteral("Label1"), this, 120, 120, 4095, 495);
    lblInformation->setWordWrap(true);

    boldLabel("lblDescription", QStringLiteral("Description:"), this, 120, 780, 1095, 255);
    txtDescription = addControl<QLineEdit>("txtDescription", this, 1260, 720, 2955, 315);
    txtDescription->setMaxLength(kShortTextLength);
    boldLabel("lblLength", QStringLiteral("Length:"), this, 120, 1200, 1095, 255);
    txtLength = addControl<QLineEdit>("txtLength", this, 1260, 1140, 615, 315);
    txtLength->setText(QStringLiteral("1"));
    lblLengthStyle =
        addLabel("lblLengthStyle", QStringLiteral("(laps)"), this, 1980, 1200, 1455, 255);
    boldLabel("lblComment", QStringLiteral("Comment:"), this, 120, 1620, 1095, 255);
    txtComment = addControl<QPlainTextEdit>("txtComment", this, 1260, 1560, 2955, 855);

    lblCategory = boldLabel("lblCategory", QStringLiteral("Category:"), this, 120, 2580, 1095, 255);
    cbCategory = addControl<QComboBox>("cbCategory", this, 1260, 2520, 1575, 315);
    lblFinalLevel =
        boldLabel("lblFinalLevel", QStringLiteral("Level:"), this, 120, 3000, 1095, 255);
    cbFinalLevel = addControl<QComboBox>("cbFinalLevel", this, 1260, 2940, 1575, 315);
    // The level's label is hidden until a final is added; it names the box all the same.
    lblFinalLevel->setBuddy(cbFinalLevel);
    lblFinalLevel->setVisible(false);
    cbFinalLevel->setVisible(false);

    cmdOK = addButton("cmdOK", QStringLiteral("OK"), this, 840, 3600, 1215, 435);
    cmdCancel = addButton("cmdCancel", QStringLiteral("Cancel"), this, 2280, 3600, 1215, 435);
    cmdOK->setDefault(true);
    QPalette buttons = palette();
    buttons.setColor(QPalette::Button, Colours::LightGrey);
    for (QPushButton* button : {cmdOK, cmdCancel})
        button->setPalette(buttons);

    setTabOrder(txtDescription, txtLength);
    setTabOrder(txtLength, txtComment);
    setTabOrder(txtComment, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cbCategory);
    setTabOrder(cbCategory, cbFinalLevel);
    txtComment->setTabChangesFocus(true);

    connect(cbCategory, &QComboBox::currentIndexChanged, this, &frmAddRace::cbCategory_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAddRace::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddRace::cmdCancel_Click);

    DescribeControls(this);
}

void frmAddRace::showEvent(QShowEvent* event) {
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmAddRace::Form_Load() {
    m_loaded = true;
    m_intNewRaceID = -1;
    {
        const QSignalBlocker quiet(cbCategory);
        cbCategory->clear();
        cbCategory->addItems({QStringLiteral("Time"), QStringLiteral("Laps")});
    }
    cbCategory->setCurrentIndex(1);
    cbCategory_Click();

    if (m_intRaceCode != 0) {
        QString name;
        if (m_dbConnection)
            (void)ReadTournamentName(*m_dbConnection, m_intTournamentID, name);
        lblInformation->setText(QStringLiteral("Add information to a new final heat in the '") +
                                name + QStringLiteral("' tournament."));
        txtDescription->setText(QStringLiteral("Final "));
    } else {
        lblInformation->setText(QStringLiteral("Add information to a new single race."));
        txtDescription->setText(QStringLiteral("Single "));
    }

    if (m_intRaceCode == UnassignedFinalCode) {
        lblFinalLevel->setVisible(true);
        cbFinalLevel->setVisible(true);
        cbFinalLevel->clear();
        cbFinalLevel->addItems({QStringLiteral("Unassigned"), QStringLiteral("Final"),
                                QStringLiteral("Semi-final"), QStringLiteral("Quarter-final"),
                                QStringLiteral("Eight-final")});
        cbFinalLevel->setCurrentIndex(0);
    }
}

void frmAddRace::cbCategory_Click() {
    lblLengthStyle->setText(cbCategory->currentIndex() == 0 ? QStringLiteral("(minutes)")
                                                            : QStringLiteral("(laps)"));
}

void frmAddRace::cmdOK_Click() {
    const bool final = m_intRaceCode != 0;
    const int level = cbFinalLevel->currentIndex();
    if (final && level <= 0) {
        MsgBox(QStringLiteral("You have to assign a final level to this race."), MsgButtons::OK,
               MsgIcon::None, kProgramName);
        return;
    }
    // Lengths are whole numbers the program reads back in 16 bits; a race
    // needs at least one lap or minute.
    qint16 length = 0;
    switch (ReadRaceLength(txtLength->text(), length)) {
    case LengthReading::Ok:
        break;
    case LengthReading::TooSmall:
        MsgBox(QStringLiteral("The length must be at least 1. The race was not added."),
               MsgButtons::OK, MsgIcon::None, kProgramName);
        return;
    case LengthReading::TooLarge:
        MsgBox(QStringLiteral("The length is too large. The race was not added."), MsgButtons::OK,
               MsgIcon::None, kProgramName);
        return;
    }
    if (!m_dbConnection)
        return;
    const qint16 raceCode = static_cast<qint16>(final ? FinalCode - 1 + level : SingleRaceCode);
    NewRace race;
    race.tournamentID = m_intTournamentID;
    race.category = cbCategory->currentIndex() == 0 ? TimeRace : LapsRace;
    race.raceCode = raceCode;
    race.length = length;
    race.description = txtDescription->text();
    race.comment = txtComment->toPlainText();
    qint64 key = 0;
    if (!InsertRace(*m_dbConnection, race, key))
        return;
    if (final)
        m_intRaceCode = raceCode;
    m_intNewRaceID = static_cast<qint32>(key);
    accept();
}

void frmAddRace::cmdCancel_Click() {
    reject();
}

} // namespace kv
