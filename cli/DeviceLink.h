#pragma once

// The command line's hold on the device: one DeviceSession (the engine the window uses),
// opened with the run's port settings, and exchanges that wait for their result.
//
// A command is a sequence, so each exchange runs the one event loop of the process until
// its result has come; there is no outer loop that could be re-entered. Replies, time-outs
// and the line's settling are the engine's.

#include "device/DeviceSession.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct CliConfig;

class DeviceLink {
public:
    explicit DeviceLink(const CliConfig& config);

    // Empty when the port is open; otherwise one line: the setting that is wrong (configError
    // set) or why the port could not be opened.
    QString open(bool* configError);

    DeviceSession& session() { return m_session; }
    // The device vanished (adapter pulled, far side closed). The port is closed then, so the
    // requests after it end at once instead of each waiting out its time.
    bool hungUp() const { return m_hungUp; }
    // Queues the request and waits for its result.
    DeviceResult exchange(DeviceRequest request);
    // Runs the event loop for ms milliseconds (received blocks keep coming meanwhile).
    void pause(qint64 ms);
    // Runs the event loop until done() holds or ms have passed; false on the time-out.
    bool waitUntil(const std::function<bool()>& done, qint64 ms);

private:
    const CliConfig& m_config;
    DeviceSession m_session;
    bool m_hungUp = false;
};
