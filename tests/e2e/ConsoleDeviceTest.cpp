// The window against a device on the far side of a pseudo-terminal pair: exact bytes on the
// wire and what the window shows.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/AutoReading.h"
#include "console/Connection.h"
#include "console/PageBuilderFixture.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/RegionalFormats.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DelayWithMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor clOlive(128, 128, 0);
const QColor clRed(255, 0, 0);
const QColor clBlue(0, 0, 255);
const QColor clBlack(0, 0, 0);

TestConfig consoleConfig() {
    TestConfig config;
    config.dync = "<GROUP_DYNC><Main caption=\"主页\">"
                  "<Speed caption=\"速度\" hint=\"h\" addr=\"12\"/>"
                  "<Mask caption=\"掩码\" hint=\"h\" addr=\"13\" type=\"HEX\"/>"
                  "<Power caption=\"电源\" hint=\"h\" addr=\"14\" controlType=\"ComboBox\" items=\"关|开\" "
                  "itemsValue=\"0|1\"/>"
                  "</Main></GROUP_DYNC>";
    config.language = "<LANGUAGE value=\"CN\"><COMPONETS><COMBOBOX><E name=\"cbb_Power\" itemsCN=\"\" "
                      "itemsEN=\"Off|On\"/></COMBOBOX></COMPONETS><MESSAGES/></LANGUAGE>";
    config.fix = "<GROUP_FIX><F caption=\"固定\"><Stamp caption=\"s\" hint=\"\" cmdStr=\"$KWRV=20,[now]#\"/>"
                 "</F></GROUP_FIX>";
    config.cmds =
        "<CMDS showButton=\"1\" caption=\"批量\"><a caption=\"one\" CmdsStr=\"A1[100]|B2[-500]\"/></CMDS>";
    config.autoRead =
        "<GROUP_AUTO><A caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
        "<T0 caption=\"t0\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T1 caption=\"t1\" hint=\"h\" addr=\"1\" constA=\"10\" constM=\"0.5\" unit=\"u\"/>"
        "</A></GROUP_AUTO>";
    return config;
}

// The window built from the configuration, in the given language, its captions as the
// language tables would set them.
struct Console : TestWindow {
    explicit Console(const QString& language = "CN") : TestWindow(consoleConfig()) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        f.LanguageCode = language;
        f.connection->setLanguage(f.language());
        f.connection->setConnectCaption(language == "EN" ? "Connect" : "连接端口");
        f.connection->setDisconnectCaption(language == "EN" ? "Disconnect" : "断开端口");
        f.btn_Connect->setText(f.connection->connectCaption());
        f.sending->setLanguage(f.language());
    }
    ~Console() { f.Comm1->StopComm(); }

    bool connectTo(const QString& port) {
        f.cbb_Port->setCurrentText(port);
        f.btn_Connect->click();
        return f.Comm1->Handle() != 0;
    }
    void click(const QString& button) { find<QPushButton>(button)->click(); }
    QString rx() const { return f.mmo_RX->toPlainText(); }

    TForm_Main& f = *form;
};

bool waitForWire(const DeviceLine& line, const QByteArray& bytes) {
    return waitFor([&] { return line.wire().contains(bytes); });
}

SimulatedDevice::Setup textDevice() {
    SimulatedDevice::Setup setup;
    setup.textValues = {{12, "300"}, {13, "0"}, {14, "1"}};
    return setup;
}

