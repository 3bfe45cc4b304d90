// Automatic reading without a window: one polling request at a time over the engine, nothing
// shown that is no longer wanted, and the interval box's rule.

#include "ScriptedLine.h"

#include "console/protocol/ModbusRtu.h"
#include "device/AutoReadingSession.h"

#include <gtest/gtest.h>

namespace {

using Status = DeviceResult::Status;

TAutoRead modbusBlock(qint32 start = 0, qint32 size = 2) {
    return TAutoRead{QStringLiteral("MODBUS"), 1, start, size};
}

struct Polling {
    Polling() {
        QObject::connect(&reading, &AutoReadingSession::resultArrived,
                         [this](const DeviceResult& result) { results.append(result); });
        QObject::connect(&reading, &AutoReadingSession::requestSent,
                         [this](int page) { sentPages.append(page); });
        reading.setPageSource([this] { return pageInView; });
    }
    ScriptedLine line;
    AutoReadingSession reading{line.session};
    int pageInView = 0;
    QList<DeviceResult> results;
    QList<int> sentPages;
};

TEST(AutoReadingSessionTest, OneRequestAtATimeAndTheNextTickAsksAgain) {
    Polling p;
    EXPECT_FALSE(p.reading.tick(0, modbusBlock())) << "off: a tick sends nothing";
    p.reading.setRunning(true);
    EXPECT_TRUE(p.reading.tick(0, modbusBlock()));
    ASSERT_TRUE(p.line.sentCount(1));
    EXPECT_EQ(p.line.writes[0], QByteArray::fromHex("010300000002C40B"));
    EXPECT_FALSE(p.reading.tick(0, modbusBlock())) << "the first request still waits for its reply";
    EXPECT_TRUE(p.reading.pending());

    p.line.device(ModbusReadReply(1, {123, 4}));
    ASSERT_EQ(p.results.size(), 1);
    EXPECT_EQ(p.results[0].status, Status::Answered);
    EXPECT_EQ(p.results[0].modbus.values, (QList<quint16>{123, 4}));
    EXPECT_FALSE(p.reading.pending());
    EXPECT_TRUE(p.reading.tick(0, modbusBlock()));
    EXPECT_TRUE(p.line.sentCount(2));
    EXPECT_EQ(p.sentPages, (QList<int>{0, 0}));

    // A page that is not polled by Modbus asks for nothing.
    TAutoRead other = modbusBlock();
    other.pro = QStringLiteral("modbus");
    EXPECT_FALSE(p.reading.tick(1, other));
    EXPECT_EQ(p.reading.pageCursor(), 1);
}

TEST(AutoReadingSessionTest, StoppingDropsTheQueuedRequestAndAnotherPageTakesNoValues) {
    Polling p;
    p.reading.setRunning(true);
    // A text read in flight keeps the polling request in the queue; stopping drops it.
    p.line.read(12);
    ASSERT_TRUE(p.line.sentCount(1));
    EXPECT_TRUE(p.reading.tick(0, modbusBlock()));
    p.reading.setRunning(false);
    EXPECT_FALSE(p.reading.pending()) << "the next run may ask at once";
    p.line.device("$KRDV=5\r\n");
    waitFor([] { return false; }, 100); // only to show that nothing more goes out
    EXPECT_EQ(p.line.writes.size(), 1);
    ASSERT_EQ(p.results.size(), 1);
    EXPECT_EQ(p.results[0].status, Status::Cancelled);

    // The page that asked leaves the view while its request is in flight: the reply ends the
    // request but brings no values to show.
    p.reading.setRunning(true);
    EXPECT_TRUE(p.reading.tick(0, modbusBlock()));
    ASSERT_TRUE(p.line.sentCount(2));
    p.pageInView = 1;
    p.line.device(ModbusReadReply(1, {1, 2}));
    ASSERT_EQ(p.results.size(), 2);
    EXPECT_NE(p.results[1].modbus.kind, ModbusExchange::Reply::Good);
    EXPECT_FALSE(p.reading.pending());
}

TEST(AutoReadingSessionTest, TheIntervalBoxCountsOnlyAboveTheMinimum) {
    EXPECT_EQ(AutoReadingSession::requestedInterval("2000", 1000), 2000);
    EXPECT_EQ(AutoReadingSession::requestedInterval("2000", 2000), std::nullopt) << "already so";
    EXPECT_EQ(AutoReadingSession::requestedInterval("300", 1000), std::nullopt) << "too short";
    EXPECT_EQ(AutoReadingSession::requestedInterval("fast", 1000), std::nullopt);
    EXPECT_EQ(AutoReadingSession::requestedInterval("", 1000), std::nullopt);
}

} // namespace
