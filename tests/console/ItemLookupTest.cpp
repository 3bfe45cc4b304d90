#include "PageBuilderFixture.h"

#include "console/ItemLookupIndex.h"

#include <QAction>
#include <QMenu>

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
    // The lookups of the file as it is now.
    std::shared_ptr<const ItemLookupIndex> lookups() const { return ItemLookupIndex::of(form->ConfigPath); }
};

const QString power = "<Pw addr=\"7\" items=\"关|开\" itemsValue=\"0|1\"/>";

TEST(ItemLookupTest, TranslatesBetweenValuesAndTextsInBothLanguages) {
    LookupWindow w(power, "<E name=\"cbb_Pw\" itemsCN=\"\" itemsEN=\"Off|On\"/>");
    const auto f = w.lookups();
    const Language chinese = Language::fromCode("CN");
    EXPECT_EQ(f->comboItems(7, chinese), "关|开") << "an empty table text falls back to the item's own";
    EXPECT_EQ(f->itemByValue(7, "1", chinese), "开");
    EXPECT_EQ(f->itemByValue(7, "2", chinese), "2");
    EXPECT_EQ(f->itemByValue(8, "1", chinese), "1");
    EXPECT_EQ(f->valueByItem(7, "开"), "1");
    EXPECT_EQ(f->itemsValue(7), "0|1");
    EXPECT_EQ(f->itemsValue(99), "");

    const Language english = Language::fromCode("EN");
    EXPECT_EQ(f->comboItems(7, english), "Off|On");
    EXPECT_EQ(f->itemByValue(7, "1", english), "On");
    EXPECT_EQ(f->valueByItem(7, "On"), "On") << "writes match the item's own texts only";
    EXPECT_EQ(f->valueByItem(7, "开"), "1");

    EXPECT_EQ(f->itemByValue(7, "1", Language::fromCode("en")), "开");
}

TEST(ItemLookupTest, EmptyEntriesKeepTheirPositions) {
    LookupWindow w("<M addr=\"3\" items=\"a|b|c\" itemsValue=\"0||2\"/>",
                   "<E name=\"cbb_M\" itemsCN=\"x|y|z\"/>");
    EXPECT_EQ(w.lookups()->itemByValue(3, "", Language::chinese()), "y");
    EXPECT_EQ(w.lookups()->itemByValue(3, "2", Language::chinese()), "z");
    EXPECT_EQ(w.lookups()->valueByItem(3, "b"), "");
}

TEST(ItemLookupTest, WithoutATableEntryValuesMapThroughTheItemsOwnTexts) {
    LookupWindow w(power, "<E name=\"cbb_Other\" itemsCN=\"x\"/>");
    EXPECT_EQ(w.lookups()->comboItems(7, Language::chinese()), "");
    EXPECT_EQ(w.lookups()->itemByValue(7, "0", Language::chinese()), "关");
    EXPECT_EQ(w.lookups()->itemByValue(7, "1", Language::chinese()), "开");
    EXPECT_EQ(w.lookups()->valueByItem(7, "开"), "1");
}

TEST(ItemLookupTest, DuplicateAddressesLaterMatchWinsFirstListIsListed) {
    LookupWindow w(
        "<A addr=\"5\" items=\"x|y\" itemsValue=\"0|1\"/><B addr=\"5\" items=\"p|q\" itemsValue=\"1|0\"/>",
        "<E name=\"cbb_B\" itemsCN=\"P|Q\"/><E name=\"cbb_A\" itemsCN=\"X|Y\"/>"
        "<E name=\"cbb_A\" itemsCN=\"ignored\"/>");
    const auto f = w.lookups();
    EXPECT_EQ(f->comboItems(5, Language::chinese()), "X|Y")
        << "the first item with an entry, and its first entry";
    // Both items match "0"; the later one sets the result last.
    EXPECT_EQ(f->itemByValue(5, "0", Language::chinese()), "Y");
    EXPECT_EQ(f->valueByItem(5, "x"), "0");
    EXPECT_EQ(f->valueByItem(5, "q"), "0");
    EXPECT_EQ(f->itemsValue(5), "0|1");
}

