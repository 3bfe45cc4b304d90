#include "language/ControlSettingFixture.h"

#include <QCheckBox>

// The editor together with the language tables: edits show at once and meet the next start.

TEST_F(ControlSettingEditorTest, EditsShowAtOnceAndSurviveTheNextChineseStart) {
    editAndOk(find("chk_showDT"), [](TForm_ControlSetting& ed) { ed.edt_CaptionCN->setText("时间"); });
    EXPECT_EQ(find<QAbstractButton>("chk_showDT")->text(), "时间");
    editAndOk(find("grp_Node"), [](TForm_ControlSetting& ed) {
        ed.edt_CaptionCN->setText("说明书");
        ed.mmo_HintCN->setPlainText("提示");
    });
    // A fixed command edited alone, its caption as configured.
    editAndOk(find("btn_Go"), [](TForm_ControlSetting& ed) { ed.mmo_HintCN->setPlainText("$GO=2#"); });
    EXPECT_EQ(find("btn_Go")->toolTip(), "$GO=2#");

    window.reset();
    TForm_Main restarted(dir.path());
    restarted.FormCreate();
    const QString path = QStringLiteral("LANGUAGE/COMPONETS/");
    EXPECT_EQ(attr(path + "CHECKBOX/@chk_showDT", "captionCN"), "时间");
    EXPECT_EQ(restarted.chk_showDT->text(), "时间");
    EXPECT_EQ(attr(path + "GROUPBOX/@grp_Node", "captionCN"), "说明书");
    EXPECT_EQ(restarted.grp_Node->title(), "说明书");
    EXPECT_EQ(attr(path + "BUTTON/@btn_Go", "hintCN"), "$GO=2#");
    EXPECT_EQ(componentHint(restarted.FindComponent("btn_Go")), "$GO=2#")
        << "the button sends the edited command";
}
