// bench_cli: `tervalon-cli read` of the bundled example against the simulated device on a
// pseudo-terminal that passes bytes at a serial line's pace, at 9600 and 115200 baud, next to
// the time the request and reply bytes need on such a line. The command's time includes
// starting the process; that start alone is measured too.

#include "comm/posix/WriteAll.h"
#include "console/protocol/CommandText.h"
#include "tools/sim/SimulatedDevice.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kBitsPerByte = 10; // start, 8 data, stop

qint64 nowUs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.nsecsElapsed() / 1000;
}

// The device's end of a pty: a request reaches the device once its bytes have crossed the
// line, and a reply reaches the console once its own bytes have.
class PacedDevice {
public:
    PacedDevice(SimulatedDevice::Setup setup, int baud)
        : m_device(std::move(setup)), m_byteUs(kBitsPerByte * 1e6 / baud) {
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
    ~PacedDevice() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_master);
        ::close(m_slave);
    }
    QString path() const { return m_path; }

private:
    struct Timed {
        qint64 dueUs;
        QByteArray bytes;
    };

    void run() {
        char buffer[4096];
        while (!m_stop) {
            const qint64 now = nowUs();
            while (!m_in.empty() && m_in.front().dueUs <= now) {
                const QByteArray reply = m_device.receive(m_in.front().bytes, now / 1000);
                m_in.pop_front();
                queueOut(reply, now);
            }
            queueOut(m_device.idle(now / 1000), now);
            while (!m_out.empty() && m_out.front().dueUs <= now) {
                posixcomm::WriteAll(m_master, m_out.front().bytes.constData(),
                                    size_t(m_out.front().bytes.size()));
                m_out.pop_front();
            }
            pollfd p{m_master, POLLIN, 0};
            const timespec slice{0, 100'000};
            if (::ppoll(&p, 1, &slice, nullptr) > 0 && (p.revents & POLLIN)) {
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                if (n > 0) {
                    m_inLineFree = std::max(m_inLineFree, nowUs()) + qint64(n * m_byteUs);
                    m_in.push_back({m_inLineFree, QByteArray(buffer, n)});
                }
            }
        }
    }
    void queueOut(const QByteArray& reply, qint64 now) {
        if (reply.isEmpty())
            return;
        m_outLineFree = std::max(m_outLineFree, now) + qint64(reply.size() * m_byteUs);
        m_out.push_back({m_outLineFree, reply});
    }

    SimulatedDevice m_device;
    double m_byteUs;
    int m_master = -1, m_slave = -1;
    QString m_path;
    std::deque<Timed> m_in, m_out;
    qint64 m_inLineFree = 0, m_outLineFree = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The best of a few runs, in milliseconds; -1 when the command failed.
double bestRunMs(const QStringList& arguments, int runs) {
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        const qint64 start = nowUs();
        p.start(QCoreApplication::applicationDirPath() + "/tervalon-cli", arguments);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return -1;
        const double ms = (nowUs() - start) / 1000.0;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString config = dir.filePath("config.xml");
    if (!QFile::copy(QCoreApplication::applicationDirPath() + "/config.xml", config)) {
        std::fputs("bench_cli: no config.xml beside the program\n", stderr);
        return 1;
    }
    SimulatedDevice::Setup setup = LoadSimulatorSetup(config);
    setup.textValues = {{1001, "5"},    {1002, "2"},  {1003, "1"},     {1004, "1"}, {2001, "-3"},
                        {2002, "1000"}, {2003, "26"}, {2004, "48879"}, {3001, "0"}, {3002, "502"}};

    const double startMs = bestRunMs({"--version"}, 5);
    if (startMs < 0)
        return 1;
    std::printf("cli_start: %.1f ms\n", startMs);
    for (int baud : {9600, 115200}) {
        PacedDevice device(setup, baud);
        SimulatedDevice reference(setup);
        qint64 wireBytes = 0;
        for (const auto& [address, value] : setup.textValues.asKeyValueRange()) {
            const QByteArray request = LineToBytes(ReadCommand(address));
            wireBytes += request.size() + reference.receive(request, 0).size();
        }
        const double wireMs = wireBytes * kBitsPerByte * 1000.0 / baud;
        const double readMs = bestRunMs(
            {"read", "--config", config, "--port", device.path(), "--baud", QString::number(baud)}, 3);
        if (readMs < 0) {
            std::fputs("bench_cli: the read failed\n", stderr);
            return 1;
        }
        const int count = int(setup.textValues.size());
        std::printf("cli_read_%d: %.1f ms\n", baud, readMs);
        std::printf("cli_read_%d_wire: %.1f ms\n", baud, wireMs);
        std::printf("cli_read_%d_per_parameter: %.1f ms\n", baud, (readMs - startMs) / count);
        std::printf("cli_read_%d_wire_per_parameter: %.1f ms\n", baud, wireMs / count);
    }
    return 0;
}