TEST(ItemLookupTest, ItemsWithoutAnIntegerAddressArePassedOver) {
    // Separators as users write them (no addr), one with addr="0", and a parameter whose
    // address is not a number, before and after the choice item.
    LookupWindow w("<Topxxx/><Q addr=\"p1\" items=\"a|b\" itemsValue=\"0|1\"/>" + power +
                       "<Linexxx/><Zeroxxx addr=\"0\" itemsValue=\"9\"/><R addr=\"\"/>",
                   "<E name=\"cbb_Pw\" itemsCN=\"关|开\" itemsEN=\"Off|On\"/>");
    const auto f = w.lookups();
    EXPECT_EQ(f->itemByValue(7, "1", Language::chinese()), "开");
    EXPECT_EQ(f->valueByItem(7, "开"), "1");
    EXPECT_EQ(f->comboItems(7, Language::chinese()), "关|开");
    EXPECT_EQ(f->itemsValue(7), "0|1");
    EXPECT_EQ(f->itemsValue(8), "");
    EXPECT_EQ(f->itemsValue(0), "") << "a separator is no parameter, whatever its addr";

    const auto index = w.lookups();
    EXPECT_EQ(index->textForValue("Pw", "1", Language::english()), "On");
    EXPECT_EQ(index->valueForText("Pw", "Off", Language::english()), "0");
}

TEST(ItemLookupTest, ASecondChineseStartWithSeparatorsWithoutAddressRunsTheLanguagePass) {
    TestConfig config = LookupWindow::configWith(
        "<Linexxx/><Pw caption=\"电源\" hint=\"h\" addr=\"7\" controlType=\"ComboBox\" "
        "items=\"关|开\" itemsValue=\"0|1\"/>",
        "");
    config.language = "<LANGUAGE value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/><EDIT/>"
                      "<COMBOBOX/><CHECKBOX/></COMPONETS><MESSAGES/></LANGUAGE>";
    TestWindow first(config);
    first.form->FormCreate();
    TestWindow second(first.dir.read("config.xml")); // the file as the first start left it
    second.form->FormCreate();
    EXPECT_EQ(second.presenter.errors, QStringList{});
    QMenu* skins = second.form->Menu_Skins->menu();
    EXPECT_TRUE(skins && !skins->isEmpty()) << "start-up went on to the skins menu";
}

