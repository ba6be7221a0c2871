#include "PendingWrites.h"

#include "Database.h"

namespace kv {

TimingWriteMode::TimingWriteMode(Database& db, int waitMs) : m_db(db), m_saved(db.busyTimeout()) {
    if (m_saved < 0)
        m_saved = Database::kDefaultBusyTimeoutMs;
    m_db.setBusyTimeout(waitMs);
}

TimingWriteMode::~TimingWriteMode() {
    m_db.setBusyTimeout(m_saved);
}

PendingWrites::PendingWrites(Database& db) : m_db(db) {}

bool PendingWrites::write(WriteKind kind, Step step) {
    m_queue.push_back({kind, std::move(step)});
    ++m_waitingOf[static_cast<size_t>(kind)];
    return flush();
}

bool PendingWrites::flush() {
    while (!m_queue.empty()) {
        QString error;
        if (!runOne(m_queue.front().step, &error)) {
            m_lastError = error;
            return false;
        }
        --m_waitingOf[static_cast<size_t>(m_queue.front().kind)];
        m_queue.pop_front();
    }
    return true;
}

bool PendingWrites::runOne(const Step& step, QString* error) {
    QuietDatabase quiet(m_db);
    Transaction trans(m_db);
    bool ok = trans.active() && step(m_db, error) && trans.commit();
    if (!ok && error->isEmpty())
        *error = quiet.error();
    return ok;
}

} // namespace kv
