// Replies against the window over a pseudo-terminal pair: which field or label each reply
// reaches, and the exact bytes that go out afterwards.

#include "DeviceLine.h"
#include "console/Connection.h"
#include "comm/SerialComm.h"
#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/protocol/ModbusRtu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Two automatic-reading pages of the same station, with the same register count, so only
// the page a reply was asked for tells them apart.
TestConfig replyConfig() {
    TestConfig config;
    config.dync = "<GROUP_DYNC><Main caption=\"主页\">"
                  "<Speed caption=\"速度\" hint=\"h\" addr=\"12\"/>"
                  "<Mask caption=\"掩码\" hint=\"h\" addr=\"13\" type=\"HEX\"/>"
                  "</Main></GROUP_DYNC>";
    config.autoRead =
        "<GROUP_AUTO><A caption=\"甲\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"3\">"
        "<T0 caption=\"t0\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T1 caption=\"t1\" hint=\"h\" addr=\"1\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T2 caption=\"t2\" hint=\"h\" addr=\"2\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "</A><B caption=\"乙\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"10\" regLen=\"3\">"
        "<T10 caption=\"t10\" hint=\"h\" addr=\"10\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T11 caption=\"t11\" hint=\"h\" addr=\"11\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T12 caption=\"t12\" hint=\"h\" addr=\"12\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "</B></GROUP_AUTO>";
    return config;
}

struct Console : TestWindow {
    Console() : TestWindow(replyConfig()) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        f.LanguageCode = "CN";
        f.connection->setLanguage(f.language());
        f.connection->setConnectCaption("连接端口");
        f.connection->setDisconnectCaption("断开端口");
        f.btn_Connect->setText(f.connection->connectCaption());
        f.autoReading->ticker()->stop(); // the tests tick by hand: a tick of its own would add a request
    }
    ~Console() { f.Comm1->StopComm(); }

    bool connectTo(const QString& port) {
        f.cbb_Port->setCurrentText(port);
        f.btn_Connect->click();
        return f.Comm1->Handle() != 0;
    }
    void click(const QString& button) { find<QPushButton>(button)->click(); }
    QString rx() const { return f.mmo_RX->toPlainText(); }
    QString label(const QString& name) const { return find<QLabel>(name)->text(); }
    QLineEdit* speed() const { return find<QLineEdit>("edt_Speed"); }

    TForm_Main& f = *form;
};

SimulatedDevice::Setup device() {
    SimulatedDevice::Setup setup;
    setup.blocks = {{1, 0, 3}, {1, 10, 3}};
    setup.textValues = {{12, "300"}, {13, "300"}};
    return setup;
}

const QByteArray kRequestA = ModbusReadRequest(1, 0, 3);
const QByteArray kRequestB = ModbusReadRequest(1, 10, 3);

TEST(ReplyWireTest, ADollarAcknowledgementOfAWriteLeavesTheReadValue) {
    SimulatedDevice::Setup setup = device();
    setup.dollarWriteAck = true;
    DeviceLine line(setup);
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));

    c.click("btn_Read_Speed");
    ASSERT_TRUE(waitFor([&] { return c.speed()->text() == "300"; }));
    c.click("btn_Write_Speed");
    // Shown means handled: the receive handler parses a block right after showing it.
    ASSERT_TRUE(waitFor([&] { return c.rx().contains("$KWRV=OK"); }));
    EXPECT_EQ(c.speed()->text(), "300");
    c.click("btn_Write_Speed");
    EXPECT_TRUE(waitFor([&] { return line.wire().count("$KWRV=12,300#\r\n") == 2; }));
    EXPECT_EQ(line.wire(), "$KRDV=12#\r\n$KWRV=12,300#\r\n$KWRV=12,300#\r\n");
}

TEST(ReplyWireTest, AReplySplitOverBlocksFillsTheFieldWholeAndIsShownAsItCame) {
    SimulatedDevice::Setup setup = device();
    setup.textReplyPieces = 3;
    DeviceLine line(setup);
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));

    c.click("btn_Read_Speed");
    EXPECT_TRUE(waitFor([&] { return c.speed()->text() == "300"; }));
    EXPECT_TRUE(waitFor([&] { return c.rx() == "$KRDV,12=300\n"; })) << c.rx().toStdString();

    c.click("btn_Read_Mask");
    EXPECT_TRUE(waitFor([&] { return c.find<QLineEdit>("edt_Mask")->text() == "012C"; }));
    c.click("btn_Write_Speed");
    EXPECT_TRUE(waitFor([&] { return line.wire().endsWith("$KWRV=12,300#\r\n"); }));
    EXPECT_EQ(line.wire(), "$KRDV=12#\r\n$KRDV=13#\r\n$KWRV=12,300#\r\n");
}

