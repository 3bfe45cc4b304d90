#include "console/protocol/WriteJournal.h"
#include "console/protocol/ReadSequence.h"
#include "support/TestApp.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

JournalEntry entry(qint32 address, const QString& written) {
    return {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)),
            "/dev/ttyUSB0",
            address,
            "设备地址",
            "5",
            written,
            "OK KWRV,1001"};
}

TEST(WriteJournalTest, AppendsWholeLinesUnderOneHeader) {
    TempAppDir dir;
    WriteJournal journal(dir.file("write-journal.csv"));
    ASSERT_TRUE(journal.append(entry(1001, "9")));
    ASSERT_TRUE(journal.append(entry(1003, "a,b")));
    EXPECT_EQ(dir.read("write-journal.csv"),
              QString("time,port,address,caption,value before,value written,reply\r\n"
                      "2026-03-04 05:06:07,/dev/ttyUSB0,1001,设备地址,5,9,\"OK KWRV,1001\"\r\n"
                      "2026-03-04 05:06:07,/dev/ttyUSB0,1003,设备地址,5,\"a,b\",\"OK KWRV,1001\"\r\n")
                  .toUtf8());
}

TEST(WriteJournalTest, AWriteWithoutAnswerOrKnownValueSaysSoInWords) {
    TempAppDir dir;
    WriteJournal journal(dir.file("write-journal.csv"));
    JournalEntry silent = entry(2002, "7");
    silent.valueBefore.clear();
    silent.reply.clear();
    silent.caption = "two\nlines";
    ASSERT_TRUE(journal.append(silent));
    EXPECT_TRUE(dir.read("write-journal.csv").endsWith(",2002,two lines,unknown,7,no answer\r\n"));
    const WriteJournal::Contents back = WriteJournal::read(dir.read("write-journal.csv"));
    ASSERT_EQ(back.entries.size(), 1);
    EXPECT_TRUE(back.entries[0].valueBefore.isEmpty());
    EXPECT_TRUE(back.entries[0].reply.isEmpty());
    EXPECT_EQ(back.entries[0].time, silent.time);
}

// A crash in the middle of an append leaves a torn last line: reading passes over it, and the
// next append starts a line of its own instead of finishing the torn one.
TEST(WriteJournalTest, ATornLineFromACrashNeitherBreaksReadingNorSwallowsTheNextEntry) {
    TempAppDir dir;
    WriteJournal journal(dir.file("write-journal.csv"));
    ASSERT_TRUE(journal.append(entry(1001, "9")));
    const QByteArray whole = dir.read("write-journal.csv");
    const QByteArray torn = WriteJournal::entryLine(entry(1003, "\"1,2\"")).toUtf8().left(40);
    dir.write("write-journal.csv", whole + torn);

    WriteJournal::Contents back = WriteJournal::read(dir.read("write-journal.csv"));
    ASSERT_EQ(back.entries.size(), 1);
    EXPECT_EQ(back.entries[0].address, 1001);
    EXPECT_EQ(back.tornLines, QList<int>{3});

    ASSERT_TRUE(journal.append(entry(1004, "1")));
    back = WriteJournal::read(dir.read("write-journal.csv"));
    ASSERT_EQ(back.entries.size(), 2);
    EXPECT_EQ(back.entries[1].address, 1004);
    EXPECT_EQ(back.entries[1].valueWritten, "1");
    EXPECT_EQ(back.tornLines, QList<int>{3});
}

TEST(WriteJournalTest, RotatesBeforePassingItsSizeKeepingOneOlderFile) {
    TempAppDir dir;
    const qint64 lineBytes = WriteJournal::entryLine(entry(1, "1")).toUtf8().size();
    const qint64 headerBytes = WriteJournal::headerLine().size();
    WriteJournal journal(dir.file("write-journal.csv"), headerBytes + 2 * lineBytes);
    EXPECT_EQ(journal.olderPath(), dir.file("write-journal.1.csv"));
    for (int i = 1; i <= 7; ++i)
        ASSERT_TRUE(journal.append(entry(i, "1")));
    // 2 entries per file: 1-2, 3-4, 5-6 (now the older file), 7.
    const QByteArray current = dir.read("write-journal.csv");
    const QByteArray older = dir.read("write-journal.1.csv");
    EXPECT_TRUE(current.startsWith(WriteJournal::headerLine().toUtf8()));
    EXPECT_EQ(current.count("\r\n"), 2);
    EXPECT_TRUE(current.contains(",7,"));
    EXPECT_EQ(older.count("\r\n"), 3);
    EXPECT_TRUE(older.contains(",5,") && older.contains(",6,"));
    EXPECT_LE(older.size(), headerBytes + 2 * lineBytes);
}

