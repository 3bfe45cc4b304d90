#include "ReceiveCase.h"

#include "OldReceiveBox.h"
#include "ReceiveViewProbe.h"
#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "comm/posix/WriteAll.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr qint64 kTextBytes = 10'000'000;
constexpr qint64 kHexBytes = 1 << 20;
constexpr int kTrickleLines = 2000; // 100 a second for 20 s
constexpr auto kTrickleStep = std::chrono::milliseconds(10);
constexpr auto kFloodTime = std::chrono::seconds(10);

QByteArray textLine(qint64 i) {
    return QByteArray("device line ") + QByteArray::number(i).rightJustified(10, '0') + QByteArray(36, 'x') +
           "\r\n";
}

QByteArray textLines(qint64 bytes) {
    QByteArray text;
    text.reserve(bytes + 64);
    for (qint64 i = 0; text.size() + 60 <= bytes; ++i)
        text += textLine(i);
    return text;
}

QByteArray randomBytes(qint64 bytes) {
    QByteArray binary(bytes, Qt::Uninitialized);
    for (char& b : binary)
        b = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return binary;
}

double processCpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double peakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The far side of the line, on a thread of its own; its processor time is not the window's.
struct Sender {
    std::atomic<qint64> sent{0};
    std::atomic<bool> done{false};
    std::atomic<int> linesSent{0};
    std::vector<Clock::time_point> lineTimes;
    Clock::time_point finished;
    double cpuSeconds = 0;

    void finish() {
        cpuSeconds = threadCpuSeconds();
        finished = Clock::now();
        done = true;
    }
    void bulk(int fd, const QByteArray& data) {
        posixcomm::WriteAll(fd, data.constData(), std::size_t(data.size()));
        sent = data.size();
        finish();
    }
    void trickle(int fd) {
        lineTimes.resize(kTrickleLines);
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kTrickleLines; ++i) {
            std::this_thread::sleep_until(start + i * kTrickleStep);
            const QByteArray line = textLine(i);
            lineTimes[std::size_t(i)] = Clock::now();
            posixcomm::WriteAll(fd, line.constData(), std::size_t(line.size()));
            sent += line.size();
            linesSent.store(i + 1, std::memory_order_release);
        }
        finish();
    }
    void flood(int fd, const QByteArray& pattern) {
        const Clock::time_point end = Clock::now() + kFloodTime;
        while (Clock::now() < end) {
            if (!posixcomm::WriteAll(fd, pattern.constData(), std::size_t(pattern.size())))
                break;
            sent += pattern.size();
        }
        finish();
    }
};

struct Figures {
    double longestPauseMs = 0;
    double showMs = 0;
    double cpuSeconds = 0;
    std::vector<double> lineLatencyMs;
    bool complete = false;
};

