// tervalon-sim: a simulated field device on a pseudo-terminal, for trying the console
// without hardware. Prints the port's path as its first line, then answers until SIGINT
// or SIGTERM.

#include "comm/posix/WriteAll.h"
#include "config/AppError.h"
#include "tools/sim/SimulatedDevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

const char kUsage[] =
    "Usage: tervalon-sim [--config PATH] [--link PATH] [--verbose] [--dollar-ack]\n"
    "                    [--split N] [--split-pause MS] [--dollar-registers] [--modbus-delay MS]\n"
    "                    [--modbus-fault silent|crc|length|exception] [--silent ADDRS] [--ignore-writes "
    "ADDRS]\n"
    "                    [--reply-delay ADDR:MS,...]\n"
    "  --config PATH       console configuration whose automatic-reading pages (protocol MODBUS)\n"
    "                      give the stations and registers; default: config.xml beside this program\n"
    "  --link PATH         also make PATH a symbolic link to the port (removed on exit)\n"
    "  --verbose           log every request and reply on stderr\n"
    "  --dollar-ack        acknowledge writes with \"$KWRV=OK\" CR LF\n"
    "  --split N           send each text reply in N pieces (1 to 64)\n"
    "  --split-pause MS    pause between those pieces (default 150, up to 10000)\n"
    "  --dollar-registers  registers read 0x2431, 0x3D37, 0x0D0A (bytes \"$1\", \"=7\", CR LF)\n"
    "  --modbus-delay MS   answer Modbus requests this late (up to 60000)\n"
    "  --modbus-fault F    answer every Modbus request wrongly: silent (no reply), crc (damaged\n"
    "                      check sequence), length (one register too many), exception (02)\n"
    "  --silent ADDRS      leave reads and writes of these text-protocol addresses (comma-separated)\n"
    "                      unanswered\n"
    "  --ignore-writes ADDRS  acknowledge writes to these addresses but keep their values\n"
    "  --reply-delay ADDR:MS,...  answer these text-protocol addresses this late (up to 60000 ms)\n";

struct Options {
    QString configPath;
    QString linkPath;
    bool verbose = false;
    SimulatedDevice::Setup behaviour; // the options only; blocks and values come from the file
};

// A whole decimal number within [low, high].
bool readNumber(const char* text, qint64 low, qint64 high, qint64& value) {
    bool ok = false;
    value = QString::fromLocal8Bit(text).toLongLong(&ok);
    return ok && value >= low && value <= high;
}

bool parseValueOption(const QString& arg, const char* text, SimulatedDevice::Setup& b) {
    using Fault = SimulatedDevice::Setup::ModbusFault;
    static const QHash<QString, Fault> faults = {{QStringLiteral("silent"), Fault::Silent},
                                                 {QStringLiteral("crc"), Fault::BadCrc},
                                                 {QStringLiteral("length"), Fault::WrongLength},
                                                 {QStringLiteral("exception"), Fault::Exception}};
    qint64 n = 0;
    if (arg == QLatin1String("--silent") || arg == QLatin1String("--ignore-writes")) {
        QSet<qint32>& addresses = arg == QLatin1String("--silent") ? b.silentAddresses : b.ignoredWriteAddresses;
        for (const QString& piece : QString::fromLocal8Bit(text).split(QLatin1Char(','))) {
            bool ok = false;
            const int addr = piece.trimmed().toInt(&ok);
            if (!ok)
                return false;
            addresses.insert(addr);
        }
        return true;
    }
    if (arg == QLatin1String("--reply-delay")) {
        for (const QString& piece : QString::fromLocal8Bit(text).split(QLatin1Char(','))) {
            const QStringList pair = piece.split(QLatin1Char(':'));
            bool addrOk = false, msOk = false;
            const int addr = pair.value(0).trimmed().toInt(&addrOk);
            const qint64 ms = pair.value(1).trimmed().toLongLong(&msOk);
            if (pair.size() != 2 || !addrOk || !msOk || ms < 0 || ms > 60000)
                return false;
            b.replyDelayMs.insert(addr, ms);
        }
        return true;
    }
    if (arg == QLatin1String("--modbus-fault") && faults.contains(QString::fromLocal8Bit(text)))
        b.modbusFault = faults.value(QString::fromLocal8Bit(text));
    else if (arg == QLatin1String("--split") && readNumber(text, 1, 64, n))
        b.textReplyPieces = static_cast<int>(n);
    else if (arg == QLatin1String("--split-pause") && readNumber(text, 0, 10000, n))
        b.piecePauseMs = n;
    else if (arg == QLatin1String("--modbus-delay") && readNumber(text, 0, 60000, n))
        b.modbusDelayMs = n;
    else
        return false;
    return true;
}

