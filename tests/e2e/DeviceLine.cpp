#include "DeviceLine.h"

#include "comm/posix/WriteAll.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

qint64 nowMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}

} // namespace

DeviceLine::DeviceLine(std::optional<SimulatedDevice::Setup> device) {
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    m_portPath = QString::fromLocal8Bit(name);
    if (device)
        m_device.emplace(std::move(*device));
    m_thread = std::thread([this] { run(); });
}

DeviceLine::~DeviceLine() {
    vanish();
}

void DeviceLine::run() {
    char buffer[4096];
    while (!m_stop.load()) {
        pollfd p{m_master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 10);
        QByteArray reply;
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                const QByteArray bytes(buffer, static_cast<qsizetype>(n));
                {
                    std::lock_guard lock(m_mutex);
                    // Copied, not shared: appending to an empty array would share bytes' buffer.
                    m_wire.append(buffer, static_cast<qsizetype>(n));
                }
                if (m_device)
                    reply = m_device->receive(bytes, nowMs());
            }
        } else if (ready == 0 && m_device) {
            reply = m_device->idle(nowMs());
        } else if (ready > 0) {
            ::usleep(1000); // POLLHUP between two openings of the port
        }
        if (!reply.isEmpty())
            posixcomm::WriteAll(m_master, reply.constData(), static_cast<std::size_t>(reply.size()));
    }
}

// A deep copy: a shared copy would hand the reference count to two threads, which
// ThreadSanitizer cannot follow inside an uninstrumented Qt.
QByteArray DeviceLine::wire() const {
    std::lock_guard lock(m_mutex);
    return QByteArray(m_wire.constData(), m_wire.size());
}

void DeviceLine::clearWire() {
    std::lock_guard lock(m_mutex);
    m_wire.clear();
}

void DeviceLine::write(const QByteArray& bytes) {
    posixcomm::WriteAll(m_master, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void DeviceLine::vanish() {
    m_stop.store(true);
    if (m_thread.joinable())
        m_thread.join();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}
