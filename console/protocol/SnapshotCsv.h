#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

// One field as written to a comma-separated file: quoted, quotes doubled, where needed.
QString CsvField(const QString& field);

struct SnapshotParse {
    enum class Fault { None, NotUtf8, NoHeader, UnclosedQuote, ShortRow };
    QList<SnapshotRow> rows;
    Fault fault = Fault::None;
    int line = 0; // the file line where the fault was found, from 1
    bool ok() const { return fault == Fault::None; }
};

// Reads a snapshot file. Columns are found by their header names, in any order and any
// case, so a file re-saved from a spreadsheet still reads; further columns are ignored and
// blank lines skipped. A fault leaves rows empty.
SnapshotParse SnapshotFromCsv(const QByteArray& bytes);
