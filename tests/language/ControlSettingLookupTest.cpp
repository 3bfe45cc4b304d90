#include "console/ItemLookupIndex.h"
#include "language/ControlSettingFixture.h"

// The editor together with the value lookup it relies on.

TEST_F(ControlSettingEditorTest, ParameterValuesAreShownAndWrittenThroughTheLookup) {
    ASSERT_TRUE(rightClick(find("cbb_Mode"), [](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.mmo_ItemsValue->toPlainText(), "0|1");
        ed.mmo_ItemsValue->setPlainText("0|2");
        ed.btn_OK->click();
    }));
    EXPECT_EQ(ItemLookupIndex::of(window->ConfigPath)->itemsValue(5), "0|2");

    // A separator without address and a parameter whose address is not a number, before the
    // choice box: both are passed over, so the box's values are shown and kept as they are.
    dir.write(QStringLiteral("config.xml"), configXml(QStringLiteral("<Topxxx/><Bad addr=\"abc\"/>")));
    ASSERT_TRUE(rightClick(find("cbb_Mode"), [](TForm_ControlSetting& ed) {
        EXPECT_TRUE(ed.mmo_ItemsValue->isEnabled());
        EXPECT_EQ(ed.mmo_ItemsValue->toPlainText(), "0|1");
        ed.btn_OK->click();
    }));
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
    EXPECT_EQ(ItemLookupIndex::of(window->ConfigPath)->itemsValue(5), "0|1");
    EXPECT_TRUE(dir.read("config.xml").contains("itemsValue=\"0|1\""));
}
