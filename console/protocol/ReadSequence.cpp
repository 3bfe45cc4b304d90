#include "console/protocol/ReadSequence.h"

void ReadSequence::start(qsizetype count) {
    m_total = count;
    m_next = 0;
    m_cancelled = false;
    m_silent.clear();
    m_running = count > 0;
}

bool ReadSequence::advance(bool silent) {
    if (!m_running)
        return false;
    if (silent)
        m_silent.append(m_next);
    ++m_next;
    m_running = m_next < m_total;
    return m_running;
}

void ReadSequence::cancel() {
    if (!m_running)
        return;
    m_running = false;
    m_cancelled = true;
}

int ReadTimeoutMs(const QString& attribute) {
    bool ok = false;
    const int ms = attribute.trimmed().toInt(&ok);
    if (!ok || ms < 50 || ms > 60000)
        return kDefaultReadTimeoutMs;
    return ms;
}