bool parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        if ((arg == QLatin1String("--config") || arg == QLatin1String("--link")) && hasValue) {
            (arg == QLatin1String("--config") ? options.configPath : options.linkPath) =
                QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (arg == QLatin1String("--dollar-ack")) {
            options.behaviour.dollarWriteAck = true;
        } else if (arg == QLatin1String("--dollar-registers")) {
            options.behaviour.dollarRegisters = true;
        } else if (!hasValue || !parseValueOption(arg, argv[++i], options.behaviour)) {
            return false;
        }
    }
    return true;
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Removes the symbolic link on exit, if it still points at this device's port.
class PortLink {
public:
    PortLink(QByteArray link, QByteArray target) : m_link(std::move(link)), m_target(std::move(target)) {}
    ~PortLink() {
        char buffer[4096];
        const ssize_t n = ::readlink(m_link.constData(), buffer, sizeof buffer);
        if (n >= 0 && QByteArray(buffer, n) == m_target)
            ::unlink(m_link.constData());
    }

private:
    QByteArray m_link;
    QByteArray m_target;
};

// Everything the device runs on; members go in reverse order, the link first.
struct Port {
    Fd stopFd;       // SIGINT and SIGTERM, read as data
    Fd master;       // the device's side
    Fd console;      // the console's side, held open by the device too
    QByteArray path; // the console's side, by name
    std::unique_ptr<PortLink> link;
};

void logBytes(const char* direction, const QByteArray& bytes) {
    std::fprintf(stderr, "%s %s\n", direction, bytes.toHex(' ').constData());
}

QString defaultConfigPath(const char* argv0) {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const QString exe = n > 0 ? QString::fromLocal8Bit(self, n) : QString::fromLocal8Bit(argv0);
    return QFileInfo(exe).absolutePath() + QStringLiteral("/config.xml");
}

// The options' behaviour with the stations, registers and values of the configuration. An
// explicit configuration must load; the default one is used only if it is there. Empty when
// the configuration cannot be read.
std::optional<SimulatedDevice::Setup> loadSetup(Options& options, const char* argv0) {
    const bool explicitConfig = !options.configPath.isEmpty();
    if (!explicitConfig)
        options.configPath = defaultConfigPath(argv0);

    SimulatedDevice::Setup setup = options.behaviour;
    if (explicitConfig || QFileInfo::exists(options.configPath)) {
        try {
            const SimulatedDevice::Setup loaded = LoadSimulatorSetup(options.configPath);
            setup.blocks = loaded.blocks;
            setup.textValues = loaded.textValues;
        } catch (const AppError& e) {
            std::fprintf(stderr, "tervalon-sim: %s\n", e.what());
            return std::nullopt;
        }
    }
    if (setup.blocks.isEmpty()) {
        std::fputs("tervalon-sim: no Modbus pages configured; serving station 1, registers 0-15\n", stderr);
        setup.blocks.append({1, 0, 16});
    }
    for (const auto& b : setup.blocks)
        std::fprintf(stderr, "tervalon-sim: station %u registers %u-%u\n", b.station, b.first,
                     unsigned(b.first) + b.count - 1);
    return setup;
}

