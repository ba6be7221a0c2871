#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// A lap counter on a pseudo-terminal, for trying and testing the program without hardware.
// It speaks the counter's side of the line: "#S$" restarts its clock, "#F$" stops it, "#G$" reads
// the transponder on its reader, "#I..$" writes it; while its clock runs it sends "#P" pass frames
// (from a script or a live simulation of cars) and "#U" clock frames. The line is served by a
// thread of its own, so it answers while the program's thread is blocked.
class LapCounterEmulator {
public:
    static constexpr int kClockFrame = -1;

    // One frame the counter sends at `timeMs` on its clock: a pass of `car`, or a clock frame.
    struct ScriptedFrame {
        qint32 timeMs = 0;
        int car = kClockFrame;
        friend bool operator==(const ScriptedFrame&, const ScriptedFrame&) = default;
    };

    enum class Pacing {
        Wire,   // no faster than 19200 baud, about 1920 characters a second
        FlatOut // every frame as soon as it is due
    };

    // Lines of "<ms> <car>" or "<ms> U"; blank lines and lines starting with ';' are skipped.
    // The frames come back in time order.
    static std::optional<QList<ScriptedFrame>> parseScript(const QString& text,
                                                           QString* error = nullptr);
    // "<folder>/COM<N>"
    static QString portLinkPath(const QString& portsFolder, int portNumber);

    LapCounterEmulator();
    ~LapCounterEmulator();
    LapCounterEmulator(const LapCounterEmulator&) = delete;
    LapCounterEmulator& operator=(const LapCounterEmulator&) = delete;

    // Creates the pseudo-terminal and starts serving it.
    bool open(QString* error = nullptr);
    // Stops serving, removes the link placed by placeLink() and closes the pseudo-terminal.
    void close();
    // The line goes away, as when the counter's adapter is unplugged: the program's port loses its
    // device. The counter itself goes on (its clock keeps running) and what it sends meanwhile is
    // lost. The link placed by placeLink() stays, leading nowhere.
    void unplug();
    // The line comes back on a new pseudo-terminal, and the link placed by placeLink() leads to
    // it; frames that fell due while unplugged are gone.
    bool plugIn(QString* error = nullptr);
    // The device the program opens, e.g. /dev/pts/3.
    QString devicePath() const;
    // A symbolic link to the device (an existing link there is replaced).
    bool placeLink(const QString& linkPath, QString* error = nullptr);

    // These may be changed at any time; they take effect at the next "#S$".
    void setScript(const QList<ScriptedFrame>& frames);
    void setLiveCars(int cars, int lapMs);
    // A clock frame every `milliseconds` of the counter's clock; 0 sends none.
    void setClockInterval(int milliseconds);
    // The counter's clock runs `rate` times as fast as real time (1 by default), so a scripted
    // race of minutes plays in seconds. Frame times stay the counter's own; in Wire pacing the
    // frames still leave no faster than the line carries them. Values of 0 or below count as 1;
    // the rate is at most a million.
    void setClockRate(double rate);

    void setPacing(Pacing pacing);
    // The transponder lying on the reader, or none.
    void setTransponder(std::optional<int> id);
    std::optional<int> transponder() const;

    // Every command frame received, in order.
    QStringList commandsReceived() const;
    bool clockRunning() const;

    // Called from the emulator's thread for every command and reply, with the emulator's lock
    // held: the callback must not call back into the emulator.
    void setLog(std::function<void(const QString&)> log);
    // Called like the log, right after a frame was handed to the line: the frame and whether all
    // of it went out (a line that nobody reads fills up and loses frames).
    void setSentHook(std::function<void(const QByteArray& frame, bool complete)> hook);

private:
    bool openLine(QString* error);
    void closeLine();

    struct State;
    std::unique_ptr<State> d;
};
