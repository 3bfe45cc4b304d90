#pragma once

// A snapshot file held against what the device answered: which snapshot row each parameter
// takes (by tag and address together) and what differs.

#include "cli/ParameterReads.h"
#include "console/protocol/SnapshotMatch.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

struct CliConfig;
class DeviceLink;

struct SnapshotComparison {
    QList<const Parameter*> parameters; // every parameter of the pages
    QList<ReadValue> values;            // as read, index-aligned
    QList<SnapshotRow> snapshot;
    SnapshotPlacement placement;
    QList<SnapshotDifference> differences;
};

// Reads a snapshot file (at most 16 MiB); nothing, after saying why, when it cannot be read.
std::optional<QList<SnapshotRow>> LoadSnapshot(const CliConfig& config, const QString& path);

// Places the snapshot and finds the differences in what was read.
SnapshotComparison CompareSnapshot(const QList<SnapshotRow>& snapshot,
                                   const QList<const Parameter*>& parameters, const QList<ReadValue>& values);

// Reads every parameter of the pages from the device and compares them with the snapshot;
// snapshot rows that fit no parameter are named on standard error.
SnapshotComparison ReadAndCompare(DeviceLink& link, const CliConfig& config, const QList<SnapshotRow>& snapshot);

// Address, caption, snapshot and device value (as shown and as sent) of each difference.
QString DifferencesTable(const CliConfig& config, const SnapshotComparison& comparison);
QJsonArray DifferencesJson(const CliConfig& config, const SnapshotComparison& comparison);
// Snapshot rows no parameter takes, as lines and as JSON.
QStringList UnplacedLines(const SnapshotComparison& comparison);
QJsonArray UnplacedJson(const SnapshotComparison& comparison);
// Names those rows on standard error: no difference of the device, but a script should see
// that the snapshot did not fit the configuration.
void ReportUnplaced(const CliConfig& config, const SnapshotComparison& comparison);

// The comparison as one JSON document: differences, parameters that did not answer, unplaced rows.
QJsonObject ComparisonJson(const CliConfig& config, const QString& snapshotPath,
                           const SnapshotComparison& comparison);