TEST(WriteJournalTest, ReportsAFolderItCannotWriteTo) {
    WriteJournal journal("/nonexistent-folder/write-journal.csv");
    QString error;
    EXPECT_FALSE(journal.append(entry(1, "1"), &error));
    EXPECT_TRUE(error.startsWith("open: ")) << error.toStdString();
}

TEST(ReadSequenceTest, KeepsTheSilentReadsAndStopsOnCancel) {
    ReadSequence s;
    s.start(3);
    EXPECT_EQ(s.current(), 0);
    EXPECT_TRUE(s.timedOut());
    EXPECT_TRUE(s.answered());
    EXPECT_FALSE(s.timedOut());
    EXPECT_FALSE(s.running());
    EXPECT_EQ(s.silent(), (QList<qsizetype>{0, 2}));
    EXPECT_FALSE(s.answered()) << "nothing after the end";
    EXPECT_EQ(s.finished(), 3);

    s.start(2);
    EXPECT_TRUE(s.silent().isEmpty());
    s.cancel();
    EXPECT_TRUE(s.cancelled());
    EXPECT_EQ(s.current(), -1);
    EXPECT_EQ(s.finished(), 0);
    s.start(0);
    EXPECT_FALSE(s.running());
    EXPECT_FALSE(s.cancelled());
}

TEST(ReadSequenceTest, TimeOutAttributeFallsBackToOneSecond) {
    EXPECT_EQ(ReadTimeoutMs(""), 1000);
    EXPECT_EQ(ReadTimeoutMs(" 250 "), 250);
    EXPECT_EQ(ReadTimeoutMs("1s"), 1000);
    EXPECT_EQ(ReadTimeoutMs("0"), 1000);
    EXPECT_EQ(ReadTimeoutMs("-5"), 1000);
    EXPECT_EQ(ReadTimeoutMs("600000"), 1000);
}

} // namespace

namespace {

// Several processes append to one journal at once, the file small enough to be rotated
// while they do: every file starts with one header, and every line in it is a whole entry.
TEST(WriteJournalTest, ProcessesAppendingAtOnceKeepEveryLineWhole) {
    TempAppDir dir;
    const QString path = dir.file("write-journal.csv");
    const QString longValue(300, QLatin1Char('x')); // lines long enough to be cut if not whole
    const qint64 lineBytes = WriteJournal::entryLine(entry(1, longValue)).toUtf8().size();
    constexpr int kProcesses = 4, kEntries = 60;
    QList<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            WriteJournal journal(path, 40 * lineBytes);
            bool all = true;
            for (int i = 0; i < kEntries; ++i)
                all = journal.append(entry(1000 * (p + 1) + i, longValue)) && all;
            ::_exit(all ? 0 : 1);
        }
        children << pid;
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QByteArray header = WriteJournal::headerLine().toUtf8();
    const QByteArray whole = WriteJournal::entryLine(entry(0, longValue)).toUtf8();
    for (const QString name : {"write-journal.csv", "write-journal.1.csv"}) {
        const QByteArray text = dir.read(name);
        ASSERT_TRUE(text.startsWith(header)) << name.toStdString();
        const QList<QByteArray> lines = text.mid(header.size()).split('\n');
        EXPECT_EQ(text.count(header), 1) << name.toStdString();
        for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
            // Same length as a whole entry: addresses 1000..4059 are all four digits, as 0 is not,
            // so a whole line is exactly three bytes longer than the model.
            EXPECT_EQ(line.size() + 1, whole.size() + 3) << line.constData();
            EXPECT_TRUE(line.endsWith("\r"));
        }
    }
}

} // namespace
