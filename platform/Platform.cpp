#include "Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

namespace kv {

namespace {

QPointer<QWidget>& dialogParent() {
    static QPointer<QWidget> parent;
    return parent;
}

class RealMessageBoxes final : public MessageBoxes {
public:
    MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override {
        QMessageBox box(dialogParent());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        }
        switch (buttons) {
        case MsgButtons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MsgButtons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok:
            return MsgResult::OK;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        default:
            return MsgResult::Cancel;
        }
    }
    QString input(const QString& prompt, const QString& title,
                  const QString& defaultText) override {
        bool ok = false;
        const QString text = QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal,
                                                   defaultText, &ok);
        return ok ? text : QString();
    }
};

class RealSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& file) override {
        if (!QFileInfo::exists(file)) {
            QApplication::beep();
            return;
        }
        if (!m_effect)
            m_effect = std::make_unique<QSoundEffect>();
        m_effect->stop();
        m_effect->setSource(QUrl::fromLocalFile(file));
        m_effect->play();
    }

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

class RealDesktop final : public Desktop {
public:
    bool openUrl(const QString& url) override { return QDesktopServices::openUrl(QUrl(url)); }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

template <typename T, typename Real> std::shared_ptr<T>& slot() {
    static std::shared_ptr<T> impl;
    if (!impl)
        impl = std::make_shared<Real>();
    return impl;
}

} // namespace

MessageBoxes& messageBoxes() {
    return *slot<MessageBoxes, RealMessageBoxes>();
}
void setMessageBoxes(std::shared_ptr<MessageBoxes> impl) {
    slot<MessageBoxes, RealMessageBoxes>() =
        impl ? std::move(impl) : std::make_shared<RealMessageBoxes>();
}
SoundPlayer& soundPlayer() {
    return *slot<SoundPlayer, RealSoundPlayer>();
}
void setSoundPlayer(std::shared_ptr<SoundPlayer> impl) {
    slot<SoundPlayer, RealSoundPlayer>() =
        impl ? std::move(impl) : std::make_shared<RealSoundPlayer>();
}
Desktop& desktop() {
    return *slot<Desktop, RealDesktop>();
}
void setDesktop(std::shared_ptr<Desktop> impl) {
    slot<Desktop, RealDesktop>() = impl ? std::move(impl) : std::make_shared<RealDesktop>();
}
void setDialogParent(QWidget* parent) {
    dialogParent() = parent;
}

namespace {
void realSleep(int ms) {
    QThread::msleep(ulong(std::max(0, ms)));
}

std::function<void(int)>& sleepFunction() {
    static std::function<void(int)> fn = realSleep;
    return fn;
}
} // namespace

void setSleepFunction(std::function<void(int)> sleep) {
    sleepFunction() = sleep ? std::move(sleep) : realSleep;
}

} // namespace kv

kv::MsgResult MsgBox(const QString& prompt, kv::MsgButtons buttons, kv::MsgIcon icon,
                     const QString& title) {
    return kv::messageBoxes().message(prompt, buttons, icon, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return kv::messageBoxes().input(prompt, title, defaultText);
}

qint32 PlaySound(const QString& lpszSoundName, qint32) {
    kv::soundPlayer().play(lpszSoundName);
    return 0;
}

void Sleep(int dwMilliseconds) {
    kv::sleepFunction()(dwMilliseconds);
}
