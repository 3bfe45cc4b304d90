#include "config/PollingBlock.h"

#include <gtest/gtest.h>

namespace {

TEST(PollingBlockTest, StationAddressRegisterCountAndRangeAreCheckedAtTheirLimits) {
    const struct {
        qint32 station, start, count;
        const char* expected; // part of the message; nullptr when the block is fine
    } rows[] = {
        {1, 0, 1, nullptr},        {247, 65535, 1, nullptr},        {17, 65411, 125, nullptr},
        {0, 0, 1, "equAddr=0"},    {248, 0, 1, "equAddr=248"},      {300, 0, 2, "equAddr=300"},
        {1, 0, 0, "regLen=0"},     {1, 0, 126, "regLen=126"},       {1, 0, 100000, "regLen=100000"},
        {1, -1, 2, "startReg=-1"}, {1, 65535, 2, "startReg=65535"},
    };
    for (const auto& row : rows) {
        const TAutoRead block{"MODBUS", row.station, row.start, row.count};
        const QString chinese = PollingBlockProblem(block, "实时", Language::chinese());
        const QString english = PollingBlockProblem(block, "实时", Language::english());
        if (!row.expected) {
            EXPECT_EQ(chinese + english, QString()) << row.station << " " << row.start << " " << row.count;
            continue;
        }
        EXPECT_TRUE(chinese.contains(row.expected)) << chinese.toStdString();
        EXPECT_TRUE(chinese.startsWith(QString::fromUtf8("自动读取页“实时”"))) << chinese.toStdString();
        EXPECT_TRUE(english.contains(row.expected)) << english.toStdString();
        EXPECT_TRUE(english.startsWith("Auto-read page \"实时\": the ")) << english.toStdString();
        EXPECT_FALSE(english.contains(QString::fromUtf8("自动"))) << "the page's caption is its only Chinese";
    }
    EXPECT_EQ(PollingBlockProblem(TAutoRead{"", 300, 0, 100000}, "x", Language::english()), QString())
        << "a page not polled";
}

} // namespace
