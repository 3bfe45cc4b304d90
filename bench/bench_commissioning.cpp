// Read all of the bundled example through the window against the simulated device on a
// pseudo-terminal, the device taking in and giving out its bytes at the pace of 9600 and of
// 115200 baud (ten bits a character), as a real line would. Prints the time per parameter and
// the time the parameter's request and reply bytes need on such a line.

#include "app/MainFrm.h"
#include "bench/PacedDevice.h"
#include "comm/SerialComm.h"
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
#include <cstdio>
#include <vector>

namespace {

class FailingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    }
    std::atomic<bool> failed{false};
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
