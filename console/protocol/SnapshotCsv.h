#pragma once

#include "config/Language.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One parameter of a snapshot as the file keeps it. deviceValue is what a Write would send
// (a choice's value, a hexadecimal field's decimal number), shownText what the field showed.
struct SnapshotRow {
    QString page, tag, address, captionCN, captionEN, deviceValue, shownText, timeRead;
    bool operator==(const SnapshotRow&) const = default;
};

// The snapshot file: comma-separated values in UTF-8 with a byte-order mark (so spreadsheets
// take it as UTF-8), CR LF line ends, a header row, fields quoted where they hold a comma, a
// quote, a line break or blanks at either end.
QByteArray SnapshotToCsv(const QList<SnapshotRow>& rows);

// Puts a snapshot file at path whole or not at all: written beside it, flushed to the disk
// and renamed over it, so a full disk or a read-only folder leaves any previous file as it
// was and no partial one. Empty on success, else why not, in words a user can act on.
QString WriteSnapshotFile(const QString& path, const QList<SnapshotRow>& rows, Language language);

// One field as written to a comma-separated file: quoted, quotes doubled, where needed.
QString CsvField(const QString& field);

// Separated text as records of cells: quotes as CsvField writes them, records ended by CR LF,
// LF or CR outside quotes. lines, when given, gets each record's first file line (from 1);
// unclosedQuote gets the line of a quote never closed (then the records are incomplete), else 0.
QList<QStringList> SplitCsv(const QString& text, QChar separator, QList<int>* lines = nullptr,
                            int* unclosedQuote = nullptr);

struct SnapshotParse {
    enum class Fault {
        None,
        Empty,         // nothing in the file
        NotText,       // a binary file (line: the first line with such bytes)
        Encoding,      // neither UTF-8, UTF-16 with its mark, nor GB18030 (line: the first bad line)
        NoHeader,      // the first line lacks columns (missingColumns names them)
        UnclosedQuote, // line: where the quote opened
        ShortRow,      // line: the row with fewer cells than the header
    };
    QList<SnapshotRow> rows;
    QList<int> rowLines; // the file line each row starts on, from 1
    Fault fault = Fault::None;
    int line = 0; // the file line where the fault was found, from 1; 0 where no line applies
    QStringList missingColumns;
    QString encoding;       // as the file was read
    QChar separator = u','; // as the file was read
    bool ok() const { return fault == Fault::None; }
};

// Reads a snapshot file: UTF-8 (with or without a byte-order mark), UTF-16 with its mark, or
// GB18030/GBK; cells separated by commas, semicolons or tabs, whichever the header row is
// written with, as spreadsheets save in different locales. Columns are found by their header
// names, in any order and any case, so a file re-saved from a spreadsheet still reads;
// further columns are ignored and blank lines (also lines of empty cells) skipped. A fault
// leaves rows empty.
SnapshotParse SnapshotFromCsv(const QByteArray& bytes);

// What went wrong, for the person loading the file, naming the encoding, the missing columns
// or the line; empty when nothing did.
QString SnapshotFaultText(const SnapshotParse& parse, Language language);
