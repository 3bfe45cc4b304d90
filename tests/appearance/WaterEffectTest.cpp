#include "appearance/WaterEffect.h"
#include "bench/WaterReference.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

namespace {

struct Image {
    int w, h;
    std::vector<std::uint8_t> px;
    Image(int w, int h, int fill = 0) : w(w), h(h), px(static_cast<std::size_t>(w) * h * 3, fill) {}
    std::uint8_t& at(int x, int y, int c) { return px[(static_cast<std::size_t>(y) * w + x) * 3 + c]; }
    TRGBView view() { return {px.data(), w, h, 3 * static_cast<std::ptrdiff_t>(w)}; }
    // The same pixels seen bottom-up, as some bitmaps store them.
    TRGBView bottomUpView() {
        return {px.data() + (static_cast<std::size_t>(h) - 1) * w * 3, w, h,
                -3 * static_cast<std::ptrdiff_t>(w)};
    }
};

Image pattern(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                img.at(x, y, c) = static_cast<std::uint8_t>((30 * y + 10 * x + c) % 256);
    return img;
}

int stepsUntilCalm(int damping) {
    TWaterEffect water;
    water.SetSize(64, 48);
    water.SetDamping(damping);
    water.Blob(32, 24, 3, 250);
    Image src = pattern(64, 48), dst(64, 48);
    for (int step = 1; step < 5000; ++step) {
        water.Render(src.view(), dst.view());
        bool calm = true;
        for (int y = 0; y < 48 && calm; ++y)
            for (int x = 0; x < 64 && calm; ++x)
                calm = water.HeightAt(x, y) == 0 && water.PreviousHeightAt(x, y) == 0;
        if (calm)
            return step;
    }
    return -1;
}

} // namespace

TEST(WaterEffect, CalmSurfaceRendersExactCopyWhateverTheRowOrder) {
    TWaterEffect water;
    water.SetSize(37, 5);
    Image src = pattern(37, 5), dst(37, 5, 77);
    ASSERT_TRUE(water.Render(src.view(), dst.view()));
    EXPECT_EQ(dst.px, src.px);
    Image up(37, 5, 77);
    ASSERT_TRUE(water.Render(src.bottomUpView(), up.bottomUpView()));
    EXPECT_EQ(up.px, src.px);

    Image small(36, 5);
    EXPECT_FALSE(water.Render(src.view(), small.view()));
    EXPECT_EQ(small.px, Image(36, 5).px);
}

// Worked out by hand on a 7 x 7 grid, damping 20 (factor 204): a drop of 12 at the centre.
TEST(WaterEffect, FirstStepsMatchHandWorkedValues) {
    TWaterEffect water;
    water.SetSize(7, 7);
    water.Blob(3, 3, 0, 12);
    Image src = pattern(7, 7), dst(7, 7);

    auto expectFrame = [&](std::map<std::pair<int, int>, std::array<int, 3>> changed) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x)
                for (int c = 0; c < 3; ++c) {
                    auto it = changed.find({x, y});
                    const int want = it == changed.end() ? src.at(x, y, c) : it->second[c];
                    EXPECT_EQ(dst.at(x, y, c), want) << x << "," << y << " byte " << c;
                }
    };
    auto shifted = [&](int sx, int sy, int dx) {
        return std::array<int, 3>{src.at(sx, sy, 0) - dx, src.at(sx, sy, 1) - dx, src.at(sx, sy, 2) - dx};
    };

    // Step 1: the eight neighbours get (12 / 4) * 204 / 256 = 2; only the ring's corners see a
    // slope whose displaced pixel lies inside the grid.
    water.Render(src.view(), dst.view());
    EXPECT_EQ(water.HeightAt(2, 2), 2);
    EXPECT_EQ(water.HeightAt(3, 3), 0);
    expectFrame({{{2, 2}, shifted(0, 0, -2)},
                 {{4, 2}, shifted(6, 0, 2)},
                 {{2, 4}, shifted(0, 6, -2)},
                 {{4, 4}, shifted(6, 6, 2)}});

    // Step 2: the centre is (16 / 4 - 12) * 204 / 256 = -6.375, truncated toward zero to -6.
    water.Render(src.view(), dst.view());
    EXPECT_EQ(water.HeightAt(3, 3), -6);
    EXPECT_EQ(water.HeightAt(3, 2), 1);
    EXPECT_EQ(water.HeightAt(2, 2), 0);
    expectFrame({{{2, 2}, shifted(1, 1, -1)},
                 {{4, 2}, shifted(5, 1, 1)},
                 {{2, 4}, shifted(1, 5, -1)},
                 {{4, 4}, shifted(5, 5, 1)},
                 {{3, 1}, shifted(3, 0, 0)},
                 {{1, 3}, shifted(0, 3, -1)},
                 {{5, 3}, shifted(6, 3, 1)},
                 {{3, 5}, shifted(3, 6, 0)}});
}

