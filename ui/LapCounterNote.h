#pragma once
// The note beside a board about the lap counter's contact while timing: lost
// (red), back (black), or a heat the counter was never started for (red).
// The race page and the practice page each keep one on their own label.

#include <QString>

class QLabel;

namespace kv {

class LapCounterNote {
public:
    // `stopping` is what the organiser stops: "the race", "practice".
    LapCounterNote(QLabel* label, QString stopping);

    // Contact lost while timing; the not-started note stays.
    void lost();
    // Only while the note of a lost contact shows.
    void back();
    // The start command did not reach the lap counter. Said until hidden; a
    // lost or returning contact does not replace it.
    void notStarted();
    void hide();
    // While passes wait to be stored, the lost note leaves the storing to the
    // waiting note.
    void setPassesWait(bool wait);

    static QString LostText(const QString& stopping, bool passesWait);
    static QString BackText();
    static QString NotStartedText();

private:
    enum class State { None, Lost, Back, NotStarted };
    void draw();

    QLabel* m_label;
    QString m_stopping;
    State m_state = State::None;
    bool m_passesWait = false;
};

} // namespace kv
