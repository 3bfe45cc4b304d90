#include "console/protocol/SnapshotCsv.h"
#include "console/protocol/SnapshotMatch.h"

#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/mount.h>

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
    EXPECT_TRUE(csv.startsWith(
        "\xEF\xBB\xBFpage,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"));
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
    EXPECT_EQ(parsed.rows[0],
              (SnapshotRow{"基本", "DevAddr", "1001", "设备地址", "Device address", "5", "5", ""}));
}

TEST(SnapshotCsvTest, RefusesWhatIsNoSnapshotNamingTheLine) {
    const QByteArray header = "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n";
    EXPECT_EQ(SnapshotFromCsv("").fault, SnapshotParse::Fault::Empty);
    EXPECT_EQ(SnapshotFromCsv("\xEF\xBB\xBF\r\n \r\n").fault, SnapshotParse::Fault::Empty);
    const SnapshotParse partial = SnapshotFromCsv("\r\npage;tag;Address\r\nx;y;1\r\n");
    EXPECT_EQ(partial.fault, SnapshotParse::Fault::NoHeader);
    EXPECT_EQ(partial.line, 2) << "the header's own line, after a blank one";
    EXPECT_EQ(partial.missingColumns,
              (QStringList{"caption CN", "caption EN", "device value", "shown text", "time read"}));
    const SnapshotParse shortRow = SnapshotFromCsv(header + "a,b,1,c,d,5,5,t\r\na,b,2\r\n");
    EXPECT_EQ(shortRow.fault, SnapshotParse::Fault::ShortRow);
    EXPECT_EQ(shortRow.line, 3);
    EXPECT_TRUE(shortRow.rows.isEmpty()) << "nothing half-read";
    const SnapshotParse unclosed = SnapshotFromCsv(header + "a,b,1,c,d,5,5,t\r\na,\"b,1,c,d,5,5,t\r\n");
    EXPECT_EQ(unclosed.fault, SnapshotParse::Fault::UnclosedQuote);
    EXPECT_EQ(unclosed.line, 3);
    const SnapshotParse undecodable =
        SnapshotFromCsv(header + "a,b,1,c,d,5,5,t\r\na,b,1,c,\xFF\xFE,5,5,t\r\n");
    EXPECT_EQ(undecodable.fault, SnapshotParse::Fault::Encoding);
    EXPECT_EQ(undecodable.line, 3);
    // A marked UTF-8 file is not read as anything else: a GBK line in it is named.
    const SnapshotParse marked = SnapshotFromCsv("\xEF\xBB\xBF" + header + "a,b,1,\xC4\xE3,d,5,5,t\r\n");
    EXPECT_EQ(marked.fault, SnapshotParse::Fault::Encoding);
    EXPECT_EQ(marked.line, 2);
    // "Unicode text" with a half of a surrogate pair: no text, however well-formed the rest.
    QStringEncoder utf16(QStringConverter::Utf16LE);
    QByteArray lone = "\xFF\xFE" + utf16(QString::fromLatin1(header + "a,b,1,"));
    lone += QByteArray("\xDF\xDF", 2) + utf16(u",d,5,5,t\r\n");
    EXPECT_EQ(SnapshotFromCsv(lone).fault, SnapshotParse::Fault::Encoding);
    const SnapshotParse binary = SnapshotFromCsv(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(binary.fault, SnapshotParse::Fault::NotText);
    EXPECT_EQ(binary.line, 2);
}

// What a spreadsheet on a Chinese desktop saves: GB18030 (here a character only GBK has, 堃),
// semicolons, CR LF; also "Unicode text": UTF-16 with its mark and tabs.
TEST(SnapshotCsvTest, ReadsGbkSemicolonAndUtf16TabFilesLineByLine) {
    const QString text = "page;tag;address;caption CN;caption EN;device value;shown text;time read\r\n"
                         "基本参数;Mode;1003;运行模式堃;Run mode;1;手动;\r\n"
                         ";;;;;;;\r\n"
                         "基本参数;Zero;2001;\"零;点\";Zero;-3;-3;2026-01-02 03:04:05\r\n";
    QStringEncoder gb("GB18030");
    const SnapshotParse gbk = SnapshotFromCsv(gb(text));
    ASSERT_TRUE(gbk.ok()) << SnapshotFaultText(gbk, Language::english()).toStdString();
    EXPECT_EQ(gbk.encoding, "GB18030");
    EXPECT_EQ(gbk.separator, ';');
    ASSERT_EQ(gbk.rows.size(), 2);
    EXPECT_EQ(gbk.rows[0].captionCN, "运行模式堃");
    EXPECT_EQ(gbk.rows[1].captionCN, "零;点");
    EXPECT_EQ(gbk.rowLines, (QList<int>{2, 4})) << "a line of empty cells is skipped, lines still counted";

    // A note typed beside the table, in a column of its own, fills no parameter: its row is
    // skipped like an empty one, so the rows read are the rows a save writes back.
    const SnapshotParse noted = SnapshotFromCsv(gb(QString(text).replace(";;;;;;;\r\n", ";;;;;;;;备注\r\n")));
    ASSERT_TRUE(noted.ok());
    EXPECT_EQ(noted.rows, gbk.rows);
    EXPECT_EQ(noted.rowLines, gbk.rowLines);

    QString tabbed = text;
    tabbed.replace(';', '\t').replace("零\t点", "零;点");
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const SnapshotParse unicode = SnapshotFromCsv("\xFF\xFE" + utf16(tabbed));
    ASSERT_TRUE(unicode.ok()) << SnapshotFaultText(unicode, Language::english()).toStdString();
    EXPECT_EQ(unicode.separator, '\t');
    EXPECT_EQ(unicode.rows, gbk.rows);
}

// Each fault is worded in the language asked for, whole: no word of the other one.
TEST(SnapshotCsvTest, FaultTextsNameTheProblemAndTheLineInTheLanguageAsked) {
    const Language cn = Language::chinese(), en = Language::english();
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(""), cn), "文件是空的");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(""), en), "the file is empty");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv("a,b\r\n\xFF\xFF\r\n"), en),
              "the file's encoding is not recognised (line 2 is neither UTF-8 nor GB18030/GBK)");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv("page,tag,address,device value\r\n"), en),
              "line 1 is no snapshot header; missing columns: caption CN, caption EN, shown text, time read");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv("page,tag,address,device value\r\n"), cn),
              "第 1 行不是快照的标题行，缺少列：caption CN, caption EN, shown text, time read");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(QByteArray("ab\0cd", 5)), cn),
              "这不是文本文件（第 1 行含有二进制数据）");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(QByteArray("ab\0cd", 5)), en),
              "it is no text file (line 1 holds binary data)");
    const QByteArray unclosed = "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                                "P,T,1,\"open,,,,,\r\n";
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(unclosed), en), "the quote opened on line 2 is never closed");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(unclosed), cn), "第 2 行的引号没有结束");
    const QByteArray shortRow = "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                                "P,T,1\r\n";
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(shortRow), en), "line 2 has fewer cells than the header");
    EXPECT_EQ(SnapshotFaultText(SnapshotFromCsv(shortRow), cn), "第 2 行的列数少于标题行");
}

