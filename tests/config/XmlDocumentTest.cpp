#include "FileBytes.h"
#include "config/XmlDocument.h"
#include "config/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

const QByteArray handEdited = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<!-- kept by hand: do not reorder -->
<TERVALON appName="Console" web1="">
  <COMM Port="COM3" Baud="9600"/>
  <COMM Port="COM9"/>
  <GROUP_DYNC>
    <!-- temperature page -->
    <tabT caption="温度">
      <P1 caption="Setpoint" addr="10"/>
      <?editor note?>
      <P2xxx/>
      <P3 caption="Mode" controlType="ComboBox"/>
    </tabT>
  </GROUP_DYNC>
</TERVALON>
)";

class XmlDocumentTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("config.xml")) const { return dir.filePath(name); }
};

TEST_F(XmlDocumentTest, ReadsElementEntriesInOrderAndAbsentAttributesByDocumentKind) {
    writeBytes(path(), handEdited);
    XmlDocument stored;
    stored.load(path());
    EXPECT_FALSE(stored.preparedForWriting());
    const XmlNode root = stored.findRoot();
    EXPECT_EQ(root.readAttribute("web1"), "");
    EXPECT_EQ(errorOf([&] { root.readAttribute("web2"); }),
              "Could not convert variant of type (Null) into type (OleStr)");
    EXPECT_EQ(XmlDocument::openForWriting(path()).findRoot().readAttribute("web2"), "");
    EXPECT_EQ(root.findChild("COMM").readAttribute("Port"), "COM3");

    const XmlNode tab = root.findChild("GROUP_DYNC").child(0);
    EXPECT_EQ(tab.readAttribute("caption"), QString::fromUtf8("温度"));
    ASSERT_EQ(tab.childCount(), 3);
    EXPECT_EQ(tab.child(1).tagName(), "P2xxx");
    EXPECT_EQ(tab.child(2).tagName(), "P3");
    EXPECT_EQ(errorOf([&] { tab.child(3); }), "List index out of bounds (3)");
    EXPECT_TRUE(tab.child(2).attributeEquals("controlType", "ComboBox"));
    EXPECT_FALSE(tab.child(2).attributeEquals("controlType", "combobox"));
    EXPECT_FALSE(tab.child(2).attributeEquals("type", ""));
}

// Entries are taken by position in any order, across parents, and after appends and reloads.
TEST_F(XmlDocumentTest, EntriesByPositionStayRightInAnyOrderOfAccess) {
    writeBytes(path(), handEdited);
    XmlDocument doc = XmlDocument::openForWriting(path());
    XmlNode tab = doc.findRoot().findChild("GROUP_DYNC").child(0);
    const XmlNode root = doc.findRoot();
    EXPECT_EQ(tab.child(2).tagName(), "P3");
    EXPECT_EQ(tab.child(0).tagName(), "P1");
    EXPECT_EQ(root.child(1).tagName(), "COMM");
    EXPECT_EQ(tab.child(1).tagName(), "P2xxx");
    tab.appendChild("P4");
    EXPECT_EQ(tab.child(3).tagName(), "P4");
    EXPECT_EQ(tab.child(2).tagName(), "P3");
    EXPECT_EQ(tab.childCount(), 4);

    writeBytes(path(), "<TERVALON><A/><B/></TERVALON>");
    doc.load(path());
    EXPECT_EQ(doc.findRoot().child(1).tagName(), "B");
    EXPECT_EQ(errorOf([&] { doc.findRoot().child(2); }), "List index out of bounds (2)");
}

TEST_F(XmlDocumentTest, MissingElementsGiveNullHandlesThatNameThemWhenUsed) {
    writeBytes(path(), handEdited);
    XmlDocument doc = XmlDocument::openForWriting(path());
    XmlNode skin = doc.findRoot().findChild("SKIN").findChild("Inner");
    EXPECT_TRUE(skin.isNull());
    EXPECT_EQ(skin.childCount(), 0);
    EXPECT_FALSE(skin.attributeEquals("SkinFile", ""));
    EXPECT_EQ(errorOf([&] { skin.readAttribute("SkinFile"); }),
              "The configuration file has no element TERVALON/SKIN");
    EXPECT_EQ(errorOf([&] { skin.writeAttribute("SkinFile", "x"); }),
              "The configuration file has no element TERVALON/SKIN");
}

