#include "RaceSelection.h"

#include "Database.h"
#include "Helpers.h"
#include "RaceCodes.h"
#include "Ui.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSqlRecord>

#include <algorithm>

namespace kv {

namespace {

// A number of a participant as shown; a driver without one shows "none".
QString ShownNumber(const QVariant& v) {
    return v.isNull() ? QStringLiteral("none") : NumberText(v.toDouble());
}

// A frequency as shown, with the region's decimal separator.
QString ShownFrequency(const QVariant& v) {
    return v.isNull() ? QStringLiteral("none") : RegionalNumberText(v.toDouble());
}

// Two participants share a stored value; participants without one conflict
// with nobody.
bool HasDuplicate(const Recordset& rs, const QString& field) {
    QList<double> values;
    for (const QSqlRecord& r : rs)
        if (!r.value(field).isNull())
            values << r.value(field).toDouble();
    std::sort(values.begin(), values.end());
    return std::adjacent_find(values.begin(), values.end()) != values.end();
}

QString RaceRowText(const QSqlRecord& r) {
    return FieldToString(r.value(QStringLiteral("Description"))) +
           RaceStatusSuffix(r.value(QStringLiteral("Status")).toInt());
}

} // namespace

RaceSelection::RaceSelection(QWidget* page) {
    QLabel* show = addLabel(QStringLiteral("Show:"), page, 240, 420, 600, 255);
    cbRaceShowRaceCategory =
        addControl<QComboBox>("cbRaceShowRaceCategory", page, 840, 360, 2760, 315);
    show->setBuddy(cbRaceShowRaceCategory);
    cbRaceHeats = addControl<QComboBox>("cbRaceHeats", page, 240, 780, 3360, 315);
    cbRaceHeats->setAccessibleName(QStringLiteral("Race"));
    SetUpLongList(cbRaceHeats); // every heat of a tournament
    lbRaceHeatParticipants =
        addControl<QListWidget>("lbRaceHeatParticipants", page, 240, 1200, 3360, 1935);
    lbRaceHeatParticipants->setAccessibleName(QStringLiteral("Start list"));
    lbRaceHeatParticipants->setFont(formFont(8.25, false));
}

void RaceSelection::fillFixedLists() {
    {
        const QSignalBlocker quiet(cbRaceShowRaceCategory);
        cbRaceShowRaceCategory->clear();
        cbRaceShowRaceCategory->addItems({QStringLiteral("Qualification"), QStringLiteral("Final"),
                                          QStringLiteral("Qual. + final"),
                                          QStringLiteral("Single race")});
        cbRaceShowRaceCategory->setCurrentIndex(-1);
    }
    SetTabStops(lbRaceHeatParticipants, {20, 90});
}

void RaceSelection::clear() {
    const QSignalBlocker quietRaces(cbRaceHeats);
    const QSignalBlocker quietList(lbRaceHeatParticipants);
    cbRaceHeats->clear();
    lbRaceHeatParticipants->clear();
}

void RaceSelection::fillRaces(const Recordset& races, bool single,
                              const QString& singleRegistrationRow) {
    const QSignalBlocker quiet(cbRaceHeats);
    if (single)
        cbRaceHeats->addItem(singleRegistrationRow, -1);
    for (const QSqlRecord& r : races)
        cbRaceHeats->addItem(RaceRowText(r), r.value(QStringLiteral("RaceID")).toInt());
    cbRaceHeats->setCurrentIndex(-1);
}

int RaceSelection::selectedRace() const {
    const int row = cbRaceHeats->currentIndex();
    return row < 0 ? -1 : cbRaceHeats->itemData(row).toInt();
}

int RaceSelection::selectedDriver() const {
    const QList<QListWidgetItem*> rows = lbRaceHeatParticipants->selectedItems();
    return rows.isEmpty() ? -1 : rows.first()->data(Qt::UserRole).toInt();
}

RaceSelection::Conflicts RaceSelection::fillStartList(const Recordset& startList) {
    {
        const QSignalBlocker quiet(lbRaceHeatParticipants);
        lbRaceHeatParticipants->clear();
        for (const QSqlRecord& r : startList) {
            const QString id = FieldToString(r.value(QStringLiteral("DriverID")));
            auto* item = new QListWidgetItem(
                id + QLatin1Char('\t') + FieldToString(r.value(QStringLiteral("Lastname"))) +
                    QStringLiteral(", ") + FieldToString(r.value(QStringLiteral("Firstname"))) +
                    QLatin1Char('\t') + QStringLiteral("[ID=") +
                    ShownNumber(r.value(QStringLiteral("TransponderID"))) +
                    QStringLiteral(" / F=") + ShownFrequency(r.value(QStringLiteral("Frequency"))) +
                    QLatin1Char(']'),
                lbRaceHeatParticipants);
            item->setData(Qt::UserRole, id.toInt());
        }
    }
    return {HasDuplicate(startList, QStringLiteral("Frequency")),
            HasDuplicate(startList, QStringLiteral("TransponderID"))};
}

} // namespace kv
