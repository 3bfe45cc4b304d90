#include "console/AutoValueLabels.h"

#include "device/ParameterModel.h"
#include "ui/ComponentRegistry.h"

#include <QLabel>

namespace {

// While a value label is greyed its tooltip says why, and the hint it showed before waits in
// kHintWhileStale; the reason itself is kept so that it can be said again in another
// language.
const char* const kHintWhileStale = "hintWhileStale";
const char* const kStaleReason = "staleReason";
const char* const kStaleTimeout = "staleTimeoutMs";
const char* const kStaleException = "staleException";
const char* const kStaleLanguage = "staleLanguage";
const char* const kStaleText = "staleText";
const char* const kLastGood = "lastGoodAt";

template <typename Visit>
void forEachValueLabel(const QList<AutoValueControls>& rows, qint64 first, qint64 count, Visit visit) {
    for (const AutoValueControls& row : rows)
        if (row.value && row.address >= first && row.address - first < count)
            visit(row, row.value);
}

template <typename Visit> void forEveryValueLabel(const QList<AutoValueControls>& rows, Visit visit) {
    for (const AutoValueControls& row : rows)
        if (row.value)
            visit(row.value);
}

ModbusStale staleOf(const QLabel* label) {
    return {ModbusStale::Reason(label->property(kStaleReason).toInt()),
            label->property(kStaleTimeout).toLongLong(), label->property(kStaleException).toInt()};
}

} // namespace

AutoValueLabels::AutoValueLabels(const QList<AutoValueControls>& rows, const ParameterModel& model)
    : m_rows(rows), m_model(model) {}

void AutoValueLabels::writeStaleText(QLabel* label, const ModbusStale& why) {
    const QString text = ModbusStaleText(why, autoValueLastGood(label), m_language);
    label->setToolTip(text);
    label->setProperty(kStaleText, text);
    label->setProperty(kStaleLanguage, m_language.code());
}

void AutoValueLabels::greyWith(QLabel* label, const ModbusStale& why) {
    if (!label->property(kHintWhileStale).isValid())
        label->setProperty(kHintWhileStale, componentHint(label));
    label->setProperty(kStaleReason, int(why.reason));
    label->setProperty(kStaleTimeout, why.timeoutMs);
    label->setProperty(kStaleException, why.exceptionCode);
    writeStaleText(label, why);
    label->setEnabled(false);
}

void AutoValueLabels::show(qint32 address, quint16 value, const QString& decimalSeparator) {
    forEachValueLabel(m_rows, address, 1, [&](const AutoValueControls& row, QLabel* label) {
        const PolledValue* polled = m_model.polledByTag(row.tag);
        const auto text = polled ? ScaledValueOf(*polled, value, decimalSeparator) : std::nullopt;
        if (!text)
            return;
        label->setText(*text);
        label->setProperty(kLastGood, QDateTime::currentDateTime());
        if (label->property(kHintWhileStale).isValid()) {
            label->setToolTip(label->property(kHintWhileStale).toString());
            label->setProperty(kHintWhileStale, QVariant());
            label->setProperty(kStaleReason, QVariant());
        }
        label->setEnabled(true);
    });
}

void AutoValueLabels::markStale(const ModbusExchange::Request& request, const ModbusStale& why) {
    forEachValueLabel(m_rows, request.start, request.count,
                      [&](const AutoValueControls&, QLabel* label) { greyWith(label, why); });
}

void AutoValueLabels::markAllStale(const ModbusStale& why) {
    forEveryValueLabel(m_rows, [&](QLabel* label) { greyWith(label, why); });
}

void AutoValueLabels::restale(ModbusStale::Reason from, const ModbusStale& to) {
    forEveryValueLabel(m_rows, [&](QLabel* label) {
        if (autoValueStaleReason(label) == from)
            greyWith(label, to);
    });
}

void AutoValueLabels::setLanguage(Language language) {
    m_language = language;
    forEveryValueLabel(m_rows, [&](QLabel* label) {
        if (!autoValueStaleReason(label))
            return;
        // A language pass puts the hint of its language back as the tooltip: that is the
        // hint to show once the value is fresh again, and the reason goes back over it.
        const bool covered = label->toolTip() != label->property(kStaleText).toString();
        if (covered)
            label->setProperty(kHintWhileStale, label->toolTip());
        if (covered || label->property(kStaleLanguage).toString() != language.code())
            writeStaleText(label, staleOf(label));
    });
}

const AutoValueControls* autoValueRowAt(const QList<AutoValueControls>& rows, qint32 address) {
    for (const AutoValueControls& row : rows)
        if (row.address == address)
            return &row;
    return nullptr;
}

QDateTime autoValueLastGood(const QObject* label) {
    return label->property(kLastGood).toDateTime();
}

std::optional<ModbusStale::Reason> autoValueStaleReason(const QObject* label) {
    const QVariant reason = label->property(kStaleReason);
    if (!reason.isValid())
        return std::nullopt;
    return ModbusStale::Reason(reason.toInt());
}
