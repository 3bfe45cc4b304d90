#include "CommTestSupport.h"

#include "comm/CommMessages.h"
#include "comm/posix/WriteAll.h"

#include <QElapsedTimer>
#include <QPointer>

#include <atomic>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>

using namespace commtest;

class TransferTest : public CommTest {
protected:
    int UnreadBySlave() const {
        int n = 0;
        ::ioctl(pty.Slave(), FIONREAD, &n);
        return n;
    }

    PtyPair pty;
    TComm comm;
    Recorder rec{comm};
};

TEST_F(TransferTest, AMebibyteArrivesIntactInOrderInChunksOfAtMost2048) {
    OpenBinary(comm, pty);
    const std::string data = Pattern(1 << 20);
    // The reader holds back while the window has not taken what it posted, so the device
    // sends on a thread of its own while the window takes the blocks.
    bool sent = false;
    std::thread device([&] { sent = pty.Send(data); });
    const bool all = WaitUntil([&] { return rec.received.size() >= data.size(); });
    device.join();
    ASSERT_TRUE(sent && all);
    EXPECT_TRUE(rec.received == data) << "received " << rec.received.size() << " bytes, differing";
    for (const std::string& chunk : rec.chunks) {
        EXPECT_GT(chunk.size(), 0u);
        EXPECT_LE(chunk.size(), 2048u);
    }
    EXPECT_EQ(rec.missingTerminators, 0);
    EXPECT_EQ(rec.hangups, 0);
}

TEST_F(TransferTest, NulBytesAreDataUnlessIgnored) {
    OpenBinary(comm, pty);
    ASSERT_TRUE(pty.Send(std::string("x\0y", 3)));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 1; }));
    EXPECT_EQ(rec.chunks[0], std::string("x\0y", 3));
    EXPECT_EQ(rec.missingTerminators, 0);

    comm.SetIgnoreNullChar(true);
    ASSERT_TRUE(pty.Send(std::string("\0a\0\0b\0", 6)));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 2; }));
    EXPECT_EQ(rec.chunks[1], "ab");
}

TEST_F(TransferTest, ChunksEndAtTheSilenceIntervalOrWhenFull) {
    OpenBinary(comm, pty);
    ASSERT_TRUE(pty.Send("first"));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 1; }));
    ASSERT_TRUE(pty.Send("second"));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 2; }));
    EXPECT_EQ(rec.chunks[0], "first");
    EXPECT_EQ(rec.chunks[1], "second");

    const std::string burst = Pattern(3000, 7);
    ASSERT_TRUE(pty.Send(burst));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 4; }));
    EXPECT_EQ(rec.chunks[2], burst.substr(0, 2048));
    EXPECT_EQ(rec.chunks[3], burst.substr(2048));

    // A longer interval set while open holds the next chunk open across a pause that the
    // default 100 ms would have ended it at; what comes after the pause is a chunk of its own.
    comm.SetReadIntervalTimeout(60'000);
    ASSERT_TRUE(pty.Send("ab"));
    ASSERT_TRUE(WaitUntil([&] { return UnreadBySlave() == 0; }));
    QElapsedTimer pause;
    pause.start();
    WaitUntil([&] { return pause.elapsed() >= 400; });
    EXPECT_EQ(rec.chunks.size(), 4u);
    ASSERT_TRUE(pty.Send(std::string(2048, 'c')));
    ASSERT_TRUE(WaitUntil([&] { return rec.chunks.size() == 6; }));
    EXPECT_EQ(rec.chunks[4], "ab");
    EXPECT_EQ(rec.chunks[5], std::string(2048, 'c'));
}

