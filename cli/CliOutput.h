#pragma once

// What tervalon-cli prints: standard output for results (tables, CSV, JSON), standard error
// for messages and progress, both UTF-8.

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace cliexit {
constexpr int kDone = 0;          // done, and nothing differs
constexpr int kDeviceProblem = 1; // time-out, difference, failed write
constexpr int kUsage = 2;         // usage or configuration error
constexpr int kPortFailed = 3;    // the port could not be opened
} // namespace cliexit

void PrintOut(const QString& text);
void PrintErr(const QString& text);
// "tervalon-cli: <line>" on standard error.
void PrintError(const QString& line);
// The document, indented, on standard output.
void PrintJson(const QJsonObject& document);
// One JSON object on one line.
void PrintJsonLine(const QJsonObject& object);

bool StdErrIsTerminal();
bool StdInIsTerminal();

// Columns padded to the widest cell, wide (CJK) characters counting as two, two blanks
// between columns; the last column is not padded.
QString TableText(const QStringList& header, const QList<QStringList>& rows);
// The width a terminal gives the text.
int DisplayWidth(const QString& text);
