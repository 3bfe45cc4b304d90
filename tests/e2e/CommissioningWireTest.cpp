// Commissioning the bundled example against the simulated device: reading every parameter,
// snapshots, comparing and writing back, and the journal of writes, with the exact bytes on
// the wire.

#include "CommissioningBench.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QByteArray kReadAllBytes = "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n"
                                 "$KRDV=2001#\r\n$KRDV=2002#\r\n$KRDV=2003#\r\n$KRDV=2004#\r\n"
                                 "$KRDV=3001#\r\n$KRDV=3002#\r\n";

// The example's device with known values; the example with the given read time-out.
struct Bench : CommissioningBench {
    explicit Bench(int timeoutMs, QSet<qint32> silent = {}, QSet<qint32> ignoredWrites = {},
                   QHash<qint32, qint64> lateMs = {})
        : CommissioningBench({timeoutMs,
                              knownValues(),
                              std::move(silent),
                              std::move(ignoredWrites),
                              std::move(lateMs),
                              {}}) {}
};

TEST(CommissioningWireTest, ReadAllFillsEveryRowInPageOrderAndNamesTheSilentOne) {
    Bench b(2000, {2002});
    ASSERT_NE(b.form->Comm1->Handle(), 0);
    ASSERT_TRUE(b.presenter.messages.isEmpty()) << b.presenter.messages.join('\n').toStdString();
    b.find<QLineEdit>("edt_Span")->setText("old");
    ASSERT_TRUE(b.run("cms_ReadAll"));

    EXPECT_EQ(b.line->wire(), kReadAllBytes) << "one read at a time, separators passed over";
    EXPECT_EQ(b.text("DevAddr"), "5");
    EXPECT_EQ(b.text("BaudSel"), "38400");
    EXPECT_EQ(b.text("Mode"), "手动");
    EXPECT_EQ(b.text("Power"), "开");
    EXPECT_EQ(b.text("Zero"), "-3");
    EXPECT_EQ(b.text("Span"), "old") << "no reply leaves the field as it was";
    EXPECT_EQ(b.text("AlarmMask"), "001A");
    EXPECT_EQ(b.text("SerialNo"), "BEEF");
    EXPECT_EQ(b.text("IpMode"), "静态");
    EXPECT_EQ(b.text("MbPort"), "502");
    EXPECT_EQ(b.cms->controls().progress->value(), 10);
    EXPECT_EQ(b.cms->controls().progress->maximum(), 10);

    EXPECT_EQ(b.lastMessage(), "1 个参数没有应答：\n2002  量程");
    auto* mark = b.form->findChild<QLabel*>("mark_Span");
    ASSERT_TRUE(mark);
    EXPECT_FALSE(mark->isHidden());
    EXPECT_EQ(mark->text(), "无应答");
    EXPECT_FALSE(b.form->findChild<QLabel*>("mark_DevAddr"));

    // A write the device leaves unanswered is journalled as such, and its value before as
    // unknown where none was read.
    b.find<QLineEdit>("edt_Span")->setText("7");
    b.find<QPushButton>("btn_Write_Span")->click();
    EXPECT_TRUE(waitFor([&] { return b.line->wire().endsWith("$KWRV=2002,7#\r\n"); }));
    ASSERT_TRUE(waitFor([&] { return b.dir.read("write-journal.csv").count("\r\n") == 2; }, 10000));
    EXPECT_TRUE(QString::fromUtf8(b.dir.read("write-journal.csv"))
                    .endsWith("," + b.line->portPath() + ",2002,量程,unknown,7,no answer\r\n"));

    // A language switch words the marks again, tooltips included; a run in English reports in
    // English, with the singular form for one parameter.
    b.form->btn_SecondLanguage->click();
    EXPECT_EQ(mark->text(), "no reply");
    EXPECT_EQ(mark->toolTip(), "The device did not answer the read");
    ASSERT_TRUE(b.run("cms_ReadAll"));
    EXPECT_EQ(b.lastMessage(), "1 parameter did not answer:\n2002  Span");
    b.form->btn_FirstLanguage->click();
    EXPECT_EQ(mark->text(), "无应答");
    EXPECT_EQ(mark->toolTip(), "读取时设备没有应答");
}

