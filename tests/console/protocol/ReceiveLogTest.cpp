#include "console/protocol/ReceiveLog.h"
#include "console/protocol/ReceivedBlock.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// What a plain multi-line text box holds after the same appends: CR, LF and CR LF each
// become one line break (a CR LF split between appends too).
QString boxText(const QString& appended) {
    QString text = appended;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QByteArray randomBlock(QRandomGenerator& rng) {
    static const char pieces[] = "ab$=#\r\n\xB0\x01 ";
    QByteArray block(rng.bounded(0, 40), Qt::Uninitialized);
    for (char& c : block)
        c = pieces[rng.bounded(int(sizeof pieces - 1))];
    return block;
}

TEST(ReceiveLogTest, HoldsWhatTheTextBoxHeldForTheSameBlocks) {
    QRandomGenerator rng(14);
    for (int round = 0; round < 50; ++round) {
        ReceiveLog log;
        QString appended;
        const bool stamps = round % 2 == 1;
        const bool hex = round % 3 == 2;
        for (int b = 0; b < 60; ++b) {
            const QByteArray block = randomBlock(rng);
            if (stamps) {
                const QString stamp = TimeStampPrefix(QTime(b % 24, 5, 9), RegionalFormats{});
                log.appendText(stamp);
                appended += stamp;
            }
            if (hex)
                log.appendHex(block);
            else
                log.appendLatin1(block);
            appended += hex ? BlockAsHex(block) : BlockAsText(block);
            ASSERT_EQ(log.text(), boxText(appended)) << "round " << round << " block " << b;
            ASSERT_EQ(log.length(), log.text().size());
        }
    }
}

TEST(ReceiveLogTest, LinesAreReadBackWholeAcrossStorageChunks) {
    ReceiveLog log;
    QStringList expected;
    for (int i = 0; i < 3000; ++i) {
        // Line lengths that do not divide the storage, up to the longest line kept whole.
        const QString line = QString(i % 4000 + 1, QChar(u'a' + i % 26)) + QString::number(i);
        expected << line.left(ReceiveLog::kMaxLineChars);
        log.appendText(line.left(ReceiveLog::kMaxLineChars));
        log.appendLatin1("\r\n");
    }
    ASSERT_EQ(log.lineCount(), 3001);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(log.line(i), expected[i]) << i;
    EXPECT_EQ(log.line(3000), u"");
    EXPECT_EQ(log.line(3001), u"");
    EXPECT_EQ(log.line(-1), u"");
}

TEST(ReceiveLogTest, LongLinesContinueOnTheNextLine) {
    ReceiveLog log;
    log.appendLatin1(QByteArray(3000, 'x'));
    log.appendLatin1(QByteArray(2000, 'y'));
    EXPECT_EQ(log.text(), QString(3000, 'x') + QString(1096, 'y') + "\n" + QString(904, 'y'));
    EXPECT_EQ(log.longestLine(), ReceiveLog::kMaxLineChars);
}

TEST(ReceiveLogTest, HexadecimalLinesBreakOnlyBetweenBytePairs) {
    const QRegularExpression pairs(QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d\t)?([0-9A-F]{2} )*$"));
    for (const bool stamped : {false, true}) {
        ReceiveLog log;
        QString joined;
        QByteArray all;
        for (int block = 0; block < 7; ++block) {
            QByteArray bytes(1500 + block * 333, Qt::Uninitialized);
            for (qsizetype i = 0; i < bytes.size(); ++i)
                bytes[i] = char(i * 7 + block);
            if (stamped)
                log.appendText(TimeStampPrefix(QTime(1, 2, 3), RegionalFormats{}));
            log.appendHex(bytes);
            all += bytes;
        }
        for (qint64 i = 0; i < log.lineCount(); ++i) {
            const QString line = log.line(i).toString();
            ASSERT_TRUE(pairs.match(line).hasMatch()) << i << ": " << line.left(40).toStdString();
            ASSERT_LE(line.size(), ReceiveLog::kMaxLineChars);
            joined += stamped ? line.section(u'\t', -1) : line;
        }
        EXPECT_EQ(joined, BlockAsHex(all)) << "every byte, in order";
    }
}

TEST(ReceiveLogTest, KeepsNoMoreThanItsCapAndCountsWhatLeft) {
    const qint64 cap = 4 << 20;
    ReceiveLog log(cap);
    const QByteArray line = QByteArray(57, 'z') + "\r\n";
    for (int i = 0; i < 100000; ++i) {
        log.appendLatin1(QByteArray::number(i).rightJustified(7, '0') + line);
        ASSERT_LE(log.storageBytes(), cap);
    }
    EXPECT_GT(log.droppedCharacters(), 0);
    EXPECT_EQ(log.droppedCharacters() + log.length() - (log.lineCount() - 1), log.appendedCharacters());
    // Line numbers stay put: what line number n held is what was appended as line n.
    const qint64 first = log.firstLineNumber();
    EXPECT_EQ(log.line(0).left(7), QString::number(first).rightJustified(7, u'0'));
    EXPECT_EQ(log.line(log.lineCount() - 2).left(7), u"0099999");
    EXPECT_EQ(log.lineCount() + first, 100001);

    // Empty lines take no characters but still count against the cap.
    log.appendLatin1(QByteArray(3'000'000, '\n'));
    EXPECT_LE(log.storageBytes(), cap);
    EXPECT_LT(log.lineCount(), 3'000'000);

    log.clear();
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(log.lineCount(), 1);
    EXPECT_EQ(log.droppedCharacters(), 0);
    EXPECT_EQ(log.firstLineNumber(), 0);
    EXPECT_EQ(log.appendedCharacters(), 100000 * 64) << "kept across a clear";
}

TEST(ReceiveLogTest, ACarriageReturnBeforeAClearDoesNotSwallowTheNextLineFeed) {
    ReceiveLog log;
    log.appendLatin1("a\r");
    log.clear();
    log.appendLatin1("\nb");
    EXPECT_EQ(log.text(), "\nb");
}

} // namespace
