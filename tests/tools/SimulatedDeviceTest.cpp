#include "tools/sim/SimulatedDevice.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/ReceivedBlock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

SimulatedDevice::Setup twoStations() {
    SimulatedDevice::Setup setup;
    setup.blocks = {{1, 0, 10}, {1, 100, 2}, {7, 40001, 4}};
    setup.textValues = {{30, QStringLiteral("2")}};
    return setup;
}

// What the console would put into the field for a reply block.
QString consoleValue(const QByteArray& reply) {
    return ParseReply(BlockAsText(reply)).value_or(QStringLiteral("<none>"));
}

TEST(SimulatedDeviceTest, TextRepliesGiveTheStoredValueToTheConsolesReplyRule) {
    SimulatedDevice device(twoStations());
    EXPECT_EQ(device.receive("$KRDV=12#\r\n", 0), QByteArray("$KRDV,12=0\r\n"));
    EXPECT_EQ(consoleValue(device.receive("$KRDV=30#\r\n", 0)), QStringLiteral("2"));

    const QByteArray ack = device.receive("$KWRV=12,2024/03/07 09:05:04#\r\n", 0);
    EXPECT_EQ(ack, QByteArray("OK KWRV,12\r\n"));
    EXPECT_FALSE(ParseReply(BlockAsText(ack))); // never mistaken for a read reply
    EXPECT_EQ(consoleValue(device.receive("$KRDV=12#\r\n", 10000)), QStringLiteral("2024/03/07 09:05:04"));

    // Values keep their bytes, "$" and "#" included (the last "#" ends the value).
    device.receive(QByteArray("$KWRV=5,\xB0$a#b#\r\n"), 0);
    EXPECT_EQ(device.textValue(5), QString::fromLatin1("\xB0$a#b"));
}

TEST(SimulatedDeviceTest, LinesMayEndWithCrLfLfCrOrASilence) {
    SimulatedDevice device(twoStations());
    EXPECT_EQ(device.receive("$KRDV=1#\n$KRDV=2#\r$KRDV=3#\r\n", 0),
              QByteArray("$KRDV,1=0\r\n$KRDV,2=0\r\n$KRDV,3=0\r\n"));

    // Split over several reads.
    EXPECT_TRUE(device.receive("$KRD", 0).isEmpty());
    EXPECT_EQ(device.receive("V=4#\r\n", 10), QByteArray("$KRDV,4=0\r\n"));

    // A batch step has no line end: it is answered once the line falls silent.
    EXPECT_TRUE(device.receive("$KWRV=9,1#", 100).isEmpty());
    EXPECT_TRUE(device.idle(100 + SimulatedDevice::kGapMs - 1).isEmpty());
    EXPECT_EQ(device.idle(100 + SimulatedDevice::kGapMs), QByteArray("OK KWRV,9\r\n"));
    EXPECT_EQ(device.textValue(9), QStringLiteral("1"));

    // The same when the next bytes come before any idle call.
    device.receive("$KWRV=9,2#", 1000);
    EXPECT_EQ(device.receive("$KRDV=9#\r\n", 2000), QByteArray("OK KWRV,9\r\n$KRDV,9=2\r\n"));
}

TEST(SimulatedDeviceTest, UnknownAndMalformedLinesGetAnErrorWithoutDollar) {
    SimulatedDevice device(twoStations());
    const QByteArray err("ERR unknown command\r\n");
    for (const char* line : {"$HELLO\r\n", "$KRDV=x#\r\n", "$KRDV=5\r\n", "$KWRV=5#\r\n", "$KWRV=5,1\r\n"})
        EXPECT_EQ(device.receive(line, 0), err) << line;
    // Free text without "$" is not answered.
    EXPECT_TRUE(device.receive("hello\r\nABC", 0).isEmpty());
    EXPECT_TRUE(device.idle(1000).isEmpty());
}

