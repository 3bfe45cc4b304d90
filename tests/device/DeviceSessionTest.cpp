// The engine's rules against a scripted line: one request in flight, each with its time-out,
// settling after a time-out, late and unsolicited replies dropped and counted.

#include "ScriptedLine.h"

#include "console/protocol/ModbusRtu.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

using Status = DeviceResult::Status;

// Every dropped reply and whether it came late.
struct DropLog {
    explicit DropLog(DeviceSession& s) {
        QObject::connect(&s, &DeviceSession::dropped, &s, [this](const QByteArray& reply, bool late) {
            drops.append({reply, late});
        });
    }
    qsizetype size() const { return drops.size(); }
    QList<std::pair<QByteArray, bool>> drops;
};

// Lets queued work run for a while; used only to show that something does not happen.
void idleFor(int ms) {
    waitFor([] { return false; }, ms);
}

TEST(DeviceSessionTest, OneRequestInFlightTheNextGoesOutWhenTheReplyCame) {
    ScriptedLine line;
    line.read(1001);
    line.read(1002);
    ASSERT_TRUE(line.sentCount(1));
    idleFor(100);
    EXPECT_EQ(line.writes.size(), 1) << "the second read waits for the first one's reply";
    EXPECT_EQ(line.session.queued(), 1);

    line.device("$KRDV,1001=5\r\n");
    ASSERT_EQ(line.results.size(), 1);
    EXPECT_EQ(line.results[0].status, Status::Answered);
    EXPECT_EQ(line.results[0].line, "$KRDV,1001=5");
    ASSERT_TRUE(line.sentCount(2));
    EXPECT_EQ(line.writes[1], "$KRDV=1002#\r\n");
    line.device("$KRDV,1002=");
    line.device("7\r\n");
    ASSERT_EQ(line.results.size(), 2) << "a reply in two blocks is one reply";
    EXPECT_EQ(line.results[1].line, "$KRDV,1002=7");
    EXPECT_TRUE(line.session.idle());
    EXPECT_EQ(line.session.unsolicitedReplies(), 0u);
}

TEST(DeviceSessionTest, AReplyAfterItsTimeOutIsNotGivenToTheNextRequest) {
    ScriptedLine line;
    line.session.setSettleMs(60000); // only the late reply itself ends the settling here
    line.read(30, 100);
    line.read(31);
    ASSERT_TRUE(waitFor([&] { return line.results.size() == 1; }, 20000));
    EXPECT_EQ(line.results[0].status, Status::TimedOut);
    EXPECT_TRUE(line.session.settling());
    idleFor(100);
    EXPECT_EQ(line.writes.size(), 1) << "nothing goes out while the line settles";

    DropLog dropped(line.session);
    line.device("$KRDV=250\r\n"); // 30's answer, late
    EXPECT_EQ(line.results.size(), 1) << "the late reply answers nobody";
    EXPECT_EQ(line.session.lateReplies(), 1u);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped.drops[0].first, "$KRDV=250");
    EXPECT_TRUE(dropped.drops[0].second);

    ASSERT_TRUE(line.sentCount(2));
    EXPECT_EQ(line.writes[1], "$KRDV=31#\r\n");
    line.device("$KRDV=4660\r\n");
    ASSERT_EQ(line.results.size(), 2);
    EXPECT_EQ(line.results[1].line, "$KRDV=4660") << "31 gets its own value";
}

TEST(DeviceSessionTest, WithoutALateReplyTheLineSettlesForOneMoreTimeOut) {
    ScriptedLine line;
    QElapsedTimer clock;
    bool settlingAtTimeOut = false;
    qsizetype writesAtTimeOut = -1;
    DeviceRequest first;
    first.bytes = "$KRDV=1#\r\n";
    first.timeoutMs = 150;
    line.session.request(first, [&](const DeviceResult& r) {
        EXPECT_EQ(r.status, Status::TimedOut);
        EXPECT_GE(r.elapsedMs, 150);
        settlingAtTimeOut = line.session.settling();
        writesAtTimeOut = line.writes.size();
        clock.start();
    });
    line.read(2);
    ASSERT_TRUE(line.sentCount(2));
    EXPECT_TRUE(settlingAtTimeOut);
    EXPECT_EQ(writesAtTimeOut, 1);
    EXPECT_GE(clock.elapsed(), 140) << "the next request waited about one more time-out";
    EXPECT_EQ(line.session.lateReplies(), 0u);

    // A shorter settling may be chosen.
    ScriptedLine quick;
    quick.session.setSettleMs(0);
    quick.read(1, 50);
    quick.read(2);
    ASSERT_TRUE(quick.sentCount(2));
    EXPECT_EQ(quick.results.value(0).status, Status::TimedOut);
}

