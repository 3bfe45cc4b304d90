#include "ui/Controls.h"
#include "app/MainFrm.h"
#include "console/protocol/LayoutRules.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(LayoutRulesTest, FiguresOfTheTemplateSizes) {
    const auto cols = layout::columns(1494, 97);
    EXPECT_EQ(cols.left, 498);
    EXPECT_EQ(cols.right, 298);
    EXPECT_EQ(cols.bannerHeight, 107);
    EXPECT_EQ(cols.webLeft, 1494 - 97 - 8);
    EXPECT_EQ(layout::columns(1320, 97).bannerHeight, 95);
    // Narrow windows keep the side columns wide enough for their fixed-position controls.
    EXPECT_EQ(layout::columns(1280, 97).left, layout::minLeftColumn);
    EXPECT_EQ(layout::columns(1280, 97).right, layout::minRightColumn);
    EXPECT_EQ(layout::columns(1920, 97).left, 640);
    EXPECT_EQ(layout::parameterGroupHeight(623), 414);

    const auto row = layout::parameterRow(639, 635);
    EXPECT_EQ(row.labelWidth, 213);
    EXPECT_EQ(row.value.left, 213);
    EXPECT_EQ(row.value.width, 205);
    EXPECT_EQ(row.readButton.left, 426);
    EXPECT_EQ(row.readButton.width, 90);
    EXPECT_EQ(row.writeButton.left, 524);
    EXPECT_EQ(row.writeButton.width, 90);
    EXPECT_EQ(row.separatorWidth, 611);

    // The batch button keeps its place and width where there is room, and both shrink where not.
    const auto wide = layout::batchRow(313, 128, 150, 636);
    EXPECT_EQ(wide.box.width, 128);
    EXPECT_EQ(wide.button.left, 449);
    EXPECT_EQ(wide.button.width, 150);
    const auto narrow = layout::batchRow(313, 128, 150, 488);
    EXPECT_EQ(narrow.box.width, 80);
    EXPECT_EQ(narrow.button.left, 401);
    EXPECT_EQ(narrow.button.width, 87);
    EXPECT_LE(narrow.button.left + narrow.button.width, 488);

    const auto fixed = layout::fixedRow(635);
    EXPECT_EQ(fixed.labelWidth, 317);
    EXPECT_EQ(fixed.button.left, 305);
    EXPECT_EQ(fixed.button.width, 301);
}

TEST(LayoutTest, WindowKeepsItsProportionsAtCommonSizes) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    TForm_Main form(dir.path());
    form.btn_Cmds->show(); // as a configuration with the batch button has it
    form.show();
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080), QSize(1494, 720)}) {
        form.resize(size);
        const auto expected = layout::columns(size.width(), form.lbl_Web->width());
        ASSERT_TRUE(waitFor([&] { return form.Panel_Left->width() == expected.left; }));
        EXPECT_EQ(form.Panel_Right->width(), expected.right);
        EXPECT_EQ(form.Panel_Top->height(), size.width() * 19 / 264);
        EXPECT_EQ(form.lbl_Web->x(), size.width() - form.lbl_Web->width() - 8);
        EXPECT_EQ(form.grp_DYNC->height(), (form.Panel_Mid->height() / 3) * 2);
        // Columns side by side without overlap, filling the width.
        EXPECT_EQ(form.Panel_Left->geometry().right() + 1, form.Splitter1->x());
        EXPECT_LE(form.Panel_Mid->geometry().right(), form.Splitter2->x());
        EXPECT_EQ(form.Panel_Right->geometry().right(), size.width() - 1);
        EXPECT_GT(form.mmo_RX->height(), 50);
        // The connection bar's last control is not cut off by the column's edge.
        EXPECT_LE(form.btn_Connect->geometry().right(), form.grp_COMPort->width());
        EXPECT_LE(form.btn_ClearRxmmo->geometry().right(), form.Panel2->width());
        EXPECT_LE(form.btn_Cmds->geometry().right(), form.Panel3->width());
        EXPECT_LE(form.cmb_CMDS->geometry().right(), form.btn_Cmds->x());
    }
}

} // namespace
