#include "console/protocol/ReceiveLog.h"

#include <algorithm>

namespace {

// Storage comes in chunks so that memory follows what is held and the oldest text can leave
// without moving the rest. A chunk also ends after a set number of lines, so that empty lines,
// which take no characters, still take memory the cap sees.
constexpr qsizetype kChunkChars = 256 * 1024;
constexpr std::size_t kChunkLines = 64 * 1024;
constexpr qint64 kChunkBytes = kChunkChars * qint64(sizeof(char16_t)) + qint64(kChunkLines * sizeof(quint32));

} // namespace

// A line lies wholly within one chunk, so it can be read without copying.
struct ReceiveLog::Chunk {
    std::unique_ptr<char16_t[]> chars = std::make_unique_for_overwrite<char16_t[]>(kChunkChars);
    qsizetype used = 0;
    std::vector<quint32> starts; // where each line that begins here starts
    qint64 firstLine = 0;        // the number of that first line
    qint64 charsBefore = 0;      // characters in the chunks before this one since the clear
};

ReceiveLog::ReceiveLog(qint64 capBytes) : m_capBytes(std::max(capBytes, 2 * kChunkBytes)) {
    clear();
}

ReceiveLog::~ReceiveLog() = default;

void ReceiveLog::clear() {
    m_chunks.clear();
    m_chunks.emplace_back();
    m_chunks.back().starts.push_back(0);
    m_lineCount = 1;
    m_keptChars = 0;
    m_droppedLines = 0;
    m_droppedChars = 0;
    m_longestLine = 0;
    m_carriageReturnPending = false;
}

qsizetype ReceiveLog::currentLineLength() const {
    const Chunk& c = m_chunks.back();
    return c.used - qsizetype(c.starts.back());
}

void ReceiveLog::grewCurrentLine(qsizetype chars) {
    m_chunks.back().used += chars;
    m_keptChars += chars;
    m_appendedChars += chars;
    m_longestLine = std::max(m_longestLine, currentLineLength());
}

void ReceiveLog::startChunk() {
    const Chunk& last = m_chunks.back();
    Chunk fresh;
    fresh.firstLine = last.firstLine + qint64(last.starts.size());
    fresh.charsBefore = last.charsBefore + last.used;
    m_chunks.push_back(std::move(fresh));
}

void ReceiveLog::breakLine() {
    if (m_chunks.back().starts.size() == kChunkLines || m_chunks.back().used == kChunkChars)
        startChunk();
    Chunk& c = m_chunks.back();
    c.starts.push_back(quint32(c.used));
    ++m_lineCount;
    dropOldest();
}

// The line being appended to moves whole to a fresh chunk when this one cannot take the
// characters; a line is never longer than kMaxLineChars, so that copy is small.
void ReceiveLog::makeRoom(qsizetype chars) {
    Chunk& full = m_chunks.back();
    if (full.used + chars <= kChunkChars)
        return;
    const qsizetype start = full.starts.back();
    const qsizetype length = full.used - start;
    full.starts.pop_back();
    Chunk fresh;
    fresh.firstLine = full.firstLine + qint64(full.starts.size());
    std::copy_n(full.chars.get() + start, length, fresh.chars.get());
    fresh.used = length;
    fresh.starts.push_back(0);
    full.used = start;
    fresh.charsBefore = full.charsBefore + full.used;
    if (full.starts.empty())
        m_chunks.pop_back();
    m_chunks.push_back(std::move(fresh));
    dropOldest();
}

void ReceiveLog::dropOldest() {
    while (storageBytes() > m_capBytes && m_chunks.size() > 1) {
        const Chunk& oldest = m_chunks.front();
        m_droppedLines += qint64(oldest.starts.size());
        m_lineCount -= qint64(oldest.starts.size());
        m_droppedChars += oldest.used;
        m_keptChars -= oldest.used;
        m_chunks.pop_front();
    }
}

qint64 ReceiveLog::storageBytes() const {
    return qint64(m_chunks.size()) * kChunkBytes;
}

template <class Char, class Put> void ReceiveLog::appendChars(const Char* data, qsizetype size, Put put) {
    qsizetype i = 0;
    while (i < size) {
        const Char c = data[i];
        if (m_carriageReturnPending) {
            m_carriageReturnPending = false;
            if (c == Char('\n')) {
                ++i;
                continue;
            }
        }
        if (c == Char('\r') || c == Char('\n')) {
            breakLine();
            m_carriageReturnPending = c == Char('\r');
            ++i;
            continue;
        }
        qsizetype runEnd = i + 1;
        while (runEnd < size && data[runEnd] != Char('\r') && data[runEnd] != Char('\n'))
            ++runEnd;
        while (i < runEnd) {
            if (currentLineLength() == kMaxLineChars)
                breakLine();
            const qsizetype n = std::min(runEnd - i, kMaxLineChars - currentLineLength());
            makeRoom(n);
            Chunk& back = m_chunks.back();
            put(data + i, n, back.chars.get() + back.used);
            grewCurrentLine(n);
            i += n;
        }
    }
}

