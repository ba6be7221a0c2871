#include "Platform.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

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

// A wave file read into memory: the format and the samples.
struct WaveSound {
    QAudioFormat format;
    QByteArray samples;
};

// Reads a wave file of whole-number or floating-point samples; false when the
// file is not one.
bool readWave(const QString& path, WaveSound& sound) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE")
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= data.size()) {
        const QByteArray id = data.mid(pos, 4);
        const qsizetype body = pos + 8;
        const qsizetype size =
            std::min<qsizetype>(qFromLittleEndian<quint32>(bytes + pos + 4), data.size() - body);
        if (id == "fmt ") {
            if (size < 16)
                return false;
            quint16 tag = qFromLittleEndian<quint16>(bytes + body);
            if (tag == 0xFFFE && size >= 26) // extensible: the sub-format's tag
                tag = qFromLittleEndian<quint16>(bytes + body + 24);
            const int bits = qFromLittleEndian<quint16>(bytes + body + 14);
            QAudioFormat::SampleFormat sampleFormat = QAudioFormat::Unknown;
            if (tag == 1 && bits == 8)
                sampleFormat = QAudioFormat::UInt8;
            else if (tag == 1 && bits == 16)
                sampleFormat = QAudioFormat::Int16;
            else if (tag == 1 && bits == 32)
                sampleFormat = QAudioFormat::Int32;
            else if (tag == 3 && bits == 32)
                sampleFormat = QAudioFormat::Float;
            sound.format.setSampleFormat(sampleFormat);
            sound.format.setChannelCount(qFromLittleEndian<quint16>(bytes + body + 2));
            sound.format.setSampleRate(int(qFromLittleEndian<quint32>(bytes + body + 4)));
            haveFormat = sound.format.isValid();
        } else if (id == "data") {
            sound.samples = data.mid(body, size);
            return haveFormat && !sound.samples.isEmpty();
        }
        pos = body + size + (size & 1);
    }
    return false;
}

// The sounds of the running application: each file read once, and the output
// of the sound playing. They belong to the application and are dropped while
// it is being destroyed (a post routine): the audio back end works only while
// the application object exists, so nothing of it may be left for the end of
// the process.
struct ApplicationSounds {
    QHash<QString, WaveSound> files;
    std::unique_ptr<QBuffer> playing;
    // One output, kept from sound to sound while the device and the format
    // stay the same: opening an output per sound costs more than the rest.
    std::unique_ptr<QAudioSink> output;
    QByteArray outputDevice;

    // The sound playing ends; the output stays for the next.
    void cutOff() {
        if (output)
            output->stop();
        playing.reset();
    }
    void stop() {
        cutOff();
        output.reset();
    }
};

ApplicationSounds*& applicationSoundsSlot() {
    static ApplicationSounds* sounds = nullptr;
    return sounds;
}

void dropApplicationSounds() {
    ApplicationSounds* sounds = std::exchange(applicationSoundsSlot(), nullptr);
    if (!sounds)
        return;
    sounds->stop();
    delete sounds;
}

// Null without an application object: there is nothing to play with then.
ApplicationSounds* applicationSounds() {
    ApplicationSounds*& sounds = applicationSoundsSlot();
    if (!sounds && QCoreApplication::instance()) {
        sounds = new ApplicationSounds;
        qAddPostRoutine(dropApplicationSounds);
    }
    return sounds;
}

class RealSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& file) override {
        ApplicationSounds* sounds = applicationSounds();
        if (!sounds)
            return;
        if (!QFileInfo::exists(file)) {
            if (qobject_cast<QApplication*>(QCoreApplication::instance()))
                QApplication::beep();
            return;
        }
        // A sound still playing is cut off by the next one.
        sounds->cutOff();
        auto sound = sounds->files.constFind(file);
        if (sound == sounds->files.cend()) {
            WaveSound read;
            if (!readWave(file, read))
                return; // tried again on the next play
            sound = sounds->files.insert(file, read);
        }
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(sound->format))
            return;
        sounds->playing = std::make_unique<QBuffer>();
        sounds->playing->setData(sound->samples);
        sounds->playing->open(QIODevice::ReadOnly);
        if (!sounds->output || sounds->outputDevice != device.id() ||
            sounds->output->format() != sound->format) {
            sounds->output = std::make_unique<QAudioSink>(device, sound->format);
            sounds->outputDevice = device.id();
        }
        sounds->output->start(sounds->playing.get());
    }
};

