#pragma once

#include "comm/SerialComm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace commtest {

using namespace std::chrono_literals;

inline void EnsureApp() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_comm";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Runs the event loop until `done` holds; false if the deadline passed first.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
    QDeadlineTimer deadline(timeout);
    QTimer tick; // wakes the loop so the deadline is seen even when nothing is posted
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A pseudo-terminal pair. The component opens the slave by path; the test plays the device on
// the master. The test's own slave descriptor stays open so that the pair outlives each opening.
class PtyPair {
public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            ADD_FAILURE() << "openpty failed: " << errno;
        path_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    }
    ~PtyPair() {
        CloseMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& Path() const { return path_; }
    QString QPath() const { return QString::fromStdString(path_); }
    int Master() const { return master_; }
    int Slave() const { return slave_; }
    void CloseMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    // Writes everything to the master, waiting for room; false on error or past the deadline.
    bool Send(const std::string& data, std::chrono::milliseconds timeout = 20s) const {
        QDeadlineTimer deadline(timeout);
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(master_, data.data() + done, data.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            pollfd p{master_, POLLOUT, 0};
            if (deadline.hasExpired())
                return false;
            ::poll(&p, 1, static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100)));
        }
        return true;
    }

    // Reads from the master until `size` bytes arrived; whatever came is returned at the deadline.
    std::string Receive(std::size_t size, std::chrono::milliseconds timeout = 20s) const {
        QDeadlineTimer deadline(timeout);
        std::string out;
        char buffer[65536];
        while (out.size() < size && !deadline.hasExpired()) {
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, size - out.size()));
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            pollfd p{master_, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100)));
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// Everything a TComm raised, in order.
struct Recorder {
    explicit Recorder(TComm& comm) {
        comm.OnReceiveData = [this](QObject*, const char* buffer, std::uint16_t length) {
            chunks.emplace_back(buffer, length);
            received.append(buffer, length);
            if (buffer[length] != '\0')
                ++missingTerminators;
        };
        comm.OnRequestHangup = [this](QObject*) { ++hangups; };
        comm.OnSendDataEmpty = [this](QObject*) { ++sendEmpty; };
        comm.OnReceiveError = [this](QObject*, std::uint32_t) { ++errors; };
        comm.OnModemStateChange = [this](QObject*, std::uint32_t) { ++modemEvents; };
    }

    std::vector<std::string> chunks;
    std::string received;
    int missingTerminators = 0;
    int hangups = 0;
    int sendEmpty = 0;
    int errors = 0;
    int modemEvents = 0;
};

// Arbitrary bytes, including NUL and the XON/XOFF characters.
inline std::string Pattern(std::size_t size, unsigned seed = 1) {
    std::string data(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& c : data) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return data;
}

// A component set up for binary data on the pty: software flow control would swallow and act on
// the XON/XOFF bytes in the data.
inline void OpenBinary(TComm& comm, const PtyPair& pty) {
    comm.SetCommName(pty.QPath());
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    ASSERT_EQ(comm.StartComm(), QString());
}

class CommTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApp(); }
};

} // namespace commtest
