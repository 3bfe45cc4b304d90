// The parameter model of a configuration and the conversions between what is shown and what
// the device gets.

#include "device/ParameterModel.h"
#include "config/XmlDocument.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace {

ParameterModel exampleModel() {
    return ParameterModel::fromFile(sourceDir() + "/examples/config.xml");
}

TEST(ParameterModelTest, TheExampleInPageOrderWithKindsAndTexts) {
    const ParameterModel model = exampleModel();
    ASSERT_EQ(model.pages().size(), 3);
    EXPECT_EQ(model.pages()[1].tag, "Calib");
    EXPECT_EQ(model.pages()[1].captions.value("EN"), "Calibration");
    EXPECT_EQ(model.readTimeoutMs(), 1000);

    QStringList tags;
    for (const Parameter* p : model.rows())
        tags << p->tag + "@" + QString::number(p->address);
    EXPECT_EQ(tags.join(' '), "DevAddr@1001 BaudSel@1002 Mode@1003 Power@1004 Zero@2001 Span@2002 "
                              "AlarmMask@2003 SerialNo@2004 IpMode@3001 MbPort@3002");
    EXPECT_EQ(model.rows(2).size(), 2);
    EXPECT_EQ(model.parameters().size(), 12) << "separators keep their place";
    EXPECT_TRUE(model.parameters()[2].isSeparator());

    const Parameter* mode = model.byTag("Mode");
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->kind, Parameter::Kind::Choice);
    EXPECT_EQ(mode->page, 0);
    EXPECT_EQ(mode->captionIn("EN"), "Run mode");
    EXPECT_EQ(mode->captionIn("CN"), "运行模式");
    EXPECT_EQ(mode->choicesIn("EN"), (QStringList{"Stop", "Manual", "Auto"}));
    EXPECT_EQ(model.byAddress(2003)->kind, Parameter::Kind::Hex);
    EXPECT_EQ(model.byAddress(2001)->kind, Parameter::Kind::Text);
    EXPECT_EQ(model.byAddress(4242), nullptr);

    ASSERT_EQ(model.polledValues().size(), 6);
    EXPECT_EQ(model.polledValues()[2].address, 102);
    EXPECT_EQ(ScaledValueOf(model.polledValues()[2], 12345, ".").value_or("none"), "122.45");
}

