#pragma once
// The main window's side of the lap counter link: opening the port on the
// configured number, the connection test and the status display.

#include "Colours.h"

#include <QColor>
#include <QString>

namespace kv {

struct MainState;

class LapCounterConnection {
public:
    // The port is the one the lap counter set-up holds now.
    explicit LapCounterConnection(MainState& state) : m_state(state) {}

    // Reopens the port, shows it in the status strip and asks the counter for an
    // ID: true when the counter answered (with or without a transponder).
    bool TestLapCounterConnection();
    // Opens the port when it is not open; a port that is open is kept.
    bool OpenLapCounterPort();
    // The counter's device went away while the port was open: the status shows no
    // contact at once. No message: the user sees the indicator, and the next
    // start or test reports a port that cannot be opened.
    void ConnectionLost();
    // Opens again the port that was lost, on the number it was open on (not
    // the box's, which may have changed since). The counter is not asked
    // anything: that would stop its clock. True when the port is open again;
    // contact is shown once the counter's first frame arrives on it.
    bool ReopenLostPort();
    // A frame came in from the counter: on an open port that is contact,
    // whatever the light showed (a port lost and opened again since, at a
    // start, by the connection test or the reopening above). True for the
    // first frame on a reopened lost port: contact is back.
    bool FrameArrived();

private:
    bool open();
    void showPortFailure();

    MainState& m_state;
    // The number the port was opened on; 0 while it is closed.
    qint16 m_openPort = 0;
    // The number of the port that went away, to open again.
    qint16 m_lostPort = 0;
    // Reopened after a loss; no frame has come in on it yet.
    bool m_reopenedSilent = false;
};

} // namespace kv
