#include "bench/PacedDevice.h"

#include "comm/posix/WriteAll.h"

#include <algorithm>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

qint64 msOf(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

} // namespace

PacedDevice::PacedDevice(SimulatedDevice::Setup setup, int baud)
    : m_device(std::move(setup)), m_charTime(std::chrono::nanoseconds(10'000'000'000LL / baud)) {
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return;
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    m_path = QString::fromLocal8Bit(name);
    m_thread = std::thread([this] { run(); });
}

PacedDevice::~PacedDevice() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

void PacedDevice::run() {
    char buffer[4096];
    Clock::time_point lineFree = Clock::now(); // when the last byte in either direction ends
    while (!m_stop) {
        pollfd p{m_master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 1);
        QByteArray reply;
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) {
                ::usleep(1000);
                continue;
            }
            m_moved += n;
            // The request is in once its last byte has crossed the line.
            lineFree = std::max(lineFree, Clock::now()) + n * m_charTime;
            std::this_thread::sleep_until(lineFree);
            reply = m_device.receive(QByteArrayView(buffer, n), msOf(Clock::now()));
        } else {
            reply = m_device.idle(msOf(Clock::now()));
        }
        // Byte i leaves at start + i character times; a sleep that overran sends the bytes
        // that fell due meanwhile at once, so the pace never drifts behind the line's.
        const Clock::time_point start = std::max(lineFree, Clock::now());
        qsizetype sent = 0;
        while (sent < reply.size()) {
            const auto due = static_cast<qsizetype>((Clock::now() - start) / m_charTime) + 1;
            const qsizetype count = std::min(reply.size(), std::max(due, sent + 1)) - sent;
            posixcomm::WriteAll(m_master, reply.constData() + sent, static_cast<std::size_t>(count));
            sent += count;
            std::this_thread::sleep_until(start + sent * m_charTime);
        }
        if (!reply.isEmpty())
            lineFree = start + reply.size() * m_charTime;
        m_moved += reply.size();
    }
}