TEST(ParameterModelTest, ShownAndDeviceValuesConvertBothWays) {
    const ParameterModel model = exampleModel();
    const Parameter& mask = *model.byTag("AlarmMask");
    EXPECT_EQ(DeviceValueOf(mask, "001A", "CN").value_or("none"), "26");
    EXPECT_EQ(DeviceValueOf(mask, "ffffffff", "CN").value_or("none"), "-1");
    QString error;
    EXPECT_FALSE(DeviceValueOf(mask, "12G", "CN", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ShownTextOf(mask, "26", "CN").value_or("none"), "001A");
    EXPECT_EQ(ShownTextOf(mask, "-1", "CN").value_or("none"), "FFFFFFFF");
    EXPECT_FALSE(ShownTextOf(mask, "OK", "CN")) << "a hexadecimal field cannot show text";

    // A choice goes by position in the current language's list, its own items as a fallback.
    const Parameter& ip = *model.byTag("IpMode"); // DHCP|静态 -> 1|0
    EXPECT_EQ(DeviceValueOf(ip, "Static", "EN").value_or("none"), "0");
    EXPECT_EQ(DeviceValueOf(ip, "静态", "EN").value_or("none"), "0");
    EXPECT_EQ(DeviceValueOf(ip, "静态", "CN").value_or("none"), "0");
    EXPECT_EQ(DeviceValueOf(ip, "7", "CN").value_or("none"), "7") << "a text in no list goes as it stands";
    EXPECT_EQ(ShownTextOf(ip, "1", "EN").value_or("none"), "DHCP");
    EXPECT_EQ(ShownTextOf(ip, "0", "CN").value_or("none"), "静态");
    EXPECT_EQ(ShownTextOf(ip, "9", "CN").value_or("none"), "9");

    const Parameter& zero = *model.byTag("Zero");
    EXPECT_EQ(DeviceValueOf(zero, "-3", "EN").value_or("none"), "-3");
    EXPECT_FALSE(DeviceValueOf(zero, "", "EN")) << "an empty value is never written";
}

TEST(ParameterModelTest, FaultyItemsAreLeftOutAndChoicesWithoutValuesRefuse) {
    TempAppDir dir;
    dir.write("config.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><TERVALON><GROUP_DYNC readTimeoutMs=\"5\">"
              "<P caption=\"p\"><Bad addr=\"one\"/><Sepxxx/>"
              "<Short caption=\"c\" addr=\"7\" controlType=\"ComboBox\" items=\"a|b|c\" itemsValue=\"0|1\"/>"
              "</P></GROUP_DYNC></TERVALON>");
    const ParameterModel model = ParameterModel::fromFile(dir.file("config.xml"));
    EXPECT_EQ(model.readTimeoutMs(), 1000) << "an unreasonable time-out falls back";
    ASSERT_EQ(model.rows().size(), 1);
    const Parameter& shortChoice = *model.rows()[0];
    EXPECT_EQ(shortChoice.choicesIn("EN"), (QStringList{"a", "b", "c"}))
        << "no language table: its own items";
    QString error;
    EXPECT_FALSE(DeviceValueOf(shortChoice, "c", "CN", &error));
    EXPECT_EQ(error, "List index out of bounds (2)");
    EXPECT_EQ(DeviceValueOf(shortChoice, "b", "CN").value_or("none"), "1");
    EXPECT_EQ(ShownTextOf(shortChoice, "1", "CN").value_or("none"), "b");
}

// The settings editor changes a choice's texts and values while rows stand: the model takes
// them, and keeps every row where it was built, even when the file now says otherwise.
TEST(ParameterModelTest, UpdatedTextsAndChoicesKeepTheRowsAsBuilt) {
    TempAppDir dir;
    const QString before =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><TERVALON><GROUP_DYNC><P caption=\"p\">"
        "<Mode caption=\"m\" addr=\"7\" controlType=\"ComboBox\" items=\"a|b\" itemsValue=\"0|1\"/>"
        "<Gain caption=\"g\" addr=\"8\" type=\"HEX\"/></P></GROUP_DYNC>"
        "<GROUP_AUTO><A caption=\"a\"><T addr=\"3\" constA=\"1\" constM=\"2\" unit=\"V\"/></A></GROUP_AUTO>"
        "</TERVALON>";
    dir.write("config.xml", before.toUtf8());
    ParameterModel model = ParameterModel::fromFile(dir.file("config.xml"));

    QString after = before;
    after.replace("items=\"a|b\" itemsValue=\"0|1\"", "items=\"x|y|z\" itemsValue=\"5|6|7\"")
        .replace("caption=\"g\" addr=\"8\" type=\"HEX\"", "caption=\"G\" addr=\"9\"")
        .replace("constA=\"1\"", "constA=\"100\"");
    dir.write("config.xml", after.toUtf8());
    model.updateTexts(XmlDocument::openForWriting(dir.file("config.xml")));

    const Parameter& mode = *model.byTag("Mode");
    EXPECT_EQ(DeviceValueOf(mode, "z", "EN").value_or("none"), "7");
    EXPECT_EQ(ShownTextOf(mode, "6", "CN").value_or("none"), "y");
    const Parameter& gain = *model.byTag("Gain");
    EXPECT_EQ(gain.caption, "G");
    EXPECT_EQ(gain.address, 8) << "its row still reads and writes 8";
    EXPECT_EQ(gain.kind, Parameter::Kind::Hex);
    const PolledValue* polled = model.polledByTag("T");
    ASSERT_TRUE(polled);
    EXPECT_EQ(ScaledNumberOf(*polled, 4, ".").value_or(-1), 10.0) << "polled values stay as built";
    EXPECT_EQ(model.polledByTag("none"), nullptr);
}

} // namespace