TEST(ConsoleDeviceTest, ReadsAndWritesPlainHexAndChoiceParametersInChinese) {
    DeviceLine line(textDevice());
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    EXPECT_EQ(c.f.btn_Connect->text(), "断开端口");
    EXPECT_EQ(c.f.shp_led->brushColor(), clRed);

    c.click("btn_Read_Speed");
    EXPECT_EQ(c.f.sending->readTarget(), c.find<QLineEdit>("edt_Speed"));
    EXPECT_TRUE(waitFor([&] { return c.find<QLineEdit>("edt_Speed")->text() == "300"; }));
    EXPECT_EQ(line.wire(), "$KRDV=12#\r\n");
    EXPECT_EQ(c.f.mmo_TX->toPlainText(), "$KRDV=12#\n");

    c.find<QLineEdit>("edt_Speed")->setText(" 5");
    c.click("btn_Write_Speed");
    EXPECT_TRUE(waitForWire(line, "$KWRV=12, 5#\r\n")) << "a plain value goes as typed, blank included";

    c.find<QLineEdit>("edt_Mask")->setText("1a");
    c.click("btn_Write_Mask");
    EXPECT_TRUE(waitForWire(line, "$KWRV=13,26#\r\n"));
    c.find<QLineEdit>("edt_Mask")->clear();
    c.click("btn_Read_Mask");
    EXPECT_TRUE(waitFor([&] { return c.find<QLineEdit>("edt_Mask")->text() == "001A"; }));

    c.find<QLineEdit>("edt_Mask")->setText("G1");
    line.clearWire();
    c.click("btn_Write_Mask");
    EXPECT_EQ(c.presenter.errors.value(0), "'$G1' is not a valid integer value");

    auto* power = c.find<QComboBox>("cbb_Power");
    c.click("btn_Read_Power");
    EXPECT_TRUE(waitFor([&] { return power->currentText() == "开"; }));
    power->setCurrentText("关");
    c.click("btn_Write_Power");
    EXPECT_TRUE(waitForWire(line, "$KWRV=14,0#\r\n"));
    EXPECT_FALSE(line.wire().contains("G1")) << "an invalid HEX field sends nothing";
}

TEST(ConsoleDeviceTest, ReadsChoicesInEnglishAndRefusesAnEmptyValue) {
    DeviceLine line(textDevice());
    Console c("EN");
    ASSERT_TRUE(c.connectTo(line.portPath()));
    EXPECT_EQ(c.f.btn_Connect->text(), "Disconnect");

    auto* power = c.find<QComboBox>("cbb_Power");
    c.click("btn_Read_Power");
    EXPECT_TRUE(waitFor([&] { return power->currentText() == "On"; }));
    EXPECT_EQ(line.wire(), "$KRDV=14#\r\n");

    c.find<QLineEdit>("edt_Speed")->clear();
    c.click("btn_Write_Speed");
    EXPECT_EQ(c.presenter.messages, QStringList{"The parameter value cannot be empty"});
    c.f.LanguageCode = "CN";
    c.f.sending->setLanguage(Language::chinese());
    c.click("btn_Write_Speed");
    EXPECT_EQ(c.presenter.messages.value(1), "参数不能为空");
    EXPECT_EQ(line.wire(), "$KRDV=14#\r\n") << "nothing more was sent";
}

