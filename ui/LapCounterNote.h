#pragma once
// The note beside a board about the lap counter's contact while timing: lost
// (red), back (black), or a session the counter was never started for (red).
// The race page and the practice page each keep one on their own label.

#include <QString>

class QLabel;

namespace kv {

class LapCounterNote {
public:
    // `stopping` is what the organiser stops: "the race", "practice";
    // `notStarted` what the note says when the counter missed its start.
    LapCounterNote(QLabel* label, QString stopping, QString notStarted);

    // Contact lost while timing; the not-started note stays. Before the go
    // the race cannot be stopped yet, and the note does not ask for it.
    void lost(bool beforeGo = false);
    // The go: a note of a contact lost in the countdown now says the race can
    // be stopped.
    void go();
    // Only while the note of a lost contact shows.
    void back();
    // Contact lost while nothing is timed: a note that it is back is no
    // longer true and goes; the others stay.
    void goneAgain();
    // The start command did not reach the lap counter. Said until hidden; a
    // lost or returning contact does not replace it.
    void notStarted();
    // Timing has stopped: a note of a lost contact no longer asks for Stop,
    // and when `notStartedGoes` a note of a missed start goes.
    void stopped(bool notStartedGoes);
    void hide();
    // While passes wait to be stored, the lost note leaves the storing to the
    // waiting note.
    void setPassesWait(bool wait);

    static QString LostText(const QString& stopping, bool passesWait);
    static QString LostAfterTheStopText(bool passesWait);
    static QString LostBeforeTheGoText();
    static QString BackText();

private:
    enum class State { None, Lost, Back, NotStarted };
    // Where the timing stands, which the lost note's advice follows.
    enum class Phase { BeforeGo, Timing, Stopped };
    void draw();

    QLabel* m_label;
    QString m_stopping;
    QString m_notStarted;
    State m_state = State::None;
    bool m_passesWait = false;
    Phase m_phase = Phase::Timing;
};

} // namespace kv
