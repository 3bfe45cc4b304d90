#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Reads a list of parameters one at a time: the next read is due once the current one's
// reply has been applied or its time has run out. Keeps which reads went unanswered.
class ReadSequence {
public:
    // Starts over with count reads; with none it is finished at once.
    void start(qsizetype count);
    bool running() const { return m_running; }
    // The read in flight, or -1 when not running.
    qsizetype current() const { return m_running ? m_next : -1; }
    qsizetype total() const { return m_total; }
    // Reads completed either way.
    qsizetype finished() const { return m_next; }

    // The current read's reply was applied, or its time ran out; each moves on to the next
    // read and returns whether one remains. Ignored when not running.
    bool answered() { return advance(false); }
    bool timedOut() { return advance(true); }
    void cancel();
    bool cancelled() const { return m_cancelled; }
    // Indices of the reads that did not answer, in order.
    const QList<qsizetype>& silent() const { return m_silent; }

private:
    bool advance(bool silent);

    qsizetype m_total = 0;
    qsizetype m_next = 0;
    bool m_running = false;
    bool m_cancelled = false;
    QList<qsizetype> m_silent;
};

// The time one read may take, from its configuration attribute in milliseconds; an absent,
// unreadable or unreasonable value (below 50 ms or above a minute) gives the default, 1 s.
int ReadTimeoutMs(const QString& attribute);
inline constexpr int kDefaultReadTimeoutMs = 1000;
