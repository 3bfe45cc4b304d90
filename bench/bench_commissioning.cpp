// Read all of the bundled example through the window against the simulated device on a
// pseudo-terminal, the device taking in and giving out its bytes at the pace of 9600 and of
// 115200 baud (ten bits a character), as a real line would. Prints the time per parameter and
// the time the parameter's request and reply bytes need on such a line.

#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "comm/posix/WriteAll.h"
#include "console/Commissioning.h"
#include "tools/sim/SimulatedDevice.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class FailingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    }
    std::atomic<bool> failed{false};
};

qint64 msOf(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

// The device's end: each byte the console sends counts as arrived one character time after
// the one before it; each reply byte leaves one character time after the one before it.
class PacedDevice {
public:
    PacedDevice(SimulatedDevice::Setup setup, int baud)
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
    ~PacedDevice() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    QString path() const { return m_path; }
    qint64 bytesMoved() const { return m_moved.load(); }

private:
    void run() {
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

    SimulatedDevice m_device;
    std::chrono::nanoseconds m_charTime;
    int m_master = -1, m_slave = -1;
    QString m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_moved{0};
    std::thread m_thread;
};

struct Figures {
    double perParameterMs = -1;
    double wirePerParameterMs = -1;
};

Figures measure(const QString& folder, int baud) {
    PacedDevice device(LoadSimulatorSetup(folder + QStringLiteral("config.xml")), baud);
    if (device.path().isEmpty())
        return {};
    TForm_Main form(folder);
    form.FormCreate();
    form.cbb_Port->setCurrentText(device.path());
    form.cbb_Baud->setCurrentText(QString::number(baud));
    form.btn_Connect->click();
    Commissioning* commissioning = form.commissioning;
    if (!commissioning || form.Comm1->Handle() == 0)
        return {};
    const qsizetype parameters = form.Parameters.rows().size();
    std::vector<double> perParameter;
    double wire = 0;
    double exchangeMs = 0;
    int exchanges = 0;
    QElapsedTimer probe;
    probe.start();
    qint64 lastSent = 0, lastReceived = 0;
    double roundTrip = 0, turnaround = 0;
    QObject::connect(form.Device, &DeviceSession::sent, [&](const QByteArray&) {
        lastSent = probe.nsecsElapsed();
        if (lastReceived)
            turnaround += (lastSent - lastReceived) / 1e6;
    });
    QObject::connect(form.Device, &DeviceSession::received, [&](const QByteArray&) {
        lastReceived = probe.nsecsElapsed();
        roundTrip += (lastReceived - lastSent) / 1e6;
    });
    QObject::connect(form.Device, &DeviceSession::finished, [&](quint64, const DeviceResult& r) {
        exchangeMs += static_cast<double>(r.elapsedMs);
        ++exchanges;
    });
    for (int run = 0; run < 7; ++run) {
        const qint64 movedBefore = device.bytesMoved();
        QElapsedTimer timer;
        timer.start();
        commissioning->controls().readAll->click();
        while (commissioning->busy() && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (commissioning->busy())
            return {};
        perParameter.push_back(ms / static_cast<double>(parameters));
        wire = static_cast<double>(device.bytesMoved() - movedBefore) * 10.0 * 1000.0 / baud /
               static_cast<double>(parameters);
    }
    form.Comm1->StopComm();
    if (qEnvironmentVariableIsSet("BENCH_DEBUG"))
        std::fprintf(stderr, "exchange %.2f ms, round trip %.2f, turnaround %.2f\n",
                     exchangeMs / std::max(1, exchanges), roundTrip / std::max(1, exchanges),
                     turnaround / std::max(1, exchanges));
    std::sort(perParameter.begin(), perParameter.end());
    return {perParameter[perParameter.size() / 2], wire};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FailingPresenter presenter;
    setMessagePresenter(&presenter);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    if (!QFile::copy(QStringLiteral(TERVALON_SOURCE_DIR "/examples/config.xml"), folder + "config.xml")) {
        std::fprintf(stderr, "cannot copy the example\n");
        return 1;
    }
    QFile::copy(QStringLiteral(TERVALON_SOURCE_DIR "/examples/banner.jpg"), folder + "banner.jpg");
    QFile::setPermissions(folder + "config.xml", QFile::ReadOwner | QFile::WriteOwner);
    int status = 0;
    for (const int baud : {9600, 115200}) {
        const Figures f = measure(folder, baud);
        if (f.perParameterMs < 0 || presenter.failed) {
            std::fprintf(stderr, "could not read all at %d baud\n", baud);
            status = 1;
            continue;
        }
        std::printf("read_all_%d_per_parameter: %.1f ms\n", baud, f.perParameterMs);
        std::printf("read_all_%d_wire_per_parameter: %.1f ms\n", baud, f.wirePerParameterMs);
    }
    setMessagePresenter(nullptr);
    return status;
}
