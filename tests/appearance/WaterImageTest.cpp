#include "appearance/WaterImage.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

#include <QMouseEvent>

namespace {

QImage picture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 4 % 256, y * 8 % 256, (x + y) % 256));
    return img;
}

bool calm(TWaterEffect& water) {
    for (int y = 0; y < water.Height(); ++y)
        for (int x = 0; x < water.Width(); ++x)
            if (water.HeightAt(x, y) != 0 || water.PreviousHeightAt(x, y) != 0)
                return false;
    return true;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

TEST(WaterImage, DisabledStaysStillAndEnablingStartsAtTheNextTick) {
    testApp();
    TWaterImage image;
    image.SetPicture(picture(40, 30));
    image.SetRandomDelay(image.Interval()); // a drop on every other tick on average
    image.Water().SeedRandom(5);
    image.setEnabled(false);
    const QImage before = *image.Canvas();
    image.Blob(50, 50, 3, 250);
    for (int i = 0; i < 20; ++i)
        image.TimerTick();
    EXPECT_EQ(*image.Canvas(), before);
    EXPECT_EQ(image.Water().HeightAt(50, 50), 250) << "a disabled banner must not advance the water";

    image.setEnabled(true);
    image.TimerTick();
    EXPECT_NE(*image.Canvas(), before);
}

TEST(WaterImage, WithoutRandomDropsOrPictureNothingMoves) {
    testApp();
    TWaterImage image;
    image.TimerTick();
    EXPECT_TRUE(calm(image.Water()));

    image.SetPicture(picture(40, 30));
    image.SetRandomDelay(0);
    for (int i = 0; i < 50; ++i)
        image.TimerTick();
    EXPECT_TRUE(calm(image.Water()));
    EXPECT_EQ(*image.Canvas(), image.SourceFrame());
}

TEST(WaterImage, ResizeRebuildsFramesFromPictureAndCalmsWater) {
    testApp();
    TWaterImage image;
    image.SetPicture(picture(40, 30));
    image.show();
    image.Blob(10, 10, 3, 250);
    image.TimerTick();
    image.resize(80, 20);
    EXPECT_TRUE(calm(image.Water()));
    EXPECT_EQ(image.Water().Width(), 80);
    EXPECT_EQ(image.SourceFrame().size(), QSize(80, 20));
    EXPECT_EQ(*image.Canvas(), image.SourceFrame());

    image.SetAutoSize(true);
    image.SetPicture(picture(60, 25));
    EXPECT_EQ(image.size(), QSize(60, 25));
    EXPECT_EQ(image.SourceFrame().size(), QSize(60, 25));
}

TEST(WaterImage, PointerDragsTrackDropsAndLeftButtonSplashes) {
    testApp();
    TWaterImage image;
    image.SetPicture(picture(105, 105));
    image.show();
    sendMouse(&image, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(image.Water().HeightAt(10, 10), 100);
    sendMouse(&image, QEvent::MouseMove, {30, 30}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(image.Water().HeightAt(30, 30), 250);
    sendMouse(&image, QEvent::MouseButtonPress, {60, 60}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(image.Water().HeightAt(60, 60), 0);
    sendMouse(&image, QEvent::MouseButtonPress, {60, 60}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(image.Water().HeightAt(60, 60), 250);
    EXPECT_EQ(image.Water().HeightAt(61, 60), 250) << "radius 1 covers the four neighbours";
    EXPECT_EQ(image.Water().HeightAt(61, 61), 0);
}
