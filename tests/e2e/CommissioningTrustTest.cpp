// Commissioning a person can check before confirming: lists that read like the fields,
// snapshots from spreadsheets on Chinese desktops, cells checked before anything is filled,
// parameters that do not answer named and never written, saves that fail without damage.
// The bundled example against the simulated device, with the exact bytes on the wire.

#include "CommissioningBench.h"
#include "console/protocol/SnapshotCsv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/mount.h>

namespace {

using Values = CommissioningBench::Values;

const Values kFirst = CommissioningBench::knownValues();
// Every parameter other than in kFirst.
const Values kSecond = {{1001, "9"},  {1002, "0"},   {1003, "2"}, {1004, "0"}, {2001, "7"},
                        {2002, "50"}, {2003, "300"}, {2004, "1"}, {3001, "1"}, {3002, "503"}};

struct Bench : CommissioningBench {
    explicit Bench(const Values& values = kFirst, QSet<qint32> silent = {},
                   const std::function<void(QByteArray&)>& editConfig = {})
        : CommissioningBench({2000, values, std::move(silent), {}, {}, editConfig}) {}

    // Writes a row from its field, as a person does, and waits for the bytes.
    bool writeRow(const QString& tag, const QString& shown, const QByteArray& expected) {
        if (auto* edit = find<QLineEdit>("edt_" + tag))
            edit->setText(shown);
        else
            find<QComboBox>("cbb_" + tag)->setCurrentText(shown);
        find<QPushButton>("btn_Write_" + tag)->click();
        return waitFor([&] { return line->wire().endsWith(expected); }, 20000);
    }
    void saveSnapshot(const QString& path) {
        presenter.chosenFile = path;
        find<QPushButton>("cms_SaveSnapshot")->click();
    }
    void loadSnapshot(const QString& path) {
        presenter.chosenFile = path;
        find<QPushButton>("cms_LoadSnapshot")->click();
    }
};

// What a spreadsheet on a Chinese desktop makes of a snapshot it opened and saved again:
// GB18030, CR LF, semicolons between cells, no byte-order mark.
QByteArray resavedBySpreadsheet(const QByteArray& csv) {
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(csv.startsWith("\xEF\xBB\xBF") ? csv.mid(3) : csv);
    QStringList lines;
    for (const QStringList& record : SplitCsv(text, ',')) {
        QStringList cells;
        for (const QString& cell : record)
            cells << (cell.contains(';') || cell.contains('"')
                          ? '"' + QString(cell).replace("\"", "\"\"") + '"'
                          : cell);
        lines << cells.join(';');
    }
    QStringEncoder gb("GB18030");
    return gb(lines.join("\r\n") + "\r\n");
}

TEST(CommissioningTrustTest, ListsToConfirmShowHexAndChoiceValuesAsTheFieldsDoInBothLanguages) {
    Bench b;
    ASSERT_TRUE(b.run("cms_ReadAll"));
    b.saveSnapshot(b.dir.file("snap.csv"));
    ASSERT_TRUE(b.writeRow("AlarmMask", "012C", "$KWRV=2003,300#\r\n"));
    ASSERT_TRUE(b.writeRow("Mode", "自动", "$KWRV=1003,2#\r\n"));

    b.presenter.confirmAnswer = false;
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.presenter.questions.value(0),
              "将把以下 2 个参数写入设备：\n1003  运行模式：自动 (2) → 手动 (1)\n"
              "2003  报警屏蔽字：012C (300) → 001A (26)");

    b.form->btn_SecondLanguage->click();
    ASSERT_TRUE(b.run("cms_Compare"));
    EXPECT_EQ(b.lastMessage(), "2 parameters differ from the snapshot:\n"
                               "1003  Run mode: snapshot Manual (1), device Auto (2)\n"
                               "2003  Alarm mask: snapshot 001A (26), device 012C (300)");
    b.presenter.confirmAnswer = true;
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.presenter.questions.value(1), "These 2 parameters will be written to the device:\n"
                                              "1003  Run mode: Auto (2) -> Manual (1)\n"
                                              "2003  Alarm mask: 012C (300) -> 001A (26)");
    EXPECT_EQ(b.lastMessage(),
              "Written: 2\n1003  Run mode: Manual (1)\n2003  Alarm mask: 001A (26)\n"
              "Verified: 2\n1003  Run mode: Manual (1)\n2003  Alarm mask: 001A (26)\nFailed: 0");
}