TEST(DeviceSessionTest, ARequestTimesOutOnItsOwnTimeOut) {
    ScriptedLine line;
    line.session.setSettleMs(0);
    line.read(1, 60000);
    ASSERT_TRUE(line.sentCount(1));
    idleFor(200);
    EXPECT_TRUE(line.results.isEmpty()) << "a long time-out has not run out";
    line.device("$KRDV,1=1\r\n");
    line.read(2, 120);
    ASSERT_TRUE(waitFor([&] { return line.results.size() == 2; }, 20000));
    EXPECT_EQ(line.results[1].status, Status::TimedOut);
    EXPECT_GE(line.results[1].elapsedMs, 120);
}

TEST(DeviceSessionTest, UnsolicitedLinesAndFramesAreCountedAndDropped) {
    ScriptedLine line;
    DropLog dropped(line.session);
    int received = 0;
    QObject::connect(&line.session, &DeviceSession::received, [&] { ++received; });
    line.device("$EVENT=alarm\r\n");
    line.device(ModbusReadReply(1, {1, 2}));
    EXPECT_EQ(line.session.unsolicitedReplies(), 2u);
    EXPECT_EQ(line.session.lateReplies(), 0u);
    EXPECT_EQ(dropped.size(), 2);
    EXPECT_EQ(received, 2) << "every block is still shown";

    // While a Read waits, a line it refuses does not spend it and is counted.
    DeviceRequest r;
    r.bytes = "$KRDV=6#\r\n";
    r.accepts = [](const QByteArray& l) { return l.startsWith("$KRDV"); };
    line.ask(r);
    ASSERT_TRUE(line.sentCount(1));
    line.device("$KWRV=OK\r\n$KRDV,6=26\r\n$EVENT=x\r\n");
    ASSERT_EQ(line.results.size(), 1);
    EXPECT_EQ(line.results[0].line, "$KRDV,6=26");
    EXPECT_EQ(line.session.unsolicitedReplies(), 4u) << "the refused line and the one after the reply";
}

TEST(DeviceSessionTest, AModbusFrameHoldingTextIsNoTextReply) {
    ScriptedLine line;
    line.read(5);
    ASSERT_TRUE(line.sentCount(1));
    // Its values spell "$1", "=7" and CR LF, which read as text would answer the read.
    line.device(ModbusReadReply(1, {0x2431, 0x3D37, 0x0D0A}));
    EXPECT_TRUE(line.results.isEmpty());
    line.device(ModbusReadReply(1, {1}) + "$KRDV,5=9\r\n");
    ASSERT_EQ(line.results.size(), 1) << "the text after a frame in the same block is read";
    EXPECT_EQ(line.results[0].line, "$KRDV,5=9");
}

TEST(DeviceSessionTest, TextAndModbusShareTheQueue) {
    ScriptedLine line;
    DeviceRequest poll;
    poll.kind = DeviceRequest::Kind::Modbus;
    poll.modbus = {0, 1, 100, 2};
    poll.timeoutMs = 60000;
    line.ask(poll);
    line.read(7);
    line.ask(poll);
    ASSERT_TRUE(line.sentCount(1));
    EXPECT_EQ(line.writes[0], ModbusReadRequest(1, 100, 2));
    line.device("$KRDV,7=1\r\n"); // no answer to a Modbus request
    EXPECT_TRUE(line.results.isEmpty());
    line.device(ModbusReadReply(1, {11, 12}));
    ASSERT_EQ(line.results.size(), 1);
    EXPECT_EQ(line.results[0].modbus.kind, ModbusExchange::Reply::Good);
    EXPECT_EQ(line.results[0].modbus.values, (QList<quint16>{11, 12}));

    ASSERT_TRUE(line.sentCount(2));
    EXPECT_EQ(line.writes[1], "$KRDV=7#\r\n");
    line.device(ModbusReadReply(1, {13, 14})); // no answer to a text Read
    EXPECT_EQ(line.results.size(), 1);
    line.device("$KRDV,7=2\r\n");
    ASSERT_EQ(line.results.size(), 2);
    EXPECT_EQ(line.results[1].line, "$KRDV,7=2");

    ASSERT_TRUE(line.sentCount(3));
    line.device(ModbusExceptionReply(1, 3, 2));
    ASSERT_EQ(line.results.size(), 3);
    EXPECT_EQ(line.results[2].modbus.kind, ModbusExchange::Reply::Exception);
    EXPECT_EQ(line.session.modbus().health().sent, 2u);
    EXPECT_EQ(line.session.modbus().health().good, 1u);
    EXPECT_EQ(line.session.modbus().health().exceptions, 1u);
}

