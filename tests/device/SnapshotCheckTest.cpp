// What people read in commissioning lists and snapshots, and the checks a loaded snapshot
// passes before any field is filled.

#include "device/SnapshotCheck.h"
#include "device/ParameterText.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace {

ParameterModel exampleModel() {
    return ParameterModel::fromFile(sourceDir() + "/examples/config.xml");
}

TEST(ParameterTextTest, ValuesReadAsTheFieldShowsThemWithTheDeviceValueWhereItDiffers) {
    const ParameterModel model = exampleModel();
    const Parameter& mask = *model.byTag("AlarmMask");
    const Parameter& mode = *model.byTag("Mode");
    const Parameter& zero = *model.byTag("Zero");
    EXPECT_EQ(ValueAsShown(mask, "300", "CN"), "012C (300)");
    EXPECT_EQ(ValueAsShown(mask, "-1", "EN"), "FFFFFFFF (-1)");
    EXPECT_EQ(ValueAsShown(mask, "junk", "CN"), "junk") << "what the field cannot show stays as it is";
    EXPECT_EQ(ValueAsShown(mode, "0", "CN"), "停止 (0)");
    EXPECT_EQ(ValueAsShown(mode, "1", "EN"), "Manual (1)");
    EXPECT_EQ(ValueAsShown(mode, "9", "EN"), "9") << "a value no choice has";
    EXPECT_EQ(ValueAsShown(zero, "-3", "EN"), "-3");
    // Choices whose texts are the values themselves need no brackets.
    EXPECT_EQ(ValueAsShown(*model.byTag("BaudSel"), "2", "CN"), "38400 (2)");

    const PolledValue& temp = model.polledValues()[0]; // (raw + 0) * 0.1 ℃
    EXPECT_EQ(PolledValueAsShown(temp, 253, "."), "25.3 ℃ (253)");
    const PolledValue& hours = model.polledValues()[4]; // (raw + 0) * 1 h
    EXPECT_EQ(PolledValueAsShown(hours, 12, "."), "12 h");
}

TEST(ParameterTextTest, SnapshotCaptionsAreRealTextsOrEmptyNeverPlaceholders) {
    const ParameterModel model = exampleModel();
    EXPECT_EQ(SnapshotCaption(*model.byTag("Mode"), "CN"), "运行模式");
    EXPECT_EQ(SnapshotCaption(*model.byTag("Mode"), "EN"), "Run mode");

    TempAppDir dir;
    dir.write("config.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON><GROUP_DYNC><Tab caption="P">
  <Plain caption="普通" addr="1"/>
  <NoCaption addr="2"/>
  <Edited caption="旧" addr="3"/>
  <Held caption="请点击右键设置显示内容" addr="4"/>
</Tab></GROUP_DYNC>
<LANGUAGE><COMPONETS><LABEL>
  <LABEL_LAN name="lbl_Edited" captionCN="新" hintCN="" captionEN="Right click to set" hintEN="Right click to set"/>
  <LABEL_LAN name="lbl_Held" captionCN="" captionEN="Held"/>
</LABEL></COMPONETS></LANGUAGE></TERVALON>)");
    const ParameterModel m = ParameterModel::fromFile(dir.file("config.xml"));
    EXPECT_EQ(SnapshotCaption(*m.byTag("Plain"), "CN"), "普通");
    EXPECT_EQ(SnapshotCaption(*m.byTag("Plain"), "EN"), "") << "no English text: an empty cell";
    EXPECT_EQ(SnapshotCaption(*m.byTag("NoCaption"), "CN"), "");
    EXPECT_EQ(SnapshotCaption(*m.byTag("Edited"), "CN"), "新") << "the table's text over the item's";
    EXPECT_EQ(SnapshotCaption(*m.byTag("Edited"), "EN"), "");
    EXPECT_EQ(SnapshotCaption(*m.byTag("Held"), "CN"), "");
    EXPECT_EQ(SnapshotCaption(*m.byTag("Held"), "EN"), "Held");
}

TEST(SnapshotCheckTest, FormulaLookingCellsAreToldFromNumbers) {
    for (const char* formula : {"=1+1", "@SUM(A1:A9)", "+A1", "-2+3", " =A1", "-", "+"})
        EXPECT_TRUE(LooksLikeFormula(formula)) << formula;
    for (const char* plain : {"-3", "+5", "1.5", "-0.25", "1e3", "abc", "", "1-2"})
        EXPECT_FALSE(LooksLikeFormula(plain)) << plain;
}

SnapshotRow cells(const QString& tag, const QString& address, const QString& value,
                  const QString& shown = {}) {
    return {"p", tag, address, "", "", value, shown, ""};
}

