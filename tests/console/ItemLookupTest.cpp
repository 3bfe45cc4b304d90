#include "PageBuilderFixture.h"

#include <gtest/gtest.h>

namespace {

QString errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.text();
    }
    return {};
}

// A window whose config.xml holds the given parameter items (in one tab) and COMBOBOX entries.
struct LookupWindow : TestWindow {
    LookupWindow(const QString& items, const QString& combos) : TestWindow(configWith(items, combos)) {}

    static TestConfig configWith(const QString& items, const QString& combos) {
        TestConfig config;
        config.dync = "<GROUP_DYNC><T caption=\"t\">" + items + "</T></GROUP_DYNC>";
        config.language = "<LANGUAGE value=\"CN\"><COMPONETS><COMBOBOX>" + combos +
                          "</COMBOBOX></COMPONETS><MESSAGES/></LANGUAGE>";
        return config;
    }
    void rewrite(const QString& items, const QString& combos) {
        dir.write("config.xml", configWith(items, combos).xml());
    }
};

const QString power = "<Pw addr=\"7\" items=\"关|开\" itemsValue=\"0|1\"/>";

TEST(ItemLookupTest, TranslatesBetweenValuesAndTextsInBothLanguages) {
    LookupWindow w(power, "<E name=\"cbb_Pw\" itemsCN=\"\" itemsEN=\"Off|On\"/>");
    TForm_Main& f = *w.form;
    f.LanguageCode = "CN";
    EXPECT_EQ(f.GetComboItemsStr(7), "关|开") << "an empty table text falls back to the item's own";
    EXPECT_EQ(f.GetItemByValue(7, "1"), "开");
    EXPECT_EQ(f.GetItemByValue(7, "2"), "2");
    EXPECT_EQ(f.GetItemByValue(8, "1"), "1");
    EXPECT_EQ(f.GetValueByItem(7, "开"), "1");
    EXPECT_EQ(f.GetItemsValueStr(7), "0|1");
    EXPECT_EQ(f.GetItemsValueStr(99), "");

    f.LanguageCode = "EN";
    EXPECT_EQ(f.GetComboItemsStr(7), "Off|On");
    EXPECT_EQ(f.GetItemByValue(7, "1"), "On");
    EXPECT_EQ(f.GetValueByItem(7, "On"), "On") << "writes match the item's own texts only";
    EXPECT_EQ(f.GetValueByItem(7, "开"), "1");

    f.LanguageCode = "en";
    EXPECT_EQ(f.GetItemByValue(7, "1"), "开");
}

TEST(ItemLookupTest, EmptyEntriesKeepTheirPositions) {
    LookupWindow w("<M addr=\"3\" items=\"a|b|c\" itemsValue=\"0||2\"/>",
                   "<E name=\"cbb_M\" itemsCN=\"x|y|z\"/>");
    EXPECT_EQ(w.form->GetItemByValue(3, ""), "y");
    EXPECT_EQ(w.form->GetItemByValue(3, "2"), "z");
    EXPECT_EQ(w.form->GetValueByItem(3, "b"), "");
}

TEST(ItemLookupTest, WithoutATableEntryTheTextsAreOneEmptyItem) {
    LookupWindow w(power, "<E name=\"cbb_Other\" itemsCN=\"x\"/>");
    EXPECT_EQ(w.form->GetComboItemsStr(7), "");
    EXPECT_EQ(w.form->GetItemByValue(7, "0"), "");
    EXPECT_EQ(errorOf([&] { w.form->GetItemByValue(7, "1"); }), "List index out of bounds (1)");
    EXPECT_EQ(w.form->GetValueByItem(7, "开"), "1") << "writes do not need the table";
}

