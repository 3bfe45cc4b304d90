#pragma once

#include <QDateTime>
#include <QString>

// One write as the journal keeps it. valueBefore is empty when the device's value was not
// known; reply is what the device answered, or empty when it answered nothing in time.
struct JournalEntry {
    QDateTime time;
    QString port;
    qint32 address = 0;
    QString caption, valueBefore, valueWritten, reply;
};

// An append-only record of the writes sent to devices, as comma-separated lines in UTF-8.
// Each entry goes to the file in one write to a file opened for appending, under an exclusive
// lock (flock) on the journal's folder, so an entry is never interleaved with another
// process's, two processes never both start the file with a header or both rotate it, and
// one entry cut short by a full disk is taken back. A file about
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

private:
    QString m_path;
    qint64 m_maxBytes;
};
