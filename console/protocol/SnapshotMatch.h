#pragma once

#include "console/protocol/SnapshotCsv.h"

#include <QList>
#include <QString>
#include <optional>

// A parameter row of the pages as a snapshot finds it: its item tag and its address.
struct RowKey {
    QString tag;
    qint32 address = 0;
};

struct SnapshotPlacement {
    // For each row of the pages, the snapshot row it takes, or -1.
    QList<qsizetype> snapshotOfRow;
    // Snapshot rows that no row of the pages takes: no row with that tag and address, an
    // unreadable address, or a second row for a parameter already placed.
    QList<qsizetype> unplaced;
};

// Matches snapshot rows to page rows by tag and address together, so a parameter renamed or
// moved to another address is named rather than written to the wrong place.
SnapshotPlacement PlaceSnapshot(const QList<RowKey>& rows, const QList<SnapshotRow>& snapshot);

struct SnapshotDifference {
    qsizetype row = -1;        // page row
    qsizetype snapshotRow = -1;
    QString snapshotValue, deviceValue;
};

// The placed rows whose device value differs from the snapshot's. Rows the device did not
// answer (nullopt) and snapshot rows without a device value are no difference: there is
// nothing known to compare. Values are compared without blanks at either end.
QList<SnapshotDifference> SnapshotDifferences(const SnapshotPlacement& placement,
                                              const QList<SnapshotRow>& snapshot,
                                              const QList<std::optional<QString>>& deviceValues);

// Whether a value read back equals the value written, by the same rule.
bool SameDeviceValue(const QString& a, const QString& b);
