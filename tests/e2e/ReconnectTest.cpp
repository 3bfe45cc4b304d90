// Waiting for a pulled device to come back, against pseudo-terminals reached through a link,
// as an adapter is reached through its /dev/serial/by-id name.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/Connection.h"
#include "console/PageBuilderFixture.h"
#include "console/PortList.h"
#include "console/PortReturnWatch.h"
#include "ui/Controls.h"
#include "ui/DelayWithMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Console : TestWindow {
    Console() : TestWindow(TestConfig{}) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        f.LanguageCode = "EN";
        f.connection->setLanguage(f.language());
        f.connection->setConnectCaption("Connect");
        f.connection->setDisconnectCaption("Disconnect");
        f.btn_Connect->setText(f.connection->connectCaption());
        f.chk_Reconnect->setChecked(true);
    }
    ~Console() { f.Comm1->StopComm(); }

    TForm_Main& f = *form;
};

// A stable name for the device's port, made again when a new device comes.
struct StableName {
    QTemporaryDir folder;
    QString path = folder.filePath("usb-Tervalon_Device_0001-if00-port0");
    void pointAt(const DeviceLine& line) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(line.portPath(), path));
    }
};

// What the rest of the console hears from the connection, in order.
struct Heard {
    explicit Heard(Connection* connection) {
        QObject::connect(connection, &Connection::portOpened, [this] { said << "opened"; });
        QObject::connect(connection, &Connection::portClosed, [this] { said << "closed"; });
        QObject::connect(connection, &Connection::awaitingDevice,
                         [this](bool waiting) { said << (waiting ? "waiting" : "no longer waiting"); });
    }
    QStringList said;
};

TEST(ReconnectTest, APulledDeviceIsAwaitedAndReopenedWithTheSameSettingsWhenItsNameReturns) {
    StableName name;
    auto first = std::make_unique<DeviceLine>(std::nullopt);
    name.pointAt(*first);
    Console c;
    Heard heard(c.f.connection);
    c.f.cbb_Baud->setCurrentText("19200");
    c.f.cbb_Port->setCurrentText(name.path);
    c.f.btn_Connect->click();
    ASSERT_NE(c.f.Comm1->Handle(), 0);

    QFile::remove(name.path); // as udev removes the link with the device
    first->vanish();
    ASSERT_TRUE(waitFor([&] { return c.f.connection->isAwaitingDevice(); }));
    EXPECT_EQ(c.f.Comm1->Handle(), 0);
    EXPECT_EQ(heard.said, QStringList({"opened", "closed", "waiting"}));
    EXPECT_EQ(c.f.connection->awaitedPort(), name.path);
    EXPECT_EQ(c.f.btn_Connect->text(), "Waiting…");
    EXPECT_TRUE(c.f.shp_led->toolTip().startsWith("Waiting for " + name.path));
    DelayWithMessages(100);
    EXPECT_TRUE(c.presenter.messages.isEmpty()) << "waiting is shown, not reported in a box";

    DeviceLine second(std::nullopt);
    name.pointAt(second);
    ASSERT_TRUE(waitFor([&] { return c.f.Comm1->Handle() != 0; }));
    EXPECT_EQ(c.f.btn_Connect->text(), "Disconnect");
    EXPECT_EQ(c.f.shp_led->toolTip(), "");
    EXPECT_EQ(c.f.Comm1->BaudRate(), 19200u);
    EXPECT_EQ(heard.said, QStringList({"opened", "closed", "waiting", "no longer waiting", "opened"}));
    c.f.sending->send("$KRDV=1#");
    EXPECT_TRUE(waitFor([&] { return second.wire() == "$KRDV=1#"; })) << second.wire().toStdString();
}

TEST(ReconnectTest, PressingTheButtonWhileWaitingStopsWaitingAndWithoutTheOptionThePullIsReported) {
    StableName name;
    auto first = std::make_unique<DeviceLine>(std::nullopt);
    name.pointAt(*first);
    Console c;
    c.f.cbb_Port->setCurrentText(name.path);
    c.f.btn_Connect->click();
    QFile::remove(name.path);
    first->vanish();
    ASSERT_TRUE(waitFor([&] { return c.f.connection->isAwaitingDevice(); }));
    Heard heard(c.f.connection);
    c.f.btn_Connect->click();
    EXPECT_FALSE(c.f.connection->isAwaitingDevice());
    EXPECT_EQ(heard.said, QStringList({"no longer waiting", "closed"}));
    EXPECT_EQ(c.f.btn_Connect->text(), "Connect");

    DeviceLine second(std::nullopt);
    name.pointAt(second);
    DelayWithMessages(300);
    EXPECT_EQ(c.f.Comm1->Handle(), 0) << "nobody waits any more";

    c.f.chk_Reconnect->setChecked(false);
    c.f.btn_Connect->click();
    ASSERT_NE(c.f.Comm1->Handle(), 0);
    second.vanish();
    ASSERT_TRUE(waitFor([&] { return !c.presenter.messages.isEmpty(); }));
    EXPECT_FALSE(c.f.connection->isAwaitingDevice());
}

TEST(PortReturnWatchTest, TheWatchMovesDownAsFoldersComeBackAndOpensOnce) {
    testApp(); // the watch reports through the event loop
    QTemporaryDir root;
    const QString byId = root.filePath("serial/by-id");
    const QString link = byId + "/usb-X-port0";
    int attempts = 0;
    bool openable = false;
    PortReturnWatch watch(link, [&] { return ++attempts, openable; });
    EXPECT_EQ(watch.watchedFolder(), root.path()) << "the folders below are gone with the last adapter";

    ASSERT_TRUE(QDir().mkpath(byId));
    ASSERT_TRUE(waitFor([&] { return watch.watchedFolder() == byId; }));
    EXPECT_EQ(attempts, 0);

    QFile target(root.filePath("ttyUSB3"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target.fileName(), link));
    ASSERT_TRUE(waitFor([&] { return attempts >= 1; }));
    // Not openable yet (permissions not set): asked again a second later, without any event.
    openable = true;
    ASSERT_TRUE(waitFor([&] { return attempts >= 2; }, 3000));
    const int done = attempts;
    QFile::remove(link);
    QFile::link(target.fileName(), link);
    waitFor([] { return false; }, 200);
    EXPECT_EQ(attempts, done) << "opened: nothing more is tried";
}

TEST(PortReturnWatchTest, StableNamesAreTheLinksWithTheDevicesTheyPointAt) {
    QTemporaryDir folder;
    QFile device(folder.filePath("ttyUSB7"));
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(folder.path()).mkdir("by-id"));
    ASSERT_TRUE(QFile::link(device.fileName(), folder.filePath("by-id/usb-FTDI_A1-port0")));
    ASSERT_TRUE(QFile::link(folder.filePath("gone"), folder.filePath("by-id/usb-gone")));
    const auto names = stablePortNames(folder.filePath("by-id"));
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names[0].first, folder.filePath("by-id/usb-FTDI_A1-port0"));
    EXPECT_EQ(names[0].second, "ttyUSB7");
    EXPECT_TRUE(stablePortNames(folder.filePath("none")).isEmpty());
}

} // namespace
