#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 2> handled = {SIGTERM, SIGINT};

// Written by the handler, read by the event loop. -1 while no object is installed.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;
struct sigaction previous[handled.size()];

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const int fd = writeEnd;
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // A full pipe already holds a request to close; losing this one changes nothing.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

void closeBoth(int fds[2]) {
    ::close(fds[0]);
    ::close(fds[1]);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (writeEnd >= 0)
        return; // another object already listens
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readEnd = fds[0];
    writeEnd = fds[1];
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled.size(); ++i) {
        if (::sigaction(handled[i], &action, &previous[i]) != 0) {
            for (std::size_t j = 0; j < i; ++j)
                ::sigaction(handled[j], &previous[j], nullptr);
            writeEnd = -1;
            readEnd = -1;
            closeBoth(fds);
            return;
        }
    }
    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < handled.size(); ++i)
        ::sigaction(handled[i], &previous[i], nullptr);
    int fds[2] = {readEnd, static_cast<int>(writeEnd)};
    writeEnd = -1;
    readEnd = -1;
    delete m_notifier;
    closeBoth(fds);
}

void TerminationSignals::drain() {
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(readEnd, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i)
            emit received(bytes[i]);
    }
}
