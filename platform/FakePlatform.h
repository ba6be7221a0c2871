#pragma once
// Fakes of the platform layers for tests: message boxes answered from a queue
// and recorded, sounds and browser calls recorded.

#include "Platform.h"

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

// Installs fakes for the life of a test and restores the real layers afterwards.
class FakePlatform {
public:
    std::shared_ptr<FakeMessageBoxes> boxes = std::make_shared<FakeMessageBoxes>();
    std::shared_ptr<FakeSoundPlayer> sounds = std::make_shared<FakeSoundPlayer>();
    std::shared_ptr<FakeDesktop> desk = std::make_shared<FakeDesktop>();
    QList<int> sleeps;
    FakePlatform() {
        setSleepFunction([this](int ms) { sleeps.append(ms); });
        setMessageBoxes(boxes);
        setSoundPlayer(sounds);
        setDesktop(desk);
    }
    ~FakePlatform() {
        setSleepFunction(nullptr);
        setMessageBoxes(nullptr);
        setSoundPlayer(nullptr);
        setDesktop(nullptr);
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;
};

} // namespace kv
