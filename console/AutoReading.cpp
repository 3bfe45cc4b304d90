#include "app/MainFrm.h"

#include "app/ComponentRegistry.h"
#include "comm/SerialComm.h"
#include "config/StrToInt.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/RegionalFormats.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

void showRegister(TForm_Main& form, qint32 address, quint16 value, const QString& decimalSeparator) {
    const QString name = QStringLiteral("V") + QString::number(address);
    for (QObject* c : form.Components.all()) {
        if (!isStaticText(c) || componentTag(c) != address || componentName(c) != name)
            continue;
        if (const auto text = ScaleAutoValue(componentHint(c), value, decimalSeparator))
            static_cast<QLabel*>(c)->setText(*text);
    }
}

} // namespace

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
    if (!ModbusPoll.canSend(MonotonicMs()))
        return;
    CurProtocol = block.pro;
    CurEquAddr = block.equAddr;
    CurStartAddr = block.startAddr;
    CurReadSize = block.readSize;
    if (SendModbusRead(block))
        ModbusPoll.sent({page, block.equAddr, block.startAddr, block.readSize}, MonotonicMs());
}

bool TForm_Main::SendModbusRead(const TAutoRead& block) {
    const QByteArray request = ModbusReadRequest(block.equAddr, block.startAddr, block.readSize);
    const bool queued = Comm1->WriteCommData(request.constData(), static_cast<std::uint32_t>(request.size()));
    tmr_TxLed->start();
    return queued;
}

// The reply check: values are shown only from a sound reply to the request in flight, for
// the registers that request asked for, while its page is still in view.
void TForm_Main::ShowAutoValue(const QByteArray& reply) {
    if (!chb_AutoRead->isChecked() || CurProtocol != QLatin1String("MODBUS"))
        return;
    const ModbusExchange::Reply answer = ModbusPoll.takeReply(reply, pg_AUTO->currentIndex(), MonotonicMs());
    if (answer.kind != ModbusExchange::Reply::Good)
        return;
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    for (qsizetype i = 0; i < answer.values.size(); ++i)
        showRegister(*this, answer.request.start + static_cast<qint32>(i), answer.values.at(i),
                     decimalSeparator);
}
