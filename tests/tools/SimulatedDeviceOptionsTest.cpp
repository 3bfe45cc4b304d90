#include "console/protocol/ModbusRtu.h"
#include "tools/sim/SimulatedDevice.h"

#include <gtest/gtest.h>

namespace {

SimulatedDevice::Setup station1() {
    SimulatedDevice::Setup setup;
    setup.blocks = {{1, 0, 4}};
    setup.textValues = {{12, QStringLiteral("300")}};
    return setup;
}

TEST(SimulatedDeviceOptionsTest, WritesCanBeAcknowledgedWithADollarLine) {
    SimulatedDevice::Setup setup = station1();
    setup.dollarWriteAck = true;
    SimulatedDevice device(setup);
    EXPECT_EQ(device.receive("$KWRV=12,5#\r\n", 0), QByteArray("$KWRV=OK\r\n"));
    EXPECT_EQ(device.textValue(12), QStringLiteral("5"));
    EXPECT_EQ(device.receive("$KRDV=12#\r\n", 0), QByteArray("$KRDV,12=5\r\n"));
}

TEST(SimulatedDeviceOptionsTest, TextRepliesComeInPiecesWithPausesInOrder) {
    SimulatedDevice::Setup setup = station1();
    setup.textReplyPieces = 3;
    setup.piecePauseMs = 100;
    SimulatedDevice device(setup);
    const QByteArray whole("$KRDV,12=300\r\n"); // 14 bytes: pieces of 4, 5 and 5
    EXPECT_EQ(device.receive("$KRDV=12#\r\n", 1000), whole.left(4));
    EXPECT_EQ(device.idle(1099), QByteArray());
    EXPECT_EQ(device.idle(1100), whole.mid(4, 5));
    // Bytes arriving meanwhile do not let the rest overtake its pause.
    EXPECT_EQ(device.receive("free text", 1150), QByteArray());
    EXPECT_EQ(device.idle(1250), whole.mid(9));
    EXPECT_EQ(device.idle(5000), QByteArray());

    // Several replies stay in order; a reply shorter than the pieces goes byte by byte.
    setup.textValues = {{1, QString()}};
    setup.textReplyPieces = 64;
    SimulatedDevice many(setup);
    QByteArray all = many.receive("$KRDV=1#\r\n", 0);
    for (qint64 t = 100; t <= 100 * 64; t += 100)
        all += many.idle(t);
    EXPECT_EQ(all, QByteArray("$KRDV,1=\r\n"));
}

TEST(SimulatedDeviceOptionsTest, ModbusRepliesCanHoldDollarBytesAndComeLate) {
    SimulatedDevice::Setup setup = station1();
    setup.dollarRegisters = true;
    setup.modbusDelayMs = 300;
    SimulatedDevice device(setup);
    EXPECT_EQ(device.receive(ModbusReadRequest(1, 0, 4), 0), QByteArray());
    EXPECT_EQ(device.idle(299), QByteArray());
    const QByteArray reply = device.idle(300);
    EXPECT_EQ(reply, ModbusReadReply(1, {0x2431, 0x3D37, 0x0D0A, 0x2431}));
    EXPECT_TRUE(reply.contains('$'));

    // A text reply meanwhile goes out at once, ahead of the late frame.
    device.receive(ModbusReadRequest(1, 1, 1), 1000);
    EXPECT_EQ(device.receive("$KRDV=12#\r\n", 1010), QByteArray("$KRDV,12=300\r\n"));
    EXPECT_EQ(device.idle(1300), ModbusReadReply(1, {0x3D37}));
}

} // namespace

namespace {

TEST(SimulatedDeviceOptionsTest, ChosenAddressesStaySilentOrKeepTheirValues) {
    SimulatedDevice::Setup setup = station1();
    setup.textValues.insert(13, QStringLiteral("7"));
    setup.silentAddresses = {12};
    setup.ignoredWriteAddresses = {13};
    SimulatedDevice device(setup);
    EXPECT_EQ(device.receive("$KRDV=12#\r\n", 0), QByteArray());
    EXPECT_EQ(device.receive("$KWRV=12,5#\r\n", 0), QByteArray());
    EXPECT_EQ(device.textValue(12), QStringLiteral("300")) << "a write it did not hear changes nothing";
    // Any other address answers, one never written with 0.
    EXPECT_EQ(device.receive("$KRDV=4711#\r\n", 0), QByteArray("$KRDV,4711=0\r\n"));
    EXPECT_EQ(device.receive("$KWRV=13,9#\r\n", 0), QByteArray("OK KWRV,13\r\n"));
    EXPECT_EQ(device.receive("$KRDV=13#\r\n", 0), QByteArray("$KRDV,13=7\r\n"));
}

} // namespace

namespace {

TEST(SimulatedDeviceOptionsTest, AChosenAddressAnswersLateAndTheNextOneOnTime) {
    SimulatedDevice::Setup setup = station1();
    setup.textValues.insert(30, QStringLiteral("250"));
    setup.textValues.insert(31, QStringLiteral("4660"));
    setup.replyDelayMs.insert(30, 1500);
    SimulatedDevice device(setup);
    EXPECT_EQ(device.receive("$KRDV=30#\r\n", 0), QByteArray());
    EXPECT_EQ(device.receive("$KRDV=31#\r\n", 1100), QByteArray("$KRDV,31=4660\r\n"));
    EXPECT_EQ(device.idle(1499), QByteArray());
    EXPECT_EQ(device.idle(1500), QByteArray("$KRDV,30=250\r\n"));
    EXPECT_EQ(device.receive("$KWRV=30,1#\r\n", 2000), QByteArray()) << "its writes answer late as well";
    EXPECT_EQ(device.idle(3500), QByteArray("OK KWRV,30\r\n"));
}

} // namespace
