#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// The received text the receive view shows, as lines. Appending costs time in proportion to
// what is appended, never to what is held; reading a line costs a search over the storage
// chunks. What is held is capped: past the cap the oldest lines leave, and how many
// characters left is counted so the view can say so.
//
// Line breaks: CR, LF and CR LF each end a line, also when the CR LF is split between two
// appends. A line is continued on the next one once it holds kMaxLineChars characters, so
// no line ever costs more than that to lay out; the hexadecimal form continues only between
// byte pairs, never splitting a byte's two digits.
class ReceiveLog {
public:
    static constexpr qsizetype kMaxLineChars = 4096;
    // What the view keeps of a long session, in bytes of storage (two per character).
    static constexpr qint64 kDefaultCapBytes = qint64(64) << 20;

    explicit ReceiveLog(qint64 capBytes = kDefaultCapBytes);
    ~ReceiveLog();
    ReceiveLog(const ReceiveLog&) = delete;
    ReceiveLog& operator=(const ReceiveLog&) = delete;

    // Text with one character per received byte (Latin-1), or any other text such as a time
    // stamp.
    void appendLatin1(QByteArrayView bytes);
    void appendText(QStringView text);
    // Two upper-case hexadecimal digits and a space per byte.
    void appendHex(QByteArrayView bytes);
    // Back to one empty line; the count of dropped characters starts again.
    void clear();

    // Always at least one line (the one being appended to, perhaps empty).
    qint64 lineCount() const { return m_lineCount; }
    // Valid until the next change of the log.
    QStringView line(qint64 index) const;
    qsizetype longestLine() const { return m_longestLine; }
    // Lines dropped from the front since the last clear get numbers that stay put: line
    // index i is line number firstLineNumber() + i for as long as it is held.
    qint64 firstLineNumber() const { return m_droppedLines; }
    qint64 droppedCharacters() const { return m_droppedChars; }

    // The length of text() without building it.
    qint64 length() const { return m_keptChars + m_lineCount - 1; }
    // Every character ever appended, line breaks not counted; never goes back, not even on
    // clear, so a view can tell whether it has drawn everything.
    qint64 appendedCharacters() const { return m_appendedChars; }
    // The lines held, joined by '\n'.
    QString text() const;
    // Offsets into text() without building it: where a line starts, and the line and column
    // at an offset (an offset on a line break is the end of the line before it). Both search
    // the storage, so they cost the same at any size.
    qint64 offsetOfLine(qint64 index) const;
    struct Place {
        qint64 line;
        qsizetype column;
    };
    Place placeAt(qint64 offset) const;
    // text().mid(from, to - from), built from the lines it touches only.
    QString textBetween(qint64 from, qint64 to) const;
    qint64 storageBytes() const;

private:
    struct Chunk;

    template <class Char, class Put> void appendChars(const Char* data, qsizetype size, Put put);
    void breakLine();
    void makeRoom(qsizetype chars);
    void startChunk();
    void dropOldest();
    qsizetype currentLineLength() const;
    void grewCurrentLine(qsizetype chars);
    const Chunk& chunkOfLine(qint64 number) const;

    std::deque<Chunk> m_chunks;
    qint64 m_capBytes;
    qint64 m_lineCount = 0;
    qint64 m_keptChars = 0;
    qint64 m_appendedChars = 0;
    qint64 m_droppedLines = 0;
    qint64 m_droppedChars = 0;
    qsizetype m_longestLine = 0;
    bool m_carriageReturnPending = false;
};
