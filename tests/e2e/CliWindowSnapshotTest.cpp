// The command line and the window keep the same snapshot files: for the same device, the
// command line's read writes what the window's Read all and Save snapshot write, and each
// takes the other's file as matching the device.

#include "CliDevice.h"
#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "console/Commissioning.h"
#include "console/protocol/SnapshotCsv.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The time each parameter was read is the only column that may differ.
QList<SnapshotRow> withoutTimes(const QByteArray& csv) {
    SnapshotParse parsed = SnapshotFromCsv(csv);
    EXPECT_TRUE(parsed.ok());
    for (SnapshotRow& row : parsed.rows) {
        EXPECT_FALSE(row.timeRead.isEmpty()) << row.tag.toStdString();
        row.timeRead.clear();
    }
    return parsed.rows;
}

void windowSession(CliDevice& cli, DeviceLine& line,
                   const std::function<void(TForm_Main&, Commissioning&)>& use) {
    TForm_Main form(cli.dir.path());
    form.FormCreate();
    form.cbb_Port->setCurrentText(line.portPath());
    form.btn_Connect->click();
    ASSERT_NE(form.Comm1->Handle(), 0);
    use(form, *form.commissioning);
    form.Comm1->StopComm(); // the port is the command line's again
}

bool click(TForm_Main& form, Commissioning& cms, const QString& button) {
    qobject_cast<QPushButton*>(form.FindComponent(button))->click();
    return waitFor([&] { return !cms.busy(); }, 30000);
}

TEST(CliWindowSnapshotTest, ReadWritesTheSnapshotTheWindowSavesAndEachTakesTheOthers) {
    RecordingPresenter presenter;
    CliDevice cli;
    DeviceLine& line = cli.start();
    windowSession(cli, line, [&](TForm_Main& form, Commissioning& cms) {
        ASSERT_TRUE(click(form, cms, "cms_ReadAll"));
        presenter.chosenFile = cli.dir.file("window.csv");
        qobject_cast<QPushButton*>(form.FindComponent("cms_SaveSnapshot"))->click();
    });
    ASSERT_TRUE(QFile::exists(cli.dir.file("window.csv"))) << presenter.messages.join('\n').toStdString();

    const CliResult read = cli.run({"read", "--out", cli.dir.file("cli.csv")});
    ASSERT_EQ(read.exitCode, 0) << read.err.constData();
    EXPECT_EQ(withoutTimes(cli.dir.read("cli.csv")), withoutTimes(cli.dir.read("window.csv")));
    EXPECT_EQ(cli.run({"compare", cli.dir.file("window.csv")}).exitCode, 0);

    // The window loads the command line's file and finds the device matching it.
    windowSession(cli, line, [&](TForm_Main& form, Commissioning& cms) {
        presenter.chosenFile = cli.dir.file("cli.csv");
        qobject_cast<QPushButton*>(form.FindComponent("cms_LoadSnapshot"))->click();
        EXPECT_EQ(presenter.messages.last(), "已载入 10 个参数");
        ASSERT_TRUE(click(form, cms, "cms_Compare"));
        EXPECT_EQ(presenter.messages.last(), "设备与快照一致");
    });
}

} // namespace