void ReceiveLog::appendLatin1(QByteArrayView bytes) {
    appendChars(bytes.data(), bytes.size(), [](const char* from, qsizetype n, char16_t* to) {
        for (qsizetype k = 0; k < n; ++k)
            to[k] = char16_t(static_cast<unsigned char>(from[k]));
    });
}

void ReceiveLog::appendText(QStringView text) {
    appendChars(text.utf16(), text.size(),
                [](const char16_t* from, qsizetype n, char16_t* to) { std::copy_n(from, n, to); });
}

void ReceiveLog::appendHex(QByteArrayView bytes) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    if (!bytes.isEmpty())
        m_carriageReturnPending = false;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype pairsThatFit = (kMaxLineChars - currentLineLength()) / 3;
        if (pairsThatFit == 0) {
            breakLine();
            continue;
        }
        const qsizetype n = std::min(bytes.size() - i, pairsThatFit);
        makeRoom(3 * n);
        Chunk& back = m_chunks.back();
        char16_t* out = back.chars.get() + back.used;
        for (qsizetype k = 0; k < n; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[i + k]);
            *out++ = digits[byte >> 4];
            *out++ = digits[byte & 0x0F];
            *out++ = u' ';
        }
        grewCurrentLine(3 * n);
        i += n;
    }
}

const ReceiveLog::Chunk& ReceiveLog::chunkOfLine(qint64 number) const {
    auto it = std::upper_bound(m_chunks.begin(), m_chunks.end(), number,
                               [](qint64 n, const Chunk& c) { return n < c.firstLine; });
    return *(it - 1);
}

QStringView ReceiveLog::line(qint64 index) const {
    if (index < 0 || index >= m_lineCount)
        return {};
    const qint64 number = m_droppedLines + index;
    const Chunk& c = chunkOfLine(number);
    const std::size_t k = std::size_t(number - c.firstLine);
    const qsizetype start = c.starts[k];
    const qsizetype end = k + 1 < c.starts.size() ? qsizetype(c.starts[k + 1]) : c.used;
    return QStringView(c.chars.get() + start, end - start);
}

QString ReceiveLog::text() const {
    QString all;
    all.reserve(length());
    for (qint64 i = 0; i < m_lineCount; ++i) {
        if (i > 0)
            all += u'\n';
        all += line(i);
    }
    return all;
}

// A line's offset is the characters before it plus one line break per line before it.
qint64 ReceiveLog::offsetOfLine(qint64 index) const {
    index = std::clamp<qint64>(index, 0, m_lineCount - 1);
    const qint64 number = m_droppedLines + index;
    const Chunk& c = chunkOfLine(number);
    const std::size_t k = std::size_t(number - c.firstLine);
    return c.charsBefore - m_droppedChars + qint64(c.starts[k]) + index;
}

ReceiveLog::Place ReceiveLog::placeAt(qint64 offset) const {
    offset = std::clamp<qint64>(offset, 0, length());
    auto chunkStart = [this](const Chunk& c) {
        return c.charsBefore - m_droppedChars + c.firstLine - m_droppedLines;
    };
    auto it = std::upper_bound(m_chunks.begin(), m_chunks.end(), offset,
                               [&](qint64 o, const Chunk& c) { return o < chunkStart(c); });
    const Chunk& c = *(it - 1);
    const qint64 within = offset - chunkStart(c);
    // Line k of the chunk starts starts[k] + k characters after the chunk's first line.
    std::size_t lo = 0, hi = c.starts.size();
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (qint64(c.starts[mid]) + qint64(mid) <= within)
            lo = mid;
        else
            hi = mid;
    }
    const qint64 index = c.firstLine - m_droppedLines + qint64(lo);
    return {index, qsizetype(within - qint64(c.starts[lo]) - qint64(lo))};
}

QString ReceiveLog::textBetween(qint64 from, qint64 to) const {
    from = std::clamp<qint64>(from, 0, length());
    to = std::clamp<qint64>(to, from, length());
    QString out;
    out.reserve(to - from);
    Place p = placeAt(from);
    qint64 left = to - from;
    while (left > 0) {
        const QStringView l = line(p.line).sliced(p.column);
        const qint64 n = std::min<qint64>(left, l.size());
        out += l.first(n);
        left -= n;
        if (left > 0) {
            out += u'\n';
            --left;
        }
        p = {p.line + 1, 0};
    }
    return out;
}