TEST(SimulatedDeviceTest, ModbusReadsConfiguredRegistersWithValuesThatMove) {
    SimulatedDevice device(twoStations());
    const QByteArray reply = device.receive(ModbusReadRequest(1, 0, 10), 0);
    const auto values = ParseReadReply(reply, 1);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 10);
    EXPECT_EQ(values->at(3), SimulatedDevice::registerValue(1, 3, 0));
    EXPECT_NE(values->at(3), values->at(4));

    const auto later = ParseReadReply(device.receive(ModbusReadRequest(1, 0, 10), 5000), 1);
    ASSERT_TRUE(later);
    EXPECT_NE(*later, *values);

    EXPECT_TRUE(ParseReadReply(device.receive(ModbusReadRequest(7, 40001, 4), 0), 7));
    EXPECT_TRUE(ParseReadReply(device.receive(ModbusReadRequest(1, 100, 2), 0), 1));
}

TEST(SimulatedDeviceTest, ModbusExceptionsAndIgnoredFrames) {
    SimulatedDevice device(twoStations());
    // Partly outside a block, or spanning the gap between two blocks.
    EXPECT_EQ(device.receive(ModbusReadRequest(1, 5, 10), 0), ModbusExceptionReply(1, 3, 2));
    EXPECT_EQ(device.receive(ModbusReadRequest(1, 9, 92), 0), ModbusExceptionReply(1, 3, 2));
    EXPECT_EQ(device.receive(ModbusReadRequest(1, 0, 0), 0), ModbusExceptionReply(1, 3, 3));

    QByteArray writeSingle("\x01\x06\x00\x01\x00\x05", 6);
    AppendModbusCrc(writeSingle);
    EXPECT_EQ(device.receive(writeSingle, 0), ModbusExceptionReply(1, 6, 1));

    QByteArray damaged = ModbusReadRequest(1, 0, 10);
    damaged[3] = 1;
    EXPECT_TRUE(device.receive(damaged, 0).isEmpty());
    EXPECT_TRUE(device.receive(ModbusReadRequest(2, 0, 10), 0).isEmpty()); // another station

    // After the damaged frame the device still answers, also when text and frames share reads.
    const QByteArray mixed = device.receive(ModbusReadRequest(1, 0, 1) + "$KRDV=30#\r\n", 0);
    EXPECT_TRUE(ParseReadReply(mixed, 1));
    EXPECT_TRUE(mixed.endsWith("$KRDV,30=2\r\n"));

    // A frame cut short by silence is dropped, so the next request starts clean.
    EXPECT_TRUE(device.receive(ModbusReadRequest(1, 0, 10).left(5), 0).isEmpty());
    EXPECT_TRUE(device.idle(1000).isEmpty());
    EXPECT_TRUE(ParseReadReply(device.receive(ModbusReadRequest(1, 0, 10), 1000), 1));
}

TEST(SimulatorSetupTest, ReadsModbusPagesAndChoiceDefaultsFromTheConfiguration) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.xml"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON appName="T">
  <GROUP_DYNC>
    <P caption="p">
      <Mode caption="m" hint="" addr="30" controlType="ComboBox" items="a|b" itemsValue="4|5"/>
      <Plain caption="x" hint="" addr="31"/>
      <Sepxxx/>
    </P>
  </GROUP_DYNC>
  <GROUP_AUTO>
    <A1 caption="a" protocol="MODBUS" equAddr="257" startReg="100" regLen="3"/>
    <A2 caption="b" protocol="modbus" equAddr="2" startReg="0" regLen="3"/>
    <A3 caption="c" protocol="MODBUS" equAddr="3" startReg="65535" regLen="10"/>
    <A4 caption="d" protocol="MODBUS" equAddr="x" startReg="0" regLen="3"/>
  </GROUP_AUTO>
</TERVALON>
)");
    file.close();

    const SimulatedDevice::Setup setup = LoadSimulatorSetup(path);
    const QList<SimulatedDevice::RegisterBlock> expected{{1, 100, 3}, {3, 65535, 1}};
    EXPECT_EQ(setup.blocks, expected);
    EXPECT_EQ(setup.textValues.value(30), QStringLiteral("4"));
    EXPECT_FALSE(setup.textValues.contains(31));
}

} // namespace