class RealDesktop final : public Desktop {
public:
    bool openUrl(const QString& url) override { return QDesktopServices::openUrl(QUrl(url)); }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

class RealFileDialogs final : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const SaveFileRequest& request) override {
        QFileDialog dialog(parent ? parent : dialogParent().data());
        ConfigureSaveDialog(dialog, request);
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        return dialog.selectedFiles().value(0);
    }
};

// Qt's progress dialog. The task runs on the window thread, so every update
// lets the waiting events run: the dialog paints itself (and whatever a closed
// box left on the screen) and takes the user's Cancel. The main window's timers
// and the lap counter's frames are handled meanwhile too, as under any modal
// box; being modal to the whole program, the dialog keeps every other window
// from starting anything.
class RealProgressBox final : public ProgressBox {
public:
    RealProgressBox(QWidget* parent, const QString& title, const QString& text)
        : m_dialog(new QProgressDialog(parent ? parent : dialogParent().data())) {
        m_dialog->setWindowTitle(title);
        m_dialog->setLabelText(text);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        // The dialog stays as it is until it goes: a full bar neither hides it
        // nor forgets a Cancel.
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        // The dialog's own button: one set in its place would leave Escape
        // with two shortcuts, and then neither of them cancels.
        m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
        if (auto* cancel = m_dialog->findChild<QPushButton*>()) {
            cancel->setObjectName(QStringLiteral("cmdCancel"));
            cancel->setAccessibleName(QStringLiteral("Cancel"));
        }
        m_dialog->setRange(0, 0);
        m_dialog->show();
        QCoreApplication::processEvents();
    }
    ~RealProgressBox() override { delete m_dialog.data(); }
    RealProgressBox(const RealProgressBox&) = delete;
    RealProgressBox& operator=(const RealProgressBox&) = delete;

    bool update(const QString& text, qint64 done, qint64 total) override {
        if (m_dialog && !m_dialog->wasCanceled()) {
            // The bar counts in int: a size beyond it moves in coarser steps.
            int shift = 0;
            while ((std::max(done, total) >> shift) > std::numeric_limits<int>::max())
                ++shift;
            m_dialog->setLabelText(text);
            m_dialog->setRange(0, int(total >> shift)); // 0 to 0: the size is not known
            m_dialog->setValue(int((total > 0 ? std::min(done, total) : 0) >> shift));
        }
        QCoreApplication::processEvents();
        return m_dialog && !m_dialog->wasCanceled();
    }

private:
    QPointer<QProgressDialog> m_dialog;
};

class RealProgressBoxes final : public ProgressBoxes {
public:
    std::unique_ptr<ProgressBox> open(QWidget* parent, const QString& title,
                                      const QString& text) override {
        return std::make_unique<RealProgressBox>(parent, title, text);
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
FileDialogs& fileDialogs() {
    return *slot<FileDialogs, RealFileDialogs>();
}
void setFileDialogs(std::shared_ptr<FileDialogs> impl) {
    slot<FileDialogs, RealFileDialogs>() =
        impl ? std::move(impl) : std::make_shared<RealFileDialogs>();
}

ProgressBoxes& progressBoxes() {
    return *slot<ProgressBoxes, RealProgressBoxes>();
}
void setProgressBoxes(std::shared_ptr<ProgressBoxes> impl) {
    slot<ProgressBoxes, RealProgressBoxes>() =
        impl ? std::move(impl) : std::make_shared<RealProgressBoxes>();
}

void ConfigureSaveDialog(QFileDialog& dialog, const SaveFileRequest& request) {
    // Qt's own dialog: it adds the default suffix to the typed name before it
    // checks for an existing file, which a desktop's dialog need not do.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(request.caption);
    if (!request.filter.isEmpty())
        dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    const QFileInfo proposed(request.path);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
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
