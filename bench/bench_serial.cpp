// Pushes data each way through a pseudo-terminal pair with TComm on one end and prints the
// throughput, the processor time the component spends per MB, and how long after the last
// byte the receive event runs.
#include "comm/SerialComm.h"
#include "comm/posix/WriteAll.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t MB = 1 << 20;
constexpr std::size_t TransferBytes = 64 * MB;

char PatternByte(std::size_t i) {
    return static_cast<char>(i % 251);
}

double CpuSeconds(int who) {
    rusage u{};
    ::getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Pty {
    int master = -1, slave = -1;
    std::string path;
    Pty() {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = name;
    }
    ~Pty() {
        ::close(master);
        ::close(slave);
    }
};

void Open(TComm& comm, const Pty& pty) {
    comm.SetCommName(QString::fromStdString(pty.path));
    comm.SetBaudRate(4000000);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
}

// Device → component. The figure counts the whole process's processor time except the thread
// that plays the device.
bool BenchReceive() {
    Pty pty;
    TComm comm;
    Open(comm, pty);
    std::vector<char> data(TransferBytes);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = PatternByte(i);
    std::size_t received = 0;
    bool intact = true;
    comm.OnReceiveData = [&](QObject*, const char* buffer, std::uint16_t length) {
        intact = intact && received + length <= data.size() &&
                 std::memcmp(buffer, data.data() + received, length) == 0;
        received += length;
    };
    if (pty.path.empty() || !comm.StartComm().isEmpty())
        return false;

    std::atomic<double> senderCpu{0};
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    std::thread sender([&] {
        posixcomm::WriteAll(pty.master, data.data(), data.size());
        senderCpu = CpuSeconds(RUSAGE_THREAD);
    });
    const bool done = WaitUntil([&] { return received >= TransferBytes; }, 120'000);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    sender.join();
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore - senderCpu;
    if (!done)
        return false;
    std::printf("receive_throughput: %.1f MB/s\n", TransferBytes / MB / seconds);
    std::printf("receive_cpu: %.4f s/MB\n", cpu / (TransferBytes / MB));
    std::printf("receive_intact: %d bool\n", intact && received == TransferBytes ? 1 : 0);
    return true;
}

// Component → device, in blocks of 64 KiB as fast as WriteCommData takes them.
bool BenchSend() {
    Pty pty;
    TComm comm;
    Open(comm, pty);
    if (pty.path.empty() || !comm.StartComm().isEmpty())
        return false;
    ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);

    std::vector<char> data(TransferBytes);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = PatternByte(i);
    std::atomic<double> readerCpu{0};
    std::atomic<bool> intact{true};
    std::atomic<std::size_t> got{0};
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    std::thread device([&] {
        std::vector<char> buffer(1 << 16);
        std::size_t total = 0;
        const auto deadline = Clock::now() + std::chrono::seconds(120);
        while (total < TransferBytes && Clock::now() < deadline) {
            const ssize_t n = ::read(pty.master, buffer.data(), buffer.size());
            if (n > 0) {
                for (ssize_t k = 0; k < n; ++k)
                    if (buffer[k] != PatternByte(total + k))
                        intact = false;
                total += static_cast<std::size_t>(n);
            } else {
                pollfd p{pty.master, POLLIN, 0};
                ::poll(&p, 1, 100);
            }
        }
        got = total;
        readerCpu = CpuSeconds(RUSAGE_THREAD);
    });
    constexpr std::size_t Block = 64 * 1024;
    for (std::size_t off = 0; off < data.size(); off += Block)
        comm.WriteCommData(data.data() + off, static_cast<std::uint32_t>(std::min(Block, data.size() - off)));
    device.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore - readerCpu;
    if (got != TransferBytes)
        return false;
    std::printf("send_throughput: %.1f MB/s\n", TransferBytes / MB / seconds);
    std::printf("send_cpu: %.4f s/MB\n", cpu / (TransferBytes / MB));
    std::printf("send_intact: %d bool\n", intact ? 1 : 0);
    return true;
}

// From the device's last byte to the receive event, with the default 100 ms interval.
bool BenchLatency() {
    Pty pty;
    TComm comm;
    Open(comm, pty);
    Clock::time_point arrived;
    int events = 0;
    comm.OnReceiveData = [&](QObject*, const char*, std::uint16_t) {
        arrived = Clock::now();
        ++events;
    };
    if (pty.path.empty() || !comm.StartComm().isEmpty())
        return false;
    std::vector<double> ms;
    for (int round = 0; round < 20; ++round) {
        const auto sent = Clock::now();
        if (!posixcomm::WriteAll(pty.master, "$KRDV=1#\r\n", 10))
            return false;
        if (!WaitUntil([&] { return events == round + 1; }, 5000))
            return false;
        ms.push_back(std::chrono::duration<double, std::milli>(arrived - sent).count());
    }
    std::sort(ms.begin(), ms.end());
    const double interval = comm.ReadIntervalTimeout();
    std::printf("latency_interval: %.0f ms\n", interval);
    std::printf("latency_median: %.2f ms\n", ms[ms.size() / 2]);
    std::printf("latency_max: %.2f ms\n", ms.back());
    std::printf("latency_over_interval_max: %.2f ms\n", ms.back() - interval);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool ok = BenchReceive() && BenchSend() && BenchLatency();
    if (!ok)
        std::fprintf(stderr, "bench_serial: could not measure\n");
    return ok ? 0 : 1;
}