TEST(ItemLookupTest, ARowLooksUpThroughItsOwnItemOnly) {
    // Two choice rows on one address with different lists, and a third without a table entry.
    LookupWindow w("<A addr=\"5\" items=\"关|开\" itemsValue=\"0|1\"/>"
                   "<B addr=\"5\" items=\"低|中|高\" itemsValue=\"10|20|30\"/>"
                   "<C addr=\"6\" items=\"停止|运行\" itemsValue=\"0|1\"/>",
                   "<E name=\"cbb_A\" itemsCN=\"\" itemsEN=\"Off|On\"/>"
                   "<E name=\"cbb_B\" itemsCN=\"低|中|高\" itemsEN=\"Low|Mid|High\"/>");
    const auto index = ItemLookupIndex::of(w.form->ConfigPath);
    for (const Language language : {Language::chinese(), Language::english()}) {
        const bool english = language.isEnglish();
        SCOPED_TRACE(language.code().toStdString());
        EXPECT_EQ(index->textForValue("A", "1", language), english ? "On" : "开");
        EXPECT_EQ(index->textForValue("B", "20", language), english ? "Mid" : "中");
        EXPECT_EQ(index->textForValue("B", "1", language), "1") << "not the other row's value";
        EXPECT_EQ(index->textForValue("C", "1", language), "运行") << "no entry: the item's own texts";
        EXPECT_EQ(index->valueForText("C", "停止", language), "0");
        // The shown language's texts first, then the item's own texts.
        EXPECT_EQ(index->valueForText("A", "On", language), english ? "1" : "On");
        EXPECT_EQ(index->valueForText("A", "开", language), "1");
        EXPECT_EQ(index->valueForText("B", english ? "High" : "高", language), "30");
        EXPECT_EQ(index->valueForText("B", "开", language), "开") << "matches no list of its own row";
        EXPECT_EQ(index->textForValue("Nope", "1", language), "1");
        EXPECT_EQ(index->valueForText("Nope", "x", language), "x");
    }

    // Position past the values list: an error, so a Write sends nothing rather than a text.
    w.rewrite("<A addr=\"5\" items=\"a|b\" itemsValue=\"0\"/>", "<E name=\"cbb_A\" itemsEN=\"x|y\"/>");
    EXPECT_EQ(errorOf([&] {
                  ItemLookupIndex::of(w.form->ConfigPath)->valueForText("A", "y", Language::english());
              }),
              "List index out of bounds (1)");

    // Without a readable table the box shows its item's own texts, and so do the lookups.
    TestConfig config = LookupWindow::configWith("<A addr=\"5\" items=\"a|b\" itemsValue=\"0|1\"/>", "");
    config.language = "<LANGUAGE value=\"CN\"/>";
    w.dir.write("config.xml", config.xml());
    EXPECT_EQ(ItemLookupIndex::of(w.form->ConfigPath)->textForValue("A", "1", Language::english()), "b");
    EXPECT_EQ(ItemLookupIndex::of(w.form->ConfigPath)->valueForText("A", "b", Language::english()), "1");
}

TEST(ItemLookupTest, ShortListsAndMissingElementsAreErrors) {
    LookupWindow w("<S addr=\"1\" items=\"a|b\" itemsValue=\"0|1|2\"/>",
                   "<E name=\"cbb_S\" itemsCN=\"a|b\"/>");
    EXPECT_EQ(errorOf([&] { w.lookups()->itemByValue(1, "2", Language::chinese()); }),
              "List index out of bounds (2)");
    w.rewrite("<S addr=\"1\" items=\"a|b|c\" itemsValue=\"0\"/>", "");
    EXPECT_EQ(errorOf([&] { w.lookups()->valueByItem(1, "c"); }), "List index out of bounds (2)");

    TestConfig config = LookupWindow::configWith(power, "");
    config.language = "<LANGUAGE value=\"CN\"><COMPONETS/></LANGUAGE>";
    w.dir.write("config.xml", config.xml());
    EXPECT_EQ(errorOf([&] { w.lookups()->comboItems(7, Language::chinese()); }),
              "The configuration file has no element TERVALON/LANGUAGE/COMPONETS/COMBOBOX");
    EXPECT_EQ(w.lookups()->valueByItem(7, "开"), "1") << "only the table lookups need the table";
    EXPECT_EQ(w.lookups()->itemByValue(8, "1", Language::chinese()), "1")
        << "nothing matched, so the table was not read";

    config.dync.clear();
    w.dir.write("config.xml", config.xml());
    EXPECT_EQ(errorOf([&] { w.lookups()->itemsValue(7); }),
              "The configuration file has no element TERVALON/GROUP_DYNC");

    QFile::remove(w.form->ConfigPath);
    EXPECT_NE(errorOf([&] { w.lookups()->itemsValue(7); }), "");
}

TEST(ItemLookupTest, SeesEveryChangeOfTheFile) {
    LookupWindow w(power, "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    EXPECT_EQ(w.lookups()->itemByValue(7, "1", Language::chinese()), "开");
    // Same size, same inode: only the modification time tells the versions apart.
    QString changed = power;
    changed.replace("0|1", "0|7");
    w.rewrite(changed, "<E name=\"cbb_Pw\" itemsCN=\"关|开\"/>");
    EXPECT_EQ(w.lookups()->itemByValue(7, "1", Language::chinese()), "1");
    EXPECT_EQ(w.lookups()->itemByValue(7, "7", Language::chinese()), "开");
}

} // namespace
