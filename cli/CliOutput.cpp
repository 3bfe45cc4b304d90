#include "cli/CliOutput.h"

#include <QJsonDocument>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

void put(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

bool wide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

void PrintOut(const QString& text) {
    put(stdout, text);
}

void PrintErr(const QString& text) {
    put(stderr, text);
}

void PrintError(const QString& line) {
    put(stderr, QStringLiteral("tervalon-cli: ") + line + QLatin1Char('\n'));
}

void PrintJson(const QJsonObject& document) {
    put(stdout, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
}

void PrintJsonLine(const QJsonObject& object) {
    put(stdout, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
}

bool StdErrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool StdInIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

int DisplayWidth(const QString& text) {
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += wide(c) ? 2 : 1;
    return width;
}

QString TableText(const QStringList& header, const QList<QStringList>& rows) {
    QList<int> widths(header.size(), 0);
    auto measure = [&](const QStringList& row) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    };
    measure(header);
    for (const QStringList& row : rows)
        measure(row);
    QString text;
    auto line = [&](const QStringList& row) {
        QString out;
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i) {
            out += row[i];
            if (i + 1 < row.size())
                out += QString(widths[i] - DisplayWidth(row[i]) + 2, QLatin1Char(' '));
        }
        text += out + QLatin1Char('\n');
    };
    line(header);
    for (const QStringList& row : rows)
        line(row);
    return text;
}
