#include "language/ControlSettingFixture.h"

// The editor together with the value lookup it relies on.

TEST_F(ControlSettingEditorTest, ParameterValuesAreShownAndWrittenThroughTheLookup) {
    ASSERT_TRUE(rightClick(find("cbb_Mode"), [](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.mmo_ItemsValue->toPlainText(), "0|1");
        ed.mmo_ItemsValue->setPlainText("0|2");
        ed.btn_OK->click();
    }));
    EXPECT_EQ(window->GetItemsValueStr(5), "0|2");

    // A parameter before the choice box whose address is not a number: its values cannot be
    // read, so the editor does not open rather than overwrite them.
    dir.write(QStringLiteral("config.xml"), configXml(QStringLiteral("<Bad addr=\"abc\"/>")));
    EXPECT_FALSE(rightClick(find("cbb_Mode")));
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].contains("P1/Bad")) << presenter.messages[0].toStdString();
}
