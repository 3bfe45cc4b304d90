#include "console/AutoValueLabels.h"

#include "app/MainFrm.h"
#include "console/protocol/AutoReadPoller.h"
#include "ui/ComponentRegistry.h"

#include <QLabel>
#include <limits>

namespace {

// While a value label is greyed its tooltip says why, and the hint it showed before waits in
// kHintWhileStale; the reason itself is kept so that
// it can be said again in another language.
const char* const kHintWhileStale = "hintWhileStale";
const char* const kStaleReason = "staleReason";
const char* const kStaleTimeout = "staleTimeoutMs";
const char* const kStaleException = "staleException";
const char* const kStaleLanguage = "staleLanguage";
const char* const kStaleText = "staleText";
const char* const kLastGood = "lastGoodAt";

bool inEnglish(const TForm_Main& form) {
    return form.LanguageCode == QLatin1String("EN");
}

template <typename Visit> void forEachValueLabel(TForm_Main& form, qint64 first, qint64 count, Visit visit) {
    for (const AutoValueControls& row : form.Console.autoValues)
        if (row.value && row.address >= first && row.address - first < count)
            visit(row, row.value);
}

void writeStaleText(TForm_Main& form, QLabel* label, const ModbusStale& why) {
    const QString text = ModbusStaleText(why, autoValueLastGood(label), inEnglish(form));
    label->setToolTip(text);
    label->setProperty(kStaleText, text);
    label->setProperty(kStaleLanguage, form.LanguageCode);
}

void markStale(TForm_Main& form, QLabel* label, const ModbusStale& why) {
    if (!label->property(kHintWhileStale).isValid())
        label->setProperty(kHintWhileStale, componentHint(label));
    label->setProperty(kStaleReason, int(why.reason));
    label->setProperty(kStaleTimeout, why.timeoutMs);
    label->setProperty(kStaleException, why.exceptionCode);
    writeStaleText(form, label, why);
    label->setEnabled(false);
}

} // namespace

const AutoValueControls* autoValueRowAt(const ConsoleState& console, qint32 address) {
    for (const AutoValueControls& row : console.autoValues)
        if (row.address == address)
            return &row;
    return nullptr;
}

QDateTime autoValueLastGood(const QObject* label) {
    return label->property(kLastGood).toDateTime();
}

void showAutoValue(TForm_Main& form, qint32 address, quint16 value, const QString& decimalSeparator) {
    forEachValueLabel(form, address, 1, [&](const AutoValueControls& row, QLabel* label) {
        const PolledValue* polled = form.Parameters.polledByTag(row.tag);
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

void markAutoValuesStale(TForm_Main& form, const ModbusExchange::Request& request, const ModbusStale& why) {
    forEachValueLabel(form, request.start, request.count,
                      [&](const AutoValueControls&, QLabel* label) { markStale(form, label, why); });
}

void markAllAutoValuesStale(TForm_Main& form, const ModbusStale& why) {
    forEachValueLabel(form, std::numeric_limits<qint32>::min(), std::numeric_limits<qint64>::max(),
                      [&](const AutoValueControls&, QLabel* label) { markStale(form, label, why); });
}

void refreshStaleTexts(TForm_Main& form) {
    forEachValueLabel(
        form, std::numeric_limits<qint32>::min(), std::numeric_limits<qint64>::max(),
        [&](const AutoValueControls&, QLabel* label) {
            const QVariant reason = label->property(kStaleReason);
            if (!reason.isValid() || label->property(kStaleLanguage).toString() == form.LanguageCode)
                return;
            // A language pass may have put the hint of the new language back as
            // the tooltip.
            if (label->toolTip() != label->property(kStaleText).toString())
                label->setProperty(kHintWhileStale, label->toolTip());
            writeStaleText(form, label,
                           {ModbusStale::Reason(reason.toInt()), label->property(kStaleTimeout).toLongLong(),
                            label->property(kStaleException).toInt()});
        });
}
