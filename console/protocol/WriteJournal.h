#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One write as the journal keeps it. valueBefore is empty when the device's value was not
// known; reply is what the device answered, or empty when it answered nothing in time. The
// file says so in words ("unknown", "no answer"), so a row never reads as an empty value.
struct JournalEntry {
    QDateTime time;
    QString port;
    qint32 address = 0;
    QString caption, valueBefore, valueWritten, reply;
};

// An append-only record of the writes sent to devices, as comma-separated lines in UTF-8,
// one line per entry (line breaks inside a field become blanks). Each entry goes to the file
// in one write to a file opened for appending, under an exclusive lock (flock) on the
// journal's folder, and is flushed to the disk before append() returns, so an entry is never
// interleaved with another process's and two processes never both start the file with a
// header or both rotate it; one cut short by a full disk is taken back, and a line left torn
// by a crash is closed before the next entry, so it never swallows a whole one. A file about
// to pass maxBytes is renamed to the one older generation (".1" before the extension,
// replacing the previous one) and a new file started, so the journal never grows without
// bound.
class WriteJournal {
public:
    static constexpr qint64 kDefaultMaxBytes = 1024 * 1024;

    explicit WriteJournal(QString path, qint64 maxBytes = kDefaultMaxBytes);

    // False, with the system's reason, when the entry could not be written whole.
    bool append(const JournalEntry& entry, QString* error = nullptr);

    QString path() const { return m_path; }
    QString olderPath() const;
    static QString headerLine();
    static QString entryLine(const JournalEntry& entry);
    static constexpr const char* kUnknownBefore = "unknown";
    static constexpr const char* kNoAnswer = "no answer";

    struct Contents {
        QList<JournalEntry> entries; // the markers read back as empty fields
        QList<int> tornLines;        // lines that are no whole entry (a crash mid-append), from 1
    };
    // Reads a journal file's bytes; the header line and torn lines are passed over.
    static Contents read(const QByteArray& bytes);

private:
    QString m_path;
    qint64 m_maxBytes;
};
