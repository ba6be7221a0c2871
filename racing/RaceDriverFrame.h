#pragma once
// The race page's "Modify driver details" frame: car, team, frequency and
// transponder of a driver of the start list, corrected just before a race.

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kv {

class MainContext;
class TransponderIdBox;

class RaceDriverFrame {
public:
    // Builds the frame, hidden, on the page.
    RaceDriverFrame(MainContext& main, QWidget* page);

    // Shows the frame with the driver's details; without them it stays as it is.
    void load(int driverId);
    // Stores the frame's details for the driver; true when they were stored.
    bool save(int driverId);

    QGroupBox* frame = nullptr;
    QLabel* lblRaceModifyDriverName = nullptr;
    QLineEdit* txtRaceModifyDriverCar = nullptr;
    QLineEdit* txtRaceModifyDriverTeam = nullptr;
    QLineEdit* txtRaceModifyDriverFrequency = nullptr;
    QCheckBox* chkRaceModifyDriverOwnTransponder = nullptr;
    TransponderIdBox* idBox = nullptr;
    QPushButton* cmdRaceModifyDriverSave = nullptr;

private:
    MainContext& m_main;
};

} // namespace kv
