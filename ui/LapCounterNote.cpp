#include "LapCounterNote.h"

#include "Colours.h"
#include "Ui.h"

#include <QLabel>

namespace kv {

LapCounterNote::LapCounterNote(QLabel* label, QString stopping, QString notStarted)
    : m_label(label), m_stopping(std::move(stopping)), m_notStarted(std::move(notStarted)) {
    m_label->setWordWrap(true);
    draw();
}

QString LapCounterNote::LostText(const QString& stopping, bool passesWait) {
    return QStringLiteral("Contact with the lap counter was lost. Stop ") + stopping +
           QStringLiteral(" when you are ready; every counted lap is ") +
           (passesWait ? QStringLiteral("kept.") : QStringLiteral("stored."));
}

QString LapCounterNote::LostAfterTheStopText(bool passesWait) {
    return QStringLiteral("Contact with the lap counter was lost. Every counted lap is ") +
           (passesWait ? QStringLiteral("kept.") : QStringLiteral("stored."));
}

QString LapCounterNote::LostBeforeTheGoText() {
    return QStringLiteral("Contact with the lap counter was lost during the countdown. The race "
                          "can be stopped once it has started.");
}

QString LapCounterNote::BackText() {
    return QStringLiteral("Contact with the lap counter is back. Cars that passed while it was "
                          "lost were not seen: those laps are missing.");
}

void LapCounterNote::lost(bool beforeGo) {
    if (m_state == State::NotStarted)
        return;
    m_state = State::Lost;
    m_beforeGo = beforeGo;
    m_stopped = false;
    draw();
}

void LapCounterNote::go() {
    if (!m_beforeGo)
        return;
    m_beforeGo = false;
    if (m_state == State::Lost)
        draw();
}

void LapCounterNote::back() {
    if (m_state != State::Lost)
        return;
    m_state = State::Back;
    draw();
}

void LapCounterNote::goneAgain() {
    if (m_state == State::Back)
        hide();
}

void LapCounterNote::notStarted() {
    m_state = State::NotStarted;
    draw();
}

void LapCounterNote::stopped(bool notStartedGoes) {
    m_stopped = true;
    if (m_state == State::NotStarted && notStartedGoes)
        hide();
    else if (m_state == State::Lost)
        draw();
}

void LapCounterNote::hide() {
    m_state = State::None;
    m_beforeGo = false;
    m_stopped = false;
    draw();
}

void LapCounterNote::setPassesWait(bool wait) {
    if (m_passesWait == wait)
        return;
    m_passesWait = wait;
    if (m_state == State::Lost)
        draw();
}

void LapCounterNote::draw() {
    m_label->setVisible(m_state != State::None);
    switch (m_state) {
    case State::None:
        return;
    case State::Lost:
        m_label->setText(m_stopped    ? LostAfterTheStopText(m_passesWait)
                         : m_beforeGo ? LostBeforeTheGoText()
                                      : LostText(m_stopping, m_passesWait));
        break;
    case State::Back:
        m_label->setText(BackText());
        break;
    case State::NotStarted:
        m_label->setText(m_notStarted);
        break;
    }
    setTextColour(m_label, m_state == State::Back ? QColor(Qt::black) : Colours::Red);
}

} // namespace kv