TEST(ReplyWireTest, AModbusReplyHoldingDollarDoesNotTouchTheLastReadField) {
    SimulatedDevice::Setup setup = device();
    setup.dollarRegisters = true;
    DeviceLine line(setup);
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));

    c.click("btn_Read_Speed");
    ASSERT_TRUE(waitFor([&] { return c.speed()->text() == "300"; }));
    c.f.chb_AutoRead->setChecked(true);
    c.f.autoReading->tick();
    // 0x2431, 0x3D37, 0x0D0A: the bytes "$1", "=7" and CR LF.
    EXPECT_TRUE(waitFor([&] { return c.label("V2") == "3338"; }));
    EXPECT_EQ(c.label("V0"), "9265");
    EXPECT_EQ(c.label("V1"), "15671");
    EXPECT_EQ(c.speed()->text(), "300");

    c.click("btn_Write_Speed");
    EXPECT_TRUE(waitFor([&] { return line.wire().endsWith("\r\n"); }));
    EXPECT_EQ(line.wire(), "$KRDV=12#\r\n" + kRequestA + "$KWRV=12,300#\r\n");
}

TEST(ReplyWireTest, ASlowModbusReplyAfterAPageChangeDoesNotLandOnTheNewPage) {
    SimulatedDevice::Setup setup = device();
    setup.modbusDelayMs = 300;
    DeviceLine line(setup);
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    c.f.Device->modbus().setTimeoutMs(60000); // no time-out can come into this test
    c.f.chb_AutoRead->setChecked(true);

    c.f.autoReading->tick();
    c.f.pg_AUTO->setCurrentIndex(1);
    c.f.autoReading->tick();
    ASSERT_TRUE(waitFor([&] { return c.f.Device->modbus().health().dropped == 1; }));
    EXPECT_EQ(line.wire(), kRequestA) << "no request while the first one waited";
    for (const char* name : {"V0", "V1", "V2", "V10", "V11", "V12"})
        EXPECT_EQ(c.label(name), "0.00") << name;

    c.f.autoReading->tick();
    EXPECT_TRUE(waitFor([&] { return c.f.Device->modbus().health().good == 1; }));
    EXPECT_EQ(line.wire(), kRequestA + kRequestB);
    EXPECT_NE(c.label("V10"), "0.00");
    EXPECT_EQ(c.label("V0"), "0.00");
}

TEST(ReplyWireTest, PollingWaitsForItsTimeOutAndRefusesAReplyOfTheWrongLength) {
    DeviceLine line(SimulatedDevice::Setup{}); // answers no Modbus: the test does
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    c.f.Device->modbus().setTimeoutMs(60000);
    c.f.chb_AutoRead->setChecked(true);

    c.f.autoReading->tick();
    c.f.autoReading->tick();
    ASSERT_TRUE(waitFor([&] { return line.wire() == kRequestA; }));
    c.f.Device->modbus().setTimeoutMs(0); // the request's time is up
    c.f.autoReading->tick();
    EXPECT_TRUE(waitFor([&] { return line.wire() == kRequestA + kRequestA; }));
    EXPECT_EQ(c.f.Device->modbus().health().timedOut, 1u);

    c.f.autoReading->tick();
    c.f.Device->modbus().setTimeoutMs(60000); // the third request waits
    ASSERT_TRUE(waitFor([&] { return line.wire().size() == 3 * kRequestA.size(); }));
    line.write(ModbusReadReply(1, {1, 2, 3, 4}));
    EXPECT_TRUE(waitFor([&] { return c.f.Device->modbus().health().wrongLength == 1; }));
    line.write(ModbusReadReply(1, {1, 2, 3}));
    EXPECT_TRUE(waitFor([&] { return c.f.Device->modbus().health().unsolicited == 1; }))
        << "the request was answered, wrongly, so nothing waits for this one";
    EXPECT_EQ(c.f.Device->modbus().health().dropped, 0u) << "it is no request's outcome";
    EXPECT_EQ(c.label("V0"), "0.00");
    EXPECT_EQ(c.f.Device->modbus().health().sent, 3u);
}

} // namespace