TEST(ConsoleDeviceTest, FixedCommandsFreeTextAndLongLinesGoOutExactly) {
    DeviceLine line(textDevice());
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));

    const RegionalFormats formats = RegionalFormats::system();
    const QRegularExpression stamped(
        QStringLiteral("^\\$KWRV=20,\\d{4}%1\\d\\d%1\\d\\d \\d\\d%2\\d\\d%2\\d\\d#\r\n$")
            .arg(QRegularExpression::escape(formats.dateSeparator),
                 QRegularExpression::escape(formats.timeSeparator)));
    c.click("btn_Stamp");
    EXPECT_TRUE(waitFor([&] { return line.wire().endsWith("\r\n"); }));
    EXPECT_TRUE(stamped.match(QString::fromLatin1(line.wire())).hasMatch()) << line.wire().toStdString();
    EXPECT_EQ(componentHint(c.find("btn_Stamp")), "$KWRV=20,[now]#");

    // A character with no one-byte form is refused whole and named; up to U+00FF goes out
    // as its byte.
    line.clearWire();
    c.f.mmo_TX->setPlainText(QStringLiteral("ABC中"));
    c.f.btn_Send->click();
    EXPECT_EQ(c.presenter.messages,
              QStringList{"第 4 个字符“中”（U+4E2D）无法作为单个字节发送，未发送任何内容"});
    c.f.LanguageCode = "EN";
    c.f.sending->setLanguage(Language::english());
    c.f.mmo_TX->setPlainText(QStringLiteral("°C 😀"));
    c.f.btn_Send->click();
    EXPECT_EQ(c.presenter.messages.value(1),
              "Character 4, \"😀\" (U+1F600), cannot be sent as one byte; nothing was sent");
    EXPECT_TRUE(c.f.btn_Send->isEnabled());
    c.f.mmo_TX->setPlainText(QStringLiteral("°Cÿ"));
    c.f.btn_Send->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().size() >= 3; }));
    EXPECT_EQ(line.wire(), QByteArray("\xB0"
                                      "C\xFF"))
        << "nothing of the refused lines went out";

    // Longer than one block of the port: arrives whole and in order.
    line.clearWire();
    QString longLine;
    for (int i = 0; i < 7000; ++i)
        longLine += QStringLiteral("x%1").arg(i % 1000, 9, 10, QLatin1Char('0'));
    c.f.mmo_TX->setPlainText(longLine);
    c.f.btn_Send->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().size() >= 70000; }, 15000));
    EXPECT_EQ(line.wire(), longLine.toLatin1());
    EXPECT_TRUE(c.f.btn_Send->isEnabled());
}

TEST(ConsoleDeviceTest, BatchWaitsForTheOperatorAtAConfirmationStep) {
    DeviceLine line(textDevice());
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    const QColor normalBackground = controlColor(c.f.mmo_RX);
    const QColor normalText = fontColor(c.f.mmo_RX);

    // Plays the operator: once the receive box shows the warning, presses Enter in the send box.
    QColor warnedBackground, warnedText;
    QByteArray wireAtWarning;
    QTimer operatorTimer;
    operatorTimer.setInterval(20);
    QObject::connect(&operatorTimer, &QTimer::timeout, [&] {
        if (controlColor(c.f.mmo_RX) != clRed)
            return;
        operatorTimer.stop();
        warnedBackground = controlColor(c.f.mmo_RX);
        warnedText = fontColor(c.f.mmo_RX);
        wireAtWarning = line.wire();
        EXPECT_EQ(c.f.mmo_TX->toPlainText(), "B2");
        c.f.mmo_TX->moveCursor(QTextCursor::End);
        c.f.mmo_TX->insertPlainText("\n");
    });
    operatorTimer.start();

    c.f.cmb_CMDS->setCurrentText("one");
    c.f.btn_Cmds->click();
    EXPECT_EQ(warnedText, QColor(255, 255, 255)) << "readable while warning";
    EXPECT_TRUE(wireAtWarning.isEmpty() || wireAtWarning == "A1");
    EXPECT_TRUE(waitForWire(line, "A1B2\r\n"));
    EXPECT_EQ(line.wire(), "A1B2\r\n");
    EXPECT_EQ(controlColor(c.f.mmo_RX), normalBackground);
    EXPECT_EQ(fontColor(c.f.mmo_RX), normalText);

    c.f.cmb_CMDS->setCurrentIndex(-1);
    c.f.btn_Cmds->click();
    EXPECT_EQ(c.presenter.messages.value(0), "没有名为“”的批处理指令，未发送任何内容");
    EXPECT_EQ(line.wire(), "A1B2\r\n");
}