// A device that keeps sending short lines never falls silent for the read interval and takes
// long to fill a buffer; what has come is still delivered every few dozen milliseconds.
TEST_F(TransferTest, AStreamOfShortLinesArrivesWhileItFlows) {
    OpenBinary(comm, pty);
    const std::string line = "v=12345\r\n"; // 10 bytes
    const int lines = 150;                  // 1500 bytes: less than one buffer
    int sent = 0;
    int sentAtFirstChunk = -1;
    QTimer device;
    QObject::connect(&device, &QTimer::timeout, [&] {
        if (sentAtFirstChunk < 0 && !rec.chunks.empty())
            sentAtFirstChunk = sent;
        if (sent < lines && pty.Send(line))
            ++sent;
    });
    device.start(5);
    ASSERT_TRUE(WaitUntil([&] { return sent == lines; }));
    device.stop();
    EXPECT_GE(sentAtFirstChunk, 0) << "nothing arrived while the device was sending";
    EXPECT_LT(sentAtFirstChunk, lines / 2);
    ASSERT_TRUE(WaitUntil([&] { return rec.received.size() == line.size() * lines; }));
    std::string expected;
    for (int i = 0; i < lines; ++i)
        expected += line;
    EXPECT_EQ(rec.received, expected);
    EXPECT_GE(rec.chunks.size(), 4u);
}

TEST_F(TransferTest, SendDataEmptyFiresAfterOpeningAndOncePerDrainedQueue) {
    OpenBinary(comm, pty);
    ASSERT_TRUE(WaitUntil([&] { return rec.sendEmpty == 1; }));
    EXPECT_TRUE(comm.SendDataEmpty());

    // The far side reads nothing yet, so the big block cannot finish and the others queue
    // behind it: one drained queue, one notification.
    const std::string big = Pattern(512 * 1024, 3);
    ASSERT_TRUE(comm.WriteCommData(big.data(), static_cast<std::uint32_t>(big.size())));
    ASSERT_TRUE(comm.WriteCommData("tail1", 5));
    ASSERT_TRUE(comm.WriteCommData("tail2", 5));
    EXPECT_FALSE(comm.SendDataEmpty());
    EXPECT_TRUE(pty.Receive(big.size() + 10) == big + "tail1tail2");
    ASSERT_TRUE(WaitUntil([&] { return rec.sendEmpty >= 2; }));
    EXPECT_TRUE(comm.SendDataEmpty());

    ASSERT_TRUE(comm.WriteCommData("x", 1));
    EXPECT_EQ(pty.Receive(1), "x");
    ASSERT_TRUE(WaitUntil([&] { return rec.sendEmpty >= 3; }));
    EXPECT_EQ(rec.sendEmpty, 3);
}

TEST_F(TransferTest, AMebibyteBlockIsWrittenWhole) {
    OpenBinary(comm, pty);
    const std::string data = Pattern(1 << 20, 5);
    ASSERT_TRUE(comm.WriteCommData(data.data(), static_cast<std::uint32_t>(data.size())));
    const std::string got = pty.Receive(data.size());
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
}

TEST_F(TransferTest, WriteCommDataRefusesNothingToSendAndAClosedPort) {
    EXPECT_FALSE(comm.WriteCommData("x", 1));
    OpenBinary(comm, pty);
    EXPECT_FALSE(comm.WriteCommData("x", 0));
    EXPECT_FALSE(comm.WriteCommData(nullptr, 4));
    comm.StopComm();
    EXPECT_FALSE(comm.WriteCommData("x", 1));
    EXPECT_EQ(pty.Receive(1, 200ms), "");
}

