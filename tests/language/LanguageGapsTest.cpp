#include "language/LanguageGaps.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageGapsTest, AHandfulIsNamedAndTheRestCounted) {
    LanguageGaps gaps;
    for (int i = 0; i < 7; ++i)
        gaps.addAttribute("LABEL", QString("lbl_%1").arg(i), "captionEN");
    gaps.addAttribute("LABEL", "lbl_0", "captionEN"); // the same gap twice counts once
    gaps.addGroup("CHECKBOX");
    ASSERT_EQ(gaps.lines().size(), 8);
    EXPECT_EQ(gaps.lines().last(), "COMPONETS/CHECKBOX");

    const QString english = languageGapsMessage(Language::english(), gaps.lines());
    EXPECT_TRUE(english.contains("\nLABEL name=\"lbl_4\": captionEN\nand 3 more"));
    EXPECT_FALSE(english.contains("lbl_5"));
    EXPECT_TRUE(
        languageGapsMessage(Language::chinese(), gaps.lines()).endsWith("lbl_4\": captionEN\n另有 3 处"));
    EXPECT_FALSE(languageGapsMessage(Language::english(), gaps.lines().mid(0, 5)).contains("more"));
}

TEST(LanguageGapsTest, OnlyGapsNotNamedBeforeAreTaken) {
    QSet<QString> reported;
    LanguageGaps first;
    first.addAttribute("BUTTON", "btn_Send", "hintCN");
    EXPECT_EQ(takeUnreported(first, &reported), QStringList{"BUTTON name=\"btn_Send\": hintCN"});
    EXPECT_TRUE(takeUnreported(first, &reported).isEmpty());

    LanguageGaps second;
    second.addAttribute("BUTTON", "btn_Send", "hintCN");
    second.addLine("TERVALON: appName");
    EXPECT_EQ(takeUnreported(second, &reported), QStringList{"TERVALON: appName"});
    EXPECT_TRUE(takeUnreported(LanguageGaps(), &reported).isEmpty());
}

} // namespace
