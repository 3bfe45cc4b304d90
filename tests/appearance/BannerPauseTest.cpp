// The ripple costs nothing while nobody can see it.

#include "appearance/WaterImage.h"
#include "support/TestApp.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(BannerPause, StopsWhileHiddenOrMinimisedAndResumesWhenShown) {
    testApp();
    QWidget window;
    window.resize(400, 200);
    auto* banner = new TWaterImage(&window);
    banner->SetPicture(QImage(64, 32, QImage::Format_RGB888));
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
