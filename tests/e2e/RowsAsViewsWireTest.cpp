// The controls on the pages only show the configuration: what goes on the wire and how a
// value is shown come from the parameters and commands read from config.xml, whatever
// tooltip, name, tag or colour a control has meanwhile, and follow what the settings editor
// changes.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/protocol/ModbusRtu.h"
#include "language/ControlSettingFrm.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

TestConfig viewConfig() {
    TestConfig config;
    config.dync =
        "<GROUP_DYNC><Main caption=\"主页\">"
        "<Speed caption=\"速度\" hint=\"h\" addr=\"12\"/>"
        "<Mask caption=\"掩码\" hint=\"h\" addr=\"13\" type=\"HEX\"/>"
        "<Power caption=\"电源\" hint=\"h\" addr=\"14\" controlType=\"ComboBox\" items=\"关|开|待机\" "
        "itemsValue=\"0|1|2\"/>"
        "</Main></GROUP_DYNC>";
    config.fix =
        "<GROUP_FIX><F caption=\"固定\"><Go caption=\"g\" hint=\"\" cmdStr=\"$GO#\"/></F></GROUP_FIX>";
    config.autoRead =
        "<GROUP_AUTO><A caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
        "<T0 caption=\"t0\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T1 caption=\"t1\" hint=\"h\" addr=\"1\" constA=\"10\" constM=\"0.5\" unit=\"u\"/>"
        "</A></GROUP_AUTO>";
    config.language =
        "<LANGUAGE value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/>"
        "<BUTTON><B name=\"btn_Connect\" captionCN=\"连接端口\" hintCN=\"\" captionEN=\"Connect\" "
        "hintEN=\"\"/>"
        "<B name=\"btn_Go\" captionCN=\"走\" hintCN=\"$GO#\" captionEN=\"Go\" hintEN=\"$GO-EN#\"/></BUTTON>"
        "<LABEL/><EDIT/><COMBOBOX><C name=\"cbb_Power\" hintCN=\"h\" hintEN=\"h\" itemsCN=\"关|开|待机\" "
        "itemsEN=\"Off|On|Standby\"/></COMBOBOX><CHECKBOX/></COMPONETS>"
        "<MESSAGES><MSG_BTN_UNCONNECT strCN=\"断开端口\" strEN=\"Disconnect\"/></MESSAGES></LANGUAGE>";
    return config;
}

SimulatedDevice::Setup device() {
    SimulatedDevice::Setup setup;
    setup.textValues = {{12, "300"}, {13, "255"}, {14, "1"}};
    return setup;
}

struct ViewConsole : TestWindow {
    ViewConsole() : TestWindow(viewConfig()) {
        f.FormCreate();
        if (!presenter.messages.isEmpty())
            ADD_FAILURE() << presenter.messages.join('\n').toStdString();
    }
    ~ViewConsole() { f.Comm1->StopComm(); }
    bool connectTo(const QString& port) {
        f.cbb_Port->setCurrentText(port);
        f.btn_Connect->click();
        return f.Comm1->Handle() != 0;
    }
    // Opens the settings editor on the control, fills it and presses OK, as a user would.
    void editAndOk(QWidget* control, const std::function<void(TForm_ControlSetting&)>& fill) {
        bool shown = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            TForm_ControlSetting* ed = Form_ControlSetting;
            if (!ed || !ed->isVisible())
                return;
            shown = true;
            fill(*ed);
            ed->btn_OK->click();
        });
        timer.start(0);
        f.PopupMenu1Popup(control);
        EXPECT_TRUE(shown) << "the editor opened";
    }

    TForm_Main& f = *form;
};

bool sent(const DeviceLine& line, const QByteArray& ending) {
    return waitFor([&] { return line.wire().endsWith(ending); });
}