TEST_F(TransferTest, FarSideClosingMidStreamHangsUpEachThreadOnce) {
    OpenBinary(comm, pty);
    const std::string data = Pattern(256 * 1024, 9);
    ASSERT_TRUE(pty.Send(data.substr(0, 4096)));
    ASSERT_TRUE(WaitUntil([&] { return rec.received.size() >= 4096; }));
    // Leave the writer stuck inside a block the far side will never read, and bytes in flight.
    ASSERT_TRUE(comm.WriteCommData(data.data(), static_cast<std::uint32_t>(data.size())));
    ASSERT_TRUE(pty.Send(data.substr(4096, 8192)));
    pty.CloseMaster();

    ASSERT_TRUE(WaitUntil([&] { return rec.hangups == 2; }));
    // What did arrive is the start of what was sent; bytes in flight may be lost with the line.
    EXPECT_TRUE(data.compare(0, rec.received.size(), rec.received) == 0);
    ASSERT_TRUE(WaitUntil([&] { return !comm.WriteCommData("x", 1); }));
    EXPECT_NE(comm.Handle(), 0) << "a hang-up must leave closing to the owner";
    EXPECT_TRUE(comm.SendDataEmpty());

    comm.StopComm();
    EXPECT_EQ(comm.Handle(), 0);
    EXPECT_EQ(rec.hangups, 2);
}

TEST_F(TransferTest, StopCommEndsAPendingReadAndAHalfWrittenBlockAtOnce) {
    comm.SetReadIntervalTimeout(60'000);
    OpenBinary(comm, pty);
    ASSERT_TRUE(WaitUntil([&] { return rec.sendEmpty == 1; }));
    ASSERT_TRUE(pty.Send("pending"));
    ASSERT_TRUE(WaitUntil([&] { return UnreadBySlave() == 0; }));
    const std::string big = Pattern(1 << 20, 11);
    ASSERT_TRUE(comm.WriteCommData(big.data(), static_cast<std::uint32_t>(big.size())));
    ASSERT_FALSE(pty.Receive(1).empty()); // the writer is under way

    QElapsedTimer timer;
    timer.start();
    comm.StopComm();
    // Not a speed target: far below the 10 s the threads are given, a stuck thread shows.
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(comm.Handle(), 0);
    EXPECT_TRUE(comm.SendDataEmpty());

    // Nothing of the closed session is delivered afterwards, and the port opens again.
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.hangups, 0);
    EXPECT_TRUE(rec.chunks.empty());
    EXPECT_EQ(rec.sendEmpty, 1);
    ASSERT_EQ(comm.StartComm(), QString());
}

// Others may have posted to the component too; those events are not the closed session's.
TEST_F(TransferTest, StopCommDropsOnlyItsOwnPendingEvents) {
    auto* owned = new TComm;
    const QPointer<TComm> alive(owned);
    Recorder ownedRec(*owned);
    OpenBinary(*owned, pty);
    ASSERT_TRUE(WaitUntil([&] { return ownedRec.sendEmpty == 1; })); // the opening's own notice

    for (const int type : CommMessageTypes) {
        std::unique_ptr<char[]> block(new char[4]{'a', 'b', 'c', '\0'});
        PostCommMessage(owned,
                        new TCommMessage(type, 3, 0, type == UM_COMM_DATA ? std::move(block) : nullptr));
    }
    int queuedCalls = 0;
    QMetaObject::invokeMethod(
        owned, [&] { ++queuedCalls; }, Qt::QueuedConnection);
    owned->deleteLater();
    owned->StopComm();

    QCoreApplication::sendPostedEvents(owned);
    EXPECT_EQ(queuedCalls, 1) << "a queued call was dropped with the session's events";
    EXPECT_TRUE(ownedRec.chunks.empty());
    EXPECT_EQ(ownedRec.errors, 0);
    EXPECT_EQ(ownedRec.hangups, 0);
    EXPECT_EQ(ownedRec.modemEvents, 0);
    EXPECT_EQ(ownedRec.sendEmpty, 1);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "a deferred delete was dropped with the session's events";
    delete alive.data();
}

TEST_F(TransferTest, DestroyingAnOpenComponentStopsItsThreads) {
    auto owned = std::make_unique<TComm>();
    owned->SetCommName(pty.QPath());
    ASSERT_EQ(owned->StartComm(), QString());
    const std::string big = Pattern(1 << 20, 13);
    ASSERT_TRUE(owned->WriteCommData(big.data(), static_cast<std::uint32_t>(big.size())));
    ASSERT_TRUE(pty.Send("in flight"));
    owned.reset();
    OpenBinary(comm, pty);
}

