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

namespace {

QString keptOrStored(bool passesWait) {
    return passesWait ? QStringLiteral("kept.") : QStringLiteral("stored.");
}

} // namespace

QString LapCounterNote::LostText(const QString& stopping, bool passesWait) {
    return QStringLiteral("Contact with the lap counter was lost. Stop ") + stopping +
           QStringLiteral(" when you are ready; every counted lap is ") + keptOrStored(passesWait);
}

QString LapCounterNote::LostAfterTheStopText(bool passesWait) {
    return QStringLiteral("Contact with the lap counter was lost. Every counted lap is ") +
           keptOrStored(passesWait);
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
    m_phase = beforeGo ? Phase::BeforeGo : Phase::Timing;
    draw();
}

void LapCounterNote::go() {
    if (m_phase != Phase::BeforeGo)
        return;
    m_phase = Phase::Timing;
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
    m_phase = Phase::Stopped;
    if (m_state == State::NotStarted && notStartedGoes)
        hide();
    else if (m_state == State::Lost)
        draw();
}

void LapCounterNote::hide() {
    m_state = State::None;
    m_phase = Phase::Timing;
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
        m_label->setText(m_phase == Phase::Stopped    ? LostAfterTheStopText(m_passesWait)
                         : m_phase == Phase::BeforeGo ? LostBeforeTheGoText()
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
