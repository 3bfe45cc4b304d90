// Commissioning the bundled example against the simulated device: reading every parameter,
// snapshots, comparing and writing back, and the journal of writes, with the exact bytes on
// the wire.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/Commissioning.h"
#include "support/TestApp.h"
#include "app/MainFrm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QByteArray kReadAllBytes = "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n"
                                 "$KRDV=2001#\r\n$KRDV=2002#\r\n$KRDV=2003#\r\n$KRDV=2004#\r\n"
                                 "$KRDV=3001#\r\n$KRDV=3002#\r\n";

// The example's device with known values; the example with the given read time-out.
struct Bench {
    explicit Bench(int timeoutMs, QSet<qint32> silent = {}, QSet<qint32> ignoredWrites = {}) {
        testApp();
        dir.copyExample("config.xml");
        QByteArray xml = dir.read("config.xml");
        xml.replace("readTimeoutMs=\"1000\"", "readTimeoutMs=\"" + QByteArray::number(timeoutMs) + "\"");
        dir.write("config.xml", xml);
        SimulatedDevice::Setup setup = LoadSimulatorSetup(dir.file("config.xml"));
        setup.textValues = {{1001, "5"},  {1002, "2"},    {1003, "1"},    {1004, "1"}, {2001, "-3"},
                            {2002, "1000"}, {2003, "26"}, {2004, "48879"}, {3001, "0"}, {3002, "502"}};
        setup.silentAddresses = silent;
        setup.ignoredWriteAddresses = ignoredWrites;
        line.emplace(setup);
        form = std::make_unique<TForm_Main>(dir.path());
        form->FormCreate();
        form->cbb_Port->setCurrentText(line->portPath());
        form->btn_Connect->click();
        cms = Commissioning::of(*form);
    }
    ~Bench() { form->Comm1->StopComm(); }

    template <class T = QWidget> T* find(const QString& name) const {
        return qobject_cast<T*>(form->FindComponent(name));
    }
    QString text(const QString& name) const {
        if (auto* edit = find<QLineEdit>("edt_" + name))
            return edit->text();
        return find<QComboBox>("cbb_" + name)->currentText();
    }
    // Clicks and waits until the run has ended.
    bool run(const QString& button) {
        find<QPushButton>(button)->click();
        return waitFor([&] { return !cms->busy(); }, 20000);
    }
    QString lastMessage() const { return presenter.messages.value(presenter.messages.size() - 1); }

    RecordingPresenter presenter;
    TempAppDir dir;
    std::optional<DeviceLine> line;
    std::unique_ptr<TForm_Main> form;
    Commissioning* cms = nullptr;
};

TEST(CommissioningWireTest, ReadAllFillsEveryRowInPageOrderAndNamesTheSilentOne) {
    Bench b(300, {2002});
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
    EXPECT_EQ(b.cms->prg_Read->value(), 10);
    EXPECT_EQ(b.cms->prg_Read->maximum(), 10);

    EXPECT_EQ(b.lastMessage(), "1 个参数没有应答：\n2002  量程");
    auto* mark = b.form->findChild<QLabel*>("mark_Span");
    ASSERT_TRUE(mark);
    EXPECT_FALSE(mark->isHidden());
    EXPECT_EQ(mark->text(), "无应答");
    EXPECT_FALSE(b.form->findChild<QLabel*>("mark_DevAddr"));
}

TEST(CommissioningWireTest, ReadPageReadsOnlyTheShownPageAndCancelStopsTheRun) {
    Bench b(300);
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

TEST(CommissioningWireTest, ReadAllNeedsAnOpenPort) {
    Bench b(300);
    b.form->btn_Connect->click(); // closes
    ASSERT_EQ(b.form->Comm1->Handle(), 0);
    b.find<QPushButton>("cms_ReadAll")->click();
    EXPECT_EQ(b.lastMessage(), "端口未打开，请先连接端口");
    EXPECT_FALSE(b.cms->busy());
}

} // namespace