TEST(ConsoleDeviceTest, PollingShowsScaledValuesOnlyFromSoundReplies) {
    DeviceLine line(SimulatedDevice::Setup{}); // answers no Modbus: the test does
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    c.f.rbtn_Hex->setChecked(true);
    auto* v0 = c.find<QLabel>("V0");
    auto* v1 = c.find<QLabel>("V1");

    c.f.autoReading->tick(); // unchecked: sends nothing
    c.f.chb_AutoRead->setChecked(true);
    c.f.edt_AutoReadInte->setText("300");
    c.f.autoReading->tick();
    const QByteArray request = QByteArray::fromHex("010300000002C40B");
    EXPECT_TRUE(waitForWire(line, request));
    EXPECT_EQ(line.wire(), request);
    EXPECT_EQ(c.f.autoReading->ticker()->interval(), 1000) << "300 ms is below the minimum";

    line.write(ModbusReadReply(1, {123, 65535}));
    EXPECT_TRUE(waitFor([&] { return v0->text() == "123"; }));
    EXPECT_EQ(v1->text(), "32772.5");

    QByteArray damaged = ModbusReadReply(1, {7, 7});
    damaged[4] = char(8);
    line.write(damaged);
    EXPECT_TRUE(waitFor([&] { return c.rx().contains(QString::fromLatin1(damaged.toHex(' ').toUpper())); }));
    EXPECT_EQ(v0->text(), "123") << "a frame with a bad check sequence shows nothing";

    c.f.edt_AutoReadInte->setText("2000");
    c.f.autoReading->tick();
    EXPECT_EQ(c.f.autoReading->ticker()->interval(), 2000);
}

TEST(ConsoleDeviceTest, LampsFlashOnSendingAndReceiving) {
    DeviceLine line(textDevice());
    Console c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    // Looked at right after the connection has seen each block, so no timing is assumed.
    QColor txAtTick, rxAtTick;
    QObject::connect(c.f.Device, &DeviceSession::sent, [&] { txAtTick = c.f.shp_TX->brushColor(); });
    QObject::connect(c.f.Device, &DeviceSession::received, [&] { rxAtTick = c.f.shp_RX->brushColor(); });
    c.click("btn_Read_Speed");
    EXPECT_TRUE(waitFor([&] { return rxAtTick.isValid(); }));
    EXPECT_EQ(txAtTick, clBlue);
    EXPECT_EQ(rxAtTick, clRed);
    EXPECT_TRUE(
        waitFor([&] { return c.f.shp_TX->brushColor() == clOlive && c.f.shp_RX->brushColor() == clOlive; }));

    c.f.btn_Connect->click();
    EXPECT_EQ(c.f.shp_led->brushColor(), clBlack);
    EXPECT_EQ(c.f.btn_Connect->text(), "连接端口");
    EXPECT_EQ(c.f.Comm1->Handle(), 0);

    // With the port closed nothing goes out, but the press is still answered by the lamp.
    c.click("btn_Read_Speed");
    EXPECT_EQ(c.f.shp_TX->brushColor(), clBlue);
    EXPECT_TRUE(waitFor([&] { return c.f.shp_TX->brushColor() == clOlive; }));
    EXPECT_TRUE(c.presenter.messages.isEmpty());
}

