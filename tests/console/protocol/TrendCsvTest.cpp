#include "console/protocol/TrendCsv.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

TrendStore storeWith(const QList<std::pair<qint64, QList<TrendStore::Reading>>>& replies) {
    TrendStore store;
    store.start(QDateTime(QDate(2026, 3, 4), QTime(10, 0, 0)), 50'000);
    for (const auto& [ms, readings] : replies)
        store.record(50'000 + ms, readings);
    return store;
}

TEST(TrendCsvTest, OneRowPerReplyOneColumnPerValueWithUnitsInTheHeader) {
    const TrendStore store = storeWith({
        {0, {{0, 100, 23.4, "温度", "℃"}, {0, 101, 1.5, "流量", "L/h"}}},
        {250, {{0, 100, -0.25, "温度", "℃"}, {0, 101, 1e20, "流量", "L/h"}}},
        // Another page's register, then the first page again without the flow value.
        {1500, {{1, 200, 7, "运行时间", ""}}},
        {61'000, {{0, 100, 0, "温度", "℃"}}},
    });
    const QByteArray text = TrendCsvText(store, Language::chinese());
    ASSERT_TRUE(text.startsWith("\xEF\xBB\xBF")) << "byte-order mark for spreadsheets";
    EXPECT_EQ(QString::fromUtf8(text.mid(3)), QStringLiteral("时间,温度 (℃),流量 (L/h),运行时间\r\n"
                                                             "2026-03-04 10:00:00.000,23.4,1.5,\r\n"
                                                             "2026-03-04 10:00:00.250,-0.25,1E20,\r\n"
                                                             "2026-03-04 10:00:01.500,,,7\r\n"
                                                             "2026-03-04 10:01:01.000,0,,\r\n"));
    EXPECT_TRUE(TrendCsvText(store, Language::english()).mid(3).startsWith("Time,"));
}

TEST(TrendCsvTest, TwoRepliesInOneMillisecondStayTwoRows) {
    const TrendStore store = storeWith({{5, {{0, 1, 1, "a", ""}}}, {5, {{0, 1, 2, "a", ""}}}});
    EXPECT_EQ(TrendCsvText(store, Language::english()).mid(3), "Time,a\r\n"
                                                               "2026-03-04 10:00:00.005,1\r\n"
                                                               "2026-03-04 10:00:00.005,2\r\n");
}

TEST(TrendCsvTest, CaptionsThatWouldSplitACellAreQuotedAndEmptyOnesNamedByRegister) {
    const TrendStore store = storeWith({{0,
                                         {{0, 1, 1, "Flow, \"in\"", "m3/h"},
                                          {0, 2, 2, " padded", ""},
                                          {0, 3, 3, "", "bar"},
                                          {0, 4, 4, "two\nlines", ""}}}});
    const QByteArray header = TrendCsvText(store, Language::english()).mid(3).split('\n').first();
    EXPECT_EQ(header, "Time,\"Flow, \"\"in\"\" (m3/h)\",\" padded\",V3 (bar),\"two");
}

TEST(TrendCsvTest, AnEmptyStoreGivesTheHeaderAndADeviceThatRefusesBytesIsReported) {
    TrendStore empty;
    empty.start(QDateTime::currentDateTime(), 0);
    EXPECT_EQ(TrendCsvText(empty, Language::english()), "\xEF\xBB\xBFTime\r\n");

    const TrendStore store = storeWith({{0, {{0, 1, 1, "a", ""}}}});
    QBuffer closed; // never opened: every write fails
    EXPECT_FALSE(WriteTrendCsv(store, closed, Language::english()));
}

TEST(TrendCsvTest, HoverTextShowsTheValueAsItsLabelWritesItWithUnitAndTime) {
    const TrendStore store = storeWith({{1234, {{0, 100, 23.5, "温度", "℃"}, {0, 9, 2, "", ""}}}});
    EXPECT_EQ(TrendPointText(store, 0, {1234, 23.5}, QStringLiteral(",")),
              QStringLiteral("温度: 23,5 ℃\n2026-03-04 10:00:01.234"));
    EXPECT_EQ(TrendPointText(store, 1, {1234, 2}, QStringLiteral(".")),
              QStringLiteral("V9: 2\n2026-03-04 10:00:01.234"));
    EXPECT_TRUE(TrendPointText(store, 7, {0, 0}, QStringLiteral(".")).isEmpty());
}

} // namespace