TEST_F(XmlDocumentTest, SaveKeepsDeclarationAndCommentsAndIndentsNewNodesWithTabs) {
    writeBytes(path(), handEdited);
    {
        XmlDocument doc = XmlDocument::openForWriting(path());
        XmlNode root = doc.findRoot();
        root.findChild("COMM").writeAttribute("Baud", "115200");
        root.findChild("COMM").writeAttribute("Parity", "E");
        XmlNode entry = root.appendChild("LANGUAGE").appendChild("COMPONETS").appendChild("btn_Send");
        entry.writeAttribute("captionCN", QString::fromUtf8("发送 & \"引号\" <x>"));
        doc.save(path());
    }
    const QByteArray saved = readBytes(path());
    EXPECT_TRUE(saved.startsWith(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"))
        << saved.constData();
    EXPECT_EQ(saved.count("<?xml"), 1);
    EXPECT_TRUE(saved.contains("<!-- kept by hand: do not reorder -->"));
    EXPECT_TRUE(saved.contains("<!-- temperature page -->"));
    EXPECT_TRUE(saved.contains("<?editor note?>"));
    EXPECT_TRUE(saved.contains("\n\t<LANGUAGE>\n\t\t<COMPONETS>\n\t\t\t<btn_Send ")) << saved.constData();

    XmlDocument reread;
    reread.load(path());
    const XmlNode root = reread.findRoot();
    EXPECT_EQ(root.findChild("COMM").readAttribute("Baud"), "115200");
    EXPECT_EQ(root.findChild("COMM").readAttribute("Parity"), "E");
    EXPECT_EQ(root.findChild("LANGUAGE").findChild("COMPONETS").child(0).readAttribute("captionCN"),
              QString::fromUtf8("发送 & \"引号\" <x>"));
    EXPECT_EQ(root.findChild("GROUP_DYNC").child(0).childCount(), 3);
}

TEST_F(XmlDocumentTest, BadFilesAreRefusedWithTheirPathAndTheDocumentKeepsItsContent) {
    writeBytes(path(), handEdited);
    XmlDocument doc;
    doc.load(path());

    const QString missing = path("absent.xml");
    EXPECT_TRUE(errorOf([&] { doc.load(missing); }).contains(QDir::toNativeSeparators(missing)));

    writeBytes(path("broken.xml"), "<TERVALON>\n  <COMM>\n  </SKIN>\n</TERVALON>\n");
    const QString broken = errorOf([&] { doc.load(path("broken.xml")); });
    EXPECT_TRUE(broken.contains(path("broken.xml"))) << broken.toStdString();
    EXPECT_TRUE(broken.contains("line 3")) << broken.toStdString();

    // GBK bytes in a file that declares no encoding: refused rather than garbled on the next save.
    writeBytes(path("gbk.xml"), "<TERVALON appName=\"\xD6\xD0\xCE\xC4\"/>");
    EXPECT_TRUE(errorOf([&] { doc.load(path("gbk.xml")); }).contains("not valid UTF-8"));

    writeBytes(path("badgb.xml"), "<?xml version=\"1.0\" encoding=\"GBK\"?><TERVALON appName=\"\xD6\"/>");
    EXPECT_TRUE(errorOf([&] { doc.load(path("badgb.xml")); }).contains("not valid in its declared encoding"));

    writeBytes(path("odd.xml"), "<?xml version=\"1.0\" encoding=\"NO-SUCH-CHARSET\"?><TERVALON/>");
    EXPECT_TRUE(errorOf([&] { doc.load(path("odd.xml")); }).contains("'NO-SUCH-CHARSET' is not supported"));

    EXPECT_EQ(doc.findRoot().readAttribute("appName"), "Console");
}

TEST_F(XmlDocumentTest, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFiles) {
    writeBytes(path(), handEdited);
    XmlDocument doc = XmlDocument::openForWriting(path());
    doc.findRoot().writeAttribute("appName", QString(5000, u'x'));

    // A file-size limit makes every write past it fail as on a full disk, even for root.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error = errorOf([&] { doc.save(path()); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(
        error.startsWith("Could not save the configuration file '" + QDir::toNativeSeparators(path())))
        << error.toStdString();
    EXPECT_EQ(readBytes(path()), handEdited);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.xml"});

    const QString nowhere = dir.filePath("no-such-folder/config.xml");
    EXPECT_TRUE(errorOf([&] { doc.save(nowhere); }).contains(QDir::toNativeSeparators(nowhere)));
}

TEST_F(XmlDocumentTest, ChineseEncodingsAreReadAndWrittenBackAsDeclared) {
    // 中文 in GB2312/GBK; the declaration's own spelling ("gb2312") must survive too.
    writeBytes(path(), "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
                       "<!-- \xD6\xD0\xCE\xC4 -->\r\n<TERVALON appName=\"\xD6\xD0\xCE\xC4\"/>\r\n");
    {
        XmlDocument doc = XmlDocument::openForWriting(path());
        XmlNode root = doc.findRoot();
        EXPECT_EQ(root.readAttribute("appName"), QString::fromUtf8("中文"));
        root.writeAttribute("node1", QString::fromUtf8("温度😀")); // the emoji has no GB2312 code
        doc.save(path());
    }
    const QByteArray saved = readBytes(path());
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_TRUE(saved.contains("<!-- \xD6\xD0\xCE\xC4 -->"));
    EXPECT_TRUE(saved.contains("node1=\"\xCE\xC2\xB6\xC8&#x1F600;\"")) << saved.toHex().constData();
    EXPECT_FALSE(saved.contains(QString::fromUtf8("温").toUtf8()));

    XmlDocument reread;
    reread.load(path());
    EXPECT_EQ(reread.findRoot().readAttribute("node1"), QString::fromUtf8("温度😀"));

    // GB18030 holds every character, so nothing needs a reference.
    writeBytes(path("gb18030.xml"), "<?xml version=\"1.0\" encoding=\"GB18030\"?><TERVALON/>");
    XmlDocument wide = XmlDocument::openForWriting(path("gb18030.xml"));
    wide.findRoot().writeAttribute("appName", QString::fromUtf8("中😀"));
    wide.save(path("gb18030.xml"));
    EXPECT_TRUE(readBytes(path("gb18030.xml")).contains("appName=\"\xD6\xD0\x94\x39\xFC\x36\""));
}

} // namespace