// A small file system of its own gives a full disk and a read-only one; it needs the right to
// mount, which a test run may not have.
TEST(SnapshotCsvTest, AFailedSaveSaysWhyAndLeavesThePreviousFileWhole) {
    TempAppDir dir;
    const QList<SnapshotRow> rows = {row("A", "1", "5")};
    EXPECT_EQ(WriteSnapshotFile(dir.file("snap.csv"), rows, Language::english()), "");
    EXPECT_EQ(dir.read("snap.csv"), SnapshotToCsv(rows));
    EXPECT_FALSE(WriteSnapshotFile(dir.file("no-such-folder/snap.csv"), rows, Language::english()).isEmpty());
    EXPECT_FALSE(WriteSnapshotFile(dir.file("snap.csv/inner.csv"), rows, Language::english()).isEmpty())
        << "a file as the folder";

    const QString mountPoint = dir.file("fs");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    const QByteArray where = QFile::encodeName(mountPoint);
    if (::mount("tervalon-test", where.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = mountPoint + "/snap.csv";
    EXPECT_EQ(WriteSnapshotFile(path, rows, Language::english()), "");
    QList<SnapshotRow> many;
    for (int i = 0; i < 2000; ++i)
        many << row("T" + QString::number(i), QString::number(i), QString(20, 'x'));
    EXPECT_EQ(WriteSnapshotFile(path, many, Language::english()), "no space left on the disk");
    EXPECT_EQ(WriteSnapshotFile(path, many, Language::chinese()), "磁盘空间已满");
    EXPECT_EQ(QFile(path).size(), SnapshotToCsv(rows).size());
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{"snap.csv"})
        << "no partial file";
    ASSERT_EQ(::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(WriteSnapshotFile(path, many, Language::english()), "read-only file system");
    EXPECT_EQ(WriteSnapshotFile(path, many, Language::chinese()), "只读文件系统");
    ::umount(where.constData());
}

TEST(SnapshotMatchTest, PlacesByTagAndAddressTogetherAndNamesTheRest) {
    const QList<RowKey> rows = {{"DevAddr", 1001}, {"Mode", 1003}, {"Twin", 7}, {"Other", 7}};
    const QList<SnapshotRow> snapshot = {row("Mode", "1003", "1"), row("DevAddr", "1002", "5"),
                                         row("Twin", " 7", "3"),   row("Mode", "1003", "2"),
                                         row("Ghost", "1", "1"),   row("DevAddr", "abc", "1")};
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
