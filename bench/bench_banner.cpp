// What the ripple banner costs the running console: processor share of the whole program with
// the window visible (the banner being the only thing that moves), with another window in use,
// with it minimised, and the plain cost of the simulation step alone at the same tick rate, for
// comparison.
// Usage: bench_banner [seconds per phase, default 5]   (offscreen unless QT_QPA_PLATFORM says)

#include "app/MainFrm.h"
#include "appearance/WaterImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Share of one core the process used while the event loop ran for the given time.
double coreShare(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    loop.exec();
    return (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9) * 100.0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString source = QStringLiteral(TERVALON_SOURCE_DIR "/examples/");

    TForm_Main form(source);
    form.resize(1494, 720);
    form.show();
    auto* banner = qobject_cast<TWaterImage*>(form.FindComponent(QStringLiteral("WaterImage1")));
    if (!banner || !banner->LoadPictureFromFile(source + QStringLiteral("banner.jpg"))) {
        std::fprintf(stderr, "could not load the example banner\n");
        return 1;
    }
    banner->setEnabled(true);
    QCoreApplication::processEvents();
    std::printf("banner_size: %dx%d px\n", banner->width(), banner->height());
    std::printf("banner_interval: %d ms\n", banner->Interval());

    coreShare(500); // first paints and caches
    std::printf("visible_cpu: %.2f %%core\n", coreShare(seconds * 1000));
    // Another window in use: the banner rests unless asked to keep moving.
    QWidget other;
    other.show();
    for (int i = 0; i < 100 && !other.isActiveWindow(); ++i) {
        other.activateWindow();
        coreShare(10);
    }
    std::printf("inactive_cpu: %.2f %%core\n", coreShare(seconds * 1000));
    std::printf("inactive_animating: %d\n", banner->IsAnimating() ? 1 : 0);
    other.hide();
    form.activateWindow();
    form.showMinimized();
    std::printf("minimised_cpu: %.2f %%core\n", coreShare(seconds * 1000));
    std::printf("minimised_animating: %d\n", banner->IsAnimating() ? 1 : 0);

    // The same ticks without the window: the wave rule alone, and the rule with the refracted
    // drawing (what a tick costs before any painting).
    const int ticksPerSecond = 1000 / std::max(1, banner->Interval());
    const int rounds = ticksPerSecond * seconds;
    auto perTick = [&](auto&& tick) {
        const double cpu0 = cpuSeconds();
        for (int i = 0; i < rounds; ++i)
            tick();
        return (cpuSeconds() - cpu0) / rounds;
    };
    const double step = perTick([&] { banner->Water().Step(); });
    const double render = perTick([&] { banner->TimerTick(); });
    std::printf("simulation_step: %.3f ms/tick = %.2f %%core at %d ticks/s\n", step * 1e3,
                step * ticksPerSecond * 100.0, ticksPerSecond);
    std::printf("step_and_draw: %.3f ms/tick = %.2f %%core at %d ticks/s\n", render * 1e3,
                render * ticksPerSecond * 100.0, ticksPerSecond);
    return 0;
}