TEST(ConsoleDeviceTest, OpeningAMissingOrBusyPortOrABadSettingSaysSoAndStaysClosed) {
    for (const QString language : {"CN", "EN"}) {
        Console c(language);
        EXPECT_FALSE(c.connectTo("/dev/tervalon-no-such-port"));
        EXPECT_FALSE(c.connectTo("/dev/tervalon-no-such-port")) << "the next click tries again";
        const QString expected =
            language == "EN"
                ? "/dev/tervalon-no-such-port open error\n\rPlease confirm that this port exists or "
                  "is not occupied by another program\n\rReason: /dev/tervalon-no-such-port does not exist."
                : "/dev/tervalon-no-such-port打开错误\n\r请确认存在此端口或未被其它程序占用\n\r"
                  "原因：/dev/tervalon-no-such-port 不存在。";
        EXPECT_EQ(c.presenter.messages, QStringList({expected, expected}));
        EXPECT_EQ(c.f.btn_Connect->text(), c.f.connection->connectCaption());
        EXPECT_EQ(c.f.shp_led->brushColor(), clBlack);

        DeviceLine line;
        TComm other;
        other.SetCommName(line.portPath());
        ASSERT_EQ(other.StartComm(), "");
        c.presenter.messages.clear();
        EXPECT_FALSE(c.connectTo(line.portPath()));
        EXPECT_TRUE(c.presenter.messages.value(0).startsWith(line.portPath() +
                                                             (language == "EN" ? " open" : "打开")));
        EXPECT_TRUE(c.presenter.messages.value(0).endsWith(language == "EN" ? " is in use by another program."
                                                                            : " 正被其它程序占用。"))
            << c.presenter.messages.value(0).toStdString();
        other.StopComm();

        c.presenter.messages.clear();
        c.f.cbb_StopBit->setCurrentText("3");
        EXPECT_FALSE(c.connectTo(line.portPath()));
        EXPECT_EQ(c.presenter.messages.size(), 1);
        EXPECT_TRUE(c.presenter.messages.value(0).contains("cbb_StopBit"));
        EXPECT_TRUE(c.presenter.messages.value(0).contains("\"3\"") ||
                    c.presenter.messages.value(0).contains("“3”"));

        c.f.cbb_StopBit->setCurrentText("1.5");
        c.f.cbb_Baud->setCurrentText("fast");
        c.presenter.errors.clear();
        EXPECT_FALSE(c.connectTo(line.portPath()));
        EXPECT_EQ(c.presenter.errors, QStringList{"'fast' is not a valid integer value"});
    }
}

TEST(ConsoleDeviceTest, AVanishingDeviceClosesThePortAndIsReportedOnce) {
    auto line = std::make_unique<DeviceLine>(textDevice());
    Console c;
    ASSERT_TRUE(c.connectTo(line->portPath()));
    const QString port = line->portPath();
    line->vanish();
    EXPECT_TRUE(waitFor([&] { return c.f.Comm1->Handle() == 0; }));
    EXPECT_EQ(c.f.btn_Connect->text(), "连接端口");
    EXPECT_EQ(c.f.shp_led->brushColor(), clBlack);
    DelayWithMessages(200);
    EXPECT_EQ(c.presenter.messages, QStringList{port + "连接已断开\n\r设备已不存在，端口已关闭"});
}

TEST(ConsoleDeviceTest, BlocksAreShownInTheOrderTheyArrived) {
    DeviceLine line(std::nullopt);
    Console c;
    c.f.chk_autoClearRxmmo->setChecked(false);
    ASSERT_TRUE(c.connectTo(line.portPath()));
    QString expected;
    for (int i = 0; i < 400; ++i) {
        const QByteArray text = QByteArray("line ") + QByteArray::number(i) + "\r\n";
        line.write(text);
        expected += QString::fromLatin1(text).replace("\r\n", "\n");
    }
    EXPECT_TRUE(waitFor([&] { return c.rx().size() >= expected.size(); }));
    EXPECT_EQ(c.rx(), expected);
}

// The shipped simulator executable, as the run script starts it.
TEST(ConsoleDeviceTest, WorksWithTheSimulatorProgram) {
#if defined(__SANITIZE_THREAD__)
    // Once QProcess has started a child, ThreadSanitizer reports races on the serial threads'
    // start-up state although every access to it holds the same mutex: it loses track of locks
    // across the child's creation. The other tests cover the same paths over pty pairs.
    GTEST_SKIP() << "not under ThreadSanitizer";
#endif
    Console c;
    QProcess sim;
    sim.start(binDir() + "/tervalon-sim", {"--config", c.f.ConfigPath});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return sim.canReadLine(); }, 10000));
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(c.connectTo(port));

    c.click("btn_Read_Power");
    EXPECT_TRUE(waitFor([&] { return c.find<QComboBox>("cbb_Power")->currentText() == "关"; }));
    c.f.chb_AutoRead->setChecked(true);
    c.f.autoReading->tick();
    EXPECT_TRUE(waitFor([&] { return c.find<QLabel>("V0")->text() != "0.00"; }));

    c.f.btn_Connect->click();
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
}

} // namespace