// The device answers 2002 half a second after its time-out: the row is marked as not
// answering, and its late value lands nowhere, least of all on the next row.
TEST(CommissioningWireTest, ALateReplyDoesNotLandOnTheNextRow) {
    Bench b(1000, {}, {}, {{2002, 1500}});
    b.find<QLineEdit>("edt_Span")->setText("old");
    ASSERT_TRUE(b.run("cms_ReadAll"));
    EXPECT_EQ(b.line->wire(), kReadAllBytes);
    EXPECT_EQ(b.text("Span"), "old");
    EXPECT_EQ(b.text("AlarmMask"), "001A") << "2003 shows its own value, not 2002's 1000 (03E8)";
    EXPECT_EQ(b.text("SerialNo"), "BEEF");
    EXPECT_EQ(b.text("MbPort"), "502");
    EXPECT_EQ(b.lastMessage(), "1 个参数没有应答：\n2002  量程");
    EXPECT_EQ(b.form->Device->lateReplies(), 1u);

    b.presenter.chosenFile = b.dir.file("after.csv");
    b.find<QPushButton>("cms_SaveSnapshot")->click();
    const QString csv = QString::fromUtf8(b.dir.read("after.csv"));
    EXPECT_TRUE(csv.contains("\r\n校准参数,AlarmMask,2003,报警屏蔽字,Alarm mask,26,001A,"))
        << csv.toStdString();
    EXPECT_FALSE(csv.contains(",1000,")) << "the late value is in no row";
}

TEST(CommissioningWireTest, ReadPageReadsOnlyTheShownPageAndCancelStopsTheRun) {
    Bench b(3000);
    b.form->pg_DYNC->setCurrentIndex(2);
    ASSERT_TRUE(b.run("cms_ReadPage"));
    EXPECT_EQ(b.line->wire(), "$KRDV=3001#\r\n$KRDV=3002#\r\n");
    EXPECT_TRUE(b.presenter.messages.isEmpty());

    // A long time-out and a device that does not answer the first read: the run waits there
    // until cancelled, and sends nothing more.
    Bench slow(5000, {1001});
    slow.find<QPushButton>("cms_ReadAll")->click();
    ASSERT_TRUE(waitFor([&] { return slow.line->wire() == "$KRDV=1001#\r\n"; }));
    EXPECT_TRUE(slow.cms->busy());
    EXPECT_FALSE(slow.find<QPushButton>("cms_ReadAll")->isEnabled());
    slow.find<QPushButton>("cms_Cancel")->click();
    EXPECT_TRUE(waitFor([&] { return !slow.cms->busy(); }));
    EXPECT_TRUE(waitFor([&] { return !slow.presenter.messages.isEmpty(); }));
    EXPECT_EQ(slow.lastMessage(), "读取已取消：已读 0 / 10 个参数");
    waitFor([] { return false; }, 300);
    EXPECT_EQ(slow.line->wire(), "$KRDV=1001#\r\n");
    EXPECT_TRUE(slow.find<QPushButton>("cms_ReadAll")->isEnabled());
}

// Closing the port in the middle of a run ends the run there, whether the person closed it
// or the device vanished: the rows left are not gone through as if they had not answered.
TEST(CommissioningWireTest, ClosingThePortEndsTheRunWhereItIs) {
    for (const bool vanish : {false, true}) {
        SCOPED_TRACE(vanish ? "device vanished" : "port closed");
        Bench b(5000, {1001});
        b.find<QPushButton>("cms_ReadAll")->click();
        ASSERT_TRUE(waitFor([&] { return b.line->wire() == "$KRDV=1001#\r\n"; }));
        if (vanish)
            b.line->vanish();
        else
            b.form->btn_Connect->click();
        ASSERT_TRUE(waitFor([&] { return !b.cms->busy(); }, 20000));
        EXPECT_TRUE(b.presenter.messages.contains("读取已取消：已读 0 / 10 个参数"))
            << b.presenter.messages.join('\n').toStdString();
        EXPECT_FALSE(b.form->findChild<QLabel*>("mark_DevAddr")) << "no row is marked as not answering";
        EXPECT_EQ(b.line->wire(), "$KRDV=1001#\r\n");
        EXPECT_TRUE(b.find<QPushButton>("cms_ReadAll")->isEnabled());
    }
}

TEST(CommissioningWireTest, ReadAllNeedsAnOpenPort) {
    Bench b(3000);
    b.form->btn_Connect->click(); // closes
    ASSERT_EQ(b.form->Comm1->Handle(), 0);
    b.find<QPushButton>("cms_ReadAll")->click();
    EXPECT_EQ(b.lastMessage(), "端口未打开，请先连接端口");
    EXPECT_FALSE(b.cms->busy());
}