TEST(RowsAsViewsWireTest, TooltipsTagsNamesAndColoursOfControlsSteerNothing) {
    DeviceLine line(device());
    ViewConsole c;
    ASSERT_TRUE(c.connectTo(line.portPath()));

    // A fixed button's tooltip only shows its command.
    auto* go = c.find<QPushButton>("btn_Go");
    go->setToolTip(QStringLiteral("$WRONG#"));
    go->click();
    EXPECT_TRUE(sent(line, "\r\n"));
    EXPECT_EQ(line.wire(), "$GO#\r\n");

    // The Read and Write buttons work on their row's parameter, not on their tags.
    line.clearWire();
    setComponentTag(c.find("btn_Read_Speed"), 99);
    setComponentTag(c.find("btn_Write_Mask"), 98);
    c.find<QPushButton>("btn_Read_Speed")->click();
    auto* speed = c.find<QLineEdit>("edt_Speed");
    EXPECT_TRUE(waitFor([&] { return speed->text() == "300"; }));

    // A hexadecimal field is one by its parameter, whatever colour a theme gives it.
    auto* mask = c.find<QLineEdit>("edt_Mask");
    setControlColor(mask, QColor(255, 255, 255));
    c.find<QPushButton>("btn_Read_Mask")->click();
    EXPECT_TRUE(waitFor([&] { return mask->text() == "00FF"; }));
    mask->setText("0A0B");
    c.find<QPushButton>("btn_Write_Mask")->click();
    EXPECT_TRUE(sent(line, "$KWRV=13,2571#\r\n"));
    EXPECT_EQ(line.wire(), "$KRDV=12#\r\n$KRDV=13#\r\n$KWRV=13,2571#\r\n");
    EXPECT_TRUE(c.presenter.messages.isEmpty()) << c.presenter.messages.join('\n').toStdString();
}

TEST(RowsAsViewsWireTest, PolledValuesAreScaledByTheirParameterNotByTheirLabel) {
    DeviceLine line(SimulatedDevice::Setup{}); // the test answers Modbus itself
    ViewConsole c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    auto* v0 = c.find<QLabel>("V0");
    auto* v1 = c.find<QLabel>("V1");
    // Another scaling in the tooltip and another name change nothing of what is shown.
    v1->setToolTip(QStringLiteral("0|100"));
    setComponentHint(v0, QStringLiteral("5|2"));
    v0->setObjectName(QStringLiteral("renamed"));

    c.f.chb_AutoRead->setChecked(true);
    c.f.autoReading->tick();
    EXPECT_TRUE(sent(line, QByteArray::fromHex("010300000002C40B")));
    line.write(ModbusReadReply(1, {123, 4}));
    EXPECT_TRUE(waitFor([&] { return v0->text() == "123"; }));
    EXPECT_EQ(v1->text(), "7");
    c.f.chb_AutoRead->setChecked(false);
}

TEST(RowsAsViewsWireTest, TheEditorsCommandsAndChoiceValuesReachTheWire) {
    DeviceLine line(device());
    ViewConsole c;
    ASSERT_TRUE(c.connectTo(line.portPath()));
    auto* go = c.find<QPushButton>("btn_Go");

    c.editAndOk(go, [](TForm_ControlSetting& ed) { ed.mmo_HintCN->setPlainText(QStringLiteral("$GO2#")); });
    go->click();
    EXPECT_TRUE(sent(line, "$GO2#\r\n"));

    // The other language's command is sent once that language is in use.
    c.f.btn_SecondLanguage->click();
    go->click();
    EXPECT_TRUE(sent(line, "$GO-EN#\r\n"));
    c.f.btn_FirstLanguage->click();

    // New device values for the choices: a Write sends them, a reply is shown by them.
    auto* power = c.find<QComboBox>("cbb_Power");
    c.editAndOk(power,
                [](TForm_ControlSetting& ed) { ed.mmo_ItemsValue->setPlainText(QStringLiteral("5|6|255")); });
    power->setCurrentText(QStringLiteral("待机"));
    c.find<QPushButton>("btn_Write_Power")->click();
    EXPECT_TRUE(sent(line, "$KWRV=14,255#\r\n"));
    power->setCurrentIndex(0);
    c.find<QPushButton>("btn_Read_Power")->click();
    EXPECT_TRUE(waitFor([&] { return power->currentText() == QStringLiteral("待机"); }));
    EXPECT_EQ(line.wire(), "$GO2#\r\n$GO-EN#\r\n$KWRV=14,255#\r\n$KRDV=14#\r\n");
    EXPECT_TRUE(c.presenter.messages.isEmpty()) << c.presenter.messages.join('\n').toStdString();
}

} // namespace
