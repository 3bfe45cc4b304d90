#pragma once

// AutoReadingSession: automatic reading without widgets. On each tick it asks the device
// engine for the registers of the page in view, one request at a time: while a request waits
// for its reply or its time-out nothing more is sent, so a reply can only answer the request
// that asked for it. Stopping drops a request still queued; a reply that comes once its page
// has left the view (or polling stopped) brings no values.
//
// The front (the window, a test) says whether polling is on, which page is in view and when a
// tick comes; it hears of each request sent and of each result. Same thread as its
// DeviceSession; results arrive from the engine, never inside tick().

#include "config/ConfigRecords.h"
#include "device/DeviceRequest.h"

#include <QObject>
#include <functional>
#include <optional>

class DeviceSession;

class AutoReadingSession : public QObject {
    Q_OBJECT
public:
    explicit AutoReadingSession(DeviceSession& device, QObject* parent = nullptr);

    // The page in view, asked at each tick and while a request waits to go out; -1: none.
    void setPageSource(std::function<int()> pageInView) { m_pageInView = std::move(pageInView); }

    // Polling on: a new run, the health counts start afresh. Off: what is queued or waiting
    // is dropped.
    void setRunning(bool on);
    bool running() const { return m_running; }

    // One tick for the page's block: a request for its registers unless one is still pending
    // or the page is not polled by Modbus. True when a request was queued.
    bool tick(int page, const TAutoRead& block);
    // Queues the block's request now, whatever is pending (a benchmark drives it so).
    void send(int page, const TAutoRead& block);
    bool pending() const { return m_pending; }
    // The page of the last tick.
    int pageCursor() const { return m_cursor; }

    // The interval the interval box asks for, when it is a number above the minimum and not
    // the current one.
    static std::optional<int> requestedInterval(const QString& text, int current);

signals:
    void requestSent(int page);
    // The result of each request: its reply (good or not) or its time-out.
    void resultArrived(const DeviceResult& result);

private:
    DeviceSession& m_device;
    std::function<int()> m_pageInView;
    bool m_running = false;
    bool m_pending = false;
    int m_cursor = 0;
};
