#pragma once

#include "tools/sim/SimulatedDevice.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

// The device's end of a pseudo-terminal pair: a thread reads everything the console sends
// (kept for checking the exact bytes on the wire) and, when a simulated device is given,
// answers as it does. Tests can also write their own bytes and make the device vanish.
class DeviceLine {
public:
    explicit DeviceLine(std::optional<SimulatedDevice::Setup> device = SimulatedDevice::Setup{});
    ~DeviceLine();
    DeviceLine(const DeviceLine&) = delete;
    DeviceLine& operator=(const DeviceLine&) = delete;

    // The path the console opens.
    QString portPath() const { return m_portPath; }
    // Everything received so far.
    QByteArray wire() const;
    void clearWire();
    // Sends bytes to the console as the device.
    void write(const QByteArray& bytes);
    // Closes the device's end, as when an adapter is pulled.
    void vanish();

private:
    void run();

    int m_master = -1;
    int m_slave = -1; // held so the pair survives the console closing and reopening the port
    QString m_portPath;
    std::optional<SimulatedDevice> m_device;
    mutable std::mutex m_mutex;
    QByteArray m_wire;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