TEST(CommissioningWireTest, SnapshotCompareAndRestoreWriteOnlyTheChangedValuesAndJournalEveryWrite) {
    Bench b(3000);
    ASSERT_TRUE(b.run("cms_ReadAll"));
    b.presenter.chosenFile = b.dir.file("before.csv");
    b.find<QPushButton>("cms_SaveSnapshot")->click();
    EXPECT_EQ(b.lastMessage(), "已保存 10 个参数到 " + b.dir.file("before.csv"));
    const QByteArray csv = b.dir.read("before.csv");
    EXPECT_TRUE(csv.startsWith(
        "\xEF\xBB\xBFpage,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"));
    EXPECT_TRUE(QString::fromUtf8(csv).contains(QRegularExpression(
        "\r\n基本参数,Mode,1003,运行模式,Run mode,1,手动,\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n")))
        << csv.toStdString();
    EXPECT_TRUE(csv.contains("\r\n校准参数,AlarmMask,2003,报警屏蔽字,Alarm mask,26,001A,"))
        << "values as written, not as shown";

    // Two values changed on the device, by the row's Write buttons.
    b.find<QLineEdit>("edt_DevAddr")->setText("9");
    b.find<QPushButton>("btn_Write_DevAddr")->click();
    b.find<QComboBox>("cbb_Mode")->setCurrentText("自动");
    b.find<QPushButton>("btn_Write_Mode")->click();
    ASSERT_TRUE(waitFor([&] { return b.line->wire().endsWith("$KWRV=1001,9#\r\n$KWRV=1003,2#\r\n"); }));

    b.line->clearWire();
    ASSERT_TRUE(b.run("cms_Compare"));
    EXPECT_EQ(b.line->wire(), kReadAllBytes);
    EXPECT_EQ(
        b.lastMessage(),
        "2 个参数与快照不同：\n1001  设备地址：快照 5，设备 9\n1003  运行模式：快照 手动 (1)，设备 自动 (2)");
    EXPECT_EQ(b.form->findChild<QLabel*>("mark_DevAddr")->text(), "不同");

    b.line->clearWire();
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    ASSERT_EQ(b.presenter.questions.size(), 1);
    EXPECT_EQ(b.presenter.questions[0],
              "将把以下 2 个参数写入设备：\n1001  设备地址：9 → 5\n1003  运行模式：自动 (2) → 手动 (1)");
    EXPECT_EQ(b.line->wire(),
              kReadAllBytes + "$KWRV=1001,5#\r\n$KRDV=1001#\r\n$KWRV=1003,1#\r\n$KRDV=1003#\r\n");
    EXPECT_EQ(b.lastMessage(), "已写入 2 个：\n1001  设备地址：5\n1003  运行模式：手动 (1)\n"
                               "已校验 2 个：\n1001  设备地址：5\n1003  运行模式：手动 (1)\n失败 0 个：");
    EXPECT_EQ(b.text("DevAddr"), "5");
    EXPECT_EQ(b.text("Mode"), "手动");

    // Every write in the journal beside config.xml: the value it replaced and the answer.
    ASSERT_TRUE(waitFor([&] { return b.dir.read("write-journal.csv").count("\r\n") == 5; }));
    const QStringList journal = QString::fromUtf8(b.dir.read("write-journal.csv")).split("\r\n");
    EXPECT_EQ(journal[0], "time,port,address,caption,value before,value written,reply");
    const QString port = b.line->portPath();
    EXPECT_TRUE(journal[1].endsWith("," + port + ",1001,设备地址,5,9,\"OK KWRV,1001\""))
        << journal[1].toStdString();
    EXPECT_TRUE(journal[2].endsWith("," + port + ",1003,运行模式,1,2,\"OK KWRV,1003\""))
        << journal[2].toStdString();
    EXPECT_TRUE(journal[3].endsWith("," + port + ",1001,设备地址,9,5,\"OK KWRV,1001\""))
        << journal[3].toStdString();
    EXPECT_TRUE(journal[4].endsWith("," + port + ",1003,运行模式,2,1,\"OK KWRV,1003\""))
        << journal[4].toStdString();
}

