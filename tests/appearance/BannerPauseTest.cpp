// The ripple costs nothing while nobody can see it.

#include "appearance/WaterImage.h"
#include "support/TestApp.h"

#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Makes the window the active one, asking again until the window system has done it.
bool activate(QWidget& window) {
    return waitFor([&] {
        if (!window.isActiveWindow())
            window.activateWindow();
        return window.isActiveWindow();
    });
}

} // namespace

TEST(BannerPause, StopsWhileHiddenOrMinimisedAndResumesWhenShown) {
    testApp();
    QWidget window;
    window.resize(400, 200);
    auto* banner = new TWaterImage(&window);
    banner->SetPicture(QImage(64, 32, QImage::Format_RGB888));
    // Whether the window is the active one is another matter (below); here only being seen.
    banner->SetRunsInBackground(true);
    window.show();
    ASSERT_TRUE(waitFor([&] { return banner->IsAnimating(); }));

    window.showMinimized();
    EXPECT_TRUE(waitFor([&] { return !banner->IsAnimating(); }));
    window.showNormal();
    EXPECT_TRUE(waitFor([&] { return banner->IsAnimating(); }));

    banner->hide();
    EXPECT_FALSE(banner->IsAnimating());
    banner->show();
    EXPECT_TRUE(banner->IsAnimating());

    window.hide();
    EXPECT_TRUE(waitFor([&] { return !banner->IsAnimating(); }));
    window.show();
    EXPECT_TRUE(waitFor([&] { return banner->IsAnimating(); }));
}

TEST(BannerPause, AnIntervalOfZeroKeepsItStillEvenWhenShown) {
    testApp();
    QWidget window;
    auto* banner = new TWaterImage(&window);
    banner->SetInterval(0);
    window.show();
    window.showMinimized();
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(banner->IsAnimating());
    banner->SetInterval(40);
    EXPECT_TRUE(banner->IsAnimating());
    EXPECT_EQ(banner->Interval(), 40);
}

// The window in the background: another window is the active one.
TEST(BannerPause, RestsWhileTheWindowIsInactiveAndGoesOnWhereItStopped) {
    testApp();
    QWidget window;
    window.resize(400, 200);
    auto* banner = new TWaterImage(&window);
    banner->resize(120, 60);
    banner->SetPicture(QImage(64, 32, QImage::Format_RGB888));
    banner->setEnabled(true);
    EXPECT_FALSE(banner->RunsInBackground()) << "off unless asked for";
    window.show();
    ASSERT_TRUE(activate(window));
    ASSERT_TRUE(waitFor([&] { return banner->IsAnimating(); }));

    QWidget other;
    other.show();
    ASSERT_TRUE(activate(other));
    EXPECT_TRUE(waitFor([&] { return !banner->IsAnimating(); }));
    // The water rests as it was: a drop made now is still there, unspread, after a while.
    banner->Blob(60, 30, 3, 400);
    const std::int32_t height = banner->Water().HeightAt(60, 30);
    QElapsedTimer rest;
    rest.start();
    waitFor([&] { return rest.elapsed() > 200; }, 2000);
    EXPECT_EQ(banner->Water().HeightAt(60, 30), height);

    ASSERT_TRUE(activate(window));
    EXPECT_TRUE(waitFor([&] { return banner->IsAnimating(); }));
    EXPECT_TRUE(waitFor([&] { return banner->Water().HeightAt(60, 30) != height; })) << "it moves on";

    banner->SetRunsInBackground(true);
    ASSERT_TRUE(activate(other));
    QCoreApplication::processEvents();
    EXPECT_TRUE(banner->IsAnimating()) << "asked to run always";
    window.showMinimized();
    EXPECT_TRUE(waitFor([&] { return !banner->IsAnimating(); })) << "minimised it rests all the same";
    window.showNormal();
    EXPECT_TRUE(waitFor([&] { return banner->IsAnimating(); }));
    banner->SetRunsInBackground(false);
    EXPECT_FALSE(banner->IsAnimating());
}
