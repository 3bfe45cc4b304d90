// Which received lines fill the field of the last Read, handed to the window block by block.

#include "ThreeRowWindow.h"

#include "console/protocol/ModbusRtu.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct ReplyWindow : ThreeRowWindow {
    QLineEdit* plain() const { return find<QLineEdit>("edt_Plain"); }
    QLineEdit* mask() const { return find<QLineEdit>("edt_Mask"); }
};

TEST(ReplyTargetTest, OneReplyPerReadLaterDollarLinesLeaveTheFieldAlone) {
    ReplyWindow w;
    w.read("Plain");
    w.receive("$KRDV,5=300\r\n");
    EXPECT_EQ(w.plain()->text(), "300");
    w.receive("$KWRV=OK\r\n");
    w.receive("$EVENT=unsolicited\r\n");
    EXPECT_EQ(w.plain()->text(), "300");
    EXPECT_EQ(w.form->sending->readTarget(), nullptr);

    // Two lines in one block: the first is the reply.
    w.read("Plain");
    w.receive("$KRDV,5=301\r\n$KWRV=OK\r\n");
    EXPECT_EQ(w.plain()->text(), "301");

    // A line the field cannot take does not spend the Read: the reply after it still comes in.
    w.read("Mask");
    w.receive("$KWRV=OK\r\n");
    EXPECT_EQ(w.mask()->text(), "");
    w.receive("$KRDV,6=26\r\n");
    EXPECT_EQ(w.mask()->text(), "001A");

    auto* mode = w.find<QComboBox>("cbb_Mode");
    mode->setCurrentIndex(0);
    w.read("Mode");
    w.receive("$KRDV,7=1\r\n$KWRV=OK\r\n");
    EXPECT_EQ(mode->currentText(), "快");
    w.receive("$KRDV,7=0\r\n");
    EXPECT_EQ(mode->currentText(), "快");
    // A value that matches no choice still shows, and spends the Read as well.
    w.read("Mode");
    w.receive("$KRDV,7=9\r\n$KRDV,7=0\r\n");
    EXPECT_EQ(mode->currentText(), "9");
}

TEST(ReplyTargetTest, AModbusReplyHoldingDollarIsNoTextReply) {
    ReplyWindow w;
    w.plain()->setText("keep");
    w.read("Plain");
    // Its values spell "$1", "=7" and CR LF, which read as text would put "7" into the field.
    const QByteArray frame = ModbusReadReply(1, {0x2431, 0x3D37, 0x0D0A});
    w.receive(frame);
    w.receive(ModbusExceptionReply(0x24, 3, 2));
    EXPECT_EQ(w.plain()->text(), "keep");
    EXPECT_EQ(w.form->sending->readTarget(), w.plain()) << "still waiting for its reply";

    // Text after the frame in the same block is still read.
    w.receive(frame + "$KRDV,5=9\r\n");
    EXPECT_EQ(w.plain()->text(), "9");
}

} // namespace
