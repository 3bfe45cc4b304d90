#include "language/ControlSettingFixture.h"

// The editor together with the language tables: edits show at once and meet the next start.

TEST_F(ControlSettingEditorTest, EditsShowAtOnceAndSurviveTheNextChineseStartOnlyWithTheirTooltip) {
    editAndOk(find("chk_showDT"), [](TForm_ControlSetting& ed) { ed.edt_CaptionCN->setText("时间"); });
    EXPECT_EQ(find<QAbstractButton>("chk_showDT")->text(), "时间");
    editAndOk(find("grp_Node"), [](TForm_ControlSetting& ed) {
        ed.edt_CaptionCN->setText("说明书");
        ed.mmo_HintCN->setPlainText("提示");
    });

    window.reset();
    TForm_Main restarted(dir.path());
    restarted.FormCreate();
    const QString path = QStringLiteral("LANGUAGE/COMPONETS/");
    EXPECT_EQ(attr(path + "CHECKBOX/@chk_showDT", "captionCN"), "显示时间");
    EXPECT_EQ(attr(path + "GROUPBOX/@grp_Node", "captionCN"), "说明书");
    EXPECT_EQ(restarted.grp_Node->title(), "说明书");
}