TEST(SnapshotCheckTest, EachCellIsCheckedAgainstTheKindOfItsRow) {
    const ParameterModel model = exampleModel();
    const Parameter& mask = *model.byTag("AlarmMask");
    const Parameter& mode = *model.byTag("Mode");
    const Parameter& ip = *model.byTag("IpMode"); // DHCP|静态 -> 1|0
    const Parameter& zero = *model.byTag("Zero");
    auto value = [](const Parameter& p, const SnapshotRow& r) {
        return CheckSnapshotRow(p, r, Language::english())
            .deviceValue.value_or("refused: " + CheckSnapshotRow(p, r, Language::english()).reason);
    };
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", " 26 ", "001A")), "26");
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", "", "001a")), "26")
        << "only the shown column, as a Write reads it";
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", "-2+3")), "refused: \"-2+3\" looks like a formula");
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", "1A")),
              "refused: device value \"1A\" of a hexadecimal parameter is no whole number");
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", "", "12G")),
              "refused: \"12G\" is no hexadecimal number");
    EXPECT_EQ(value(mask, cells("AlarmMask", "2003", "99999999999")),
              "refused: device value \"99999999999\" of a hexadecimal parameter is no whole number");

    EXPECT_EQ(value(mode, cells("Mode", "1003", "2")), "2");
    EXPECT_EQ(value(mode, cells("Mode", "1003", "手动")), "1") << "a listed text, Chinese";
    EXPECT_EQ(value(mode, cells("Mode", "1003", "Auto")), "2") << "a listed text, English";
    EXPECT_EQ(value(ip, cells("IpMode", "3001", "DHCP")), "1");
    EXPECT_EQ(value(mode, cells("Mode", "1003", "7")), "refused: \"7\" is not one of the choices");

    EXPECT_EQ(value(zero, cells("Zero", "2001", "-3")), "-3");
    EXPECT_EQ(value(zero, cells("Zero", "2001", "=1+1")), "refused: \"=1+1\" looks like a formula");
    EXPECT_EQ(value(zero, cells("Zero", "2001", "@SUM(A1:A9)")),
              "refused: \"@SUM(A1:A9)\" looks like a formula");
    EXPECT_EQ(value(zero, cells("Zero", "2001", "1#2")),
              "refused: it holds # or $, which would cut the command short");
    EXPECT_EQ(value(zero, cells("Zero", "2001", "a\nb")), "refused: it holds a control character");
    EXPECT_EQ(value(zero, cells("Zero", "2001", "1,5")),
              "refused: it holds a comma, which the command uses between address and value");
    EXPECT_TRUE(value(zero, cells("Zero", "2001", "温度")).startsWith("refused: "));
    EXPECT_EQ(value(zero, cells("Zero", "2001", "")), "refused: no value");
}

TEST(SnapshotCheckTest, ALoadFillsWhatPassesAndNamesEveryOtherRowWithItsLine) {
    const ParameterModel model = exampleModel();
    const SnapshotParse parse =
        SnapshotFromCsv("page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                        "x,DevAddr,1001,a,b,=1+1,,\r\n"
                        "\r\n"
                        "x,Mode,1003,a,b,自动,,\r\n"
                        "x,AlarmMask,2003,a,b,-2+3,,\r\n"
                        "x,Ghost,9999,a,b,1,,\r\n"
                        "x,Zero,2001,a,b,-3,-3,\r\n");
    ASSERT_TRUE(parse.ok());
    const SnapshotLoadPlan plan = PlanSnapshotLoad(model.rows(), parse, Language::chinese());
    ASSERT_EQ(plan.values.size(), 10);
    EXPECT_FALSE(plan.values[0]) << "DevAddr keeps its value";
    EXPECT_EQ(plan.values[2].value_or("none"), "2");
    EXPECT_EQ(plan.values[4].value_or("none"), "-3");
    EXPECT_FALSE(plan.values[6]);
    EXPECT_EQ(SnapshotLoadText(plan, Language::chinese()), "已载入 2 个参数；3 行未载入，这些参数保持不变：\n"
                                                           "第 2 行  1001  DevAddr：“=1+1”像是公式\n"
                                                           "第 5 行  2003  AlarmMask：“-2+3”像是公式\n"
                                                           "第 6 行  9999  Ghost：没有此标记和地址的参数");
    EXPECT_EQ(
        SnapshotLoadText(PlanSnapshotLoad(model.rows(), parse, Language::english()), Language::english(), 1),
        "2 parameters loaded; 3 rows not loaded, their parameters left as "
        "they were:\nline 2  1001  DevAddr: \"=1+1\" looks like a formula\n"
        "... and 2 more rows");
}

// One parameter and one row are worded as one, in either language; the counts of the English
// are never "1 rows".
TEST(SnapshotCheckTest, TheLoadMessageCountsInTheWordsOfEachLanguage) {
    const ParameterModel model = exampleModel();
    const SnapshotParse parse =
        SnapshotFromCsv("page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                        "x,Mode,1003,a,b,2,,\r\n"
                        "x,Ghost,9999,a,b,1,,\r\n"
                        "x,Ghost2,9998,a,b,1,,\r\n");
    ASSERT_TRUE(parse.ok());
    const Language en = Language::english(), cn = Language::chinese();
    EXPECT_EQ(SnapshotLoadText(PlanSnapshotLoad(model.rows(), parse, en), en, 1),
              "1 parameter loaded; 2 rows not loaded, their parameters left as they were:\n"
              "line 3  9999  Ghost: no parameter has this tag and address\n"
              "... and 1 more row");
    EXPECT_EQ(SnapshotLoadText(PlanSnapshotLoad(model.rows(), parse, cn), cn, 1),
              "已载入 1 个参数；2 行未载入，这些参数保持不变：\n"
              "第 3 行  9999  Ghost：没有此标记和地址的参数\n"
              "……另有 1 行");
    const SnapshotParse oneRefused =
        SnapshotFromCsv("page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                        "x,Mode,1003,a,b,=2,,\r\n");
    EXPECT_EQ(SnapshotLoadText(PlanSnapshotLoad(model.rows(), oneRefused, en), en),
              "0 parameters loaded; 1 row not loaded, its parameter left as it was:\n"
              "line 2  1003  Mode: \"=2\" looks like a formula");
    // A text cell that a protocol line cannot carry is refused in the reader's language too.
    const Parameter& zero = *model.byTag("Zero");
    EXPECT_EQ(CheckSnapshotRow(zero, cells("Zero", "2001", "1,5"), cn).reason,
              "含有逗号，命令用它分隔地址和值");
    EXPECT_TRUE(
        CheckSnapshotRow(zero, cells("Zero", "2001", "温度"), en).reason.startsWith("Character 1, \"温\""))
        << "the unsendable character is named, the words around it are English";
}

} // namespace
