#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/Connection.h"
#include "console/ItemLookupIndex.h"
#include "console/TrendReading.h"

#include "ui/ControlLook.h"
#include "trend/TrendWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList tabTexts(const QTabWidget* tabs) {
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

TEST(LanguageExampleTest, TheBundledExampleStartsCompleteInBothLanguages) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    TForm_Main f(dir.path());
    f.FormCreate();
    auto find = [&](const char* name) { return qobject_cast<QWidget*>(f.FindComponent(name)); };

    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
    EXPECT_TRUE(f.windowTitle().startsWith("Tervalon 现场设备调试台   版本："));
    EXPECT_EQ(f.Web1Address, "https://www.tervalon.example/contact");
    EXPECT_EQ(f.Web2Address, "mailto:support@tervalon.example");
    EXPECT_EQ(f.cbb_Port->currentText(), "COM1");
    EXPECT_EQ(tabTexts(f.pg_DYNC), (QStringList{"基本参数", "校准参数", "网络参数"}));
    EXPECT_EQ(tabTexts(f.pg_FIX), (QStringList{"日常操作", "维护"}));
    EXPECT_EQ(tabTexts(f.pg_AUTO), (QStringList{"实时数据", "统计信息"}));
    EXPECT_EQ(f.autoReading->pages().blocks[0].pro, "MODBUS");
    EXPECT_NE(f.autoReading->pages().blocks[1].pro, "MODBUS");
    EXPECT_TRUE(f.BatchCommands[1].inteMss.contains(-1));
    EXPECT_FALSE(f.btn_Cmds->isHidden());
    EXPECT_EQ(controlColor(find("edt_AlarmMask")), QColor(255, 255, 0));
    EXPECT_TRUE(find("btn_SyncTime")->toolTip().contains("[NOW]"));
    EXPECT_EQ(qobject_cast<QLabel*>(find("V100"))->text(), "0.00");
    EXPECT_EQ(comboItems(qobject_cast<QComboBox*>(find("cbb_Mode"))), (QStringList{"停止", "手动", "自动"}));
    EXPECT_EQ(f.grp_COMPort->title(), "连接");
    EXPECT_EQ(f.connection->disconnectCaption(), "断开端口");
    // The example's table is complete: the Chinese start added no placeholder entry.
    EXPECT_FALSE(dir.read("config.xml").contains("Right click to set"));

    EXPECT_EQ(f.btn_Trend->text(), "趋势图");
    f.trendReading->window()->cbb_TrendMinutes->setCurrentText("30");

    f.btn_SecondLanguage->click();
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
    EXPECT_EQ(f.btn_Trend->text(), "Trend");
    EXPECT_EQ(f.trendReading->window()->btn_TrendExport->text(), "Export CSV");
    EXPECT_EQ(f.trendReading->window()->chk_TrendPause->toolTip(), "Holds the chart still; reading goes on");
    EXPECT_EQ(f.trendReading->window()->lbl_TrendSpan->text(), "Show the last");
    EXPECT_EQ(f.trendReading->window()->minutes(), 30) << "the chosen span survives the refill";
    EXPECT_TRUE(f.windowTitle().startsWith("Tervalon 现场设备调试台   versions:"));
    EXPECT_EQ(tabTexts(f.pg_DYNC), (QStringList{"Basic", "Calibration", "Network"}));
    EXPECT_EQ(tabTexts(f.pg_AUTO), (QStringList{"Live data", "Statistics"}));
    EXPECT_EQ(f.grp_COMPort->title(), "Connection");
    EXPECT_EQ(f.btn_Connect->text(), "Connect");
    EXPECT_EQ(f.connection->connectCaption(), "Connect");
    EXPECT_EQ(f.connection->disconnectCaption(), "Disconnect");
    EXPECT_EQ(qobject_cast<QPushButton*>(find("btn_Read_DevAddr"))->text(), "Read");
    EXPECT_EQ(qobject_cast<QPushButton*>(find("cms_ReadAll"))->text(), "Read all pages");
    EXPECT_EQ(qobject_cast<QPushButton*>(find("cms_WriteSnapshot"))->text(), "Write snapshot");
    EXPECT_EQ(qobject_cast<QLabel*>(find("lbl_Temp"))->text(), "Temperature");
    EXPECT_EQ(qobject_cast<QLabel*>(find("lbl_Temp_Unit"))->text(), "℃");
    EXPECT_EQ(find("btn_SyncTime")->toolTip(), "$KSETTIME=[NOW]#") << "the command is the same in English";
    EXPECT_EQ(find("edt_DevAddr")->toolTip(), "Station address, 1-247");
    EXPECT_EQ(comboItems(qobject_cast<QComboBox*>(find("cbb_Mode"))),
              (QStringList{"Stop", "Manual", "Auto"}));
    EXPECT_EQ(f.cmb_CMDS->count(), f.BatchCommands.size());
    EXPECT_EQ(comboItems(f.cbb_StopBit), (QStringList{"1", "1.5", "2"}));
    EXPECT_EQ(ItemLookupIndex::of(f.ConfigPath)->itemByValue(1003, "2", f.language()), "Auto");
    EXPECT_EQ(ItemLookupIndex::of(f.ConfigPath)->valueByItem(1003, "自动"), "2");

    f.btn_FirstLanguage->click();
    EXPECT_EQ(tabTexts(f.pg_FIX), (QStringList{"日常操作", "维护"}));
    EXPECT_EQ(qobject_cast<QPushButton*>(find("btn_Read_DevAddr"))->text(), "读取");
    EXPECT_EQ(qobject_cast<QPushButton*>(find("cms_Compare"))->text(), "与设备比较");
    EXPECT_EQ(ItemLookupIndex::of(f.ConfigPath)->itemByValue(1003, "2", f.language()), "自动");
}

} // namespace
