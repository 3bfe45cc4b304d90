// The installed program under a session that ends: logout and `kill` send SIGTERM, and the
// window must close as its close box does, saving, and the program end with success.

#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaced whole, as an editor saves: the running program reads the file again during its
// start-up, and must never find it half written.
void writeFile(const QString& path, const QByteArray& content) {
    QSaveFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    ASSERT_TRUE(f.commit());
}

TEST(TerminationTest, SigtermSavesThePortSettingsAndEndsWithSuccess) {
    testApp();
    QTemporaryDir home;
    const QString config = home.filePath("site/config.xml");
    ASSERT_TRUE(QDir().mkpath(home.filePath("site")));
    // One entry of the language table left out: start-up records it and saves the file, which
    // tells the test that the program is up, its signal handling included.
    QByteArray example = readFile(sourceDir() + "/examples/config.xml");
    const QRegularExpression portEntry(QStringLiteral("\\s*<[A-Za-z_]+ name=\"lbl_Port\"[^>]*/>"));
    QString text = QString::fromUtf8(example);
    ASSERT_TRUE(text.contains(portEntry));
    text.remove(portEntry);
    writeFile(config, text.toUtf8());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home.filePath("xdg"));
    program.setProcessEnvironment(env);
    program.start(binDir() + "/tervalon", {"--config", config});
    ASSERT_TRUE(program.waitForStarted(30000));
    ASSERT_TRUE(waitFor([&] { return readFile(config).contains("name=\"lbl_Port\""); }, 60000))
        << program.readAllStandardError().toStdString();

    // The port boxes hold 9600 from the file; change the file behind the program's back, so
    // that only a write-back on closing brings 9600 again.
    QByteArray running = readFile(config);
    ASSERT_TRUE(running.contains("Baud=\"9600\""));
    running.replace("Baud=\"9600\"", "Baud=\"1200\"");
    writeFile(config, running);

    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(readFile(config).contains("Baud=\"9600\""));
    // Closing also kept the window's size and place for the next start, outside config.xml.
    EXPECT_TRUE(QFileInfo::exists(home.filePath("xdg/tervalon/tervalon.conf")));
    EXPECT_FALSE(readFile(config).contains("geometry"));
}

} // namespace
