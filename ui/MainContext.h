#pragma once
// What the pages of the main window share. The main window owns this state and
// composes the pages; a page reaches another page only through these calls.

#include "Database.h"

#include <QString>
#include <QtGlobal>

class KirvOCX;
class QLabel;
class QLineEdit;

namespace kv {

class StatusIndicator;
struct TimingState;

struct MainState {
    Database DbConnection{QStringLiteral("DbConnection")};
    qint32 CurrentTournamentID = 0;

    // Shared controls of the top strip.
    QLabel* lblTournamentName = nullptr;
    QLabel* lblTournamentLocation = nullptr;
    QLabel* lblHWStatusComport = nullptr;
    StatusIndicator* shapeHWStatusIndicator = nullptr;

    // The lap counter control, hidden on the main window.
    ::KirvOCX* KirvOCX = nullptr;
};

class MainContext {
public:
    virtual ~MainContext() = default;
    virtual MainState& state() = 0;
    // What the lap counter is timing: mode, current race, clocks and car slots.
    virtual TimingState& timing() = 0;
    Database& db() { return state().DbConnection; }

    // Page refreshes other pages ask for.
    virtual void FillTournamentCombo() = 0;
    virtual void FillDriverCombo(qint64 driverToSelect) = 0;
    virtual void RefreshManagerTab() = 0;
    virtual void RefreshDriverGrid() = 0;

    // The lap counter link: opens the port when it is not open (false, after
    // telling the user, when it cannot be opened), and the full connection test.
    virtual bool OpenLapCounterPort() = 0;
    virtual bool TestLapCounterConnection() = 0;
    // The transponder ID tool, for each page's own ID box.
    virtual void ReadTransponderID(QLineEdit* box) = 0;
    virtual void WriteTransponderID(QLineEdit* box) = 0;
    virtual void TransponderIDBoxChanged(QLineEdit* box) = 0;

    // The page switch is locked while a race or practice runs.
    virtual void SetToolbarEnabled(bool enabled) = 0;
    // The transponder delay box of the lap counter set-up, as typed (seconds).
    virtual QString TransponderDelayText() const = 0;
};

} // namespace kv
