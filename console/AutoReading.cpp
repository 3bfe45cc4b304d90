#include "app/MainFrm.h"

#include "console/AutoValueLabels.h"
#include "ui/FittedLinesLabel.h"

#include "device/AutoReadingSession.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/ModbusHealthText.h"
#include "console/protocol/RegionalFormats.h"
#include "ui/ComponentRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

void markUnanswered(TForm_Main& form, int pageInView) {
    const ModbusExchange::Request& unanswered = form.Device->modbus().lastRequest();
    if (unanswered.page == pageInView)
        markAutoValuesStale(form, unanswered, {ModbusStale::TimedOut, form.Device->modbus().timeoutMs(), 0});
}

} // namespace

void TForm_Main::chb_AutoReadClick() {
    const bool on = chb_AutoRead->isChecked();
    AutoReading->setRunning(on);
    if (on)
        StartTrend();
    ShowModbusHealth();
}

void TForm_Main::ShowModbusHealth() {
    lbl_ModbusHealth->setFullText(
        ModbusHealthText(Device->modbus().health(), LanguageCode == QLatin1String("EN")));
    // Also said after a change of language: greyed values say why in the new one too.
    if (lbl_ModbusHealth->property("languageShown").toString() != LanguageCode) {
        lbl_ModbusHealth->setProperty("languageShown", LanguageCode);
        refreshStaleTexts(*this);
    }
}

void TForm_Main::Timer1Timer() {
    if (!chb_AutoRead->isChecked())
        return;
    if (const auto interval =
            AutoReadingSession::requestedInterval(edt_AutoReadInte->text(), Timer1->interval()))
        Timer1->setInterval(*interval); // from the next tick on
    const int page = pg_AUTO->currentIndex();
    if (page < 0 || page >= AutoReads.size())
        return; // no automatic-reading page: nothing to poll
    AutoReading->tick(page, AutoReads[page]);
}

// The reply check: values are shown only from a sound reply to the request in flight, for
// the registers that request asked for, while its page is still in view. A request that got
// no fresh value leaves its labels grey with the reason.
void TForm_Main::ShowAutoValue(const DeviceResult& result) {
    if (result.status == DeviceResult::Status::TimedOut) {
        markUnanswered(*this, pg_AUTO->currentIndex());
        ShowModbusHealth();
        return;
    }
    if (!result.answered())
        return;
    ShowModbusHealth();
    const ModbusExchange::Reply& answer = result.modbus;
    using Kind = ModbusExchange::Reply::Kind;
    switch (answer.kind) {
    case Kind::BadCrc:
        markAutoValuesStale(*this, answer.request, {ModbusStale::BadCrc, 0, 0});
        return;
    case Kind::WrongLength:
        markAutoValuesStale(*this, answer.request, {ModbusStale::WrongLength, 0, 0});
        return;
    case Kind::Late:
        markAutoValuesStale(*this, answer.request, {ModbusStale::Late, Device->modbus().timeoutMs(), 0});
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
        showAutoValue(*this, answer.request.start + static_cast<qint32>(i), answer.values.at(i), decimalSeparator);
    RecordTrend(answer.request, answer.values);
}
