// bench_cli: `tervalon-cli read` of the bundled example against the simulated device on a
// pseudo-terminal that passes bytes at a serial line's pace, at 9600 and 115200 baud, next to
// the time the request and reply bytes need on such a line. The command's time includes
// starting the process; that start alone is measured too.

#include "bench/PacedDevice.h"
#include "console/protocol/CommandText.h"
#include "tools/sim/SimulatedDevice.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

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
