#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/ParameterReads.h"
#include "cli/PollRows.h"
#include "support/TestApp.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

CliConfig exampleConfig(const QString& lang = {}) {
    testApp();
    CliOptions options;
    options.configPath = sourceDir() + "/examples/config.xml";
    options.lang = lang;
    options.port = "/dev/ttyUSB3";
    return LoadCliConfig(options);
}

DeviceResult answered(const QByteArray& line) {
    DeviceResult r;
    r.status = DeviceResult::Status::Answered;
    r.line = line;
    return r;
}

TEST(CliPiecesTest, TheConfigurationGivesPortPagesLanguageAndBatches) {
    const CliConfig c = exampleConfig();
    EXPECT_EQ(c.port.port, "/dev/ttyUSB3") << "the command line's port wins";
    EXPECT_EQ(c.port.baud, "9600");
    EXPECT_EQ(c.languageCode, "CN");
    EXPECT_EQ(c.model.rows().size(), 10);
    EXPECT_EQ(c.batches.size(), 3);
    EXPECT_TRUE(c.journalPath().endsWith("/examples/write-journal.csv"));
    QString unknown;
    EXPECT_EQ(c.parameterPages({"net", "Calibration", "基本参数"}, &unknown), (QList<int>{2, 1, 0}));
    EXPECT_FALSE(c.parameterPages({"Basic", "Live"}, &unknown));
    EXPECT_EQ(unknown, "Live") << "an automatic-reading page is no parameter page";
    ASSERT_TRUE(c.polledPage("live data"));
    EXPECT_TRUE(c.polledPage("Live")->problem.isEmpty());
    EXPECT_FALSE(c.polledPage("Stat")->problem.isEmpty()) << "not polled: protocol NONE";
    EXPECT_EQ(exampleConfig("en").pageCaption(1), "Calibration");
}

TEST(CliPiecesTest, AReadTakesOnlyAReplyItsFieldCanShowAndThatNamesNoOtherAddress) {
    const CliConfig c = exampleConfig();
    const Parameter& mask = *c.model.byAddress(2003); // hexadecimal
    const DeviceRequest request = ReadRequest(mask, 700, "CN");
    EXPECT_EQ(request.bytes, "$KRDV=2003#\r\n");
    EXPECT_EQ(request.timeoutMs, 700);
    EXPECT_TRUE(request.accepts("$KRDV,2003=26"));
    EXPECT_TRUE(request.accepts("$KRDV=26")) << "a reply without an address";
    EXPECT_FALSE(request.accepts("$KRDV,2004=26")) << "another parameter's reply";
    EXPECT_FALSE(request.accepts("$KRDV,2003=abc")) << "a hexadecimal field cannot show it";
    EXPECT_FALSE(ReplyNamesOtherAddress("$KRDV,20x3=1", 2003));
}

TEST(CliPiecesTest, WhatWasReadBecomesTheWindowsSnapshotRow) {
    const CliConfig cn = exampleConfig();
    const Parameter& mode = *cn.model.byAddress(1003);
    ReadValue v = ReadValueOf(mode, answered("$KRDV,1003=2"), "CN");
    ASSERT_TRUE(v.answered);
    EXPECT_EQ(v.shown, "自动");
    EXPECT_EQ(v.deviceValue, "2");
    SnapshotRow row = SnapshotRowOf(cn, v);
    EXPECT_EQ(row.page, "基本参数");
    EXPECT_EQ(row.tag, "Mode");
    EXPECT_EQ(row.address, "1003");
    EXPECT_EQ(row.captionCN, "运行模式");
    EXPECT_EQ(row.captionEN, "Run mode");
    EXPECT_EQ(row.deviceValue, "2");
    EXPECT_EQ(row.shownText, "自动");

    const CliConfig en = exampleConfig("en");
    const Parameter& serial = *en.model.byAddress(2004);
    v = ReadValueOf(serial, answered("$KRDV,2004=-1"), "EN");
    EXPECT_EQ(v.shown, "FFFFFFFF");
    EXPECT_EQ(v.deviceValue, "-1");
    row = SnapshotRowOf(en, v);
    EXPECT_EQ(row.page, "Calibration");
    EXPECT_EQ(row.shownText, "FFFFFFFF");

    DeviceResult late;
    late.status = DeviceResult::Status::TimedOut;
    row = SnapshotRowOf(en, ReadValueOf(serial, late, "EN"));
    EXPECT_TRUE(row.deviceValue.isEmpty() && row.shownText.isEmpty() && row.timeRead.isEmpty());
}

TEST(CliPiecesTest, PolledRowsScaleOnlyTheRegistersTheReplyCarries) {
    const CliConfig c = exampleConfig("en");
    const PolledPage& live = *c.polledPage("Live");
    const PollColumns columns = PollColumnsOf(c, live);
    ASSERT_EQ(columns.size(), 4);
    EXPECT_EQ(PollCsvHeader(columns), "time,Temperature (℃),Humidity (%RH),Pressure (kPa),Flow (L/h)\r\n");
    const QDateTime at(QDate(2026, 1, 2), QTime(3, 4, 5, 60));
    const PollRow row = PollRowOf(columns, live, {231, 455, 1100}, at);
    EXPECT_EQ(PollCsvRow(row), "2026-01-02 03:04:05.060,23.1,45.5,10,\r\n")
        << "the fourth register was not in the reply";
    const QJsonArray values = PollRowJson(columns, row).value("values").toArray();
    EXPECT_DOUBLE_EQ(values[2].toObject().value("value").toDouble(), 10.0);
    EXPECT_FALSE(values[3].toObject().contains("value"));
}

TEST(CliPiecesTest, TablesLineUpWideCharacters) {
    EXPECT_EQ(DisplayWidth("设备a"), 5);
    EXPECT_EQ(TableText({"a", "bb"}, {{"设备", "x"}, {"1", "y"}}), "a     bb\n设备  x\n1     y\n");
}

} // namespace
