#include "config/AppError.h"
#include "console/protocol/BatchSteps.h"
#include "console/protocol/CommandText.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

TEST(CommandTextTest, ReadAndWriteLinesAreExact) {
    EXPECT_EQ(ReadCommand(7), QStringLiteral("$KRDV=7#\r\n"));
    EXPECT_EQ(ReadCommand(-3), QStringLiteral("$KRDV=-3#\r\n"));
    EXPECT_EQ(WriteCommand(12, QStringLiteral("300")), QStringLiteral("$KWRV=12,300#\r\n"));
    // The value is not trimmed: a leading blank is the user's.
    EXPECT_EQ(WriteCommand(1, QStringLiteral(" 5")), QStringLiteral("$KWRV=1, 5#\r\n"));
}

TEST(CommandTextTest, NowIsSubstitutedInAnyCase) {
    const QDateTime at(QDate(2024, 3, 7), QTime(9, 5, 4));
    EXPECT_EQ(NowText(at), QStringLiteral("2024/03/07 09:05:04"));
    EXPECT_EQ(FixedCommand(QStringLiteral("$KWRV=20,[now]#"), at),
              QStringLiteral("$KWRV=20,2024/03/07 09:05:04#\r\n"));
    EXPECT_EQ(SubstituteNow(QStringLiteral("[NOW]-[Now]-[nOw"), QStringLiteral("T")),
              QStringLiteral("T-T-[nOw"));
    // An inserted text that itself spells the token is not replaced again.
    EXPECT_EQ(SubstituteNow(QStringLiteral("a[now]b"), QStringLiteral("[NOW]")), QStringLiteral("a[NOW]b"));
    EXPECT_EQ(FixedCommand(QStringLiteral("RESET"), at), QStringLiteral("RESET\r\n"));
}

TEST(CommandTextTest, RegionalSeparatorsComeFromTheLocale) {
    const RegionalFormats c = RegionalFormats::fromLocale(QLocale::c());
    EXPECT_EQ(c.timeSeparator, QStringLiteral(":"));
    EXPECT_EQ(c.decimalSeparator, QStringLiteral("."));
    const RegionalFormats de = RegionalFormats::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.dateSeparator, QStringLiteral("."));
    EXPECT_EQ(de.decimalSeparator, QStringLiteral(","));
}

TEST(CommandTextTest, HexFieldWritesSignedDecimal) {
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("1a")), QStringLiteral("26"));
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("FFFF")), QStringLiteral("65535"));
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("7FFFFFFF")), QStringLiteral("2147483647"));
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("80000000")), QStringLiteral("-2147483648"));
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("FFFFFFFF")), QStringLiteral("-1"));
    EXPECT_EQ(HexFieldToDecimal(QStringLiteral("000000000012")), QStringLiteral("18"));
    for (const char* bad : {"", "G1", " 1", "1 ", "0x10", "$10", "-1", "100000000"}) {
        try {
            HexFieldToDecimal(QString::fromLatin1(bad));
            ADD_FAILURE() << "accepted " << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("'$%1' is not a valid integer value").arg(QLatin1String(bad)));
        }
    }
}

TEST(CommandTextTest, ReplyValueShowsAsHexOfAtLeastFourDigits) {
    const struct {
        const char* value;
        const char* hex;
    } cases[] = {{"5", "0005"},      {"300", "012C"},  {"70000", "11170"}, {"123", "007B"},
                 {"-1", "FFFFFFFF"}, {"  +7", "0007"}, {"$1f", "001F"},    {"0x10", "0010"}};
    for (const auto& c : cases)
        EXPECT_EQ(ReplyValueToHexField(QString::fromLatin1(c.value)), QString::fromLatin1(c.hex)) << c.value;
    for (const char* bad : {"", "12#", "abc", "7 "})
        EXPECT_FALSE(ReplyValueToHexField(QString::fromLatin1(bad))) << bad;
}

TEST(CommandTextTest, LineBytesAreLowBytesUpToNul) {
    EXPECT_EQ(LineToBytes(QStringLiteral("ABC中")), QByteArray("ABC\x2D", 4)); // U+4E2D
    EXPECT_EQ(LineToBytes(QStringLiteral("°")), QByteArray("\xB0"));
    EXPECT_EQ(LineToBytes(QString::fromUtf16(u"ab\0cd", 5)), QByteArray("ab"));
    EXPECT_TRUE(LineToBytes(QString()).isEmpty());
}

