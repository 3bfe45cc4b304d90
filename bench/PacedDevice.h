#pragma once

#include "tools/sim/SimulatedDevice.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// The simulated device at the far end of a pseudo-terminal, taking in and giving out its bytes
// at a serial line's pace (ten bits a character): a request reaches the device once its last
// byte has crossed the line, and each reply byte leaves one character time after the one
// before it, as on a real line.
class PacedDevice {
public:
    PacedDevice(SimulatedDevice::Setup setup, int baud);
    ~PacedDevice();
    PacedDevice(const PacedDevice&) = delete;
    PacedDevice& operator=(const PacedDevice&) = delete;

    // The console's end; empty when no pseudo-terminal could be made.
    QString path() const { return m_path; }
    // Bytes that have crossed the line so far, both ways.
    qint64 bytesMoved() const { return m_moved.load(); }

private:
    void run();

    SimulatedDevice m_device;
    std::chrono::nanoseconds m_charTime;
    int m_master = -1, m_slave = -1;
    QString m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_moved{0};
    std::thread m_thread;
};
