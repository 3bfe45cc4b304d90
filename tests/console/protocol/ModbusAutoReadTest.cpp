#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/ModbusRtu.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (const int v : list)
        b.append(static_cast<char>(v));
    return b;
}

// The check sequence bit by bit, as a reference for the table-driven one.
quint16 bitwiseCrc(const QByteArray& data) {
    quint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

TEST(ModbusTest, RequestFramesAreExact) {
    EXPECT_EQ(ModbusReadRequest(1, 0, 10), bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
    const QByteArray high = ModbusReadRequest(257, 40001, 0x1234);
    EXPECT_EQ(high.left(6), bytes({0x01, 0x03, 0x9C, 0x41, 0x12, 0x34}));
    EXPECT_TRUE(HasValidModbusCrc(high));
}

TEST(ModbusTest, TableCrcAgreesWithTheBitwiseDefinition) {
    QByteArray data;
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(ModbusCrc16(data), bitwiseCrc(data)) << i;
        data.append(static_cast<char>(i * 37 + 11));
    }
}

TEST(ModbusTest, ReplyNeedsStationFunctionAndACheckedFrame) {
    const QByteArray reply = ModbusReadReply(1, {123, 65535});
    EXPECT_EQ(reply.left(7), bytes({0x01, 0x03, 0x04, 0x00, 0x7B, 0xFF, 0xFF}));
    EXPECT_EQ(ParseReadReply(reply, 1), (QList<quint16>{123, 65535}));

    // Bytes after the frame are ignored, whatever they are.
    EXPECT_EQ(ParseReadReply(reply + "$KRDV,1=5\r\n", 1), (QList<quint16>{123, 65535}));

    EXPECT_FALSE(ParseReadReply(reply, 2));
    EXPECT_FALSE(ParseReadReply(reply, 257)); // only the low byte is sent, so it never matches
    EXPECT_FALSE(ParseReadReply(reply.left(reply.size() - 1), 1));

    QByteArray damaged = reply;
    damaged[4] = static_cast<char>(damaged[4] ^ 0x01);
    EXPECT_FALSE(ParseReadReply(damaged, 1));

    // A byte count that disagrees with the data moves the check sequence and fails it.
    QByteArray miscounted = reply;
    miscounted[2] = 0x02;
    EXPECT_FALSE(ParseReadReply(miscounted, 1));

    EXPECT_EQ(ParseReadReply(ModbusReadReply(1, {5}), 1), QList<quint16>{5});
    EXPECT_FALSE(ParseReadReply(ModbusReadReply(1, {}), 1));
    EXPECT_FALSE(ParseReadReply(ModbusExceptionReply(1, 3, 2), 1));
    EXPECT_EQ(ModbusExceptionReply(1, 3, 2).left(3), bytes({0x01, 0x83, 0x02}));
}

TEST(ModbusTest, OddByteCountIsRefusedEvenWithAGoodCheckSequence) {
    QByteArray odd = bytes({0x01, 0x03, 0x03, 0x00, 0x05, 0x07});
    AppendModbusCrc(odd);
    EXPECT_FALSE(ParseReadReply(odd, 1));
}

QList<TAutoRead> pages() {
    return {{QStringLiteral("MODBUS"), 1, 100, 2}, {QStringLiteral("modbus"), 1, 0, 1}, {QString(), 0, 0, 0}};
}

TEST(AutoReadPollerTest, TickSendsOnlyForAModbusPageInView) {
    AutoReadPoller poller;
    EXPECT_TRUE(poller.tick(false, QStringLiteral("2000"), 0, pages()).request.isEmpty());
    EXPECT_FALSE(poller.tick(false, QStringLiteral("2000"), 0, pages()).newInterval);

    const AutoReadPoller::Tick tick = poller.tick(true, QStringLiteral("1000"), 0, pages());
    EXPECT_EQ(tick.request, ModbusReadRequest(1, 100, 2));
    EXPECT_EQ(poller.curProtocol(), QStringLiteral("MODBUS"));

    EXPECT_TRUE(poller.tick(true, QStringLiteral("1000"), 1, pages()).request.isEmpty()); // lower case
    EXPECT_EQ(poller.pageCursor(), 1);
    EXPECT_EQ(poller.current().startAddr, 100); // the last request's block stays

    EXPECT_TRUE(poller.tick(true, QStringLiteral("1000"), -1, pages()).request.isEmpty());
    EXPECT_TRUE(poller.tick(true, QStringLiteral("1000"), 3, pages()).request.isEmpty());
}

TEST(AutoReadPollerTest, IntervalFollowsTheBoxOnlyAboveFiveHundred) {
    AutoReadPoller poller;
    EXPECT_EQ(poller.tick(true, QStringLiteral("2000"), 0, pages()).newInterval, 2000);
    EXPECT_EQ(poller.tick(true, QStringLiteral("501"), -1, pages()).newInterval, 501);
    for (const char* text : {"500", "300", "", "abc", "-1000"})
        EXPECT_FALSE(poller.tick(true, QString::fromLatin1(text), 0, pages()).newInterval) << text;
}

TEST(AutoReadPollerTest, ReplyFillsRegistersFromTheRequestedStart) {
    AutoReadPoller poller;
    const QByteArray reply = ModbusReadReply(1, {123, 65535});
    EXPECT_TRUE(poller.checkReply(true, reply).isEmpty()); // nothing requested yet

    poller.tick(true, QStringLiteral("1000"), 0, pages());
    const QList<AutoReadPoller::RegisterValue> expected{{100, 123}, {101, 65535}};
    EXPECT_EQ(poller.checkReply(true, reply), expected);
    EXPECT_TRUE(poller.checkReply(false, reply).isEmpty());
    EXPECT_TRUE(poller.checkReply(true, ModbusReadReply(2, {1})).isEmpty());
}

TEST(ValueScalingTest, OffsetThenFactorInTheShortestGeneralForm) {
    const QString dot = QStringLiteral(".");
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|0.1"), 1234, dot), QStringLiteral("123.4"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|1"), 1234, dot), QStringLiteral("1234"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("10|0.5"), 90, dot), QStringLiteral("50"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("-100|-1"), 100, dot), QStringLiteral("0"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|0.001"), 1, dot), QStringLiteral("0.001"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral(" 0 | 3 "), 1, dot), QStringLiteral("3"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|1,5"), 2, QStringLiteral(",")), QStringLiteral("3"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|0,1"), 1234, QStringLiteral(",")), QStringLiteral("123,4"));
    for (const char* hint : {"", "5", "5|", "a|1", "1|b", "0|1|", "|1"}) {
        const auto shown = ScaleAutoValue(QString::fromLatin1(hint), 7, dot);
        if (QByteArray(hint) == "0|1|")
            EXPECT_EQ(shown, QStringLiteral("7")) << hint; // a third, empty entry is not read
        else
            EXPECT_FALSE(shown) << hint;
    }
}

