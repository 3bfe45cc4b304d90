// Time per banner tick (one step of the wave rule and one refracted drawing) of TWaterEffect
// against the plain per-cell version, at the window's banner sizes, under the window's drop
// rate. Both must produce the same bytes, frame by frame.

#include "appearance/WaterEffect.h"
#include "bench/WaterReference.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Drop {
    int x, y, radius, height;
};

// The drop schedule of the main window's banner (interval 10 ms, random delay 100 ms, random
// blob 500): a drop with probability 1/11 per tick, radius 1 or 2, height 100..599, placed
// so that the whole drop lies inside.
std::vector<std::vector<Drop>> dropSchedule(int w, int h, int ticks, unsigned seed, int perTickOdds) {
    std::mt19937 rng(seed);
    auto random = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<std::vector<Drop>> drops(ticks);
    for (auto& tick : drops) {
        if (random(perTickOdds) != 0)
            continue;
        const int radius = random(2) + 1;
        const int amount = random(500) + 100;
        const int x = random(32767) % (w - 2 * radius - 1) + radius + 1;
        const int y = random(32767) % (h - 2 * radius - 1) + radius + 1;
        tick.push_back({x, y, radius, amount});
    }
    return drops;
}

std::vector<std::uint8_t> sourceImage(int w, int h) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * 3);
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<std::uint8_t>((i / 3 % w) * 255 / w / 2 + rng() % 128);
    return px;
}

std::uint64_t frameHash(const std::vector<std::uint8_t>& px) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : px)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

struct Run {
    double msPerTick = 0;
    std::vector<std::uint64_t> hashes;
};

template <class Water>
Run run(Water& water, int w, int h, const std::vector<std::vector<Drop>>& drops, int warmup) {
    std::vector<std::uint8_t> src = sourceImage(w, h);
    std::vector<std::uint8_t> dst(src.size());
    const TRGBView s{src.data(), w, h, 3 * static_cast<std::ptrdiff_t>(w)};
    const TRGBView d{dst.data(), w, h, 3 * static_cast<std::ptrdiff_t>(w)};
    Run r;
    Clock::duration total{};
    for (std::size_t t = 0; t < drops.size(); ++t) {
        for (const Drop& drop : drops[t])
            water.Blob(drop.x, drop.y, drop.radius, drop.height);
        const auto start = Clock::now();
        water.Render(s, d);
        if (static_cast<int>(t) >= warmup)
            total += Clock::now() - start;
        if (t % 7 == 0 || t + 1 == drops.size())
            r.hashes.push_back(frameHash(dst));
    }
    const int timed = static_cast<int>(drops.size()) - warmup;
    r.msPerTick = std::chrono::duration<double, std::milli>(total).count() / timed;
    return r;
}

bool measure(const char* scenario, int w, int h, int perTickOdds) {
    const int warmup = 300, ticks = 1800;
    const auto drops = dropSchedule(w, h, ticks, 12345u + w, perTickOdds);

    TWaterEffect fast;
    fast.SetSize(w, h);
    fast.SetDamping(5);
    WaterReference plain;
    plain.SetSize(w, h);
    plain.SetDamping(5);

    const Run a = run(fast, w, h, drops, warmup);
    const Run b = run(plain, w, h, drops, warmup);
    const bool same = a.hashes == b.hashes;
    std::printf("water_%s_%dx%d_straightforward: %.4f ms\n", scenario, w, h, b.msPerTick);
    std::printf("water_%s_%dx%d_fast: %.4f ms\n", scenario, w, h, a.msPerTick);
    std::printf("water_%s_%dx%d_speedup: %.2f x\n", scenario, w, h, b.msPerTick / a.msPerTick);
    std::printf("water_%s_%dx%d_same_bytes: %d bool\n", scenario, w, h, same ? 1 : 0);
    if (!same)
        std::fprintf(stderr, "%s %dx%d: the two versions drew different frames\n", scenario, w, h);
    return same && a.msPerTick > 0 && b.msPerTick > 0;
}

} // namespace

int main() {
    bool ok = true;
    // The window's drop rate: one chance in 11 per tick.
    ok &= measure("tick", 1320, 95, 11);
    ok &= measure("tick", 1920, 138, 11);
    // A drop on every tick keeps far more of the surface moving: the drawing's worst case.
    ok &= measure("storm", 1920, 138, 1);
    return ok ? 0 : 1;
}
