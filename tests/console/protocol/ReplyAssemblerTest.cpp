#include "console/protocol/ReplyAssembler.h"
#include "console/protocol/ReceivedBlock.h"

#include <gtest/gtest.h>

namespace {

using Lines = QList<QByteArray>;

TEST(ReplyAssemblerTest, WholeLinesInOneBlockComeOutAtOnce) {
    ReplyAssembler a;
    EXPECT_EQ(a.feed("$KRDV,5=12#\r\n", 0), Lines{"$KRDV,5=12#"});
    EXPECT_EQ(a.feed("no dollar here\r\n=5\r\n", 0), Lines{});
    // The line starts after the last line break before its "$", not at the block's start.
    EXPECT_EQ(a.feed("OK\r\n$KRDV,5=3\r\n$KWRV=OK\r\ntail", 0), (Lines{"$KRDV,5=3", "$KWRV=OK"}));
    EXPECT_EQ(a.feed("x=1 $abc\r\n", 0), Lines{"x=1 $abc"});
    EXPECT_FALSE(a.waiting());
}

TEST(ReplyAssemblerTest, ALineSplitOverBlocksIsPutTogetherUpToItsLineEnd) {
    ReplyAssembler a;
    EXPECT_EQ(a.feed("$KRD", 0), Lines{});
    EXPECT_TRUE(a.waiting());
    EXPECT_EQ(a.feed("V,12=3", 100), Lines{});
    EXPECT_EQ(a.feed("00\r\nrest $K", 200), Lines{"$KRDV,12=300"});
    EXPECT_TRUE(a.waiting()) << "a second line began in the same block";
    EXPECT_EQ(a.feed("WRV=OK\r\n", 300), Lines{"rest $KWRV=OK"});

    // CR and LF in different blocks.
    EXPECT_EQ(a.feed("$A=1\r", 0), Lines{});
    EXPECT_EQ(a.feed("\n$B=2\r\n", 0), (Lines{"$A=1", "$B=2"}));

    // A lone CR inside the value does not end the line.
    EXPECT_EQ(a.feed("$A=1\r", 0), Lines{});
    EXPECT_EQ(a.feed("2\r\n", 0), Lines{"$A=1\r2"});
}

TEST(ReplyAssemblerTest, ALineThatDoesNotEndInTimeOrSpaceIsGivenUp) {
    ReplyAssembler a;
    a.feed("$KRDV,5=", 0);
    EXPECT_EQ(a.feed("7", ReplyAssembler::kMaxWaitMs), Lines{}) << "still in time";
    EXPECT_EQ(a.feed("\r\n", ReplyAssembler::kMaxWaitMs + 1), Lines{}) << "too late: the end is no reply";
    EXPECT_FALSE(a.waiting());
    EXPECT_EQ(a.feed("$X=1\r\n", 5000), Lines{"$X=1"}) << "the next reply is taken again";

    const QByteArray longValue(ReplyAssembler::kMaxLineBytes - 3, 'v');
    EXPECT_EQ(a.feed("$X=" + longValue + "\r\n", 0), Lines{"$X=" + longValue}) << "exactly the limit";
    a.feed("$X=", 0);
    a.feed(longValue + "v", 0);
    EXPECT_EQ(a.feed("\r\n", 0), Lines{}) << "one byte over the limit";
    a.feed("$X=", 0);
    a.feed(longValue + "vv", 0);
    EXPECT_FALSE(a.waiting()) << "given up without waiting for the line end";
    EXPECT_EQ(a.feed("$X=" + longValue + "v\r\n", 0), Lines{}) << "too long in one block too";

    a.feed("$X=1", 0);
    a.reset();
    EXPECT_EQ(a.feed("2\r\n", 0), Lines{});
}

TEST(ReplyAssemblerTest, LineValueIsWhatFollowsTheFirstEquals) {
    EXPECT_EQ(ReplyLineValue("$KRDV,5=12#"), QStringLiteral("12#"));
    EXPECT_EQ(ReplyLineValue("$abc"), QStringLiteral("$abc"));
    EXPECT_EQ(ReplyLineValue("$X="), QString());
    EXPECT_EQ(ReplyLineValue("$X=a=b\xB0"), QString::fromLatin1("a=b\xB0"));
}

} // namespace