// Calls back just after the watched widget has painted, with the time the paint began, so
// that a slow line's display delays are taken when the view draws instead of by polling
// (polling every millisecond would cost more than the view does on such a line).
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* painted, std::function<void(Clock::time_point)> painted_)
        : m_callback(std::move(painted_)) {
        painted->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const Clock::time_point at = Clock::now();
            QMetaObject::invokeMethod(
                this, [this, at] { m_callback(at); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void(Clock::time_point)> m_callback;
};

// With BENCH_RECEIVE_PAINTS set, how many times each widget painted during the case goes to
// the error stream: what a catch-up really repaints beyond the rows it drew.
class PaintCounter : public QObject {
public:
    ~PaintCounter() override {
        for (const auto& [name, count] : m_counts)
            std::fprintf(stderr, "paints %s: %d\n", qPrintable(name), count);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++m_counts[QStringLiteral("%1 %2").arg(QString::fromLatin1(watched->metaObject()->className()),
                                                   watched->objectName())];
        return false;
    }

private:
    std::map<QString, int> m_counts;
};

class Case {
public:
    Case(TForm_Main& form, int master, ReceiveViewProbe probe)
        : m_form(form), m_master(master), m_probe(std::move(probe)) {
        auto original = m_form.Comm1->OnReceiveData;
        m_form.Comm1->OnReceiveData = [this, original](QObject* s, const char* b, std::uint16_t n) {
            m_handled += n;
            original(s, b, n);
            m_linesGiven += int(std::count(b, b + n, '\n'));
            m_deliveries.push_back({m_probe.givenCharacters(), m_linesGiven});
        };
    }

    Figures run(const QString& stream) {
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        std::unique_ptr<PaintWatch> watch;
        if (stream.startsWith(QLatin1String("trickle")) && m_probe.painted) {
            // Pauses of the event loop are still seen, to within the tick.
            tick.setInterval(10);
            m_paintWatched = true;
            watch = std::make_unique<PaintWatch>(m_probe.painted, [&](Clock::time_point at) {
                noteShownLines(at);
                checkDone(loop, Clock::now());
            });
        } else {
            tick.setInterval(1);
        }
        QObject::connect(&tick, &QTimer::timeout, [&] { onTick(loop); });
        QTimer::singleShot(180000, &loop, &QEventLoop::quit);
        const double cpuBefore = processCpuSeconds();
        m_start = Clock::now();
        m_last = m_start;
        std::thread writer([&] { feed(stream); });
        tick.start();
        loop.exec();
        writer.join();
        m_figures.cpuSeconds = processCpuSeconds() - cpuBefore - m_sender.cpuSeconds;
        return m_figures;
    }
    double afterSilenceMs() const {
        return std::chrono::duration<double, std::milli>(m_doneAt - m_sender.finished).count();
    }
    qint64 sentBytes() const { return m_sender.sent; }

private:
    void feed(const QString& stream) {
        if (stream == QLatin1String("text"))
            m_sender.bulk(m_master, textLines(kTextBytes));
        else if (stream == QLatin1String("hex"))
            m_sender.bulk(m_master, randomBytes(kHexBytes));
        else if (stream.startsWith(QLatin1String("trickle")))
            m_sender.trickle(m_master);
        else if (stream.startsWith(QLatin1String("flood-text")))
            m_sender.flood(m_master, textLines(1 << 20));
        else
            m_sender.flood(m_master, randomBytes(1 << 20));
    }

    void onTick(QEventLoop& loop) {
        const Clock::time_point now = Clock::now();
        const double gap = std::chrono::duration<double, std::milli>(now - m_last).count();
        m_figures.longestPauseMs = std::max(m_figures.longestPauseMs, gap);
        m_last = now;
        if (!m_paintWatched)
            noteShownLines(now);
        checkDone(loop, now);
    }

    void checkDone(QEventLoop& loop, Clock::time_point now) {
        if (!m_figures.complete && m_sender.done && m_handled == m_sender.sent && m_probe.caughtUp()) {
            m_doneAt = now;
            m_figures.showMs = std::chrono::duration<double, std::milli>(now - m_start).count();
            m_figures.complete = true;
            loop.quit();
        }
    }

    // A line is shown once the characters of the delivery that ended it are. Counting by
    // deliveries, not by a line's length, holds also when a line arrives in two deliveries and
    // gets a time stamp before each.
    void noteShownLines(Clock::time_point now) {
        const qint64 shownChars = m_probe.shownCharacters();
        while (m_deliveriesShown < m_deliveries.size() &&
               m_deliveries[m_deliveriesShown].characters <= shownChars)
            ++m_deliveriesShown;
        // A line's send time is read only once the sender says it is written.
        const int shown = std::min(m_deliveriesShown == 0 ? 0 : m_deliveries[m_deliveriesShown - 1].lines,
                                   m_sender.linesSent.load(std::memory_order_acquire));
        for (; m_linesShown < shown; ++m_linesShown)
            m_figures.lineLatencyMs.push_back(
                std::chrono::duration<double, std::milli>(now - m_sender.lineTimes[std::size_t(m_linesShown)])
                    .count());
    }

    TForm_Main& m_form;
    int m_master;
    ReceiveViewProbe m_probe;
    // After each delivery: the characters given to the view and the lines complete.
    struct Delivery {
        qint64 characters;
        int lines;
    };
    std::vector<Delivery> m_deliveries;
    std::size_t m_deliveriesShown = 0;
    int m_linesGiven = 0;
    Sender m_sender;
    Figures m_figures;
    qint64 m_handled = 0;
    int m_linesShown = 0;
    bool m_paintWatched = false;
    Clock::time_point m_start, m_last, m_doneAt;
};

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void print(const char* name, double value, const char* unit) {
    std::printf("%s: %.*f %s\n", name, value < 10 ? 2 : value < 100 ? 1 : 0, value, unit);
}

void printFigures(const QString& stream, const Figures& f, const Case& c) {
    print("cpu_seconds", f.cpuSeconds, "s");
    print("peak_memory", peakMemoryMiB(), "MiB");
    print("longest_pause", f.longestPauseMs, "ms");
    print("time_to_show", f.showMs, "ms");
    if (stream.startsWith(QLatin1String("trickle")) && !f.lineLatencyMs.empty()) {
        std::vector<double> l = f.lineLatencyMs;
        std::sort(l.begin(), l.end());
        print("line_latency_median", l[l.size() / 2], "ms");
        print("line_latency_p99", l[l.size() * 99 / 100], "ms");
        print("line_latency_max", l.back(), "ms");
    }
    if (stream.startsWith(QLatin1String("flood"))) {
        print("sent", double(c.sentBytes()) / (1 << 20), "MiB");
        print("time_to_show_after_line_silent", c.afterSilenceMs(), "ms");
    }
}

} // namespace

int runReceiveCase(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString view = QString::fromLocal8Bit(argv[1]);
    const QString stream = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir dir; // no banner.jpg: the banner stays off
    TForm_Main form(dir.path());
    form.show();
    settle(500); // the window's first layout and painting are start-up, not receiving

    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "bench_receive: openpty failed\n");
        return 1;
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    form.cbb_Port->setCurrentText(QString::fromLocal8Bit(name));
    form.cbb_Baud->setCurrentText(QStringLiteral("115200"));
    form.btn_Connect->click();
    if (form.Comm1->Handle() == 0) {
        std::fprintf(stderr, "bench_receive: cannot open %s\n", name);
        return 1;
    }
    form.chk_autoClearRxmmo->setChecked(false);
    form.rbtn_Hex->setChecked(stream.contains(QLatin1String("hex")));
    form.rbtn_Ascii->setChecked(!stream.contains(QLatin1String("hex")));
    form.chk_showDT->setChecked(stream.endsWith(QLatin1String("stamps")));
    // "new-log": the window's view with the session log writing every block to disk.
    form.chk_SessionLog->setChecked(view == QLatin1String("new-log"));

    ReceiveViewProbe probe;
    if (view == QLatin1String("old")) {
        OldReceiveBox* box = installOldReceiveBox(form);
        probe = {[box] { return box->shownCharacters(); },
                 [box] { return box->shownCharacters() + box->pendingCharacters(); },
                 [box] { return box->caughtUp(); }, static_cast<QPlainTextEdit*>(box->parent())->viewport()};
    } else {
        form.mmo_RX->setIncrementalPainting(view != QLatin1String("full"));
        probe = windowViewProbe(form);
    }
    settle(200);
    Case c(form, master, probe);
    std::unique_ptr<PaintCounter> paints;
    if (qEnvironmentVariableIsSet("BENCH_RECEIVE_PAINTS")) {
        paints = std::make_unique<PaintCounter>();
        app.installEventFilter(paints.get());
    }
    const Figures figures = c.run(stream);
    paints.reset();
    form.Comm1->StopComm();
    ::close(slave);
    ::close(master);
    if (!figures.complete) {
        std::fprintf(stderr, "bench_receive: not everything was shown within three minutes\n");
        return 1;
    }
    printFigures(stream, figures, c);
    return 0;
}
