#include "console/protocol/SnapshotCsv.h"

#include <QStringConverter>
#include <QStringDecoder>
#include <array>

namespace {

const std::array<const char*, 8> kHeader = {"page",       "tag",          "address",    "caption CN",
                                            "caption EN", "device value", "shown text", "time read"};
const QByteArray kBom("\xEF\xBB\xBF");

}

QString CsvField(const QString& field) {
    const bool needs = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                       field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n')) ||
                       (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needs)
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1String("\""), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

namespace {

QList<QString*> fieldsOf(SnapshotRow& r) {
    return {&r.page, &r.tag, &r.address, &r.captionCN, &r.captionEN, &r.deviceValue, &r.shownText, &r.timeRead};
}

// Splits CSV text into records of fields; lineOfRecord gets each record's first file line.
// Returns the line of an unclosed quote, or 0.
int splitRecords(const QString& text, QList<QStringList>& records, QList<int>& lineOfRecord) {
    QStringList record;
    QString field;
    bool inQuotes = false, fieldStarted = false;
    int line = 1, recordLine = 1, quoteLine = 0;
    auto endRecord = [&] {
        if (fieldStarted || !record.isEmpty()) {
            record << field;
            records << record;
            lineOfRecord << recordLine;
        }
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                line += c == QLatin1Char('\n');
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            fieldStarted = true;
            quoteLine = line;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            fieldStarted = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord();
            recordLine = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        return quoteLine;
    endRecord();
    return 0;
}

} // namespace

QByteArray SnapshotToCsv(const QList<SnapshotRow>& rows) {
    QStringList lines;
    QStringList header;
    for (const char* name : kHeader)
        header << QString::fromLatin1(name);
    lines << header.join(QLatin1Char(','));
    for (SnapshotRow row : rows) {
        QStringList fields;
        for (const QString* f : fieldsOf(row))
            fields << CsvField(*f);
        lines << fields.join(QLatin1Char(','));
    }
    return kBom + (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
}

SnapshotParse SnapshotFromCsv(const QByteArray& bytes) {
    SnapshotParse result;
    const QByteArray body = bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes;
    QStringDecoder decode(QStringConverter::Utf8);
    const QString text = decode(body);
    if (decode.hasError()) {
        result.fault = SnapshotParse::Fault::NotUtf8;
        return result;
    }
    QList<QStringList> records;
    QList<int> lines;
    if (const int unclosed = splitRecords(text, records, lines)) {
        result.fault = SnapshotParse::Fault::UnclosedQuote;
        result.line = unclosed;
        return result;
    }
    // Blank lines of a spreadsheet's export are one empty field.
    for (qsizetype i = records.size() - 1; i >= 0; --i)
        if (records[i].size() == 1 && records[i][0].trimmed().isEmpty()) {
            records.removeAt(i);
            lines.removeAt(i);
        }
    std::array<qsizetype, kHeader.size()> column{};
    for (size_t k = 0; k < kHeader.size(); ++k) {
        column[k] = -1;
        if (!records.isEmpty())
            for (qsizetype c = 0; c < records[0].size(); ++c)
                if (column[k] < 0 &&
                    records[0][c].trimmed().compare(QLatin1String(kHeader[k]), Qt::CaseInsensitive) == 0)
                    column[k] = c;
        if (column[k] < 0) {
            result.fault = SnapshotParse::Fault::NoHeader;
            result.line = 1;
            return result;
        }
    }
    for (qsizetype r = 1; r < records.size(); ++r) {
        SnapshotRow row;
        const QList<QString*> fields = fieldsOf(row);
        for (size_t k = 0; k < kHeader.size(); ++k) {
            if (column[k] >= records[r].size()) {
                result.fault = SnapshotParse::Fault::ShortRow;
                result.line = lines[r];
                result.rows.clear();
                return result;
            }
            *fields[k] = records[r][column[k]];
        }
        result.rows << row;
    }
    return result;
}
