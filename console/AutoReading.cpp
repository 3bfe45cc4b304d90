#include "app/MainFrm.h"

#include "console/AutoValueLabels.h"
#include "ui/FittedLinesLabel.h"

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

void markUnanswered(TForm_Main& form, int pageInView) {
    const ModbusExchange::Request& unanswered = form.ModbusPoll.lastRequest();
    if (unanswered.page == pageInView)
        markAutoValuesStale(form, unanswered, {ModbusStale::TimedOut, form.ModbusPoll.timeoutMs(), 0});
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
    lbl_ModbusHealth->setFullText(ModbusHealthText(ModbusPoll.health(), LanguageCode == QLatin1String("EN")));
    // Also said after a change of language: greyed values say why in the new one too.
    if (lbl_ModbusHealth->property("languageShown").toString() != LanguageCode) {
        lbl_ModbusHealth->setProperty("languageShown", LanguageCode);
        refreshStaleTexts(*this);
    }
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
        markUnanswered(*this, page);
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
    // Whatever arrives may be what shows the request in flight has timed out.
    const quint64 timeOutsBefore = ModbusPoll.health().timedOut;
    const ModbusExchange::Reply answer = ModbusPoll.takeReply(reply, pg_AUTO->currentIndex(), MonotonicMs());
    if (answer.kind == ModbusExchange::Reply::NotModbus && ModbusPoll.health().timedOut != timeOutsBefore) {
        markUnanswered(*this, pg_AUTO->currentIndex());
        ShowModbusHealth();
    }
    if (answer.kind != ModbusExchange::Reply::NotModbus)
        ShowModbusHealth();
    using Kind = ModbusExchange::Reply::Kind;
    switch (answer.kind) {
    case Kind::BadCrc:
        markAutoValuesStale(*this, answer.request, {ModbusStale::BadCrc, 0, 0});
        return;
    case Kind::WrongLength:
        markAutoValuesStale(*this, answer.request, {ModbusStale::WrongLength, 0, 0});
        return;
    case Kind::Late:
        markAutoValuesStale(*this, answer.request, {ModbusStale::Late, ModbusPoll.timeoutMs(), 0});
        return;
    case Kind::Exception:
        markAutoValuesStale(*this, answer.request, {ModbusStale::Exception, 0, answer.exceptionCode});
        return;
    case Kind::Good:
        break;
    default:
        return; // nothing of the values it asked for came back (another page is in view)
    }
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    for (qsizetype i = 0; i < answer.values.size(); ++i)
        showAutoValue(*this, answer.request.start + static_cast<qint32>(i), answer.values.at(i),
                      decimalSeparator);
    RecordTrend(answer.request, answer.values);
}
