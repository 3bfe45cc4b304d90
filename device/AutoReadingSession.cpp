#include "device/AutoReadingSession.h"

#include "config/StrToInt.h"
#include "console/protocol/AutoReadPoller.h"
#include "device/DeviceSession.h"

#include <QPointer>

AutoReadingSession::AutoReadingSession(DeviceSession& device, QObject* parent)
    : QObject(parent), m_device(device) {}

void AutoReadingSession::setRunning(bool on) {
    m_running = on;
    if (on)
        m_device.modbus().reset(); // each polling run counts afresh
    else
        m_device.cancel(this); // a request still queued or waiting is no longer wanted
}

bool AutoReadingSession::tick(int page, const TAutoRead& block) {
    if (!m_running)
        return false;
    m_cursor = page;
    if (block.pro != QLatin1String("MODBUS"))
        return false;
    // A request whose time has run out (the time-out may have been shortened) ends now.
    m_device.expireOverdue();
    if (m_pending)
        return false;
    send(page, block);
    return true;
}

void AutoReadingSession::send(int page, const TAutoRead& block) {
    DeviceRequest request;
    request.kind = DeviceRequest::Kind::Modbus;
    request.modbus = {page, block.equAddr, block.startAddr, block.readSize};
    request.timeoutMs = -1; // the exchange's own, which the health line names
    request.stillWanted = [this, page] { return m_running && (!m_pageInView || m_pageInView() == page); };
    request.owner = this;
    m_pending = true;
    m_device.request(request, [self = QPointer<AutoReadingSession>(this)](const DeviceResult& result) {
        if (!self)
            return;
        self->m_pending = false;
        emit self->resultArrived(result);
    });
    emit requestSent(page);
}

std::optional<int> AutoReadingSession::requestedInterval(const QString& text, int current) {
    int interval = 0;
    if (TryStrToInt(text, &interval) && interval > AutoReadPoller::kMinimumInterval && interval != current)
        return interval;
    return std::nullopt;
}