// Replaces a link left by an earlier run; false (reported) when the link cannot be made.
bool linkPort(Port& port, const QString& linkPathText) {
    const QByteArray linkPath = linkPathText.toLocal8Bit();
    struct stat st {};
    if (::lstat(linkPath.constData(), &st) == 0 && S_ISLNK(st.st_mode))
        ::unlink(linkPath.constData());
    if (::symlink(port.path.constData(), linkPath.constData()) != 0) {
        std::fprintf(stderr, "tervalon-sim: cannot link %s: %s\n", linkPath.constData(),
                     std::strerror(errno));
        return false;
    }
    port.link = std::make_unique<PortLink>(linkPath, port.path);
    return true;
}

// The stop signals' descriptor, the pseudo-terminal and the optional link; false (reported)
// on any failure.
bool openPort(Port& port, const QString& linkPath) {
    // Signals are taken through a descriptor, so the loop ends cleanly between replies.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    port.stopFd.reset(::signalfd(-1, &stopSignals, SFD_CLOEXEC));

    port.master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    const int master = port.master.get();
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 || port.stopFd.get() < 0) {
        std::fprintf(stderr, "tervalon-sim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
        return false;
    }
    port.path = ::ptsname(master);
    // Replies are written with a deadline, which only a non-blocking descriptor can keep.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    // Holding the port side open keeps the pair alive while the console closes and reopens
    // it (otherwise reads here fail with EIO), and lets the line be made raw before the
    // console comes: no echo, no line editing, no CR/LF translation in either direction.
    port.console.reset(::open(port.path.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios raw{};
    if (port.console.get() < 0 || ::tcgetattr(port.console.get(), &raw) != 0) {
        std::fprintf(stderr, "tervalon-sim: cannot open %s: %s\n", port.path.constData(),
                     std::strerror(errno));
        return false;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(port.console.get(), TCSANOW, &raw);

    return linkPath.isEmpty() || linkPort(port, linkPath);
}

// How long a reply may wait for room on the line.
constexpr int kReplyWriteMs = 1000;

// Answers requests until a stop signal (exit code 0) or a failing port (1).
int serve(const Port& port, SimulatedDevice& device, bool verbose) {
    const int master = port.master.get();
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    for (;;) {
        pollfd fds[2] = {{port.stopFd.get(), POLLIN, 0}, {master, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(SimulatedDevice::kGapMs));
        if (ready < 0 && errno != EINTR) {
            std::perror("tervalon-sim: poll");
            return 1;
        }
        if (fds[0].revents & POLLIN)
            return 0;
        QByteArray reply;
        if (fds[1].revents & POLLIN) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n < 0 && errno != EINTR && errno != EAGAIN) {
                std::perror("tervalon-sim: read");
                return 1;
            }
            if (n > 0) {
                const QByteArray bytes(buffer, n);
                if (verbose)
                    logBytes("<-", bytes);
                reply = device.receive(bytes, clock.elapsed());
            }
        } else {
            reply = device.idle(clock.elapsed());
        }
        if (!reply.isEmpty()) {
            if (verbose)
                logBytes("->", reply);
            if (!posixcomm::WriteAll(master, reply.constData(), static_cast<std::size_t>(reply.size()),
                                     kReplyWriteMs)) {
                if (errno != ETIMEDOUT) {
                    std::perror("tervalon-sim: write");
                    return 1;
                }
                // The console is not reading and the line is full. Waiting on would leave the
                // stop signals unread, so the rest of this reply is dropped.
                std::fprintf(stderr,
                             "tervalon-sim: a reply of %lld bytes was not taken within %d ms; dropped\n",
                             static_cast<long long>(reply.size()), kReplyWriteMs);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::optional<SimulatedDevice::Setup> setup = loadSetup(options, argv[0]);
    if (!setup)
        return 1;

    Port port;
    if (!openPort(port, options.linkPath))
        return 1;
    std::printf("%s\n", port.path.constData());
    std::fflush(stdout);

    SimulatedDevice device(std::move(*setup));
    const int status = serve(port, device, options.verbose);
    if (status == 0)
        std::fputs("tervalon-sim: stopped\n", stderr);
    return status;
}
