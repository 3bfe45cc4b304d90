// Saves that could damage config.xml are refused, saves that change nothing write nothing,
// and what cannot be saved says why.

#include "FileBytes.h"
#include "config/AppError.h"
#include "config/FileReplace.h"
#include "config/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SafeSaveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("config.xml")) const { return dir.filePath(name); }

    // Loads, lets change edit, saves, and loads what was saved.
    QString roundTrip(const std::function<void(XmlNode)>& change, const QString& attribute) {
        XmlDocument doc = XmlDocument::openForWriting(path());
        change(doc.findRoot());
        doc.save(path());
        XmlDocument reread;
        reread.load(path());
        return reread.findRoot().readAttribute(attribute);
    }
};

TEST_F(SafeSaveTest, EveryDeclaredEncodingKeepsChineseTextThroughASave) {
    writeBytes(path(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<TERVALON appName=\"caf\xE9\"/>\n");
    EXPECT_EQ(
        roundTrip([](XmlNode root) { root.writeAttribute("node1", QString::fromUtf8("温度")); }, "node1"),
        QString::fromUtf8("温度"));
    const QByteArray saved = readBytes(path());
    EXPECT_TRUE(saved.contains("appName=\"caf\xE9\"")) << saved.constData();
    EXPECT_TRUE(saved.contains("node1=\"&#x6E29;&#x5EA6;\"")) << saved.constData();
    EXPECT_FALSE(saved.contains("node1=\"??\""));
}

TEST_F(SafeSaveTest, AGbkCharacterInAGb2312FileKeepsItsBytesEvenInANameAndTheFileStillLoads) {
    const QByteArray gbk = QByteArray("\x88\xD2"); // 堃, U+5803: GBK has it, GB2312 does not
    writeBytes(path(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<TERVALON appName=\"a\"><N" + gbk +
                           " v=\"" + gbk + "\"/></TERVALON>\n");
    XmlDocument doc = XmlDocument::openForWriting(path());
    const QString name = doc.findRoot().child(0).tagName();
    doc.findRoot().writeAttribute("appName", "b");
    doc.save(path());
    const QByteArray saved = readBytes(path());
    EXPECT_TRUE(saved.contains("<N" + gbk + " v=\"" + gbk + "\"")) << saved.toHex().constData();
    XmlDocument reread;
    reread.load(path());
    EXPECT_EQ(reread.findRoot().child(0).tagName(), name);
    EXPECT_EQ(name, QString::fromUtf8("N堃"));
}

TEST_F(SafeSaveTest, ALongDeclarationKeepsItsEncodingThroughTwoSaves) {
    // A version of 1 KiB of GBK characters ends the declaration past the first kilobyte.
    const QByteArray declaration =
        "<?xml version=\"1" + QByteArray(600, '\xAB') + ".0\" encoding=\"GBK\"?>\n";
    writeBytes(path(), declaration + "<TERVALON appName=\"a\"/>\n");
    roundTrip([](XmlNode root) { root.writeAttribute("node1", "x"); }, "appName");
    const QByteArray once = readBytes(path());
    ASSERT_GT(once.indexOf("?>"), 1024) << once.constData();
    EXPECT_EQ(roundTrip([](XmlNode root) { root.writeAttribute("node1", "y"); }, "node1"), "y");
    roundTrip([](XmlNode root) { root.writeAttribute("node1", "x"); }, "appName");
    EXPECT_EQ(readBytes(path()), once);
}

TEST_F(SafeSaveTest, ADeclarationWhoseEncodingTheParserDoesNotSeeIsRefusedAtLoad) {
    // The parser ends this declaration at "/>" and takes the rest for an element, so a save
    // would write a declaration without the encoding the file was read in.
    writeBytes(path(), "<?xml version=\"1.0\"/><X encoding=\"GBK\"?>\n<TERVALON appName=\"\xD6\xD0\"/>\n");
    XmlDocument doc;
    try {
        doc.load(path());
        FAIL() << "loaded";
    } catch (const AppError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("declaration is malformed")) << e.what();
    }
}

TEST_F(SafeSaveTest, AUtf16FileKeepsItsByteOrderMarkThroughSaves) {
    const QString text =
        QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?><TERVALON appName=\"中\"/>");
    QByteArray utf16("\xFF\xFE");
    utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    // A UTF-8 mark in front of it, as a careless editor leaves, is dropped: the file says UTF-16.
    writeBytes(path(), "\xEF\xBB\xBF" + utf16);
    EXPECT_EQ(roundTrip([](XmlNode root) { root.writeAttribute("node1", "x"); }, "appName"),
              QString::fromUtf8("中"));
    const QByteArray once = readBytes(path());
    EXPECT_TRUE(once.startsWith("\xFF\xFE<\0")) << once.toHex().constData();
    roundTrip([](XmlNode root) { root.writeAttribute("node1", "y"); }, "appName");
    roundTrip([](XmlNode root) { root.writeAttribute("node1", "x"); }, "appName");
    EXPECT_EQ(readBytes(path()), once);
}

