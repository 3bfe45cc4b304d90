#include "cli/PollRows.h"

#include "cli/CliConfig.h"
#include "console/protocol/SnapshotCsv.h"

#include <QJsonArray>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

} // namespace

PollColumns PollColumnsOf(const CliConfig& config, const PolledPage& page) {
    PollColumns columns;
    for (const PolledValue& v : config.model.polledValues()) {
        if (v.page != page.index)
            continue;
        const qint64 offset = qint64(v.address) - page.block.startAddr;
        if (offset < 0 || offset >= page.block.readSize)
            continue; // shown on the page but never polled
        columns << PollColumn{v, config.valueCaption(page, v.tag)};
    }
    return columns;
}

PollRow PollRowOf(const PollColumns& columns, const PolledPage& page, const QList<quint16>& registers,
                  const QDateTime& time) {
    PollRow row;
    row.time = time;
    for (const PollColumn& c : columns) {
        const qint64 i = qint64(c.value.address) - page.block.startAddr;
        if (i < 0 || i >= registers.size()) {
            row.raw << std::nullopt;
            row.scaled << std::nullopt;
            continue;
        }
        row.raw << registers[i];
        row.scaled << ScaledValueOf(c.value, registers[i], QStringLiteral("."));
    }
    return row;
}

QString PollCsvHeader(const PollColumns& columns) {
    QStringList cells{QStringLiteral("time")};
    for (const PollColumn& c : columns)
        cells << CsvField(c.value.unit.isEmpty() ? c.caption
                                                 : QStringLiteral("%1 (%2)").arg(c.caption, c.value.unit));
    return cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString PollCsvRow(const PollRow& row) {
    QStringList cells{row.time.toString(kTimeFormat)};
    for (const auto& v : row.scaled)
        cells << CsvField(v.value_or(QString()));
    return cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QJsonObject PollRowJson(const PollColumns& columns, const PollRow& row) {
    QJsonArray values;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        QJsonObject v{{"tag", columns[i].value.tag},
                      {"address", columns[i].value.address},
                      {"caption", columns[i].caption},
                      {"unit", columns[i].value.unit}};
        if (row.raw[i])
            v.insert("raw", int(*row.raw[i]));
        if (row.scaled[i])
            v.insert("value", row.scaled[i]->toDouble());
        values.append(v);
    }
    return QJsonObject{{"time", row.time.toString(Qt::ISODateWithMs)}, {"values", values}};
}