TEST(CommissioningTrustTest, SnapshotCaptionsAreTheRealTextsOfBothLanguagesNeverPlaceholders) {
    // The English caption of Span was never set: its entry holds the editor's placeholder.
    Bench b(kFirst, {}, [](QByteArray& xml) {
        xml.replace("captionEN=\"Span\"", "captionEN=\"Right click to set\"");
        xml.replace("<Zero caption=\"零点\"", "<Zero caption=\"\"");
        xml.replace("name=\"lbl_Zero\" captionCN=\"零点\"", "name=\"lbl_Zero\" captionCN=\"\"");
    });
    ASSERT_TRUE(b.presenter.messages.isEmpty()) << b.presenter.messages.join("\n").toStdString();
    b.form->btn_SecondLanguage->click(); // captions do not follow the language shown
    b.saveSnapshot(b.dir.file("snap.csv"));
    const QString csv = QString::fromUtf8(b.dir.read("snap.csv"));
    EXPECT_TRUE(csv.contains("\r\nBasic,Mode,1003,运行模式,Run mode,")) << csv.toStdString();
    EXPECT_TRUE(csv.contains(",Span,2002,量程,,")) << csv.toStdString();
    EXPECT_TRUE(csv.contains(",Zero,2001,,Zero,")) << csv.toStdString();
    EXPECT_FALSE(csv.contains("Right click") || csv.contains("右键")) << csv.toStdString();
}

TEST(CommissioningTrustTest, ParametersThatDoNotAnswerAreNamedAndNeverComparedOrWritten) {
    Bench b(kFirst, {2002});
    b.dir.write("snap.csv", "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                            "x,DevAddr,1001,a,b,7,7,\r\n"
                            "x,Span,2002,a,b,999,999,\r\n");
    b.loadSnapshot(b.dir.file("snap.csv"));
    ASSERT_EQ(b.lastMessage(), "已载入 2 个参数");

    ASSERT_TRUE(b.run("cms_Compare"));
    EXPECT_EQ(b.lastMessage(),
              "1 个参数与快照不同：\n1001  设备地址：快照 7，设备 5\n1 个参数没有应答，未比较：\n2002  量程");

    b.line->clearWire();
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.presenter.questions.value(0),
              "将把以下 1 个参数写入设备：\n1001  设备地址：5 → 7\n1 个参数没有应答，不会写入：\n2002  量程");
    EXPECT_FALSE(b.line->wire().contains("$KWRV=2002")) << b.line->wire().toStdString();
    EXPECT_TRUE(b.line->wire().endsWith("$KWRV=1001,7#\r\n$KRDV=1001#\r\n"));
    EXPECT_EQ(b.lastMessage(),
              "已写入 1 个：\n1001  设备地址：7\n已校验 1 个：\n1001  设备地址：7\n失败 0 个：\n"
              "1 个参数没有应答，未写入：\n2002  量程");

    // With the only difference silent, the device is not said to match.
    ASSERT_TRUE(b.run("cms_Compare"));
    EXPECT_EQ(b.lastMessage(), "应答的参数与快照一致\n1 个参数没有应答，未比较：\n2002  量程");
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.lastMessage(), "应答的参数与快照一致\n1 个参数没有应答，未比较：\n2002  量程");
    EXPECT_EQ(b.presenter.questions.size(), 1) << "nothing to confirm";
}

