// --config naming nothing the console can use is a mistake in the command: one line on
// standard error in both languages, no window, exit code 2, as for an unknown option.

#include "app/CommandLine.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ProgramRun {
    bool finished = false;
    bool started = true;
    int exitCode = -1;
    QString standardError;
};

ProgramRun runProgram(const QStringList& arguments, bool asNobody = false) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    if (asNobody)
        process.setChildProcessModifier([] {
            // Root reads what permissions forbid; the unreadable case needs an ordinary user.
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    process.start(binDir() + "/tervalon", arguments);
    ProgramRun run;
    // An ordinary user cannot start a program kept in a folder only root may enter (a
    // checkout in a private temporary folder).
    if (!process.waitForStarted(30000)) {
        run.started = false;
        return run;
    }
    run.finished = process.waitForFinished(120000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.standardError = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

void expectRefused(const ProgramRun& run, const QString& path, const QString& english) {
    ASSERT_TRUE(run.finished) << "a window opened for " << path.toStdString();
    EXPECT_EQ(run.exitCode, kCommandLineErrorExit) << run.standardError.toStdString();
    const QStringList lines = run.standardError.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << run.standardError.toStdString();
    EXPECT_TRUE(lines[0].contains(path)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(english)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("配置文件"))) << lines[0].toStdString();
}

TEST(ConfigOptionTest, AFileThatCannotBeUsedEndsTheProgramWithExitCodeTwo) {
    TempAppDir dir;
    const QString missing = dir.file("missing.xml");
    expectRefused(runProgram({"--config", missing}), missing, "was not found");

    expectRefused(runProgram({"--config", dir.path()}), QDir::cleanPath(dir.path()),
                  "is a folder, not a file");

    const QString fifo = dir.file("fifo.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    expectRefused(runProgram({"--config", fifo}), fifo, "not a regular file");
}

TEST(ConfigOptionTest, AnUnreadableFileIsCalledUnreadableOnce) {
    TempAppDir dir;
    dir.write("secret.xml", "<TERVALON/>");
    const QString secret = dir.file("secret.xml");
    ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0), 0);
    const ProgramRun run = runProgram({"--config", secret}, ::geteuid() == 0);
    if (!run.started || (run.finished && run.exitCode == 99))
        GTEST_SKIP() << "cannot run as an ordinary user here";
    expectRefused(run, secret, "cannot be read (permission denied)");
    EXPECT_FALSE(run.standardError.contains("written")) << run.standardError.toStdString();
}

} // namespace
