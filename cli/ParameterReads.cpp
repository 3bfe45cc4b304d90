#include "cli/ParameterReads.h"

#include "cli/CliConfig.h"
#include "cli/DeviceLink.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

bool ReplyNamesOtherAddress(QByteArrayView line, qint32 address) {
    const qsizetype start = line.indexOf(QByteArrayView("$KRDV,"));
    if (start < 0)
        return false;
    const qsizetype from = start + 6;
    const qsizetype eq = line.indexOf('=', from);
    if (eq < 0)
        return false;
    bool ok = false;
    const qint32 named = line.sliced(from, eq - from).toByteArray().toInt(&ok);
    return ok && named != address;
}

DeviceRequest ReadRequest(const Parameter& parameter, int timeoutMs, const QString& languageCode) {
    DeviceRequest request;
    request.kind = DeviceRequest::Kind::Text;
    request.expect = DeviceRequest::Expect::ReplyLine;
    request.bytes = LineToBytes(ReadCommand(parameter.address));
    request.timeoutMs = timeoutMs;
    // A copy: the request outlives nothing of the caller's but must not point into it.
    request.accepts = [p = parameter, languageCode](const QByteArray& line) {
        return !ReplyNamesOtherAddress(line, p.address) &&
               ShownTextOf(p, ReplyLineValue(line), languageCode).has_value();
    };
    return request;
}

ReadValue ReadValueOf(const Parameter& parameter, const DeviceResult& result, const QString& languageCode) {
    ReadValue value;
    value.parameter = &parameter;
    if (!result.answered())
        return value;
    const auto shown = ShownTextOf(parameter, ReplyLineValue(result.line), languageCode);
    if (!shown)
        return value;
    value.shown = *shown;
    value.deviceValue = DeviceValueOf(parameter, *shown, languageCode).value_or(QString());
    value.answered = true;
    value.time = QDateTime::currentDateTime();
    return value;
}

QList<ReadValue> ReadParameters(DeviceLink& link, const CliConfig& config,
                                const QList<const Parameter*>& parameters,
                                const std::function<void(qsizetype, qsizetype)>& progress) {
    QList<ReadValue> values;
    values.reserve(parameters.size());
    for (const Parameter* p : parameters) {
        const DeviceResult result =
            link.exchange(ReadRequest(*p, config.model.readTimeoutMs(), config.languageCode));
        values << ReadValueOf(*p, result, config.languageCode);
        if (progress)
            progress(values.size(), parameters.size());
    }
    return values;
}

SnapshotRow SnapshotRowOf(const CliConfig& config, const ReadValue& value) {
    const Parameter& p = *value.parameter;
    SnapshotRow row;
    row.page = config.pageCaption(p.page);
    row.tag = p.tag;
    row.address = QString::number(p.address);
    // The language table's captions; the one of the run's language falls back to the item's.
    row.captionCN = p.captions.value(QStringLiteral("CN"));
    row.captionEN = p.captions.value(QStringLiteral("EN"));
    QString& own = config.language().isEnglish() ? row.captionEN : row.captionCN;
    if (own.isEmpty())
        own = p.captionIn(config.languageCode);
    if (value.answered) {
        row.deviceValue = value.deviceValue;
        row.shownText = value.shown;
        row.timeRead = value.time.toString(kTimeFormat);
    }
    return row;
}
