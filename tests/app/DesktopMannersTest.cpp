// The window behaves as a desktop program's should: it closes properly when the session ends,
// comes back where it was left, and carries its icon.

#include "app/AppIcon.h"
#include "app/MainFrm.h"
#include "app/TerminationSignals.h"
#include "app/WindowGeometry.h"
#include "support/TestApp.h"
#include "ui/ScreenPlacement.h"

#include <QComboBox>
#include <QScreen>
#include <QSettings>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(TerminationSignalsTest, SigtermAndSigintCloseTheWindowWhichSavesThePortSettings) {
    testApp();
    RecordingPresenter presenter;
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        TempAppDir dir;
        dir.copyExample("config.xml");
        TForm_Main form(dir.path());
        form.FormCreate();
        form.show();
        TerminationSignals listener;
        ASSERT_TRUE(listener.isActive());
        QObject::connect(&listener, &TerminationSignals::received, &form, [&form] { form.close(); });

        form.cbb_Baud->setCurrentText(QStringLiteral("19200"));
        ASSERT_EQ(::kill(::getpid(), signalNumber), 0);
        ASSERT_TRUE(waitFor([&] { return !form.isVisible(); }, 30000)) << signalNumber;
        EXPECT_TRUE(QString::fromUtf8(dir.read("config.xml")).contains(QStringLiteral("Baud=\"19200\"")));
    }
}

TEST(TerminationSignalsTest, EverySignalIsReportedAndTheDefaultActionReturnsAfterwards) {
    testApp();
    {
        TerminationSignals listener;
        QList<int> seen;
        QObject::connect(&listener, &TerminationSignals::received, [&seen](int n) { seen << n; });
        // Two before the event loop looks: both wait in the pipe, neither is lost.
        ::kill(::getpid(), SIGINT);
        ::kill(::getpid(), SIGTERM);
        ASSERT_TRUE(waitFor([&] { return seen.size() == 2; }, 30000));
        EXPECT_EQ(seen, (QList<int>{SIGINT, SIGTERM}));
        // Only one listener at a time: a second object stays inert instead of stealing them.
        TerminationSignals second;
        EXPECT_FALSE(second.isActive());
    }
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    // And a new listener can be made once the first is gone.
    TerminationSignals again;
    EXPECT_TRUE(again.isActive());
}

TEST(ScreenPlacementTest, ASavedWindowComesBackOnlyOntoAScreenThatExists) {
    const QRect laptop(0, 0, 1366, 740);
    const QRect monitor(1366, 0, 1920, 1050);
    // Left on the monitor, which is still there: same place and size.
    const QRect onMonitor(1500, 100, 1200, 800);
    EXPECT_EQ(RestoredPlacement(onMonitor, {laptop, monitor}), onMonitor);
    // The monitor has gone: on the laptop, centred, no larger than it.
    const QRect back = RestoredPlacement(onMonitor, {laptop});
    EXPECT_TRUE(laptop.contains(back));
    EXPECT_EQ(back.size(), QSize(1200, 740));
    // Hanging over the edge of its screen: moved in, so its title bar can be grabbed.
    const QRect overEdge(-300, 600, 1000, 500);
    const QRect moved = RestoredPlacement(overEdge, {laptop});
    EXPECT_TRUE(laptop.contains(moved));
    EXPECT_EQ(moved.size(), QSize(1000, 500));
    // Nothing saved, or no screen at all: nothing to restore.
    EXPECT_FALSE(RestoredPlacement(QRect(), {laptop}).isValid());
    EXPECT_FALSE(RestoredPlacement(onMonitor, {}).isValid());
}

TEST(WindowGeometryTest, SizeAndPlaceAreKeptInTheUserSettingsAndNeverInConfigXml) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    const QString settingsPath = dir.file("tervalon.conf");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect chosen(screen.left() + 20, screen.top() + 30, screen.width() - 80, screen.height() - 90);
    {
        QSettings settings(settingsPath, QSettings::IniFormat);
        TForm_Main form(dir.path());
        form.FormCreate();
        RememberGeometryOnClose(form, settings);
        form.setGeometry(chosen);
        form.show();
        form.close();
    }
    EXPECT_FALSE(QString::fromUtf8(dir.read("config.xml")).contains(QStringLiteral("geometry")));

    QSettings settings(settingsPath, QSettings::IniFormat);
    TForm_Main again(dir.path());
    ASSERT_TRUE(RestoreWindowGeometry(again, settings));
    EXPECT_EQ(again.geometry(), chosen);
    EXPECT_TRUE(again.isVisible());
    EXPECT_FALSE(again.isMaximized());
    again.close();

    // A first start, with nothing saved, leaves the window to its usual opening.
    QSettings empty(dir.file("empty.conf"), QSettings::IniFormat);
    TForm_Main fresh(dir.path());
    EXPECT_FALSE(RestoreWindowGeometry(fresh, empty));
    EXPECT_FALSE(fresh.isVisible());
}

TEST(ApplicationIconTest, TheBuiltInSvgDrawsWhereNoIconThemeHasIt) {
    testApp();
    const QIcon icon = ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage picture = icon.pixmap(64, 64).toImage();
    ASSERT_FALSE(picture.isNull());
    // Something is drawn: not every pixel is the same.
    bool varies = false;
    for (int y = 0; y < picture.height() && !varies; y += 4)
        for (int x = 0; x < picture.width() && !varies; x += 4)
            varies = picture.pixel(x, y) != picture.pixel(0, 0);
    EXPECT_TRUE(varies);
}

} // namespace
