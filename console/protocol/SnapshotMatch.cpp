#include "console/protocol/SnapshotMatch.h"

#include "config/StrToInt.h"

#include <QHash>

SnapshotPlacement PlaceSnapshot(const QList<RowKey>& rows, const QList<SnapshotRow>& snapshot) {
    SnapshotPlacement placement;
    placement.snapshotOfRow = QList<qsizetype>(rows.size(), -1);
    QHash<QString, qsizetype> rowByKey;
    auto key = [](const QString& tag, qint32 address) { return tag + QLatin1Char('\n') + QString::number(address); };
    for (qsizetype r = 0; r < rows.size(); ++r)
        rowByKey.insert(key(rows[r].tag, rows[r].address), r);
    for (qsizetype s = 0; s < snapshot.size(); ++s) {
        int address = 0;
        const bool readable = TryStrToInt(snapshot[s].address.trimmed(), &address);
        const qsizetype r = readable ? rowByKey.value(key(snapshot[s].tag.trimmed(), address), -1) : -1;
        if (r < 0 || placement.snapshotOfRow[r] >= 0) {
            placement.unplaced << s;
            continue;
        }
        placement.snapshotOfRow[r] = s;
    }
    return placement;
}

bool SameDeviceValue(const QString& a, const QString& b) {
    return a.trimmed() == b.trimmed();
}

QList<SnapshotDifference> SnapshotDifferences(const SnapshotPlacement& placement,
                                              const QList<SnapshotRow>& snapshot,
                                              const QList<std::optional<QString>>& deviceValues) {
    QList<SnapshotDifference> differences;
    for (qsizetype r = 0; r < placement.snapshotOfRow.size() && r < deviceValues.size(); ++r) {
        const qsizetype s = placement.snapshotOfRow[r];
        if (s < 0 || !deviceValues[r] || snapshot[s].deviceValue.trimmed().isEmpty())
            continue;
        if (!SameDeviceValue(snapshot[s].deviceValue, *deviceValues[r]))
            differences << SnapshotDifference{r, s, snapshot[s].deviceValue, *deviceValues[r]};
    }
    return differences;
}