TEST(ValueScalingTest, HintEntriesSplitAtBarsAndBlanks) {
    EXPECT_EQ(SplitHintEntries(QStringLiteral("0|0.1")), (QStringList{"0", "0.1"}));
    EXPECT_EQ(SplitHintEntries(QStringLiteral("a||b")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitHintEntries(QStringLiteral("a|")), (QStringList{"a", ""}));
    EXPECT_EQ(SplitHintEntries(QStringLiteral("1 2|3")), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(SplitHintEntries(QStringLiteral("  ")), QStringList{});
}

TEST(ValueScalingTest, GeneralFormSwitchesToAnExponentAtTheClassicLimits) {
    const QString dot = QStringLiteral(".");
    EXPECT_EQ(FormatGeneral(0.0001, dot), QStringLiteral("0.0001"));
    EXPECT_EQ(FormatGeneral(0.00001, dot), QStringLiteral("1E-5"));
    EXPECT_EQ(FormatGeneral(1.5e-6, dot), QStringLiteral("1.5E-6"));
    EXPECT_EQ(FormatGeneral(123456789012345.0, dot), QStringLiteral("123456789012345"));
    EXPECT_EQ(FormatGeneral(1e15, dot), QStringLiteral("1E15"));
    EXPECT_EQ(FormatGeneral(1.0 / 3, dot), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(FormatGeneral(-2.5, QStringLiteral(",")), QStringLiteral("-2,5"));
}

} // namespace
