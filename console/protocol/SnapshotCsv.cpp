#include "console/protocol/SnapshotCsv.h"

#include "config/FileReplace.h"
#include "console/protocol/SpreadsheetText.h"

#include <array>
#include <utility>

namespace {

const std::array<const char*, 8> kHeader = {"page",       "tag",          "address",    "caption CN",
                                            "caption EN", "device value", "shown text", "time read"};
const QByteArray kBom("\xEF\xBB\xBF");

} // namespace

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
    return {&r.page,      &r.tag,         &r.address,   &r.captionCN,
            &r.captionEN, &r.deviceValue, &r.shownText, &r.timeRead};
}

// Splits separated text into records of fields; lineOfRecord gets each record's first file line.
// Returns the line of an unclosed quote, or 0.
int splitRecords(const QString& text, QChar separator, QList<QStringList>& records,
                 QList<int>& lineOfRecord) {
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
        } else if (c == separator) {
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

namespace {

bool blankRecord(const QStringList& record) {
    for (const QString& field : record)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

// For each header name, its column in the header record, or -1.
std::array<qsizetype, kHeader.size()> columnsOf(const QStringList& header) {
    std::array<qsizetype, kHeader.size()> column{};
    for (size_t k = 0; k < kHeader.size(); ++k) {
        column[k] = -1;
        for (qsizetype c = 0; c < header.size() && column[k] < 0; ++c)
            if (header[c].trimmed().compare(QLatin1String(kHeader[k]), Qt::CaseInsensitive) == 0)
                column[k] = c;
    }
    return column;
}

struct Records {
    QList<QStringList> records;
    QList<int> lines;
    int unclosedQuote = 0;
    int found = 0; // header names found in the first record
};

Records recordsWith(const QString& text, QChar separator) {
    Records r;
    QList<QStringList> records;
    QList<int> lines;
    r.unclosedQuote = splitRecords(text, separator, records, lines);
    for (qsizetype i = 0; i < records.size(); ++i)
        if (!blankRecord(records[i])) {
            r.records << std::move(records[i]);
            r.lines << lines[i];
        }
    if (!r.records.isEmpty())
        for (qsizetype c : columnsOf(r.records[0]))
            r.found += c >= 0;
    return r;
}

} // namespace

QList<QStringList> SplitCsv(const QString& text, QChar separator, QList<int>* lines, int* unclosedQuote) {
    QList<QStringList> records;
    QList<int> recordLines;
    const int unclosed = splitRecords(text, separator, records, recordLines);
    if (lines)
        *lines = recordLines;
    if (unclosedQuote)
        *unclosedQuote = unclosed;
    return records;
}

QString WriteSnapshotFile(const QString& path, const QList<SnapshotRow>& rows, Language language) {
    const int err = ReplaceFileContent(path, SnapshotToCsv(rows));
    return err == 0 ? QString() : FileErrorText(err, language);
}

SnapshotParse SnapshotFromCsv(const QByteArray& bytes) {
    SnapshotParse result;
    const DecodedText decoded = DecodeSpreadsheetText(bytes);
    result.encoding = decoded.encoding;
    switch (decoded.fault) {
    case DecodedText::Fault::None:
        break;
    case DecodedText::Fault::Empty:
        result.fault = SnapshotParse::Fault::Empty;
        return result;
    case DecodedText::Fault::NotText:
        result.fault = SnapshotParse::Fault::NotText;
        result.line = decoded.line;
        return result;
    case DecodedText::Fault::Encoding:
        result.fault = SnapshotParse::Fault::Encoding;
        result.line = decoded.line;
        return result;
    }
    // The separator is the one the header row is written with: the one that finds the most
    // header names (a comma on a tie, as written by the console itself).
    Records best;
    for (QChar separator : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        Records candidate = recordsWith(decoded.text, separator);
        if (separator == u',' || candidate.found > best.found) {
            best = std::move(candidate);
            result.separator = separator;
        }
    }
    if (best.unclosedQuote) {
        result.fault = SnapshotParse::Fault::UnclosedQuote;
        result.line = best.unclosedQuote;
        return result;
    }
    const std::array<qsizetype, kHeader.size()> column =
        columnsOf(best.records.isEmpty() ? QStringList() : best.records[0]);
    for (size_t k = 0; k < kHeader.size(); ++k)
        if (column[k] < 0)
            result.missingColumns << QString::fromLatin1(kHeader[k]);
    if (!result.missingColumns.isEmpty()) {
        result.fault = SnapshotParse::Fault::NoHeader;
        result.line = best.lines.value(0, 1);
        return result;
    }
    for (qsizetype r = 1; r < best.records.size(); ++r) {
        SnapshotRow row;
        const QList<QString*> fields = fieldsOf(row);
        for (size_t k = 0; k < kHeader.size(); ++k) {
            if (column[k] >= best.records[r].size()) {
                result.fault = SnapshotParse::Fault::ShortRow;
                result.line = best.lines[r];
                result.rows.clear();
                result.rowLines.clear();
                return result;
            }
            *fields[k] = best.records[r][column[k]];
        }
        // Cells only in columns of the user's own (a note beside the table) make no row.
        if (blankRecord({row.page, row.tag, row.address, row.captionCN, row.captionEN, row.deviceValue,
                         row.shownText, row.timeRead}))
            continue;
        result.rows << row;
        result.rowLines << best.lines[r];
    }
    return result;
}

QString SnapshotFaultText(const SnapshotParse& parse, Language language) {
    const auto text = [language](const char* source) { return language.translate("SnapshotCsv", source); };
    switch (parse.fault) {
    case SnapshotParse::Fault::None:
        return {};
    case SnapshotParse::Fault::Empty:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv", "the file is empty"));
    case SnapshotParse::Fault::NotText:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv", "it is no text file (line %1 holds binary data)"))
            .arg(parse.line);
    case SnapshotParse::Fault::Encoding:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv",
                                      "the file's encoding is not recognised (line %1 is neither UTF-8 nor "
                                      "GB18030/GBK)"))
            .arg(parse.line);
    case SnapshotParse::Fault::NoHeader:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv", "line %1 is no snapshot header; missing columns: %2"))
            .arg(parse.line)
            .arg(parse.missingColumns.join(QStringLiteral(", ")));
    case SnapshotParse::Fault::UnclosedQuote:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv", "the quote opened on line %1 is never closed"))
            .arg(parse.line);
    case SnapshotParse::Fault::ShortRow:
        return text(QT_TRANSLATE_NOOP("SnapshotCsv", "line %1 has fewer cells than the header"))
            .arg(parse.line);
    }
    return {};
}
