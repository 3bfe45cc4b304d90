// Batches chosen in the batch box reach the wire, whatever language the box shows and
// whatever faulty batch the file holds beside them.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/PageBuilderFixture.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct StartedConsole {
    explicit StartedConsole(const QByteArray& xml) : window(xml) { window.form->FormCreate(); }
    ~StartedConsole() { window.form->Comm1->StopComm(); }

    bool connectTo(const QString& port) {
        window.form->cbb_Port->setCurrentText(port);
        window.form->btn_Connect->click();
        return window.form->Comm1->Handle() != 0;
    }

    TestWindow window;
    TForm_Main& f = *window.form;
};

QByteArray bundledExample() {
    TempAppDir source;
    source.copyExample(QStringLiteral("config.xml"));
    return source.read(QStringLiteral("config.xml"));
}

TEST(BatchWireTest, InEnglishTheChosenBatchRunsByItsPlaceInTheBox) {
    DeviceLine line(std::nullopt);
    StartedConsole c(bundledExample());
    c.f.btn_SecondLanguage->click();
    ASSERT_EQ(c.f.cmb_CMDS->itemText(2), QStringLiteral("Read all parameters"));
    ASSERT_TRUE(c.connectTo(line.portPath()));

    c.f.cmb_CMDS->setCurrentIndex(2);
    c.f.btn_Cmds->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().contains("$KRDV=1004#"); }));
    EXPECT_TRUE(line.wire().startsWith("$KRDV=1001#")) << line.wire().toStdString();
    EXPECT_FALSE(line.wire().contains("KWRV")) << "not the first batch";
    EXPECT_TRUE(c.window.presenter.messages.isEmpty())
        << c.window.presenter.messages.join('\n').toStdString();

    // A name typed into the box picks the item that shows it.
    line.clearWire();
    c.f.cmb_CMDS->setCurrentIndex(0);
    c.f.cmb_CMDS->setEditText(QStringLiteral("Read all parameters"));
    c.f.btn_Cmds->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().contains("$KRDV=1004#"); }));
    EXPECT_FALSE(line.wire().contains("KWRV"));
}

TEST(BatchWireTest, AFaultyBatchIsNamedOnceAndTheOnesAfterItStillRun) {
    TestConfig config;
    config.cmds = QStringLiteral("<CMDS showButton=\"1\" caption=\"Run\">"
                                 "<a caption=\"first\" CmdsStr=\"A1[0]\"/>"
                                 "<b caption=\"broken\" CmdsStr=\"B1[x]\"/>"
                                 "<c caption=\"third\" CmdsStr=\"C1[0]\"/></CMDS>");
    DeviceLine line(std::nullopt);
    StartedConsole c(config.xml());
    ASSERT_EQ(c.window.presenter.messages.size(), 1);
    EXPECT_TRUE(c.window.presenter.messages[0].contains(QStringLiteral("“broken”")));
    EXPECT_FALSE(c.window.presenter.messages[0].contains(QStringLiteral("The batch"))) << "Chinese window";
    ASSERT_EQ(c.f.cmb_CMDS->count(), 2);
    EXPECT_EQ(c.f.cmb_CMDS->itemText(1), QStringLiteral("third"));

    ASSERT_TRUE(c.connectTo(line.portPath()));
    c.f.cmb_CMDS->setCurrentIndex(1);
    c.f.btn_Cmds->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().contains("C1"); }));
    EXPECT_FALSE(line.wire().contains("A1"));
    EXPECT_FALSE(line.wire().contains("B1"));

    // Switching language and back names nothing again.
    c.f.btn_SecondLanguage->click();
    c.f.btn_FirstLanguage->click();
    EXPECT_EQ(c.window.presenter.messages.size(), 1);
}

} // namespace
