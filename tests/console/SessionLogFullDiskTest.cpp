// A session log on a disk that fills up: it stops, says so once, and keeps what it wrote.

#include "app/MainFrm.h"
#include "console/SessionLog.h"
#include "console/SessionLogging.h"
#include "support/TestApp.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <sys/mount.h>

namespace {

// A file system of 1 MiB of its own; mounting needs a right a test run may not have.
struct SmallDisk {
    SmallDisk() {
        folder = base.filePath("disk");
        QDir().mkpath(folder);
        mounted = ::mount("tervalon-test", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=1m") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
    QTemporaryDir base;
    QString folder;
    bool mounted = false;
};

QByteArray block(int i) {
    return QByteArray("$KRDV,12=") + QByteArray::number(i) + QByteArray(200, 'x') + "\r\n";
}

TEST(SessionLogFullDiskTest, AFullDiskStopsTheLogOnceAndKeepsWhatWasWritten) {
    SmallDisk disk;
    if (!disk.mounted)
        GTEST_SKIP() << "cannot mount a small file system here";
    std::atomic<int> reported{0};
    SessionLog log(disk.folder + "/logs");
    ASSERT_TRUE(log.error().isEmpty());
    log.onFailure([&](const SessionLog::Failure&) { ++reported; });
    // About 3 MiB of lines, three times the disk.
    for (int i = 0; i < 5000; ++i)
        log.append(WireDirection::Received, block(i));
    log.flush();

    const SessionLog::Failure failure = log.failure();
    EXPECT_EQ(failure.err, ENOSPC);
    EXPECT_EQ(failure.file, log.currentFile());
    EXPECT_EQ(reported.load(), 1);
    const qint64 kept = QFileInfo(failure.file).size();
    EXPECT_GT(kept, 100 * 1024) << "what fitted on the disk stays in the file";

    // A stopped log takes nothing more and reports nothing more.
    log.append(WireDirection::Sent, "after");
    log.flush();
    EXPECT_EQ(QFileInfo(failure.file).size(), kept);
    EXPECT_EQ(reported.load(), 1);
}

TEST(SessionLogFullDiskTest, TheWindowUnticksTheBoxAndNamesTheFileAndTheReason) {
    testApp();
    SmallDisk disk;
    if (!disk.mounted)
        GTEST_SKIP() << "cannot mount a small file system here";
    RecordingPresenter presenter;
    TForm_Main form(disk.folder);
    form.chk_SessionLog->setChecked(true);
    ASSERT_TRUE(form.sessionLogging->session());
    const QString file = form.sessionLogging->session()->currentFile();
    for (int i = 0; i < 5000; ++i) {
        const QByteArray b = block(i);
        form.sessionLogging->log(WireDirection::Received, b);
    }
    ASSERT_TRUE(waitFor([&] { return !form.chk_SessionLog->isChecked(); }, 60000))
        << "the box stayed ticked on a full disk";
    EXPECT_FALSE(form.sessionLogging->session());
    ASSERT_EQ(presenter.messages.size(), 1) << presenter.messages.join('\n').toStdString();
    EXPECT_TRUE(presenter.messages[0].contains(file)) << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].contains(QStringLiteral("磁盘空间已满")))
        << presenter.messages[0].toStdString();
    EXPECT_GT(QFileInfo(file).size(), 0);

    // Blocks after the stop go nowhere and raise no second message.
    form.sessionLogging->log(WireDirection::Sent, "x");
    testApp().processEvents();
    EXPECT_EQ(presenter.messages.size(), 1);
}

} // namespace