TEST_F(SafeSaveTest, ANameTheEncodingCannotHoldRefusesTheSaveAndKeepsTheFile) {
    const QByteArray original =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<TERVALON appName=\"a\"/>\n";
    writeBytes(path(), original);
    XmlDocument doc = XmlDocument::openForWriting(path());
    doc.findRoot().appendChild(QString::fromUtf8("温度"));
    const QString error = errorOf([&] { doc.save(path()); });
    EXPECT_TRUE(
        error.contains(QString::fromUtf8("\"温度\" cannot be written in the file's encoding 'ISO-8859-1'")))
        << error.toStdString();
    EXPECT_EQ(readBytes(path()), original);

    // The reader's language, whole: the name is the file's own, every other word is worded.
    try {
        doc.save(path());
        FAIL() << "saved";
    } catch (const SaveError& e) {
        const QString shown = QDir::toNativeSeparators(path());
        EXPECT_EQ(e.textIn(Language::english()),
                  "Could not save the configuration file '" + shown +
                      "': the name \"温度\" cannot be written in the file's encoding 'ISO-8859-1'");
        EXPECT_EQ(e.textIn(Language::chinese()),
                  "配置文件“" + shown + "”未能保存：名称“温度”无法用文件的编码“ISO-8859-1”保存");
    }
}

TEST_F(SafeSaveTest, ADeclarationBehindBlankLinesIsRefusedAtLoadRatherThanReadTwoWays) {
    const QByteArray misplaced = "\n<?xml version=\"1.0\" encoding=\"GBK\"?>\n<TERVALON appName=\"中文\"/>\n";
    writeBytes(path(), misplaced);
    XmlDocument doc;
    const QString error = errorOf([&] { doc.load(path()); });
    EXPECT_TRUE(error.contains("line 2")) << error.toStdString();
    EXPECT_EQ(readBytes(path()), misplaced);
    // Stray text before it hides it the same way.
    const QByteArray afterText = "\n\t2k<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<TERVALON appName=\"x\"/>\n";
    writeBytes(path(), afterText);
    EXPECT_TRUE(errorOf([&] { doc.load(path()); }).contains("line 2"));

    // Declaring UTF-8 (or nothing) there reads the same either way, and still loads and saves.
    writeBytes(path(), "\n\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TERVALON appName=\"中文\"/>\n");
    EXPECT_EQ(roundTrip([](XmlNode root) { root.writeAttribute("node1", "x"); }, "appName"),
              QString::fromUtf8("中文"));
}

TEST_F(SafeSaveTest, ASaveThatChangesNothingLeavesTheFileUntouched) {
    const QByteArray handFormatted =
        "<?xml version=\"1.0\"?>\n<TERVALON  appName='x'>\n  <COMM Port=\"COM1\"/>\n</TERVALON>";
    writeBytes(path(), handFormatted);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    XmlDocument doc = XmlDocument::openForWriting(path());
    doc.findRoot().findChild("COMM").writeAttribute("Port", "COM1");
    doc.save(path());
    EXPECT_EQ(readBytes(path()), handFormatted);
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "not even replaced by a copy";

    // A read-only folder is no obstacle to a save with nothing to write.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0500), 0);
    EXPECT_EQ(errorOf([&] { doc.save(path()); }), "<no error>");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
}

