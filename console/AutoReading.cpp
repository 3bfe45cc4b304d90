#include "app/MainFrm.h"

#include "config/StrToInt.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/ModbusHealthText.h"
#include "console/protocol/RegionalFormats.h"

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

template <typename Visit>
void forEachValueLabel(TForm_Main& form, qint32 first, qint32 count, Visit visit) {
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
        Device->modbus().reset(); // each polling run counts afresh
        StartTrend();
    } else {
        Device->cancel(Timer1); // a request still queued or waiting is no longer wanted
    }
    ShowModbusHealth();
}

void TForm_Main::ShowModbusHealth() {
    lbl_ModbusHealth->setText(
        ModbusHealthText(Device->modbus().health(), LanguageCode == QLatin1String("EN")));
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
    // A request whose time has run out (the time-out may have been shortened) ends now.
    Device->expireOverdue();
    // While the last request waits for its reply or its time-out nothing is sent, so a
    // reply can only answer the one request it was asked by.
    if (PollPending)
        return;
    SendModbusRead(block, page);
}

void TForm_Main::SendModbusRead(const TAutoRead& block, int page) {
    DeviceRequest request;
    request.kind = DeviceRequest::Kind::Modbus;
    request.modbus = {page, block.equAddr, block.startAddr, block.readSize};
    request.timeoutMs = -1; // the exchange's own, which the health line names
    request.stillWanted = [this, page] {
        return chb_AutoRead->isChecked() && pg_AUTO->currentIndex() == page;
    };
    request.owner = Timer1;
    PollPending = true;
    Device->request(request, [this](const DeviceResult& result) {
        PollPending = false;
        guarded([&] { ShowAutoValue(result); });
    });
    tmr_TxLed->start();
    ShowModbusHealth();
}

// The reply check: values are shown only from a sound reply to the request in flight, for
// the registers that request asked for, while its page is still in view. A request that got
// no fresh value leaves its labels grey with the reason.
void TForm_Main::ShowAutoValue(const DeviceResult& result) {
    const bool english = LanguageCode == QLatin1String("EN");
    const ModbusExchange::Request& asked = result.modbus.request;
    if (result.status == DeviceResult::Status::TimedOut) {
        const ModbusExchange::Request& unanswered = Device->modbus().lastRequest();
        if (unanswered.page == pg_AUTO->currentIndex())
            markStale(*this, unanswered, ModbusTimeOutText(Device->modbus().timeoutMs(), english));
        ShowModbusHealth();
        return;
    }
    if (!result.answered())
        return;
    ShowModbusHealth();
    const ModbusExchange::Reply& answer = result.modbus;
    if (answer.kind == ModbusExchange::Reply::Exception)
        markStale(*this, asked, ModbusExceptionText(answer.exceptionCode, english));
    if (answer.kind != ModbusExchange::Reply::Good)
        return;
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    for (qsizetype i = 0; i < answer.values.size(); ++i)
        showRegister(*this, asked.start + static_cast<qint32>(i), answer.values.at(i), decimalSeparator);
    RecordTrend(asked, answer.values);
}
