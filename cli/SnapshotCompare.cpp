#include "cli/SnapshotCompare.h"

#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/ReadOutput.h"

#include <QFile>

namespace {

// A snapshot of a few hundred parameters is a few kilobytes; anything this large is none.
constexpr qint64 kMaxSnapshotBytes = 16 * 1024 * 1024;

QList<RowKey> keysOf(const QList<const Parameter*>& parameters) {
    QList<RowKey> keys;
    for (const Parameter* p : parameters)
        keys << RowKey{p->tag, p->address};
    return keys;
}

// How the field would show a value, or the value itself when it cannot.
QString shownOf(const CliConfig& config, const Parameter& p, const QString& deviceValue) {
    return ShownTextOf(p, deviceValue, config.languageCode).value_or(deviceValue);
}

} // namespace

std::optional<QList<SnapshotRow>> LoadSnapshot(const CliConfig& config, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSnapshotBytes) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "the snapshot cannot be read: %1: %2"))
                       .arg(path, file.isOpen()
                                      ? config.text(QT_TRANSLATE_NOOP("Cli", "the file is too large"))
                                      : file.errorString()));
        return std::nullopt;
    }
    const SnapshotParse parsed = SnapshotFromCsv(file.readAll());
    if (!parsed.ok()) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "%1 is no snapshot file (line %2)"))
                       .arg(path)
                       .arg(parsed.line));
        return std::nullopt;
    }
    return parsed.rows;
}

SnapshotComparison CompareSnapshot(const QList<SnapshotRow>& snapshot,
                                   const QList<const Parameter*>& parameters,
                                   const QList<ReadValue>& values) {
    SnapshotComparison c;
    c.parameters = parameters;
    c.values = values;
    c.snapshot = snapshot;
    c.placement = PlaceSnapshot(keysOf(parameters), snapshot);
    QList<std::optional<QString>> deviceValues;
    for (const ReadValue& v : values)
        deviceValues << (v.answered && !v.deviceValue.isEmpty() ? std::optional<QString>(v.deviceValue)
                                                                : std::nullopt);
    c.differences = SnapshotDifferences(c.placement, snapshot, deviceValues);
    return c;
}

QString DifferencesTable(const CliConfig& config, const SnapshotComparison& c) {
    QList<QStringList> rows;
    for (const SnapshotDifference& d : c.differences) {
        const Parameter& p = *c.parameters[d.row];
        rows << QStringList{QString::number(p.address),          p.captionIn(config.languageCode),
                            shownOf(config, p, d.snapshotValue), d.snapshotValue,
                            shownOf(config, p, d.deviceValue),   d.deviceValue};
    }
    return TableText({config.text(QT_TRANSLATE_NOOP("Cli", "address")),
                      config.text(QT_TRANSLATE_NOOP("Cli", "caption")),
                      config.text(QT_TRANSLATE_NOOP("Cli", "snapshot shown")),
                      config.text(QT_TRANSLATE_NOOP("Cli", "snapshot sent")),
                      config.text(QT_TRANSLATE_NOOP("Cli", "device shown")),
                      config.text(QT_TRANSLATE_NOOP("Cli", "device sent"))},
                     rows);
}

QJsonArray DifferencesJson(const CliConfig& config, const SnapshotComparison& c) {
    QJsonArray list;
    for (const SnapshotDifference& d : c.differences) {
        const Parameter& p = *c.parameters[d.row];
        list.append(QJsonObject{
            {"address", p.address},
            {"tag", p.tag},
            {"caption", p.captionIn(config.languageCode)},
            {"snapshot",
             QJsonObject{{"shown", shownOf(config, p, d.snapshotValue)}, {"value", d.snapshotValue}}},
            {"device", QJsonObject{{"shown", shownOf(config, p, d.deviceValue)}, {"value", d.deviceValue}}}});
    }
    return list;
}

QStringList UnplacedLines(const SnapshotComparison& c) {
    QStringList lines;
    for (qsizetype s : c.placement.unplaced)
        lines << QStringLiteral("%1  %2").arg(c.snapshot[s].address, c.snapshot[s].tag);
    return lines;
}

QJsonArray UnplacedJson(const SnapshotComparison& c) {
    QJsonArray list;
    for (qsizetype s : c.placement.unplaced)
        list.append(QJsonObject{{"address", c.snapshot[s].address}, {"tag", c.snapshot[s].tag}});
    return list;
}

// Unplaced snapshot rows are named on standard error: they are no difference of the device,
// but a script should see that a snapshot did not fit the configuration.
void ReportUnplaced(const CliConfig& config, const SnapshotComparison& c) {
    const QStringList unplaced = UnplacedLines(c);
    if (!unplaced.isEmpty())
        PrintErr(config.text(
                     QT_TRANSLATE_N_NOOP("Cli", "%n snapshot row(s) match no parameter (address and tag):\n"),
                     unplaced.size()) +
                 unplaced.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

SnapshotComparison ReadAndCompare(DeviceLink& link, const CliConfig& config, const QList<SnapshotRow>& snapshot) {
    const QList<const Parameter*> parameters = config.model.rows();
    SnapshotComparison c = CompareSnapshot(snapshot, parameters, ReadWithProgress(link, config, parameters));
    ReportUnplaced(config, c);
    return c;
}

QJsonObject ComparisonJson(const CliConfig& config, const QString& snapshotPath, const SnapshotComparison& c) {
    return QJsonObject{{"config", config.path},
                       {"port", config.port.port},
                       {"snapshot", snapshotPath},
                       {"differences", DifferencesJson(config, c)},
                       {"silent", SilentJson(config, c.values)},
                       {"unplaced", UnplacedJson(c)}};
}
