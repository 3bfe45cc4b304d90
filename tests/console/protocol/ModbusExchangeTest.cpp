#include "console/protocol/ModbusExchange.h"
#include "console/protocol/ModbusRtu.h"

#include <gtest/gtest.h>

namespace {

using Kind = ModbusExchange::Reply::Kind;

// Page 0 asks station 1 for registers 100 and 101.
const ModbusExchange::Request kPage0{0, 1, 100, 2};

TEST(ModbusExchangeTest, OneRequestInFlightUntilItsReplyOrTimeOut) {
    ModbusExchange x;
    EXPECT_TRUE(x.canSend(0));
    x.sent(kPage0, 0);
    EXPECT_FALSE(x.canSend(1));
    EXPECT_FALSE(x.canSend(ModbusExchange::kDefaultTimeoutMs - 1));

    const ModbusExchange::Reply reply = x.takeReply(ModbusReadReply(1, {123, 0x2424}), 0, 500);
    EXPECT_EQ(reply.kind, Kind::Good);
    EXPECT_EQ(reply.values, (QList<quint16>{123, 0x2424}));
    EXPECT_EQ(reply.request.start, 100);
    EXPECT_TRUE(x.canSend(501)) << "answered: the next tick may send";

    x.sent(kPage0, 1000);
    EXPECT_TRUE(x.canSend(1000 + ModbusExchange::kDefaultTimeoutMs));
    EXPECT_EQ(x.health().timedOut, 1u);
    EXPECT_TRUE(x.canSend(5000));
    EXPECT_EQ(x.health().timedOut, 1u) << "a time-out is counted once";

    x.setTimeoutMs(50);
    x.sent(kPage0, 6000);
    EXPECT_FALSE(x.canSend(6049));
    EXPECT_TRUE(x.canSend(6050));
}

TEST(ModbusExchangeTest, RepliesThatAnswerNoWaitingRequestAreDroppedAndCounted) {
    ModbusExchange x;
    const QByteArray sound = ModbusReadReply(1, {5, 6});
    EXPECT_EQ(x.takeReply(sound, 0, 0).kind, Kind::NotModbus) << "nothing asked yet";

    x.sent(kPage0, 0);
    EXPECT_EQ(x.takeReply(sound, 0, ModbusExchange::kDefaultTimeoutMs).kind, Kind::Late);
    EXPECT_EQ(x.health().timedOut, 0u) << "the device did answer: late, not unanswered";
    EXPECT_EQ(x.takeReply(sound, 0, ModbusExchange::kDefaultTimeoutMs + 5).kind, Kind::Unsolicited)
        << "a second late reply answers nothing";

    x.sent(kPage0, 2000);
    EXPECT_EQ(x.takeReply(sound, 1, 2100).kind, Kind::Dropped) << "another page is in view";
    EXPECT_FALSE(x.waiting());
    EXPECT_EQ(x.takeReply(sound, 0, 2200).kind, Kind::Unsolicited) << "a second reply to one request";

    x.sent(kPage0, 3000);
    EXPECT_EQ(x.takeReply(ModbusReadReply(1, {5, 6, 7}), 0, 3100).kind, Kind::WrongLength);
    x.sent(kPage0, 4000);
    EXPECT_EQ(x.takeReply(ModbusReadReply(1, {5}), 0, 4100).kind, Kind::WrongLength);

    ModbusHealth expected;
    expected.sent = 4;
    expected.dropped = 2;
    expected.unsolicited = 2;
    expected.wrongLength = 2;
    // Only the two wrong-length replies answered a waiting request, each 100 ms after it.
    expected.lastReplyMs = 100;
    expected.totalReplyMs = 200;
    expected.timedReplies = 2;
    EXPECT_EQ(x.health(), expected);
    EXPECT_EQ(x.health().ended(), x.health().sent);
}

TEST(ModbusExchangeTest, DamagedForeignAndExceptionFrames) {
    ModbusExchange x;
    x.sent(kPage0, 0);
    EXPECT_EQ(x.takeReply(ModbusReadReply(2, {5, 6}), 0, 5).kind, Kind::NotModbus);
    EXPECT_EQ(x.takeReply("$KRDV,1=5\r\n", 0, 5).kind, Kind::NotModbus);
    EXPECT_EQ(x.takeReply(QByteArray("\x01\x04\x02\x00\x05", 5), 0, 5).kind, Kind::NotModbus);
    EXPECT_TRUE(x.waiting()) << "frames of others leave the request waiting";

    QByteArray damaged = ModbusReadReply(1, {5, 6});
    damaged[4] = char(damaged[4] ^ 1);
    EXPECT_EQ(x.takeReply(damaged, 0, 10).kind, Kind::BadCrc);
    EXPECT_FALSE(x.waiting()) << "the device answered, damaged: the request has its outcome";
    x.sent(kPage0, 20);
    EXPECT_EQ(x.takeReply(ModbusReadReply(1, {5, 6}).left(6), 0, 30).kind, Kind::BadCrc) << "cut short";

    x.sent(kPage0, 40);
    EXPECT_EQ(x.takeReply(ModbusExceptionReply(1, 3, 2), 0, 70).kind, Kind::Exception);
    EXPECT_FALSE(x.waiting());
    EXPECT_EQ(x.health().badCrc, 2u);
    EXPECT_EQ(x.health().exceptions, 1u);
    EXPECT_EQ(x.health().lastException, 2);
    EXPECT_EQ(x.health().lastReplyMs, 30);

    // A station beyond one byte goes out as its low byte and is never answered by it.
    x.sent({0, 257, 0, 1}, 100);
    EXPECT_EQ(x.takeReply(ModbusReadReply(1, {5}), 0, 110).kind, Kind::NotModbus);
}

// However the device answers, each request ends in one outcome, counted once, even after its
// time-out has long passed.
TEST(ModbusExchangeTest, EveryRequestEndsInExactlyOneOutcome) {
    QByteArray damaged = ModbusReadReply(1, {5, 6});
    damaged[3] = char(damaged[3] ^ 0x10);
    struct Case {
        const char* name;
        QByteArray reply; // empty: none
        Kind kind;
        quint64 ModbusHealth::*counter;
    };
    const Case cases[] = {
        {"good", ModbusReadReply(1, {5, 6}), Kind::Good, &ModbusHealth::good},
        {"silent", {}, Kind::NotModbus, &ModbusHealth::timedOut},
        {"bad CRC", damaged, Kind::BadCrc, &ModbusHealth::badCrc},
        {"wrong length", ModbusReadReply(1, {5}), Kind::WrongLength, &ModbusHealth::wrongLength},
        {"exception", ModbusExceptionReply(1, 3, 2), Kind::Exception, &ModbusHealth::exceptions},
    };
    for (const Case& k : cases) {
        ModbusExchange x;
        qint64 now = 0;
        for (int i = 0; i < 22; ++i) {
            ASSERT_TRUE(x.canSend(now)) << k.name;
            x.sent(kPage0, now);
            if (!k.reply.isEmpty()) {
                EXPECT_EQ(x.takeReply(k.reply, 0, now + 20).kind, k.kind) << k.name;
            }
            now += 600; // the next tick, before the time-out
            x.canSend(now);
            now += 600; // past it
        }
        x.canSend(now + 10 * ModbusExchange::kDefaultTimeoutMs);
        EXPECT_EQ(x.health().sent, 22u) << k.name;
        EXPECT_EQ(x.health().*k.counter, 22u) << k.name;
        EXPECT_EQ(x.health().ended(), 22u) << k.name << ": one outcome each";
        EXPECT_EQ(x.health().unsolicited, 0u) << k.name;
    }
}

TEST(ModbusExchangeTest, ReplyTimesAverageAndResetStartsAfresh) {
    ModbusExchange x;
    EXPECT_EQ(x.health().averageReplyMs(), -1);
    x.sent(kPage0, 0);
    x.takeReply(ModbusReadReply(1, {5, 6}), 0, 40);
    x.sent(kPage0, 100);
    x.takeReply(ModbusExceptionReply(1, 3, 4), 0, 180);
    EXPECT_EQ(x.health().lastReplyMs, 80);
    EXPECT_EQ(x.health().averageReplyMs(), 60);
    EXPECT_EQ(x.health().lastException, 4);

    x.sent(kPage0, 200);
    x.reset();
    EXPECT_EQ(x.health(), ModbusHealth{});
    EXPECT_FALSE(x.waiting()) << "a request of the last polling run no longer blocks the first tick";
    EXPECT_EQ(x.takeReply(ModbusReadReply(1, {5, 6}), 0, 210).kind, Kind::NotModbus)
        << "its late reply is nobody's";
}

TEST(ModbusFrameTest, ExceptionMeaningsInBothLanguages) {
    EXPECT_EQ(ModbusExceptionMeaning(2, true), QStringLiteral("illegal data address"));
    EXPECT_EQ(ModbusExceptionMeaning(2, false), QStringLiteral("非法数据地址"));
    EXPECT_EQ(ModbusExceptionMeaning(11, true), QStringLiteral("gateway target device failed to respond"));
    EXPECT_EQ(ModbusExceptionMeaning(0x42, true), QStringLiteral("exception 0x42"));
    EXPECT_EQ(ModbusExceptionMeaning(0x42, false), QStringLiteral("异常 0x42"));
}

TEST(ModbusFrameTest, ReplyFrameLengthRecognisesSoundRepliesOfAnyStation) {
    const QByteArray reply = ModbusReadReply(7, {0x2424, 0x0D0A});
    EXPECT_EQ(ModbusReplyFrameLength(reply), reply.size());
    EXPECT_EQ(ModbusReplyFrameLength(reply + "$KRDV,1=5\r\n"), reply.size());
    EXPECT_EQ(ModbusReplyFrameLength(ModbusExceptionReply(3, 3, 2)), 5);
    EXPECT_EQ(ModbusReplyFrameLength(reply.left(reply.size() - 1)), 0);
    QByteArray damaged = reply;
    damaged[3] = 0;
    EXPECT_EQ(ModbusReplyFrameLength(damaged), 0);
    EXPECT_EQ(ModbusReplyFrameLength("$KRDV,1=5\r\n"), 0);
    EXPECT_EQ(ModbusReplyFrameLength(ModbusReadRequest(1, 0, 10)), 0) << "a request is no reply";
}

} // namespace
