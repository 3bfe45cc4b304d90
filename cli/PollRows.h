#pragma once

// The rows polling prints: the time of the reply, then each value of the page scaled as its
// label shows it, with "." as the decimal point whatever the region, so that the CSV and the
// JSON read the same everywhere.

#include "device/ParameterModel.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

struct CliConfig;
struct PolledPage;

struct PollColumn {
    PolledValue value;
    QString caption;
};
using PollColumns = QList<PollColumn>;

struct PollRow {
    QDateTime time;
    QList<std::optional<quint16>> raw;    // per column; nothing when the reply did not carry it
    QList<std::optional<QString>> scaled; // per column
};

// The page's values inside its polled block, in the page's order.
PollColumns PollColumnsOf(const CliConfig& config, const PolledPage& page);
PollRow PollRowOf(const PollColumns& columns, const PolledPage& page, const QList<quint16>& registers,
                  const QDateTime& time);

// "time,caption (unit),..." and one row, each with CR LF.
QString PollCsvHeader(const PollColumns& columns);
QString PollCsvRow(const PollRow& row);
// {"time": ..., "values": [{"tag", "address", "caption", "unit", "raw", "value"}]}
QJsonObject PollRowJson(const PollColumns& columns, const PollRow& row);
