#include "console/SessionLog.h"
#include "console/protocol/SessionLogLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const qint64 kTime = QDateTime(QDate(2026, 12, 9), QTime(14, 5, 1, 23)).toMSecsSinceEpoch();

TEST(SessionLogLineTest, OneLinePerBlockWhateverTheBytes) {
    EXPECT_EQ(SessionLogLine(kTime, WireDirection::Sent, "$KRDV=12#\r\n"),
              "2026-12-09 14:05:01.023\tTX\t11\t$KRDV=12#\\r\\n\t24 4B 52 44 56 3D 31 32 23 0D 0A\n");
    const QByteArray odd("\x00\x01\t\\\x7F\xFF", 6);
    EXPECT_EQ(SessionLogLine(kTime, WireDirection::Received, odd),
              "2026-12-09 14:05:01.023\tRX\t6\t\\x00\\x01\\t\\\\\\x7F\\xFF\t00 01 09 5C 7F FF\n");
    EXPECT_EQ(SessionLogLine(kTime, WireDirection::Received, ""), "2026-12-09 14:05:01.023\tRX\t0\t\t\n");
}

// The writer keeps the date and time of the last second it formatted: lines of one writer
// must still show each block's own time, across a second, a day and back again.
TEST(SessionLogLineTest, OneWriterShowsEachBlocksOwnTime) {
    SessionLogLineWriter writer;
    QByteArray out;
    const qint64 midnight = QDateTime(QDate(2026, 12, 10), QTime(0, 0)).toMSecsSinceEpoch();
    for (const qint64 t : {kTime, kTime + 976, kTime + 977, midnight - 1, midnight, kTime})
        writer.append(out, t, WireDirection::Sent, "a");
    EXPECT_EQ(out, "2026-12-09 14:05:01.023\tTX\t1\ta\t61\n"
                   "2026-12-09 14:05:01.999\tTX\t1\ta\t61\n"
                   "2026-12-09 14:05:02.000\tTX\t1\ta\t61\n"
                   "2026-12-09 23:59:59.999\tTX\t1\ta\t61\n"
                   "2026-12-10 00:00:00.000\tTX\t1\ta\t61\n"
                   "2026-12-09 14:05:01.023\tTX\t1\ta\t61\n");
}

// A block of bytes that all need escaping is the longest line a block can make.
TEST(SessionLogLineTest, ABlockOfControlBytesFitsItsLine) {
    const QByteArray block(4096, '\xFE');
    const QByteArray line = SessionLogLine(kTime, WireDirection::Received, block);
    EXPECT_EQ(line.size(), 23 + 4 + 4 + 1 + 4 * 4096 + 1 + 3 * 4096 - 1 + 1);
    EXPECT_TRUE(line.endsWith("FE FE\n"));
    EXPECT_EQ(line.count('\n'), 1);
}

QStringList logFiles(const QTemporaryDir& dir) {
    return QDir(dir.filePath("logs")).entryList({"session-*.log"}, QDir::Files, QDir::Name);
}

TEST(SessionLogTest, BlocksArriveInOrderAndTheFileRotatesAtItsSize) {
    QTemporaryDir dir;
    {
        SessionLog log(dir.filePath("logs"), 1000);
        ASSERT_TRUE(log.error().isEmpty());
        for (int i = 0; i < 40; ++i)
            log.append(i % 2 ? WireDirection::Received : WireDirection::Sent,
                       QByteArray("block ") + QByteArray::number(i));
        log.flush();
    }
    const QStringList files = logFiles(dir);
    ASSERT_GE(files.size(), 2) << "40 lines of about 60 bytes do not fit in 1000";
    QByteArray all;
    for (const QString& name : files) {
        QFile f(QDir(dir.filePath("logs")).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        EXPECT_LE(text.size(), 1000 + 100) << name.toStdString() << ": at most one line past the size";
        all += text;
    }
    const QList<QByteArray> lines = all.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(lines[i].contains("\tblock " + QByteArray::number(i) + "\t")) << lines[i].toStdString();
    EXPECT_TRUE(lines[1].contains("\tRX\t7\t"));
}

TEST(SessionLogTest, AFolderThatCannotBeMadeIsNamedAndNothingIsLogged) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("logs"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    SessionLog log(dir.filePath("logs"));
    EXPECT_FALSE(log.error().isEmpty());
    log.append(WireDirection::Sent, "x");
    log.flush();
}

} // namespace