TEST(CommandTextTest, OnlyLinesOfOneByteCharactersMayGoOut) {
    EXPECT_FALSE(FirstUnsendableCharacter(QString()));
    EXPECT_FALSE(FirstUnsendableCharacter(QStringLiteral("$KWRV=1,°ÿ#\r\n"))) << "up to U+00FF is one byte";

    auto first = FirstUnsendableCharacter(QStringLiteral("ABC中文"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->position, 4);
    EXPECT_EQ(first->codePoint, U'中');
    first = FirstUnsendableCharacter(QStringLiteral("aĀ"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->codePoint, 0x100u);
    // A character outside the basic plane is one character, named whole.
    first = FirstUnsendableCharacter(QStringLiteral("x😀y中"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->position, 2);
    EXPECT_EQ(first->codePoint, 0x1F600u);
    first = FirstUnsendableCharacter(QStringLiteral("😀😀中"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->position, 1);
    // Nothing after a NUL goes out, so nothing there is refused.
    EXPECT_FALSE(FirstUnsendableCharacter(QString::fromUtf16(u"ab\0中", 4)));

    const UnsendableCharacter zhong{4, U'中'};
    EXPECT_EQ(UnsendableCharacterMessage(zhong, Language::english()),
              QStringLiteral("Character 4, \"中\" (U+4E2D), cannot be sent as one byte; nothing was sent"));
    EXPECT_EQ(UnsendableCharacterMessage(zhong, Language::chinese()),
              QStringLiteral("第 4 个字符“中”（U+4E2D）无法作为单个字节发送，未发送任何内容"));
    EXPECT_TRUE(UnsendableCharacterMessage({2, 0x1F600}, Language::english())
                    .contains(QStringLiteral("\"😀\" (U+1F600)")));
}

TEST(CommandTextTest, LongDataIsSplitIntoWholeBlocks) {
    EXPECT_TRUE(SplitIntoBlocks(QByteArray()).isEmpty());
    const QByteArray exact(kMaxBlockBytes, 'x');
    EXPECT_EQ(SplitIntoBlocks(exact), QList<QByteArray>{exact});

    QByteArray big(2 * kMaxBlockBytes + 3, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    const QList<QByteArray> blocks = SplitIntoBlocks(big);
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0].size(), kMaxBlockBytes);
    EXPECT_EQ(blocks[2].size(), 3);
    EXPECT_EQ(blocks[0] + blocks[1] + blocks[2], big);
}

TEST(CommandTextTest, CountSubStrSkipsPastMatchesAndPartialMatches) {
    EXPECT_EQ(CountSubStr(QStringLiteral("\r"), QStringLiteral("a\rb\r\n\r")), 3);
    EXPECT_EQ(CountSubStr(QStringLiteral("aa"), QStringLiteral("aaa")), 1);
    // "ab" partially matches "aab" at 0 (one character), then matches at 1.
    EXPECT_EQ(CountSubStr(QStringLiteral("ab"), QStringLiteral("aab")), 1);
    EXPECT_EQ(CountSubStr(QString(), QStringLiteral("abc")), 0);
}

TEST(BatchStepsTest, StepsCarryPauseAndConfirmation) {
    const TCMDS batch{QStringLiteral("Init"), {QStringLiteral("A"), QStringLiteral("B")}, {100, -500}};
    const QList<TCMDS> batches{{QStringLiteral("Other"), {}, {}}, batch, batch};
    EXPECT_EQ(FindBatch(batches, QStringLiteral("Init")), 1);
    EXPECT_EQ(FindBatch(batches, QStringLiteral("init")), -1);

    ASSERT_EQ(BatchStepCount(batch), 2);
    const BatchStep first = BatchStepAt(batch, 0);
    EXPECT_EQ(first.text, QStringLiteral("A"));
    EXPECT_FALSE(first.confirm);
    EXPECT_EQ(first.pauseMs, 100);
    const BatchStep second = BatchStepAt(batch, 1);
    EXPECT_TRUE(second.confirm);
    EXPECT_EQ(second.pauseMs, 500);

    const TCMDS extreme{QStringLiteral("X"), {QStringLiteral("Z")}, {-2147483647 - 1}};
    EXPECT_EQ(BatchStepAt(extreme, 0).pauseMs, 2147483648LL);
}

TEST(BatchStepsTest, MissingStepTextIsAListIndexError) {
    const TCMDS partial{QStringLiteral("P"), {QStringLiteral("A")}, {0, 0}};
    EXPECT_EQ(BatchStepCount(partial), 2);
    EXPECT_NO_THROW(BatchStepAt(partial, 0));
    try {
        BatchStepAt(partial, 1);
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("List index out of bounds (1)"));
    }
}

TEST(BatchStepsTest, ConfirmationSeesANewLineBreakOfAnyKind) {
    const QString step = QStringLiteral("B");
    const int start = CountLineBreaks(step);
    EXPECT_FALSE(OperatorConfirmed(start, QStringLiteral("B2")));
    EXPECT_TRUE(OperatorConfirmed(start, QStringLiteral("B\n")));
    EXPECT_TRUE(OperatorConfirmed(start, QStringLiteral("B\r")));
    EXPECT_EQ(CountLineBreaks(QStringLiteral("a\r\nb\nc\rd")), 3);
}

} // namespace
