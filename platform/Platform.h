#pragma once
// The small layers that stand in for the desktop platform: message and input
// boxes, the save file dialog, the progress box, sound, the web browser and
// starting another program. Every caller goes through these functions; tests
// replace the implementation behind them.

#include <QString>

#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

namespace kv {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgResult { OK, Cancel, Yes, No, Retry };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) = 0;
    // Returns the entered text; an empty text when the user cancels.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the file and returns at once; a sound still playing is cut
    // off. Failures are silent.
    virtual void play(const QString& file) = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a web page in the user's browser; false when none could be started.
    virtual bool openUrl(const QString& url) = 0;
    // Starts another program without waiting for it.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

// What a save dialog offers: the folder and name it proposes, the kinds of
// file it lists, and the suffix it adds to a name typed without one.
struct SaveFileRequest {
    QString caption;
    QString path; // the proposed folder and file name
    QString filter;
    QString defaultSuffix; // without the dot
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file the user chose; empty when the user cancels. The dialog adds
    // the default suffix before it asks whether an existing file may be
    // replaced, so the question covers the file that will be written.
    virtual QString saveFileName(QWidget* parent, const SaveFileRequest& request) = 0;
};

// A modal box that shows how far a long task on the window thread has come,
// with a Cancel button; it closes when the object goes.
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    // Shows the text and done of total (total 0: not known), then lets the
    // box paint itself and take a click or a key; false once the user has
    // cancelled (Cancel, Escape or the close box).
    virtual bool update(const QString& text, qint64 done, qint64 total) = 0;
};

class ProgressBoxes {
public:
    virtual ~ProgressBoxes() = default;
    // Opens the box over the parent and shows it at once.
    virtual std::unique_ptr<ProgressBox> open(QWidget* parent, const QString& title,
                                              const QString& text) = 0;
};

// Sets a save dialog up as the request asks (the real file dialogs use it).
void ConfigureSaveDialog(QFileDialog& dialog, const SaveFileRequest& request);

// The installed implementations; setting nullptr restores the real one.
MessageBoxes& messageBoxes();
void setMessageBoxes(std::shared_ptr<MessageBoxes> impl);
SoundPlayer& soundPlayer();
void setSoundPlayer(std::shared_ptr<SoundPlayer> impl);
Desktop& desktop();
void setDesktop(std::shared_ptr<Desktop> impl);
FileDialogs& fileDialogs();
void setFileDialogs(std::shared_ptr<FileDialogs> impl);
ProgressBoxes& progressBoxes();
void setProgressBoxes(std::shared_ptr<ProgressBoxes> impl);

// The blocking wait behind Sleep; nullptr restores the real one.
void setSleepFunction(std::function<void(int milliseconds)> sleep);

// The parent window of message boxes (the main window once it exists).
void setDialogParent(QWidget* parent);

} // namespace kv

// Shows a message box and returns the button pressed.
kv::MsgResult MsgBox(const QString& prompt, kv::MsgButtons buttons = kv::MsgButtons::OK,
                     kv::MsgIcon icon = kv::MsgIcon::None,
                     const QString& title = QStringLiteral("Kirv Vorel"));
QString InputBox(const QString& prompt, const QString& title = QStringLiteral("Kirv Vorel"),
                 const QString& defaultText = QString());

// Plays a wave file asynchronously; the flags are accepted for the callers'
// sake. Always returns 0.
qint32 PlaySound(const QString& lpszSoundName, qint32 uFlags);
inline constexpr qint32 SND_ASYNC = 1;

// Blocks the window thread; nothing else runs meanwhile.
void Sleep(int dwMilliseconds);
