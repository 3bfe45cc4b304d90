// What opening a port says when it cannot: settings refused before the port is touched, and
// why a device cannot be opened, each in the language asked for.

#include "device/PortOpening.h"
#include "comm/SerialComm.h"

#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace {

const PortSettings kGood{"/dev/tervalon-none", "9600", "N", "8", "1"};

QString refusal(PortSettings settings, Language language) {
    TComm comm;
    return ApplyPortSettings(comm, settings, language);
}

TEST(PortOpeningTest, ASettingOutsideItsChoicesIsNamedInEitherLanguage) {
    testApp();
    const Language en = Language::english(), cn = Language::chinese();
    EXPECT_EQ(refusal(kGood, en), "");
    PortSettings s = kGood;
    s.baud = "fast";
    EXPECT_EQ(refusal(s, en), "the baud rate \"fast\" is not a positive whole number");
    EXPECT_EQ(refusal(s, cn), "波特率“fast”不是正整数");
    s.baud = "0";
    EXPECT_EQ(refusal(s, en), "the baud rate \"0\" is not a positive whole number");
    s = kGood;
    s.stopBits = "3";
    EXPECT_EQ(refusal(s, en), "the stop bits \"3\" is not one of 1 1.5 2");
    EXPECT_EQ(refusal(s, cn), "停止位“3”不在可选项 1 1.5 2 中");
    s = kGood;
    s.parity = "n";
    EXPECT_EQ(refusal(s, en), "the parity \"n\" is not one of N O E M S") << "letter case counts";
    s = kGood;
    s.port.clear();
    EXPECT_EQ(refusal(s, en), "no port is named");
    EXPECT_EQ(refusal(s, cn), "未指定端口");
}

TEST(PortOpeningTest, AMissingDeviceIsNamedInEitherLanguage) {
    testApp();
    for (const Language language : {Language::english(), Language::chinese()}) {
        TComm comm;
        ASSERT_EQ(ApplyPortSettings(comm, kGood, language), "");
        EXPECT_EQ(OpenPort(comm, language), language.isEnglish()
                                                ? QString("/dev/tervalon-none does not exist")
                                                : QString("/dev/tervalon-none 不存在"));
    }
}

} // namespace
