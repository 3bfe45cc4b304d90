#pragma once

#include "config/Language.h"

#include "console/protocol/TrendStore.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The trend store as a spreadsheet opens it as is: UTF-8 with a byte-order mark (without it
// some spreadsheets take the Chinese captions for another encoding), commas, CRLF line ends,
// "." as decimal point. A header row names the time column and each value with its unit,
// then one row per reply, in time order, each value in its own column; a value the reply did
// not carry stays empty.

// Writes it; false when the device refused bytes.
bool WriteTrendCsv(const TrendStore& store, QIODevice& out, Language language);
QByteArray TrendCsvText(const TrendStore& store, Language language);

// A value's column title: "caption (unit)", the caption alone without a unit, and the
// register's value label name without a caption.
QString TrendColumnTitle(const TrendStore::Channel& channel);

// The wall-clock time of a sample, as the export and the chart's hover show it.
QDateTime TrendSampleTime(const TrendStore& store, qint64 ms);

// What hovering over a sample shows: the caption, the value as its label writes it with its
// unit, and the time.
QString TrendPointText(const TrendStore& store, int channel, const TrendStore::Sample& sample,
                       const QString& decimalSeparator);
