#pragma once
// The race page's selection column: the category shown, the races of that
// category and the start list of the selected race, with its conflicts.

#include <QString>

class QComboBox;
class QListWidget;
class QWidget;

namespace kv {

class Recordset;

class RaceSelection {
public:
    explicit RaceSelection(QWidget* page);

    // The four categories, none selected, and the start list's columns.
    void fillFixedLists();
    // Empties the race list and the start list without running their handlers.
    void clear();
    // Fills the race list quietly and leaves it unselected; a single race list
    // starts with `singleRegistrationRow`, which opens the registration.
    void fillRaces(const Recordset& races, bool single, const QString& singleRegistrationRow);
    // The key of the selected race row; -1 for none.
    int selectedRace() const;
    // The key of the selected start list row; -1 for none.
    int selectedDriver() const;

    // Fills the start list quietly; tells whether two of its drivers share a
    // frequency or a transponder ID.
    struct Conflicts {
        bool frequency = false;
        bool id = false;
    };
    Conflicts fillStartList(const Recordset& startList);

    QComboBox* cbRaceShowRaceCategory = nullptr;
    QComboBox* cbRaceHeats = nullptr;
    QListWidget* lbRaceHeatParticipants = nullptr;
};

} // namespace kv
