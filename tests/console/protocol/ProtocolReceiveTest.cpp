#include "console/protocol/ReceivedBlock.h"

#include <gtest/gtest.h>

namespace {

TEST(ReceivedBlockTest, TextFormMapsEveryByteToItsOwnCode) {
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString text = BlockAsText(all);
    ASSERT_EQ(text.size(), 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(text[i].unicode(), i);
}

TEST(ReceivedBlockTest, HexFormIsUpperCasePairsEachFollowedByASpace) {
    EXPECT_EQ(BlockAsHex(QByteArray("\x01\xAB", 2)), QStringLiteral("01 AB "));
    EXPECT_EQ(BlockAsHex(QByteArray("\x00\xff\x10", 3)), QStringLiteral("00 FF 10 "));
    EXPECT_TRUE(BlockAsHex(QByteArray()).isEmpty());
}

TEST(ReceivedBlockTest, TimeStampStartsANewLineAndEndsWithATab) {
    RegionalFormats dots;
    dots.timeSeparator = QStringLiteral(".");
    EXPECT_EQ(TimeStampPrefix(QTime(7, 3, 9), RegionalFormats{}), QStringLiteral("\r\n07:03:09\t"));
    EXPECT_EQ(TimeStampPrefix(QTime(23, 59, 0), dots), QStringLiteral("\r\n23.59.00\t"));
}

TEST(ReceivedBlockTest, ReplyIsTheTextBetweenFirstEqualsAndFirstCrLf) {
    const struct {
        const char* block;
        const char* value;
    } replies[] = {
        {"$X=123\r\n", "123"},
        {"$X=12#\r\n", "12#"}, // nothing after "=" is checked, "#" included
        {"$abc\r\n", "$abc"},  // no "=": from the block's start
        {"$X=5", ""},          // no CR LF yet
        {"$X=\r\n", ""},
        {"\r\n$X=5", ""},             // CR LF before "="
        {"$A=1=2\r\nB=3\r\n", "1=2"}, // first "=", first CR LF
        {"noise $KRDV,7=42\r\n", "42"},
        {"$X=7\r", ""}, // a lone CR is not a line end
    };
    for (const auto& r : replies)
        EXPECT_EQ(ParseReply(QString::fromLatin1(r.block)), QString::fromLatin1(r.value)) << r.block;
    EXPECT_FALSE(ParseReply(QStringLiteral("=5\r\n")));
    EXPECT_FALSE(ParseReply(QString()));
}

} // namespace
