#include "frmSplash.h"

#include "Artwork.h"
#include "Ui.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace kv {

frmSplash::frmSplash(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(tw(8985), tw(5970));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgSplash"));
    picture->setPixmap(splashPicture());
    picture->setGeometry(0, 0, width(), height());

    lblVersion = new QLabel(QStringLiteral("Version X.X"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    place(lblVersion, 7560, 5640, 1215, 375);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVersion->setFont(formFont(8.25, true));
    lblVersion->setStyleSheet(QStringLiteral("color: #C0C0C0; background: transparent;"));

    tmrSplashTime.setInterval(5000);
    tmrSplashTime.setSingleShot(true);
    connect(&tmrSplashTime, &QTimer::timeout, this, &frmSplash::tmrSplashTime_Timer);
}

void frmSplash::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void frmSplash::Form_Load() {
    lblVersion->setText(m_strVersion);
    tmrSplashTime.start();
}

void frmSplash::tmrSplashTime_Timer() {
    tmrSplashTime.stop();
    done(QDialog::Accepted);
}

void frmSplash::Form_KeyPress(int) {
    tmrSplashTime.stop();
    done(QDialog::Accepted);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Keys that give a character close the splash; others (shift, arrows) do not.
    const QString text = event->text();
    if (!text.isEmpty()) {
        Form_KeyPress(text.at(0).unicode());
        return;
    }
    event->ignore();
}

} // namespace kv
