// Advancing the water without drawing it must not change where it goes: a banner that shows
// only some frames must look the same at the frames it shows.

#include "appearance/WaterEffect.h"

#include <gtest/gtest.h>
#include <vector>

TEST(WaterStep, StepsThenDrawGiveTheFramesRenderGives) {
    const int w = 40, h = 12;
    std::vector<std::uint8_t> src(3 * w * h), a(src.size()), b(src.size());
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = std::uint8_t(i * 7);
    const TRGBView source{src.data(), w, h, 3 * w};
    TWaterEffect everyFrame, someFrames;
    for (TWaterEffect* e : {&everyFrame, &someFrames}) {
        e->SetSize(w, h);
        e->SetDamping(5);
        e->Blob(10, 6, 2, 400);
    }
    for (int tick = 1; tick <= 12; ++tick) {
        ASSERT_TRUE(everyFrame.Render(source, {a.data(), w, h, 3 * w}));
        ASSERT_TRUE(someFrames.Step());
        if (tick % 3 == 0) {
            ASSERT_TRUE(someFrames.Draw(source, {b.data(), w, h, 3 * w}));
            EXPECT_EQ(a, b) << "tick " << tick;
        }
    }
    TWaterEffect empty;
    EXPECT_FALSE(empty.Step());
    EXPECT_FALSE(empty.Draw(source, {b.data(), w, h, 3 * w}));
}
