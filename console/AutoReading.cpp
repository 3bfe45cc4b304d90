#include "app/MainFrm.h"

#include "comm/SerialComm.h"
#include "config/StrToInt.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/ModbusHealthText.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/RegionalFormats.h"
#include "ui/ComponentRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

// A value label's hint holds its scaling ("offset|factor"). While the label is greyed its
// tooltip says why, and the hint waits in this property.
const char* const kHintWhileStale = "hintWhileStale";

QString scalingHint(const QObject* label) {
    const QVariant kept = label->property(kHintWhileStale);
    return kept.isValid() ? kept.toString() : componentHint(label);
}

template <typename Visit> void forEachValueLabel(TForm_Main& form, qint32 first, qint32 count, Visit visit) {
    for (QObject* c : form.Components.all()) {
        if (!isStaticText(c))
            continue;
        const qint32 address = componentTag(c);
        if (address < first || address - first >= count ||
            componentName(c) != QStringLiteral("V") + QString::number(address))
            continue;
        visit(static_cast<QLabel*>(c), address);
    }
}

void showRegister(TForm_Main& form, qint32 address, quint16 value, const QString& decimalSeparator) {
    forEachValueLabel(form, address, 1, [&](QLabel* label, qint32) {
        const auto text = ScaleAutoValue(scalingHint(label), value, decimalSeparator);
        if (!text)
            return;
        label->setText(*text);
        if (label->property(kHintWhileStale).isValid()) {
            label->setToolTip(label->property(kHintWhileStale).toString());
            label->setProperty(kHintWhileStale, QVariant());
        }
        label->setEnabled(true);
    });
}

// The labels of a request that got no fresh value keep their last value, greyed, with the
// reason as their tooltip, so a stale number is never taken for a live one.
void markStale(TForm_Main& form, const ModbusExchange::Request& request, const QString& why) {
    forEachValueLabel(form, request.start, request.count, [&](QLabel* label, qint32) {
        if (!label->property(kHintWhileStale).isValid())
            label->setProperty(kHintWhileStale, componentHint(label));
        label->setToolTip(why);
        label->setEnabled(false);
    });
}

} // namespace

void TForm_Main::chb_AutoReadClick() {
    if (chb_AutoRead->isChecked()) {
        ModbusPoll.reset(); // each polling run counts afresh
        StartTrend();
    }
    ShowModbusHealth();
}

void TForm_Main::ShowModbusHealth() {
    lbl_ModbusHealth->setText(ModbusHealthText(ModbusPoll.health(), language()));
}

void TForm_Main::Timer1Timer() {
    if (!chb_AutoRead->isChecked())
        return;
    int interval = 0;
    if (TryStrToInt(edt_AutoReadInte->text(), &interval) && interval > AutoReadPoller::kMinimumInterval &&
        interval != Timer1->interval())
        Timer1->setInterval(interval); // from the next tick on
    const int page = pg_AUTO->currentIndex();
    if (page < 0 || page >= AutoReads.size())
        return; // no automatic-reading page: nothing to poll
    AutoPageCursor = page;
    const TAutoRead& block = AutoReads[page];
    if (block.pro != QLatin1String("MODBUS"))
        return;
    // While the last request waits for its reply or its time-out nothing is sent, so a
    // reply can only answer the one request it was asked by.
    const quint64 timeOutsBefore = ModbusPoll.health().timedOut;
    const bool free = ModbusPoll.canSend(MonotonicMs());
    if (ModbusPoll.health().timedOut != timeOutsBefore) {
        const ModbusExchange::Request& unanswered = ModbusPoll.lastRequest();
        if (unanswered.page == page)
            markStale(*this, unanswered, ModbusTimeOutText(ModbusPoll.timeoutMs(), language()));
        ShowModbusHealth();
    }
    if (!free)
        return;
    CurProtocol = block.pro;
    CurEquAddr = block.equAddr;
    CurStartAddr = block.startAddr;
    CurReadSize = block.readSize;
    if (SendModbusRead(block)) {
        ModbusPoll.sent({page, block.equAddr, block.startAddr, block.readSize}, MonotonicMs());
        ShowModbusHealth();
    }
}

bool TForm_Main::SendModbusRead(const TAutoRead& block) {
    const QByteArray request = ModbusReadRequest(block.equAddr, block.startAddr, block.readSize);
    const bool queued = Comm1->WriteCommData(request.constData(), static_cast<std::uint32_t>(request.size()));
    if (queued)
        LogWire(true, request.constData(), request.size());
    tmr_TxLed->start();
    return queued;
}

// The reply check: values are shown only from a sound reply to the request in flight, for
// the registers that request asked for, while its page is still in view.
void TForm_Main::ShowAutoValue(const QByteArray& reply) {
    if (!chb_AutoRead->isChecked() || CurProtocol != QLatin1String("MODBUS"))
        return;
    const ModbusExchange::Reply answer = ModbusPoll.takeReply(reply, pg_AUTO->currentIndex(), MonotonicMs());
    if (answer.kind != ModbusExchange::Reply::NotModbus)
        ShowModbusHealth();
    if (answer.kind == ModbusExchange::Reply::Exception)
        markStale(*this, answer.request, ModbusExceptionText(answer.exceptionCode, language()));
    if (answer.kind != ModbusExchange::Reply::Good)
        return;
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    for (qsizetype i = 0; i < answer.values.size(); ++i)
        showRegister(*this, answer.request.start + static_cast<qint32>(i), answer.values.at(i),
                     decimalSeparator);
    RecordTrend(answer.request, answer.values);
}
