#pragma once
// What the pages of the main window share. The main window owns this state and
// composes the pages; a page reaches another page only through these calls.

#include "Database.h"
#include "LapCounterSettings.h"

#include <QString>
#include <QtGlobal>

class KirvOCX;
class QLabel;

namespace kv {

class StatusIndicator;
struct TimingState;

struct MainState {
    Database DbConnection{QStringLiteral("DbConnection")};
    qint32 CurrentTournamentID = 0;
    // The lap counter set-up as typed on the Miscellaneous and practice pages.
    LapCounterSettings LapCounter;

    // Shared controls of the top strip.
    QLabel* lblTournamentName = nullptr;
    QLabel* lblTournamentLocation = nullptr;
    QLabel* lblHWStatusComport = nullptr;
    StatusIndicator* shapeHWStatusIndicator = nullptr;

    // The lap counter control, hidden on the main window.
    ::KirvOCX* KirvOCX = nullptr;
};

// What the lap counter's reader gave: an ID, or why there is none.
struct TransponderRead {
    enum Outcome { ID, NoCar, NoContact } outcome = NoContact;
    qint16 id = -1;
};
enum class TransponderWrite {
    Stored,
    NotStored, // no contact, or the counter refused it
    NotAnID,   // none of the counter's IDs: nothing was sent
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
    // The transponder ID tool: the ID on the lap counter's reader, and a rounded
    // typed number written into the transponder there.
    virtual TransponderRead GetTransponderID() = 0;
    virtual TransponderWrite SetTransponderID(double id) = 0;

    // The page switch is locked while a race or practice runs.
    virtual void SetToolbarEnabled(bool enabled) = 0;

    // The report previews and the details window of a race, for the race and
    // practice pages. A preview shows nothing when there is nothing to show.
    virtual void PreviewHeatResults(qint32 raceID) { Q_UNUSED(raceID); }
    virtual void PreviewLapProgress(qint32 raceID, qint32 startPosition) {
        Q_UNUSED(raceID);
        Q_UNUSED(startPosition);
    }
    virtual void ShowScoreDetails(qint32 raceID) { Q_UNUSED(raceID); }
};

} // namespace kv
