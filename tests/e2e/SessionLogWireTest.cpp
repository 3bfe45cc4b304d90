// The session log and the saved receive box, for a Read and its reply over a pseudo-terminal.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/PageBuilderFixture.h"
#include "console/ReceiveLogView.h"
#include "console/Receiving.h"
#include "console/SessionLog.h"
#include "console/SessionLogging.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TestConfig speedConfig() {
    TestConfig config;
    config.dync = "<GROUP_DYNC><Main caption=\"主页\"><Speed caption=\"速度\" hint=\"h\" addr=\"12\"/>"
                  "</Main></GROUP_DYNC>";
    return config;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SessionLogWireTest, AReadAndItsReplyAreLoggedAndTheBoxCanBeSaved) {
    SimulatedDevice::Setup setup;
    setup.textValues = {{12, "300"}};
    DeviceLine line(setup);
    TestWindow w(speedConfig());
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;
    f.cbb_Port->setCurrentText(line.portPath());
    f.btn_Connect->click();
    ASSERT_NE(f.Comm1->Handle(), 0);

    f.chk_SessionLog->setChecked(true);
    ASSERT_TRUE(f.sessionLogging->session());
    w.find<QPushButton>("btn_Read_Speed")->click();
    ASSERT_TRUE(waitFor([&] { return w.find<QLineEdit>("edt_Speed")->text() == "300"; }));
    const QString file = f.sessionLogging->session()->currentFile();
    EXPECT_TRUE(file.startsWith(f.AppDir + "logs/session-"));
    f.chk_SessionLog->setChecked(false); // ends the session: everything is in the file
    EXPECT_FALSE(f.sessionLogging->session());

    const QList<QByteArray> lines = readAll(file).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << readAll(file).toStdString();
    EXPECT_TRUE(lines[0].endsWith("\tTX\t11\t$KRDV=12#\\r\\n\t24 4B 52 44 56 3D 31 32 23 0D 0A"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("\tRX\t14\t$KRDV,12=300\\r\\n\t")) << lines[1].toStdString();

    // Written after the session ended: not logged.
    f.sending->send("x");
    ASSERT_TRUE(waitFor([&] { return line.wire().endsWith("x"); }));
    EXPECT_EQ(readAll(file).count('\n'), 2);

    const QString saved = f.AppDir + "receive.txt";
    EXPECT_EQ(f.receiving->saveTo(saved), "");
    EXPECT_EQ(QString::fromUtf8(readAll(saved)), f.mmo_RX->toPlainText());
    EXPECT_TRUE(readAll(saved).contains("$KRDV,12=300"));
    EXPECT_NE(f.receiving->saveTo(f.AppDir + "no/such/folder/receive.txt"), "");
}

} // namespace
