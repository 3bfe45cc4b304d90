#include "console/protocol/ReplyAssembler.h"

#include <algorithm>

namespace {

constexpr QByteArrayView kCrLf("\r\n");

} // namespace

QList<QByteArray> ReplyAssembler::feed(QByteArrayView block, qint64 nowMs) {
    QList<QByteArray> lines;
    qsizetype pos = 0;
    if (m_waiting && nowMs - m_startedMs > kMaxWaitMs)
        reset();
    if (m_waiting)
        pos = continueLine(block, lines);
    while (pos < block.size()) {
        const qsizetype dollar = block.indexOf('$', pos);
        if (dollar < 0)
            break;
        pos = startLine(block, pos, dollar, nowMs, lines);
    }
    return lines;
}

void ReplyAssembler::reset() {
    m_line.clear();
    m_waiting = false;
}

qsizetype ReplyAssembler::continueLine(QByteArrayView block, QList<QByteArray>& lines) {
    if (block.isEmpty())
        return 0;
    // The CR LF itself may be split between two blocks.
    if (m_line.endsWith('\r') && block.front() == '\n') {
        m_line.chop(1);
        lines.append(m_line);
        reset();
        return 1;
    }
    const qsizetype end = block.indexOf(kCrLf);
    if (end < 0) {
        keep(block);
        return block.size();
    }
    if (m_line.size() + end <= kMaxLineBytes) {
        m_line.append(block.first(end));
        lines.append(m_line);
    }
    reset();
    return end + kCrLf.size();
}

qsizetype ReplyAssembler::startLine(QByteArrayView block, qsizetype from, qsizetype dollar, qint64 nowMs,
                                    QList<QByteArray>& lines) {
    const qsizetype lastBreak = block.first(dollar).lastIndexOf(kCrLf);
    const qsizetype start = std::max(from, lastBreak < 0 ? 0 : lastBreak + kCrLf.size());
    const qsizetype end = block.indexOf(kCrLf, dollar);
    if (end >= 0) {
        if (end - start <= kMaxLineBytes)
            lines.append(block.sliced(start, end - start).toByteArray());
        return end + kCrLf.size();
    }
    m_waiting = true;
    m_startedMs = nowMs;
    m_line.clear();
    keep(block.sliced(start));
    return block.size();
}

void ReplyAssembler::keep(QByteArrayView piece) {
    // One byte more than a line may hold, for a CR whose LF is still to come.
    if (m_line.size() + piece.size() > kMaxLineBytes + 1) {
        reset();
        return;
    }
    m_line.append(piece);
}