TEST(CommissioningWireTest, LoadNamesUnplacedRowsAndRestoreWritesNothingUnconfirmedAndReportsFailures) {
    Bench b(3000, {}, {1001});
    b.dir.write("snap.csv", "page,tag,address,caption CN,caption EN,device value,shown text,time read\r\n"
                            "x,DevAddr,1001,a,b,7,7,\r\n"
                            "x,Zero,2001,a,b,-3,-3,\r\n"
                            "x,Ghost,9999,幽灵,b,1,1,\r\n"
                            "x,Zero,2002,a,b,1,1,\r\n");
    b.presenter.chosenFile = b.dir.file("snap.csv");
    b.find<QPushButton>("cms_LoadSnapshot")->click();
    EXPECT_EQ(b.lastMessage(),
              "已载入 2 个参数；2 行未载入，这些参数保持不变：\n"
              "第 4 行  9999  Ghost：没有此标记和地址的参数\n第 5 行  2002  Zero：没有此标记和地址的参数");
    EXPECT_EQ(b.text("DevAddr"), "7");
    EXPECT_TRUE(b.line->wire().isEmpty()) << "loading sends nothing";

    b.presenter.confirmAnswer = false;
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.presenter.questions.value(0), "将把以下 1 个参数写入设备：\n1001  设备地址：5 → 7");
    EXPECT_EQ(b.line->wire(), kReadAllBytes) << "declined: nothing written";

    // The device acknowledges the write but keeps its value: the read-back shows the failure.
    b.presenter.confirmAnswer = true;
    b.line->clearWire();
    ASSERT_TRUE(b.run("cms_WriteSnapshot"));
    EXPECT_EQ(b.line->wire(), kReadAllBytes + "$KWRV=1001,7#\r\n$KRDV=1001#\r\n");
    EXPECT_EQ(
        b.lastMessage(),
        "已写入 1 个：\n1001  设备地址：7\n已校验 0 个：\n失败 1 个：\n1001  设备地址：7（读回的值为 5）");
    EXPECT_EQ(b.form->findChild<QLabel*>("mark_DevAddr")->text(), "失败");

    // A file that is no snapshot changes nothing.
    b.dir.write("bad.csv", "just,some\r\ntext\r\n");
    b.presenter.chosenFile = b.dir.file("bad.csv");
    b.find<QPushButton>("cms_LoadSnapshot")->click();
    EXPECT_EQ(b.lastMessage(),
              b.dir.file("bad.csv") +
                  " 不是快照文件：第 1 行不是快照的标题行，缺少列：page, tag, address, caption CN, "
                  "caption EN, device value, shown text, time read；未改变任何参数");
    EXPECT_EQ(b.text("DevAddr"), "5");
}

} // namespace

namespace {

// Each shown mark can be read whole, beside its value box and clear of the Read button.
QStringList cutMarks(TForm_Main& form) {
    QStringList problems;
    for (QLabel* mark : form.findChildren<QLabel*>(QRegularExpression("^mark_"))) {
        if (mark->isHidden())
            continue;
        const QString tag = mark->objectName().mid(5);
        QWidget* value = qobject_cast<QWidget*>(form.FindComponent("edt_" + tag));
        if (!value)
            value = qobject_cast<QWidget*>(form.FindComponent("cbb_" + tag));
        auto* read = qobject_cast<QWidget*>(form.FindComponent("btn_Read_" + tag));
        const int need = mark->fontMetrics().horizontalAdvance(mark->text());
        if (mark->width() < need)
            problems << QString("%1 needs %2, has %3").arg(mark->objectName()).arg(need).arg(mark->width());
        if (mark->geometry().right() >= read->x())
            problems << mark->objectName() + " runs under the Read button";
        if (mark->geometry().intersects(value->geometry()))
            problems << mark->objectName() + " lies over its value box";
        if (mark->geometry().right() >= mark->parentWidget()->width())
            problems << mark->objectName() + " is cut off by its page";
    }
    return problems;
}

} // namespace

TEST(CommissioningWireTest, RowMarksStayWholeInBothLanguagesAndAfterTheWindowResizes) {
    Bench b(150, {1001, 1002, 1003, 1004, 2001, 2002, 2003, 2004, 3001, 3002});
    ASSERT_NE(b.form->Comm1->Handle(), 0);
    for (const bool english : {false, true}) {
        if (english)
            b.form->btn_SecondLanguageClick();
        b.form->resize(1280, 660);
        b.form->show();
        ASSERT_TRUE(b.run("cms_ReadAll"));
        for (const QSize size : {QSize(1280, 660), QSize(1920, 1020), QSize(960, 510), QSize(1024, 708)}) {
            b.form->resize(size);
            QCoreApplication::processEvents();
            for (int page = 0; page < b.form->pg_DYNC->count(); ++page) {
                b.form->pg_DYNC->setCurrentIndex(page);
                QCoreApplication::processEvents();
                const QStringList problems = cutMarks(*b.form);
                EXPECT_TRUE(problems.isEmpty())
                    << size.width() << "x" << size.height() << (english ? " EN" : " CN") << ":\n"
                    << problems.join('\n').toStdString();
            }
        }
    }
    EXPECT_EQ(b.form->findChild<QLabel*>("mark_Span")->text(), "no reply");
}