// A window busy elsewhere does not make the reader pile up blocks for it: the line is held
// back (a pty's far side blocks) and at most a bounded number of blocks wait for the window.
TEST_F(TransferTest, AWindowThatFallsBehindHoldsBackTheLine) {
    OpenBinary(comm, pty);
    const std::string data = Pattern(4 << 20, 3);
    std::atomic<bool> done{false};
    bool sent = false;
    std::thread device([&] {
        sent = pty.Send(data, 60s);
        done = true;
    });
    std::this_thread::sleep_for(500ms); // the window handles nothing meanwhile
    EXPECT_FALSE(done) << "the reader kept reading for a window that took nothing";
    QCoreApplication::sendPostedEvents(&comm);
    EXPECT_LE(rec.chunks.size(), std::size_t(InFlightBlocks::Limit));
    const bool all = WaitUntil([&] { return rec.received.size() >= data.size(); }, 60s);
    device.join();
    ASSERT_TRUE(sent && all);
    EXPECT_TRUE(rec.received == data);
}

// The write-all helper on a line whose far side is read by the test alone.
class WriteAllTest : public CommTest {
protected:
    // Raw, so that the line discipline neither echoes back into the master nor holds bytes
    // for a line end.
    void SetUp() override {
        CommTest::SetUp();
        termios t{};
        ASSERT_EQ(::tcgetattr(pty.Slave(), &t), 0);
        ::cfmakeraw(&t);
        ASSERT_EQ(::tcsetattr(pty.Slave(), TCSANOW, &t), 0);
    }

    // What the far side reads until `size` bytes came or the deadline passed.
    std::string ReadFarSide(std::size_t size, std::chrono::milliseconds timeout) const {
        QDeadlineTimer deadline(timeout);
        std::string out;
        char buffer[65536];
        while (out.size() < size && !deadline.hasExpired()) {
            pollfd p{pty.Slave(), POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100))) <= 0)
                continue;
            const ssize_t n = ::read(pty.Slave(), buffer, std::min(sizeof buffer, size - out.size()));
            if (n > 0)
                out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }

    PtyPair pty;
};

TEST_F(WriteAllTest, ADeadlineEndsAWriteNobodyReads) {
    const std::string block = Pattern(1 << 20, 15); // far more than the line can hold
    std::atomic<bool> returned{false};
    bool written = true;
    int error = 0;
    std::thread writer([&] {
        written = posixcomm::WriteAll(pty.Master(), block.data(), block.size(), 300);
        error = errno;
        returned = true;
    });
    // Generous: only a write that never gives up should miss it.
    const bool inTime = WaitUntil([&] { return returned.load(); }, 10s);
    if (!inTime)
        ReadFarSide(block.size(), 60s); // let the stuck writer finish, so it can be joined
    writer.join();
    EXPECT_TRUE(inTime) << "the write outlived its deadline while nobody read";
    EXPECT_FALSE(written);
    EXPECT_EQ(error, ETIMEDOUT);
}

TEST_F(WriteAllTest, EverythingArrivesWhileTheFarSideReads) {
    const std::string block = Pattern(1 << 20, 17);
    for (const bool withDeadline : {false, true}) {
        SCOPED_TRACE(withDeadline ? "with a deadline" : "without a deadline");
        std::string got;
        std::thread reader([&] { got = ReadFarSide(block.size(), 60s); });
        const bool written = withDeadline
                                 ? posixcomm::WriteAll(pty.Master(), block.data(), block.size(), 60'000)
                                 : posixcomm::WriteAll(pty.Master(), block.data(), block.size());
        reader.join();
        EXPECT_TRUE(written);
        EXPECT_EQ(got.size(), block.size());
        EXPECT_TRUE(got == block);
    }
}
