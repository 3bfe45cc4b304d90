#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

// Puts the device's text reply lines together from the receive blocks they arrive in.
//
// A reply line is a line holding a "$": it starts after the last CR LF before its "$" (or
// at the start of the block where it appears) and ends at its CR LF. A device or adapter may
// hand such a line over in several blocks; the pieces are collected until the CR LF comes,
// so the reply rule always sees the whole line. A line that does not end is given up once it
// holds more than kMaxLineBytes, or once a block arrives more than kMaxWaitMs after the block
// that brought its "$"; what follows it up to the next "$" is then no reply.
//
// Each block is scanned once; only the bytes of a line still waiting for its end are kept.
class ReplyAssembler {
public:
    static constexpr qsizetype kMaxLineBytes = 4096;
    static constexpr qint64 kMaxWaitMs = 1000;

    // The reply lines that the block completes, in order, without their CR LF. nowMs is a
    // monotonic millisecond clock.
    QList<QByteArray> feed(QByteArrayView block, qint64 nowMs);

    // Forgets a line still waiting for its end.
    void reset();
    bool waiting() const { return m_waiting; }

private:
    // Continues the waiting line with the block; returns where the scan for new lines goes on.
    qsizetype continueLine(QByteArrayView block, QList<QByteArray>& lines);
    // Starts a line at its "$" in the block, not before from; returns where the scan goes on.
    qsizetype startLine(QByteArrayView block, qsizetype from, qsizetype dollar, qint64 nowMs,
                        QList<QByteArray>& lines);
    void keep(QByteArrayView piece);

    QByteArray m_line;
    bool m_waiting = false;
    qint64 m_startedMs = 0;
};
