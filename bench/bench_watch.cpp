// A shift of watching: eight hours of ten values polled every 100 ms, run as fast as the
// machine allows through the window's own receive path (session log, receive view, the
// Modbus reply check and its counts, the value labels, the trend store), with the trend
// chart open and redrawn. What matters is that memory stops growing once the bounded
// stores are full: the figures are the peak resident memory, the growth over the last
// simulated hour and what the session log wrote.

#include "app/MainFrm.h"
#include "console/AutoReading.h"
#include "console/SessionLog.h"
#include "console/SessionLogging.h"
#include "console/TrendReading.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "device/AutoReadingSession.h"
#include "trend/TrendWindow.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kValues = 10;
constexpr qint64 kPollsPerHour = 3600 * 10; // one every 100 ms
constexpr qint64 kHours = 8;
constexpr qint64 kRedrawEvery = 300;  // polls: the chart every 30 simulated seconds
constexpr qint64 kSettleEvery = 600;  // polls: events and the log's writer every minute
constexpr qint64 kDamagedEvery = 997; // polls: now and then a reply the line damaged

class FailingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    }
    bool failed = false;
};

QByteArray watchConfig() {
    QString x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TERVALON appName=\"基准\" web1=\"0041\" "
        "web2=\"0041\">\n<SKIN SkinFile=\"Windows\"/>\n"
        "<COMM Port=\"COM1\" Baud=\"115200\" Parity=\"N\" ByteSize=\"8\" StopBits=\"1\"/>\n"
        "<CMDS showButton=\"0\" caption=\"执行\"/>\n<NODE node1=\"一\" node2=\"二\" node3=\"三\"/>\n"
        "<LANGUAGE value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/><EDIT/><COMBOBOX/>"
        "<CHECKBOX/></COMPONETS><MESSAGES/></LANGUAGE>\n<GROUP_DYNC/>\n<GROUP_FIX/>\n"
        "<GROUP_AUTO><A caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"10\">\n";
    for (int r = 0; r < kValues; ++r)
        x += QString("<R%1 caption=\"值%1\" hint=\"\" addr=\"%1\" constA=\"0\" constM=\"0.1\" unit=\"℃\"/>\n")
                 .arg(r);
    x += "</A></GROUP_AUTO>\n</TERVALON>\n";
    return x.toUtf8();
}

long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

double mib(long kb) {
    return double(kb) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FailingPresenter presenter;
    setMessagePresenter(&presenter);

    QTemporaryDir dir;
    QFile file(dir.filePath("config.xml"));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(watchConfig()) < 0) {
        std::fprintf(stderr, "cannot write the configuration\n");
        return 1;
    }
    file.close();

    TForm_Main form(dir.path() + QLatin1Char('/'));
    form.FormCreate();
    form.resize(1280, 720);
    form.show();
    form.autoReading->ticker()->stop(); // the loop below polls, as fast as it can
    form.chk_SessionLog->setChecked(true);
    form.chb_AutoRead->setChecked(true);
    // The port is a line that takes every byte; the replies are fed in below.
    form.Device->setWriter([](QByteArrayView) { return true; });
    form.btn_Trend->click();
    QCoreApplication::processEvents();
    if (presenter.failed || !form.sessionLogging->session()) {
        std::fprintf(stderr, "the console did not start watching\n");
        return 1;
    }

    QList<quint16> values(kValues);
    long peakKb = statusKb("VmRSS:");
    long lastHourStartKb = 0;
    QElapsedTimer timer;
    timer.start();
    const qint64 polls = kHours * kPollsPerHour;
    for (qint64 i = 0; i < polls; ++i) {
        form.Polling->send(0, form.autoReading->pages().blocks.value(0));
        QCoreApplication::processEvents(); // the request goes out through the engine
        for (int v = 0; v < kValues; ++v)
            values[v] = quint16(500 + 400 * std::sin(double(i) / (900.0 + 37 * v)) + (i % 11));
        QByteArray reply = ModbusReadReply(1, values);
        if (i % kDamagedEvery == kDamagedEvery - 1)
            reply[5] = char(reply[5] ^ 0x40);
        form.Device->feed(reply);
        if (i % kRedrawEvery == 0)
            form.trendReading->window()->redraw();
        if (i % kSettleEvery == 0) {
            form.sessionLogging->session()->flush();
            QCoreApplication::processEvents();
            peakKb = std::max(peakKb, statusKb("VmRSS:"));
        }
        if (i == (kHours - 1) * kPollsPerHour)
            lastHourStartKb = statusKb("VmRSS:");
    }
    form.sessionLogging->session()->flush();
    QCoreApplication::processEvents();
    const long endKb = statusKb("VmRSS:");
    peakKb = std::max({peakKb, endKb, statusKb("VmHWM:")});
    const double seconds = double(timer.elapsed()) / 1000.0;

    qint64 logBytes = 0;
    int logFiles = 0;
    for (const QFileInfo& f : QDir(form.sessionLogging->folder()).entryInfoList(QDir::Files)) {
        logBytes += f.size();
        ++logFiles;
    }
    const ModbusHealth& h = form.Device->modbus().health();
    if (h.sent != quint64(polls) || h.ended() != h.sent || presenter.failed) {
        std::fprintf(stderr, "the polling did not run as intended: sent %llu, ended %llu\n",
                     static_cast<unsigned long long>(h.sent), static_cast<unsigned long long>(h.ended()));
        return 1;
    }
    std::printf("watch_8h_peak_rss: %.1f MiB\n", mib(peakKb));
    std::printf("watch_8h_rss_growth_last_hour: %.2f MiB\n", mib(endKb - lastHourStartKb));
    std::printf("watch_8h_session_log: %.1f MiB\n", double(logBytes) / (1024.0 * 1024.0));
    std::printf("watch_8h_session_log_files: %d files\n", logFiles);
    std::printf("watch_8h_trend_samples: %lld samples\n",
                static_cast<long long>(form.trendReading->store().size()));
    std::printf("watch_8h_trend_dropped: %llu samples\n",
                static_cast<unsigned long long>(form.trendReading->store().dropped()));
    std::printf("watch_8h_replies: %llu good, %llu damaged\n", static_cast<unsigned long long>(h.good),
                static_cast<unsigned long long>(h.badCrc));
    std::printf("watch_8h_run_time: %.1f s\n", seconds);
    return 0;
}