TEST(CommissioningTrustTest, CellsThatDoNotFitTheirRowAreNamedWithTheirLinesAndNeverWritten) {
    Bench b;
    const QString text = "page;tag;address;caption CN;caption EN;device value;shown text;time read\r\n"
                         "基本参数;DevAddr;1001;设备地址;;=1+1;;\r\n"
                         "基本参数;Mode;1003;运行模式;;Auto;;\r\n"
                         "校准参数;Zero;2001;零点;;@SUM(A1:A9);;\r\n"
                         "校准参数;AlarmMask;2003;报警屏蔽字;;-2+3;;\r\n"
                         "校准参数;Span;2002;量程;;123;;\r\n";
    QStringEncoder gb("GB18030");
    b.dir.write("snap.csv", gb(text));
    b.find<QLineEdit>("edt_DevAddr")->setText("4");
    b.loadSnapshot(b.dir.file("snap.csv"));
    EXPECT_EQ(b.lastMessage(), "已载入 2 个参数；3 行未载入，这些参数保持不变：\n"
                               "第 2 行  1001  DevAddr：“=1+1”像是公式\n"
                               "第 4 行  2001  Zero：“@SUM(A1:A9)”像是公式\n"
                               "第 5 行  2003  AlarmMask：“-2+3”像是公式");
    EXPECT_EQ(b.text("DevAddr"), "4") << "a refused row leaves its field alone";
    EXPECT_EQ(b.text("Mode"), "自动") << "an English text of the list";
    EXPECT_EQ(b.text("Span"), "123");
    EXPECT_TRUE(b.line->wire().isEmpty()) << "loading sends nothing";

    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    const QByteArray wire = b.line->wire();
    EXPECT_TRUE(wire.contains("$KWRV=1003,2#") && wire.contains("$KWRV=2002,123#")) << wire.toStdString();
    EXPECT_FALSE(wire.contains("$KWRV=1001") || wire.contains("$KWRV=2001") || wire.contains("$KWRV=2003"))
        << wire.toStdString();

    // A binary file and one in no known encoding say so, with the line.
    b.dir.write("bin.csv", QByteArray("PK\x03\x04\0\0", 6));
    b.loadSnapshot(b.dir.file("bin.csv"));
    EXPECT_EQ(b.lastMessage(), b.dir.file("bin.csv") +
                                   " 不是快照文件：这不是文本文件（第 1 行含有二进制数据）；未改变任何参数");
    b.dir.write("odd.csv", "page,tag\r\n\xFF\xFF\r\n");
    b.loadSnapshot(b.dir.file("odd.csv"));
    EXPECT_EQ(
        b.lastMessage(),
        b.dir.file("odd.csv") +
            " 不是快照文件：无法识别文件的编码（第 2 行既不是 UTF-8 也不是 GB18030/GBK）；未改变任何参数");
}

// A snapshot written by the window, opened and saved again by a spreadsheet on a Chinese
// desktop, loads into the window of a device with other values, and Write snapshot puts
// every parameter back and verifies each.
TEST(CommissioningTrustTest, ASnapshotResavedByAChineseSpreadsheetRestoresEveryParameter) {
    QByteArray resaved;
    {
        Bench first;
        ASSERT_TRUE(first.run("cms_ReadAll"));
        first.saveSnapshot(first.dir.file("snap.csv"));
        resaved = resavedBySpreadsheet(first.dir.read("snap.csv"));
    }
    ASSERT_FALSE(resaved.contains(',')) << "only semicolons between cells";
    Bench b(kSecond);
    b.dir.write("snap.csv", resaved);
    b.loadSnapshot(b.dir.file("snap.csv"));
    ASSERT_EQ(b.lastMessage(), "已载入 10 个参数");
    EXPECT_EQ(b.text("AlarmMask"), "001A");
    EXPECT_EQ(b.text("Mode"), "手动");

    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    ASSERT_EQ(b.presenter.questions.size(), 1);
    EXPECT_TRUE(b.presenter.questions[0].startsWith("将把以下 10 个参数写入设备：\n"))
        << b.presenter.questions[0].toStdString();
    EXPECT_TRUE(b.lastMessage().contains("已校验 10 个：")) << b.lastMessage().toStdString();
    EXPECT_TRUE(b.lastMessage().endsWith("失败 0 个：")) << b.lastMessage().toStdString();
    for (auto it = kFirst.begin(); it != kFirst.end(); ++it)
        EXPECT_TRUE(b.line->wire().contains("$KWRV=" + QByteArray::number(it.key()) + "," +
                                            it.value().toUtf8() + "#"))
            << it.key();

    b.line->clearWire();
    ASSERT_TRUE(b.run("cms_Compare"));
    EXPECT_EQ(b.lastMessage(), "设备与快照一致");
}

TEST(CommissioningTrustTest, AFailedSnapshotSaveSaysWhyAndLeavesTheOldFileWhole) {
    Bench b;
    b.saveSnapshot(b.dir.file("missing-folder/snap.csv"));
    EXPECT_TRUE(b.lastMessage().startsWith("快照未保存：" + b.dir.file("missing-folder/snap.csv") + "\n"))
        << b.lastMessage().toStdString();

    // A small file system of its own turned read-only; it needs the right to mount.
    const QString mountPoint = b.dir.file("fs");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    const QByteArray where = QFile::encodeName(mountPoint);
    if (::mount("tervalon-test", where.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = mountPoint + "/snap.csv";
    b.saveSnapshot(path);
    const QByteArray old = b.dir.read("fs/snap.csv");
    ASSERT_FALSE(old.isEmpty());
    ASSERT_TRUE(b.run("cms_ReadAll"));
    ASSERT_EQ(::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    b.saveSnapshot(path);
    EXPECT_EQ(b.lastMessage(), "快照未保存：" + path + "\n只读文件系统");
    EXPECT_EQ(b.dir.read("fs/snap.csv"), old);
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{"snap.csv"});
    ::umount(where.constData());
}

} // namespace
