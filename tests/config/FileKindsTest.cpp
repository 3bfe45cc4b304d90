// What the configuration file is: only a regular file is read or replaced, a link is kept and
// its target saved, and every refusal says what the path is.

#include "FileBytes.h"
#include "config/AppError.h"
#include "config/ConfigFileCheck.h"
#include "config/FileReplace.h"
#include "config/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isLink(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Runs action on another thread and gives it a generous while. A load that waits on a FIFO is
// released by opening its far end, so a failing test ends instead of hanging.
QString errorWithin(const QString& fifo, const std::function<void()>& action) {
    auto result = std::async(std::launch::async, [&] { return errorOf(action); });
    if (result.wait_for(std::chrono::seconds(60)) == std::future_status::ready)
        return result.get();
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
    result.wait();
    return QStringLiteral("<waited on the FIFO>");
}

const QByteArray config = "<?xml version=\"1.0\"?>\n<TERVALON appName=\"a\"/>\n";

class FileKindsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(FileKindsTest, AFifoADeviceAndAFolderAreRefusedAtLoadWithoutWaiting) {
    const QString fifo = path("c.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    XmlDocument doc;
    const QString error = errorWithin(fifo, [&] { doc.load(fifo); });
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    EXPECT_TRUE(error.contains(fifo)) << error.toStdString();

    const QString device = errorOf([&] { doc.load("/dev/null"); });
    EXPECT_TRUE(device.contains("not a regular file")) << device.toStdString();
    const QString folder = errorOf([&] { doc.load(dir.path()); });
    EXPECT_TRUE(folder.contains("a folder, not a file")) << folder.toStdString();
}

TEST_F(FileKindsTest, ASaveNeverOpensOrReplacesAnythingButARegularFile) {
    const QString fifo = path("c.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    writeBytes(path("good.xml"), config);
    XmlDocument doc = XmlDocument::openForWriting(path("good.xml"));
    doc.findRoot().writeAttribute("appName", "b");
    const QString error = errorWithin(fifo, [&] { doc.save(fifo); });
    EXPECT_TRUE(error.startsWith("Could not save")) << error.toStdString();
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
    EXPECT_EQ(WriteProblem(fifo), EINVAL);

    QDir().mkpath(path("folder.xml"));
    EXPECT_EQ(ReplaceFileContent(path("folder.xml"), config), EISDIR);
    EXPECT_TRUE(QFileInfo(path("folder.xml")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.xml"})
        << "a temporary file stayed behind";
}

// Users keep the file in a managed folder and link it: the link stays a link and its target
// gets every save, whether the link is relative, absolute or a link to a link.
TEST_F(FileKindsTest, ASaveThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    QDir().mkpath(path("managed"));
    QDir().mkpath(path("app"));
    const QString target = path("managed/tervalon.xml");
    writeBytes(target, config);
    const QString relative = path("app/config.xml");
    const QString absolute = path("app/absolute.xml");
    const QString chained = path("app/chained.xml");
    ASSERT_EQ(::symlink("../managed/tervalon.xml", QFile::encodeName(relative).constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(absolute).constData()), 0);
    ASSERT_EQ(::symlink("config.xml", QFile::encodeName(chained).constData()), 0);
    ::chmod(QFile::encodeName(target).constData(), 0640);

    int n = 0;
    for (const QString& link : {relative, absolute, chained}) {
        const QString value = QStringLiteral("v%1").arg(++n);
        XmlDocument doc = XmlDocument::openForWriting(link);
        doc.findRoot().writeAttribute("appName", value);
        doc.save(link);
        EXPECT_TRUE(isLink(link)) << link.toStdString() << " became a regular file";
        XmlDocument reread;
        reread.load(target);
        EXPECT_EQ(reread.findRoot().readAttribute("appName"), value) << link.toStdString();
        EXPECT_EQ(SaveTarget(link), target);
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the target's mode";
    EXPECT_EQ(QDir(path("managed")).entryList(QDir::Files | QDir::Hidden), QStringList{"tervalon.xml"});
    EXPECT_EQ(QDir(path("app")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}

TEST_F(FileKindsTest, ACircleOfLinksIsNamedNotFollowedForever) {
    ASSERT_EQ(::symlink("b.xml", QFile::encodeName(path("a.xml")).constData()), 0);
    ASSERT_EQ(::symlink("a.xml", QFile::encodeName(path("b.xml")).constData()), 0);
    EXPECT_EQ(ReplaceFileContent(path("a.xml"), config), ELOOP);
    EXPECT_TRUE(isLink(path("a.xml")));
    EXPECT_FALSE(CheckConfigFile(path("a.xml")).usable());
}

TEST_F(FileKindsTest, EachUnusablePathIsNamedForWhatItIsInBothLanguages) {
    writeBytes(path("config.xml"), config);
    EXPECT_TRUE(CheckConfigFile(path("config.xml")).usable());

    const ConfigFileCheck missing = CheckConfigFile(path("none.xml"));
    EXPECT_EQ(missing.state, ConfigFileCheck::State::Missing);
    EXPECT_EQ(missing.chinese, QStringLiteral("未发现配置文件") + path("none.xml"));
    EXPECT_EQ(missing.english, "The configuration file " + path("none.xml") + " was not found");

    QDir().mkpath(path("folder"));
    const ConfigFileCheck folder = CheckConfigFile(path("folder"));
    EXPECT_EQ(folder.state, ConfigFileCheck::State::Folder);
    EXPECT_TRUE(folder.english.contains("is a folder")) << folder.english.toStdString();
    EXPECT_TRUE(folder.chinese.contains(QStringLiteral("文件夹")));

    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0644), 0);
    EXPECT_EQ(CheckConfigFile(path("fifo")).state, ConfigFileCheck::State::NotRegular);
    EXPECT_EQ(CheckConfigFile("/dev/null").state, ConfigFileCheck::State::NotRegular);

    const QString line = missing.oneLine();
    EXPECT_FALSE(line.contains(u'\n'));
    EXPECT_TRUE(line.contains(missing.chinese) && line.contains(missing.english));
}

// The place of the value read last: what a start-up error names so the user can mend it.
TEST_F(FileKindsTest, TheAttributeReadLastIsNamedWithItsElementAndLine) {
    writeBytes(path("config.xml"), "<?xml version=\"1.0\"?>\n<TERVALON appName=\"a\">\n\t<SKIN/>\n"
                                   "\t<COMM Baud=\"x\"/>\n</TERVALON>\n");
    XmlDocument doc;
    doc.load(path("config.xml"));
    const XmlNode comm = doc.findRoot().findChild("COMM");
    try {
        comm.readAttribute("Port");
        FAIL() << "an absent attribute was read";
    } catch (const AppError& e) {
        EXPECT_EQ(e.kind(), AppError::Kind::Value);
    }
    XmlReadPlace place = LastAttributeRead();
    EXPECT_EQ(place.element, "TERVALON/COMM");
    EXPECT_EQ(place.attribute, "Port");
    EXPECT_EQ(place.line, 4);
    EXPECT_FALSE(place.present);
    EXPECT_EQ(place.file, path("config.xml"));

    EXPECT_EQ(doc.findRoot().readAttribute("appName"), "a");
    place = LastAttributeRead();
    EXPECT_EQ(place.element, "TERVALON");
    EXPECT_EQ(place.line, 2);
    EXPECT_TRUE(place.present);

    // Gone with its document: nothing stale is named.
    doc = XmlDocument();
    EXPECT_TRUE(LastAttributeRead().element.isEmpty());
}

} // namespace
