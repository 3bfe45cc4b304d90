#include "console/protocol/SnapshotCsv.h"
#include "console/protocol/SnapshotMatch.h"

#include <gtest/gtest.h>

namespace {

SnapshotRow row(const QString& tag, const QString& address, const QString& value) {
    return {"页", tag, address, "标题", "Caption", value, value, "2026-01-02 03:04:05"};
}

TEST(SnapshotCsvTest, RoundTripsAwkwardFieldsAndQuotesOnlyWhereNeeded) {
    QList<SnapshotRow> rows = {row("A", "1", "5"), row("B", "2", "x")};
    rows[1].captionCN = "含,逗号";
    rows[1].captionEN = "say \"hi\"";
    rows[1].shownText = "two\r\nlines";
    rows[1].deviceValue = " 5"; // a leading blank is part of what a Write sends
    const QByteArray csv = SnapshotToCsv(rows);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFpage,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"));
    EXPECT_TRUE(csv.contains("\r\n页,A,1,标题,Caption,5,5,2026-01-02 03:04:05\r\n"));
    EXPECT_TRUE(csv.contains(",\"含,逗号\",\"say \"\"hi\"\"\",\" 5\",\"two\r\nlines\","));

    const SnapshotParse parsed = SnapshotFromCsv(csv);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.rows, rows);
}

TEST(SnapshotCsvTest, ReadsFilesASpreadsheetSavedBack) {
    // Columns reordered and renamed in case, an extra column, no byte-order mark, LF line
    // ends, trailing blank lines, an empty last field.
    const QByteArray csv = "Address,TAG,note,Page,Caption CN,Caption EN,Device Value,Shown Text,Time Read\n"
                           "1001,DevAddr,hi,基本,设备地址,Device address,5,5,\n\n\n";
    const SnapshotParse parsed = SnapshotFromCsv(csv);
    ASSERT_TRUE(parsed.ok());
    ASSERT_EQ(parsed.rows.size(), 1);
    EXPECT_EQ(parsed.rows[0], (SnapshotRow{"基本", "DevAddr", "1001", "设备地址", "Device address", "5", "5", ""}));
}

TEST(SnapshotCsvTest, RefusesWhatIsNoSnapshotNamingTheLine) {
    const QByteArray header = "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n";
    EXPECT_EQ(SnapshotFromCsv("").fault, SnapshotParse::Fault::NoHeader);
    EXPECT_EQ(SnapshotFromCsv("page,tag\r\nx,y\r\n").fault, SnapshotParse::Fault::NoHeader);
    const SnapshotParse shortRow = SnapshotFromCsv(header + "a,b,1,c,d,5,5,t\r\na,b,2\r\n");
    EXPECT_EQ(shortRow.fault, SnapshotParse::Fault::ShortRow);
    EXPECT_EQ(shortRow.line, 3);
    EXPECT_TRUE(shortRow.rows.isEmpty()) << "nothing half-read";
    const SnapshotParse unclosed = SnapshotFromCsv(header + "a,b,1,c,d,5,5,t\r\na,\"b,1,c,d,5,5,t\r\n");
    EXPECT_EQ(unclosed.fault, SnapshotParse::Fault::UnclosedQuote);
    EXPECT_EQ(unclosed.line, 3);
    EXPECT_EQ(SnapshotFromCsv(header + "a,b,1,c,\xFF\xFE,5,5,t\r\n").fault, SnapshotParse::Fault::NotUtf8);
}

TEST(SnapshotMatchTest, PlacesByTagAndAddressTogetherAndNamesTheRest) {
    const QList<RowKey> rows = {{"DevAddr", 1001}, {"Mode", 1003}, {"Twin", 7}, {"Other", 7}};
    const QList<SnapshotRow> snapshot = {row("Mode", "1003", "1"),   row("DevAddr", "1002", "5"),
                                         row("Twin", " 7", "3"),     row("Mode", "1003", "2"),
                                         row("Ghost", "1", "1"),     row("DevAddr", "abc", "1")};
    const SnapshotPlacement p = PlaceSnapshot(rows, snapshot);
    EXPECT_EQ(p.snapshotOfRow, (QList<qsizetype>{-1, 0, 2, -1}));
    // A moved address, a second row for one parameter, an unknown tag, an unreadable address.
    EXPECT_EQ(p.unplaced, (QList<qsizetype>{1, 3, 4, 5}));
}

TEST(SnapshotMatchTest, DifferencesLeaveOutWhatIsNotKnownOnEitherSide) {
    const QList<RowKey> rows = {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}};
    const QList<SnapshotRow> snapshot = {row("A", "1", "5"), row("B", "2", "6"), row("C", "3", "7"),
                                         row("D", "4", ""), row("E", "5", "9 ")};
    const SnapshotPlacement p = PlaceSnapshot(rows, snapshot);
    const QList<std::optional<QString>> device = {QString("5"), QString("60"), std::nullopt, QString("1"),
                                                  QString("9")};
    const QList<SnapshotDifference> diffs = SnapshotDifferences(p, snapshot, device);
    ASSERT_EQ(diffs.size(), 1);
    EXPECT_EQ(diffs[0].row, 1);
    EXPECT_EQ(diffs[0].snapshotValue, "6");
    EXPECT_EQ(diffs[0].deviceValue, "60");
}

} // namespace
