#include "console/AutoReading.h"

#include "console/protocol/RegionalFormats.h"
#include "device/AutoReadingSession.h"
#include "device/DeviceSession.h"
#include "ui/FittedLinesLabel.h"
#include "ui/ShowingErrors.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

AutoReading::AutoReading(const AutoReadingControls& controls, DeviceSession& device,
                         AutoReadingSession& polling, const ParameterModel& model, QObject* parent)
    : QObject(parent), m_controls(controls), m_device(device), m_polling(polling),
      m_labels(m_pages.rows, model) {
    m_polling.setPageSource([this] { return pageInView(); });
    connect(&m_polling, &AutoReadingSession::requestSent, this, &AutoReading::showHealth);
    connect(&m_polling, &AutoReadingSession::resultArrived, this,
            [this](const DeviceResult& result) { runShowingErrors([&] { showResult(result); }); });
    // The health line follows every count: requests sent, and frames however they turned out.
    connect(&m_device, &DeviceSession::modbusCounted, this, &AutoReading::showHealth);
    connect(&m_device, &DeviceSession::sent, this, [this] {
        if (m_polling.running())
            showHealth();
    });
    m_ticker = new QTimer(this);
    m_ticker->setInterval(1000);
    connect(m_ticker, &QTimer::timeout, this, [this] { runShowingErrors([this] { tick(); }); });
    m_ticker->start();
    showHealth();
}

int AutoReading::pageInView() const {
    return m_controls.pages->currentIndex();
}

void AutoReading::setLanguage(Language language) {
    m_language = language;
    m_labels.setLanguage(language);
    showHealth();
}

void AutoReading::setRunning(bool on) {
    m_polling.setRunning(on);
    if (on)
        emit runStarted();
    showHealth();
}

void AutoReading::tick() {
    if (!m_polling.running())
        return;
    if (const auto interval =
            AutoReadingSession::requestedInterval(m_controls.interval->text(), m_ticker->interval()))
        m_ticker->setInterval(*interval); // from the next tick on
    const int page = pageInView();
    if (page < 0 || page >= m_pages.blocks.size())
        return; // no automatic-reading page: nothing to poll
    m_polling.tick(page, m_pages.blocks[page]);
}

void AutoReading::showHealth() {
    m_controls.health->setFullText(ModbusHealthText(m_device.modbus().health(), m_language));
}

void AutoReading::onPortOpened() {
    m_awaitingDevice = false;
}

void AutoReading::onPortClosed() {
    m_labels.markAllStale({m_awaitingDevice ? ModbusStale::WaitingForDevice : ModbusStale::PortClosed, 0, 0});
}

void AutoReading::onAwaitingDevice(bool waiting) {
    m_awaitingDevice = waiting;
    if (waiting)
        m_labels.markAllStale({ModbusStale::WaitingForDevice, 0, 0});
    else if (!m_device.isOpen()) // given up: the device did not come back
        m_labels.restale(ModbusStale::WaitingForDevice, {ModbusStale::PortClosed, 0, 0});
}

// The reply check: values are shown only from a sound reply to the request in flight, for
// the registers that request asked for, while its page is still in view. A request that got
// no fresh value leaves its labels grey with the reason.
void AutoReading::showResult(const DeviceResult& result) {
    const qint64 timeoutMs = m_device.modbus().timeoutMs();
    if (result.status == DeviceResult::Status::TimedOut) {
        const ModbusExchange::Request& unanswered = m_device.modbus().lastRequest();
        if (unanswered.page == pageInView())
            m_labels.markStale(unanswered, {ModbusStale::TimedOut, timeoutMs, 0});
        showHealth();
        return;
    }
    if (!result.answered())
        return;
    showHealth();
    const ModbusExchange::Reply& answer = result.modbus;
    using Kind = ModbusExchange::Reply::Kind;
    switch (answer.kind) {
    case Kind::BadCrc:
        m_labels.markStale(answer.request, {ModbusStale::BadCrc, 0, 0});
        return;
    case Kind::WrongLength:
        m_labels.markStale(answer.request, {ModbusStale::WrongLength, 0, 0});
        return;
    case Kind::Late:
        m_labels.markStale(answer.request, {ModbusStale::Late, timeoutMs, 0});
        return;
    case Kind::Exception:
        m_labels.markStale(answer.request, {ModbusStale::Exception, 0, answer.exceptionCode});
        return;
    case Kind::Good:
        break;
    default:
        return; // nothing of the values it asked for came back (another page is in view)
    }
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    for (qsizetype i = 0; i < answer.values.size(); ++i)
        m_labels.show(answer.request.start + static_cast<qint32>(i), answer.values.at(i), decimalSeparator);
    emit valuesRead(answer.request, answer.values);
}