TEST_F(SafeSaveTest, DeepNestingAndHugeFilesAreRefusedAtLoadNamingWhere) {
    QByteArray deep = "<TERVALON>\n";
    for (int i = 0; i < 10000; ++i)
        deep += "<a>";
    for (int i = 0; i < 10000; ++i)
        deep += "</a>";
    writeBytes(path(), deep + "</TERVALON>");
    const QString error = errorOf([&] {
        XmlDocument doc;
        doc.load(path());
    });
    EXPECT_TRUE(error.contains("nested more than 32 levels")) << error.toStdString();
    EXPECT_TRUE(error.contains("line 2")) << error.toStdString();

    // 31 levels below the root is still a configuration.
    QByteArray deepest = "<TERVALON>";
    for (int i = 0; i < MaxNestingDepth - 1; ++i)
        deepest += "<a>";
    for (int i = 0; i < MaxNestingDepth - 1; ++i)
        deepest += "</a>";
    writeBytes(path(), deepest + "</TERVALON>");
    XmlDocument ok = XmlDocument::openForWriting(path());
    ok.findRoot().writeAttribute("x", "1");
    ok.save(path());
    EXPECT_LT(readBytes(path()).size(), 4000);

    {
        QFile sparse(path("huge.xml"));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(MaxConfigFileBytes + 1));
    }
    EXPECT_TRUE(errorOf([&] {
                    XmlDocument doc;
                    doc.load(path("huge.xml"));
                }).contains("larger than 32 MiB"));
}

TEST_F(SafeSaveTest, ASaveKeepsTheFilesModeAndGroup) {
    writeBytes(path(), "<TERVALON appName=\"a\"/>");
    const QByteArray file = QFile::encodeName(path());
    ASSERT_EQ(::chmod(file.constData(), 0640), 0);
    struct stat before {};
    ASSERT_EQ(::stat(file.constData(), &before), 0);
    // Root gives the file to another owner, as a user's file would be.
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown(file.constData(), 65534, 65534), 0);
    XmlDocument doc = XmlDocument::openForWriting(path());
    doc.findRoot().writeAttribute("appName", "b");
    doc.save(path());
    struct stat after {};
    ASSERT_EQ(::stat(file.constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_gid, root ? 65534u : before.st_gid);
    if (root)
        EXPECT_EQ(after.st_uid, 65534u);
}

TEST_F(SafeSaveTest, AFileUsedReadOnlyIsNeverWrittenAndNothingComplains) {
    writeBytes(path(), "<TERVALON appName=\"a\"/>");
    UseReadOnly(path());
    XmlDocument doc = XmlDocument::openForWriting(path());
    doc.findRoot().writeAttribute("appName", "b");
    EXPECT_EQ(errorOf([&] { doc.save(path()); }), "<no error>");
    EXPECT_EQ(readBytes(path()), "<TERVALON appName=\"a\"/>");
}

// A small file system of its own shows the errors of a full disk and a read-only one; it
// needs the right to mount, which a test run may not have.
TEST_F(SafeSaveTest, AFullDiskAndAReadOnlyFileSystemAreNamed) {
    const QString mountPoint = path("fs");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    const QByteArray where = QFile::encodeName(mountPoint);
    if (::mount("tervalon-test", where.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString config = mountPoint + "/config.xml";
    writeBytes(config, "<TERVALON appName=\"a\"/>");
    XmlDocument doc = XmlDocument::openForWriting(config);
    doc.findRoot().writeAttribute("appName", QString(200 * 1024, u'x'));
    const QString full = errorOf([&] { doc.save(config); });
    EXPECT_TRUE(full.endsWith("': no space left on the disk")) << full.toStdString();
    EXPECT_EQ(readBytes(config), "<TERVALON appName=\"a\"/>");
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{"config.xml"});

    ASSERT_EQ(::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    doc.findRoot().writeAttribute("appName", "b");
    const QString readOnly = errorOf([&] { doc.save(config); });
    EXPECT_TRUE(readOnly.endsWith("': read-only file system")) << readOnly.toStdString();
    try {
        doc.save(config);
    } catch (const SaveError& e) {
        EXPECT_TRUE(e.textIn(Language::chinese()).endsWith("”未能保存：只读文件系统"))
            << e.textIn(Language::chinese()).toStdString();
    }
    EXPECT_EQ(WriteProblem(config), EROFS);
    ::umount(where.constData());
}

} // namespace