TEST(WaterEffect, DropSpreadsAndDiesOutLongerWithLowDamping) {
    TWaterEffect water;
    water.SetSize(64, 48);
    water.Blob(32, 24, 3, 250);
    Image src = pattern(64, 48), dst(64, 48);
    bool reached = false;
    for (int i = 0; i < 30 && !reached; ++i) {
        water.Render(src.view(), dst.view());
        reached = water.HeightAt(32 + 12, 24) != 0;
    }
    EXPECT_TRUE(reached) << "the ring never reached 12 cells from the drop";

    const int strong = stepsUntilCalm(20);
    const int weak = stepsUntilCalm(5);
    ASSERT_GT(strong, 0);
    ASSERT_GT(weak, 0) << "damping 5 never calmed down";
    EXPECT_GT(weak, strong);
}

TEST(WaterEffect, EdgeDropsAreClippedAndReflectSymmetrically) {
    TWaterEffect water;
    water.SetSize(10, 10);
    water.Blob(0, 0, 3, 7);
    water.Blob(9, 9, 3, 7);
    int touched = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inCorner = x * x + y * y <= 9 || (9 - x) * (9 - x) + (9 - y) * (9 - y) <= 9;
            EXPECT_EQ(water.HeightAt(x, y), inCorner ? 7 : 0) << x << "," << y;
            touched += inCorner;
        }
    EXPECT_EQ(touched, 22);

    // A centred drop on a square grid stays mirror-symmetric through many edge reflections,
    // which it does only if all four edges are handled alike.
    water.SetSize(31, 31);
    water.SetDamping(5);
    water.Blob(15, 15, 3, 250);
    Image src = pattern(31, 31), dst(31, 31);
    for (int i = 0; i < 80; ++i)
        water.Render(src.view(), dst.view());
    int moving = 0;
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x) {
            const int h = water.HeightAt(x, y);
            moving += h != 0;
            ASSERT_EQ(h, water.HeightAt(30 - x, y));
            ASSERT_EQ(h, water.HeightAt(x, 30 - y));
            ASSERT_EQ(h, water.HeightAt(y, x));
        }
    EXPECT_GT(moving, 0);
}

TEST(WaterEffect, RandomDropsStayInsideOrAreSkippedOnTinyGrids) {
    TWaterEffect water;
    water.SeedRandom(99);
    water.SetSize(20, 6);
    for (int i = 0; i < 200; ++i)
        water.Blob(-1, 99, 2, 1);
    long long total = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 20; ++x)
            total += water.HeightAt(x, y);
    EXPECT_EQ(total, 200 * 13) << "a drop of radius 2 covers 13 cells when it is not clipped";

    water.SetSize(5, 5);
    water.Blob(-1, 2, 2, 100); // 5 - 2 * 2 - 1 = 0 columns to choose from
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(water.HeightAt(x, y), 0);
}

TEST(WaterEffect, ColoursSaturateInsteadOfWrapping) {
    for (int fill : {250, 5}) {
        TWaterEffect water;
        water.SetSize(40, 40);
        water.Blob(20, 20, 3, 250);
        Image src(40, 40, fill), dst(40, 40);
        int saturated = 0;
        for (int i = 0; i < 6; ++i) {
            water.Render(src.view(), dst.view());
            for (std::uint8_t b : dst.px) {
                saturated += b == (fill > 128 ? 255 : 0);
                // Slopes here stay below 100, so a wrapped byte would land far from the fill.
                ASSERT_LT(std::abs(b - fill), 100);
            }
        }
        EXPECT_GT(saturated, 0) << fill;
    }
}

TEST(WaterEffect, DampingOutsideOneToNinetyNineIsIgnored) {
    TWaterEffect water;
    EXPECT_EQ(water.Damping(), 20);
    water.SetDamping(0);
    water.SetDamping(100);
    EXPECT_EQ(water.Damping(), 20);
    water.SetDamping(99);
    EXPECT_EQ(water.Damping(), 99);
    water.SetDamping(1);
    EXPECT_EQ(water.Damping(), 1);
}

// The vector passes against the plain per-cell rule, on sizes around the vector width and on
// the degenerate one-row and one-column grids, through many random drops.
TEST(WaterEffect, SameBytesAsThePlainRuleOnAnySize) {
    const std::pair<int, int> sizes[] = {{1, 1}, {1, 9},  {9, 1},  {2, 2},  {3, 3},
                                         {9, 4}, {10, 7}, {17, 5}, {45, 13}};
    for (auto [w, h] : sizes) {
        TWaterEffect fast;
        WaterReference plain;
        fast.SetSize(w, h);
        plain.SetSize(w, h);
        fast.SetDamping(3);
        plain.SetDamping(3);
        Image src = pattern(w, h), a(w, h), b(w, h);
        std::mt19937 rng(w * 100 + h);
        for (int step = 0; step < 60; ++step) {
            if (step % 3 == 0) {
                const int x = static_cast<int>(rng() % w), y = static_cast<int>(rng() % h);
                const int r = static_cast<int>(rng() % 3), amount = static_cast<int>(rng() % 400) - 100;
                fast.Blob(x, y, r, amount);
                plain.Blob(x, y, r, amount);
            }
            fast.Render(src.view(), a.view());
            plain.Render(src.view(), b.view());
            ASSERT_EQ(a.px, b.px) << w << "x" << h << " step " << step;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(fast.HeightAt(x, y), plain.heightAt(x, y)) << w << "x" << h << " step " << step;
        }
    }
}