TEST(DeviceSessionTest, AModbusReplyForAPageNoLongerWantedIsDroppedAndATimeOutCounted) {
    ScriptedLine line;
    line.session.setSettleMs(0);
    bool wanted = true;
    DeviceRequest poll;
    poll.kind = DeviceRequest::Kind::Modbus;
    poll.modbus = {2, 1, 100, 1};
    poll.stillWanted = [&] { return wanted; };
    poll.timeoutMs = 60000;
    line.ask(poll);
    ASSERT_TRUE(line.sentCount(1));
    wanted = false;
    line.device(ModbusReadReply(1, {5}));
    ASSERT_EQ(line.results.size(), 1);
    EXPECT_EQ(line.results[0].modbus.kind, ModbusExchange::Reply::Dropped);

    poll.timeoutMs = 80;
    line.ask(poll);
    ASSERT_TRUE(waitFor([&] { return line.results.size() == 2; }, 20000));
    EXPECT_EQ(line.results[1].status, Status::TimedOut);
    EXPECT_EQ(line.session.modbus().health().timedOut, 1u);
    EXPECT_EQ(line.session.modbus().health().dropped, 1u);
}

TEST(DeviceSessionTest, AWriteIsAnsweredByTheFirstLineAndPlainSendsByQueuing) {
    ScriptedLine line;
    DeviceRequest write;
    write.bytes = "$KWRV=1001,9#\r\n";
    write.expect = DeviceRequest::Expect::AnyLine;
    line.ask(write);
    DeviceRequest fixed;
    fixed.bytes = "$KRUN=1#\r\n";
    fixed.expect = DeviceRequest::Expect::Nothing;
    line.ask(fixed);
    ASSERT_TRUE(line.sentCount(1));
    line.device("\r\nOK KW");
    EXPECT_TRUE(line.results.isEmpty());
    line.device("RV,1001\r\n");
    ASSERT_GE(line.results.size(), 1);
    EXPECT_EQ(line.results[0].line, "OK KWRV,1001");
    ASSERT_TRUE(line.sentCount(2));
    ASSERT_TRUE(waitFor([&] { return line.results.size() == 2; }));
    EXPECT_EQ(line.results[1].status, Status::Answered);
    EXPECT_TRUE(line.session.idle());
}

TEST(DeviceSessionTest, CancelEndsQueuedAndInFlightRequestsAndTheLineStillSettles) {
    ScriptedLine line;
    line.session.setSettleMs(60000);
    QObject owner, other;
    DeviceRequest mine;
    mine.bytes = "$KRDV=1#\r\n";
    mine.owner = &owner;
    line.ask(mine);
    line.ask(mine);
    DeviceRequest theirs;
    theirs.bytes = "$KRDV=2#\r\n";
    theirs.owner = &other;
    line.ask(theirs);
    ASSERT_TRUE(line.sentCount(1));

    line.session.cancel(&owner);
    ASSERT_EQ(line.results.size(), 2);
    EXPECT_EQ(line.results[0].status, Status::Cancelled);
    EXPECT_EQ(line.results[1].status, Status::Cancelled);
    EXPECT_TRUE(line.session.settling());
    EXPECT_EQ(line.session.queued(), 1) << "another owner's request stays";

    line.device("$KRDV,1=5\r\n"); // the cancelled read's reply
    EXPECT_EQ(line.session.lateReplies(), 1u);
    ASSERT_TRUE(line.sentCount(2));
    line.device("$KRDV,2=6\r\n");
    ASSERT_EQ(line.results.size(), 3);
    EXPECT_EQ(line.results[2].line, "$KRDV,2=6");
}

TEST(DeviceSessionTest, AClosedPortSendsNothingAndSaysSo) {
    ScriptedLine line;
    line.open = false;
    line.read(1);
    line.read(2);
    ASSERT_TRUE(waitFor([&] { return line.results.size() == 2; }));
    EXPECT_EQ(line.results[0].status, Status::NotSent);
    EXPECT_EQ(line.results[1].status, Status::NotSent);
    EXPECT_TRUE(line.writes.isEmpty());
    EXPECT_TRUE(line.session.idle());
}

TEST(DeviceSessionTest, AnAskerDestroyedBeforeItsTurnIsNeitherSentNorCalledBack) {
    ScriptedLine line;
    line.read(1);
    auto gone = std::make_unique<QObject>();
    DeviceRequest r;
    r.bytes = "$KRDV=2#\r\n";
    r.owner = gone.get();
    line.ask(r);
    gone.reset();
    ASSERT_TRUE(line.sentCount(1));
    line.device("$KRDV,1=1\r\n");
    idleFor(100);
    EXPECT_EQ(line.writes.size(), 1);
    EXPECT_EQ(line.results.size(), 1);
    EXPECT_TRUE(line.session.idle());
}

} // namespace