TEST(ItemLookupTest, DuplicateAddressesLaterMatchWinsFirstListIsListed) {
    LookupWindow w(
        "<A addr=\"5\" items=\"x|y\" itemsValue=\"0|1\"/><B addr=\"5\" items=\"p|q\" itemsValue=\"1|0\"/>",
        "<E name=\"cbb_B\" itemsCN=\"P|Q\"/><E name=\"cbb_A\" itemsCN=\"X|Y\"/>"
        "<E name=\"cbb_A\" itemsCN=\"ignored\"/>");
    TForm_Main& f = *w.form;
    EXPECT_EQ(f.GetComboItemsStr(5), "X|Y") << "the first item with an entry, and its first entry";
    // Both items match "0"; the later one sets the result last.
    EXPECT_EQ(f.GetItemByValue(5, "0"), "Y");
    EXPECT_EQ(f.GetValueByItem(5, "x"), "0");
    EXPECT_EQ(f.GetValueByItem(5, "q"), "0");
    EXPECT_EQ(f.GetItemsValueStr(5), "0|1");
}

TEST(ItemLookupTest, AnUnreadableAddressFailsEveryWalkThatReachesIt) {
    // A separator written without addr, after the parameter.
    LookupWindow after(power + "<Linexxx/>", "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    TForm_Main& f = *after.form;
    const QString bad = "'' is not a valid integer value";
    EXPECT_EQ(errorOf([&] { f.GetItemByValue(7, "1"); }), bad);
    EXPECT_EQ(errorOf([&] { f.GetValueByItem(7, "开"); }), bad);
    EXPECT_EQ(f.GetItemsValueStr(7), "0|1") << "the walk ends before the separator";
    EXPECT_EQ(f.GetComboItemsStr(7), "关|开");
    EXPECT_EQ(errorOf([&] { f.GetItemsValueStr(8); }), bad);

    LookupWindow before("<Q addr=\"p1\"/>" + power, "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    EXPECT_EQ(errorOf([&] { before.form->GetItemsValueStr(7); }), "'p1' is not a valid integer value");
    EXPECT_EQ(errorOf([&] { before.form->GetComboItemsStr(7); }), "'p1' is not a valid integer value");
}

TEST(ItemLookupTest, ShortListsAndMissingElementsAreErrors) {
    LookupWindow w("<S addr=\"1\" items=\"a|b\" itemsValue=\"0|1|2\"/>",
                   "<E name=\"cbb_S\" itemsCN=\"a|b\"/>");
    EXPECT_EQ(errorOf([&] { w.form->GetItemByValue(1, "2"); }), "List index out of bounds (2)");
    w.rewrite("<S addr=\"1\" items=\"a|b|c\" itemsValue=\"0\"/>", "");
    EXPECT_EQ(errorOf([&] { w.form->GetValueByItem(1, "c"); }), "List index out of bounds (2)");

    TestConfig config = LookupWindow::configWith(power, "");
    config.language = "<LANGUAGE value=\"CN\"><COMPONETS/></LANGUAGE>";
    w.dir.write("config.xml", config.xml());
    EXPECT_EQ(errorOf([&] { w.form->GetComboItemsStr(7); }),
              "The configuration file has no element TERVALON/LANGUAGE/COMPONETS/COMBOBOX");
    EXPECT_EQ(w.form->GetValueByItem(7, "开"), "1") << "only the table lookups need the table";
    EXPECT_EQ(w.form->GetItemByValue(8, "1"), "1") << "nothing matched, so the table was not read";

    config.dync.clear();
    w.dir.write("config.xml", config.xml());
    EXPECT_EQ(errorOf([&] { w.form->GetItemsValueStr(7); }),
              "The configuration file has no element TERVALON/GROUP_DYNC");

    QFile::remove(w.form->ConfigPath);
    EXPECT_NE(errorOf([&] { w.form->GetItemsValueStr(7); }), "");
}

TEST(ItemLookupTest, SeesEveryChangeOfTheFile) {
    LookupWindow w(power, "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    EXPECT_EQ(w.form->GetItemByValue(7, "1"), "开");
    // Same size, same inode: only the modification time tells the versions apart.
    QString changed = power;
    changed.replace("0|1", "0|7");
    w.rewrite(changed, "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    EXPECT_EQ(w.form->GetItemByValue(7, "1"), "1");
    EXPECT_EQ(w.form->GetItemByValue(7, "7"), "开");
}

} // namespace
