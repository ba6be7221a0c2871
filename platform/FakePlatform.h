#pragma once
// Fakes of the platform layers for tests: message boxes and save dialogs
// answered from a queue and recorded, progress boxes, sounds and browser calls
// recorded.

#include "Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <functional>

namespace kv {

struct RecordedMessage {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    QList<RecordedMessage> messages;
    QList<MsgResult> answers; // used front first; when empty: OK or Yes
    QStringList prompts;
    QStringList inputAnswers;
    // Runs while a message box is shown, as the event loop would (timers, the
    // lap counter's events).
    std::function<void(const RecordedMessage&)> whileShown;

    MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override {
        messages.append({text, buttons, icon, title});
        if (whileShown) {
            const RecordedMessage shown = messages.last(); // the callback may show more
            whileShown(shown);
        }
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                                  : MsgResult::OK;
    }
    QString input(const QString& prompt, const QString&, const QString& defaultText) override {
        prompts.append(prompt);
        return inputAnswers.isEmpty() ? defaultText : inputAnswers.takeFirst();
    }
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

class FakeSoundPlayer final : public SoundPlayer {
public:
    QStringList played;
    void play(const QString& file) override { played.append(file); }
};

class FakeDesktop final : public Desktop {
public:
    QStringList urls;
    QList<QPair<QString, QStringList>> started;
    bool result = true;
    bool openUrl(const QString& url) override {
        urls.append(url);
        return result;
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started.append({program, arguments});
        return result;
    }
};

// A save dialog answered from a queue of typed names. Like the real dialog it
// reads a relative name in the proposed folder, adds the default suffix to a
// name without a dot, and asks before it hands over a file that exists.
class FakeFileDialogs final : public FileDialogs {
public:
    QList<SaveFileRequest> requests;
    QStringList typedNames;          // used front first; when empty: Cancel
    QList<MsgResult> replaceAnswers; // used front first; when empty: Yes
    QStringList replaceQuestions;    // the files the dialog asked about

    QString saveFileName(QWidget*, const SaveFileRequest& request) override {
        requests.append(request);
        if (typedNames.isEmpty())
            return QString();
        QString file =
            QFileInfo(request.path).absoluteDir().absoluteFilePath(typedNames.takeFirst());
        if (!request.defaultSuffix.isEmpty() && !QFileInfo(file).fileName().contains('.'))
            file += QLatin1Char('.') + request.defaultSuffix;
        if (QFileInfo::exists(file)) {
            replaceQuestions.append(file);
            if (!replaceAnswers.isEmpty() && replaceAnswers.takeFirst() != MsgResult::Yes)
                return QString();
        }
        return file;
    }
};

// Progress boxes that record what they show; the user cancels at one update
// when the test says so.
class FakeProgressBoxes final : public ProgressBoxes {
public:
    struct Shown {
        QString text;
        qint64 done = 0;
        qint64 total = 0;
    };
    QStringList titles; // one for each box opened
    QList<Shown> shown; // each box's opening text (done and total 0) and updates
    int cancelAt = -1;  // the update (counted from 0 in each box) that Cancel ends
    int openBoxes = 0;  // the boxes open now

    std::unique_ptr<ProgressBox> open(QWidget*, const QString& title,
                                      const QString& text) override {
        titles.append(title);
        shown.append({text, 0, 0});
        return std::make_unique<Box>(*this);
    }

private:
    class Box final : public ProgressBox {
    public:
        explicit Box(FakeProgressBoxes& boxes) : m_boxes(boxes) { ++m_boxes.openBoxes; }
        ~Box() override { --m_boxes.openBoxes; }
        Box(const Box&) = delete;
        Box& operator=(const Box&) = delete;
        bool update(const QString& text, qint64 done, qint64 total) override {
            m_boxes.shown.append({text, done, total});
            m_cancelled = m_cancelled || m_updates++ == m_boxes.cancelAt;
            return !m_cancelled;
        }

    private:
        FakeProgressBoxes& m_boxes;
        int m_updates = 0;
        bool m_cancelled = false;
    };
};

// Installs fakes for the life of a test and restores the real layers afterwards.
class FakePlatform {
public:
    std::shared_ptr<FakeMessageBoxes> boxes = std::make_shared<FakeMessageBoxes>();
    std::shared_ptr<FakeSoundPlayer> sounds = std::make_shared<FakeSoundPlayer>();
    std::shared_ptr<FakeDesktop> desk = std::make_shared<FakeDesktop>();
    std::shared_ptr<FakeFileDialogs> files = std::make_shared<FakeFileDialogs>();
    std::shared_ptr<FakeProgressBoxes> progress = std::make_shared<FakeProgressBoxes>();
    QList<int> sleeps;
    FakePlatform() {
        setSleepFunction([this](int ms) { sleeps.append(ms); });
        setMessageBoxes(boxes);
        setSoundPlayer(sounds);
        setDesktop(desk);
        setFileDialogs(files);
        setProgressBoxes(progress);
    }
    ~FakePlatform() {
        setSleepFunction(nullptr);
        setMessageBoxes(nullptr);
        setSoundPlayer(nullptr);
        setDesktop(nullptr);
        setFileDialogs(nullptr);
        setProgressBoxes(nullptr);
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;
};

} // namespace kv
