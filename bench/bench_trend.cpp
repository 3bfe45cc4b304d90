// The trend chart over one hour of four values polled at 10 Hz: what the samples cost in
// memory, how long recording them takes, and how long the chart takes to redraw the whole
// hour (thinning the samples and handing the lines to the chart) and to paint it.

#include "console/protocol/TrendCsv.h"
#include "console/protocol/TrendStore.h"
#include "trend/TrendWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kSeries = 4;
constexpr int kHz = 10;
constexpr int kSeconds = 3600;
constexpr int kRounds = 20;

// Resident memory of the process in kB.
long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double averageMs(const std::function<void()>& work) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kRounds; ++i)
        work();
    return double(t.nsecsElapsed()) / 1e6 / kRounds;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const long rssBefore = residentKb();
    TrendStore store;
    store.start(QDateTime::currentDateTime(), 0);
    QElapsedTimer t;
    t.start();
    const int polls = kSeconds * kHz;
    for (int i = 0; i < polls; ++i) {
        QList<TrendStore::Reading> readings;
        for (int s = 0; s < kSeries; ++s)
            readings.append({0, 100 + s, 50 + 40 * std::sin(i / (300.0 + 70 * s)) + (i % 7) * 0.1,
                             QStringLiteral("值%1").arg(s), QStringLiteral("单位")});
        store.record(qint64(i) * 1000 / kHz, readings);
    }
    const double recordMs = double(t.nsecsElapsed()) / 1e6;
    const long rssStored = residentKb();

    TrendWindow window(store);
    window.resize(1280, 720);
    window.cbb_TrendMinutes->setCurrentText(QStringLiteral("60"));
    window.show();
    QCoreApplication::processEvents();
    const double redrawMs = averageMs([&] { window.redraw(); });
    const double paintMs = averageMs([&] { window.grab(); });
    const long rssShown = residentKb();

    QByteArray csv;
    t.restart();
    {
        QBuffer out(&csv);
        out.open(QIODevice::WriteOnly);
        WriteTrendCsv(store, out, Language::english());
    }
    const double csvMs = double(t.nsecsElapsed()) / 1e6;

    std::printf("samples: %lld (%d series x %d Hz x %d s)\n", static_cast<long long>(store.size()), kSeries,
                kHz, kSeconds);
    std::printf("sample memory: %.2f MB\n", store.memoryBytes() / 1048576.0);
    std::printf("sample memory at capacity: %.2f MB\n", store.capacity() * 24 / 1048576.0);
    std::printf("resident growth while recording: %.2f MB\n", (rssStored - rssBefore) / 1024.0);
    std::printf("resident growth with the chart shown: %.2f MB\n", (rssShown - rssStored) / 1024.0);
    std::printf("record one hour: %.1f ms\n", recordMs);
    std::printf("redraw of the hour (thin + hand to chart): %.2f ms\n", redrawMs);
    std::printf("paint of the chart window: %.2f ms\n", paintMs);
    std::printf("points drawn per line: %lld\n",
                static_cast<long long>(window.seriesOf(0) ? window.seriesOf(0)->count() : 0));
    std::printf("csv export of the hour: %.1f ms, %.2f MB\n", csvMs, csv.size() / 1048576.0);
    return 0;
}
