#include "frmScoreDetails.h"

#include "Database.h"
#include "ReportStatements.h"
#include "ScoreDetailsData.h"
#include "Ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

namespace kv {

namespace {

// The design client area is the smallest the window may become.
constexpr int kClientWidth = 3645;
constexpr int kClientHeight = 5775;
// The list keeps these distances to the right and bottom edges.
constexpr int kListRightGap = 270;
constexpr int kListBottomGap = 1230;

} // namespace

frmScoreDetails::frmScoreDetails(QWidget* owner) : QWidget(owner, Qt::Window) {
    SetUpWindow(this, "frmScoreDetails", QStringLiteral("Details"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(formFont(8.25, false));
    setMinimumSize(tw(kClientWidth), tw(kClientHeight));
    resize(tw(kClientWidth), tw(kClientHeight));

    Label13 = addLabel("Label13", QStringLiteral("Lap times"), this, 120, 0, 3375, 495);
    Label13->setFont(formFont(18, true));
    Label13->setAlignment(Qt::AlignCenter);
    cmdRefresh = addButton("cmdRefresh", QStringLiteral("Refresh"), this, 240, 600, 855, 375);
    label = addLabel("label", QStringLiteral("Automatic refresh [s]:"), this, 1080, 600, 1695, 255);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtAutomaticRefresh = addControl<QLineEdit>("txtAutomaticRefresh", this, 2880, 600, 495, 315);
    txtAutomaticRefresh->setText(QStringLiteral("30"));
    label->setBuddy(txtAutomaticRefresh);
    lbLaps = addControl<QListWidget>("lbLaps", this, 120, 1080, 3375, 4545);
    Label13->setBuddy(lbLaps);
    lbLaps->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    setTabOrder(lbLaps, cmdRefresh);
    setTabOrder(cmdRefresh, txtAutomaticRefresh);

    tmrAutomaticRefresh.setInterval(10000);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmScoreDetails::cmdRefresh_Click);
    connect(&tmrAutomaticRefresh, &QTimer::timeout, this,
            &frmScoreDetails::tmrAutomaticRefresh_Timer);
    connect(txtAutomaticRefresh, &QLineEdit::textChanged, this,
            &frmScoreDetails::txtAutomaticRefresh_Change);
}

void frmScoreDetails::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_loaded)
        Form_Load();
}

void frmScoreDetails::Form_Load() {
    m_loaded = true;
    SetTabStops(lbLaps, {0, -70, -120, -170, -220, -270, -320, -370, -420, -470, -520});
    txtAutomaticRefresh_Change();
    cmdRefresh_Click();
    lbLaps->setFocus();
}

void frmScoreDetails::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lbLaps->resize(width() - tw(kListRightGap), height() - tw(kListBottomGap));
}

void frmScoreDetails::cmdRefresh_Click() {
    if (!m_dbConnection)
        return;
    Recordset rs;
    if (!m_dbConnection->Select(ScoreDetailsSql(m_intRaceID), rs))
        return;
    lbLaps->clear();
    lbLaps->addItems(ScoreDetailsRows(rs));
    lbAddHScroll(lbLaps);
}

void frmScoreDetails::tmrAutomaticRefresh_Timer() {
    cmdRefresh_Click();
}

void frmScoreDetails::txtAutomaticRefresh_Change() {
    // A period that is not a positive number of ms the timer can hold turns
    // the automatic refresh off.
    const std::optional<int> interval = AutomaticRefreshInterval(txtAutomaticRefresh->text());
    if (!interval) {
        tmrAutomaticRefresh.stop();
        return;
    }
    tmrAutomaticRefresh.start(*interval);
}

int frmScoreDetails::lbAddHScroll(QListWidget* lb) {
    int widest = 0;
    QStyleOptionViewItem option;
    option.initFrom(lb);
    option.font = lb->font();
    for (int i = 0; i < lb->count(); ++i) {
        const QModelIndex index = lb->model()->index(i, 0);
        widest = std::max(widest, lb->itemDelegate()->sizeHint(option, index).width());
    }
    // The list's scroll range follows the width of its rows.
    lb->doItemsLayout();
    return widest;
}

frmScoreDetails* OpenScoreDetails(QWidget* owner, Database& db, qint32 raceID) {
    auto* details = new frmScoreDetails(owner);
    details->m_intRaceID = raceID;
    details->m_dbConnection = &db;
    details->show();
    return details;
}

} // namespace kv
