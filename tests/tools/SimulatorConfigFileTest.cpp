// The simulated device reads its stations and values only from a regular file.

#include "config/AppError.h"
#include "tools/sim/SimulatedDevice.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SimulatorConfigFileTest, AFifoOrAFolderIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("c.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    auto load = [](const QString& path) {
        try {
            LoadSimulatorSetup(path);
        } catch (const AppError& e) {
            return e.text();
        }
        return QStringLiteral("<loaded>");
    };
    auto result = std::async(std::launch::async, load, fifo);
    bool waited = false;
    if (result.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        // Released by opening the far end, so that the failure ends the test.
        waited = true;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    const QString error = result.get();
    EXPECT_FALSE(waited) << "the simulator waited on the FIFO";
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    EXPECT_TRUE(load(dir.path()).contains("a folder, not a file"));
}

} // namespace
