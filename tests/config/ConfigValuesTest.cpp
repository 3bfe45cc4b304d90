#include "config/AppError.h"
#include "config/BatchCommands.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StrToIntTest, AcceptsWhatTheConfigurationMayHold) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"-500", -500},
        {"+7", 7},
        {"  12", 12},
        {"$1F", 31},
        {"$ff", 255},
        {"0x10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"007", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(StrToIntTest, RefusesEverythingElseQuotingTheText) {
    for (const char* text :
         {"", " ", "-", "$", "12 ", "1.5", "1e3", "abc", "2147483648", "-2147483649", "$100000000", "１２"}) {
        const QString input = QString::fromUtf8(text);
        try {
            StrToInt(input);
            ADD_FAILURE() << "accepted " << text;
        } catch (const AppError& e) {
            EXPECT_EQ(e.text(), "'" + input + "' is not a valid integer value");
        }
    }
}

TEST(SplitByDelimiterTest, AlwaysKeepsTheRemainder) {
    QStringList list{"stale"};
    SplitByDelimiter("", "|", &list);
    EXPECT_EQ(list, QStringList{""});
    SplitByDelimiter("a|b", "|", &list);
    EXPECT_EQ(list, (QStringList{"a", "b"}));
    SplitByDelimiter("a||b", "|", &list);
    EXPECT_EQ(list, (QStringList{"a", "", "b"}));
    SplitByDelimiter("a|", "|", &list);
    EXPECT_EQ(list, (QStringList{"a", ""}));
    SplitByDelimiter("a::b", "::", &list);
    EXPECT_EQ(list, (QStringList{"a", "b"}));
    SplitByDelimiter("a|b", "", &list);
    EXPECT_EQ(list, QStringList{"a|b"});
    SplitByDelimiter("a|b", "|", nullptr);
}

class ReadBatchCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    XmlDocument load(const QByteArray& cmdsXml, bool prepared) {
        const QString path = dir.filePath("config.xml");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<TERVALON>" + cmdsXml + "</TERVALON>");
        file.close();
        XmlDocument doc;
        doc.load(path);
        if (prepared)
            doc.prepareForWriting();
        return doc;
    }
};

TEST_F(ReadBatchCommandsTest, ReadsEveryBatchInOrderSkippingComments) {
    const XmlDocument doc = load(R"(<CMDS showButton="1" caption="Run">
        <first caption="Reset" CmdsStr="R1[100]|R2[250]"/>
        <!-- not a batch -->
        <second caption="Slow" CmdsStr="S1[-1]|[0]|C3[$10]ignored|D 4 [ 5]"/>
    </CMDS>)",
                                 false);
    QList<TCMDS> batches;
    QStringList captions;
    ReadBatchCommands(doc.findRoot().findChild("CMDS"), batches, captions);
    EXPECT_EQ(captions, (QStringList{"Reset", "Slow"}));
    ASSERT_EQ(batches.size(), 2);
    EXPECT_EQ(batches[0].cmds, (QStringList{"R1", "R2"}));
    EXPECT_EQ(batches[0].inteMss, (QList<qint32>{100, 250}));
    EXPECT_EQ(batches[1].cmds, (QStringList{"S1", "", "C3", "D 4 "}));
    EXPECT_EQ(batches[1].inteMss, (QList<qint32>{-1, 0, 16, 5}));
}

TEST_F(ReadBatchCommandsTest, AFaultyBatchIsLeftOutAndNamedAndTheRestAreRead) {
    struct Case {
        const char* xml;
        const char* name;
        const char* reason;
    };
    const Case faulty[] = {
        {R"(<b caption="Bad" CmdsStr="A1[100]|"/>)", "Bad", "'' is not a valid integer value"}, // stray "|"
        {R"(<b caption="Bad" CmdsStr="A1[100]|B2[x]"/>)", "Bad", "'x' is not a valid integer value"},
        {R"(<b caption="Bad" CmdsStr="A1[1]|100]"/>)", "Bad", "'100' is not a valid integer value"},
        {R"(<b caption="Bad" CmdsStr="A1[100"/>)", "Bad", "'' is not a valid integer value"},
        {R"(<b caption="Bad"/>)", "Bad", "Could not convert variant of type (Null) into type (OleStr)"},
        {R"(<b CmdsStr="A1[1]"/>)", "<b>", "Could not convert variant of type (Null) into type (OleStr)"},
    };
    for (const Case& bad : faulty) {
        const XmlDocument doc = load(QByteArray("<CMDS><a caption=\"Good\" CmdsStr=\"G[5]\"/>") + bad.xml +
                                         "<c caption=\"After\" CmdsStr=\"C[1]\"/></CMDS>",
                                     false);
        QList<TCMDS> batches{TCMDS{"Earlier", {"E"}, {0}}};
        QStringList captions{"Earlier"};
        QList<BatchFault> faults;
        ReadBatchCommands(doc.findRoot().findChild("CMDS"), batches, captions, &faults);
        EXPECT_EQ(captions, (QStringList{"Earlier", "Good", "After"})) << bad.xml;
        ASSERT_EQ(batches.size(), 3) << bad.xml;
        EXPECT_EQ(batches[1].cmds, QStringList{"G"});
        EXPECT_EQ(batches[2].cmds, QStringList{"C"});
        ASSERT_EQ(faults.size(), 1) << bad.xml;
        EXPECT_EQ(faults[0].name, bad.name);
        EXPECT_EQ(faults[0].reason, bad.reason) << bad.xml;
    }
}

TEST(BatchFaultsMessageTest, NamesEachBatchOnceInTheLanguageGiven) {
    const QList<BatchFault> faults{{"初始化", "'x' is not a valid integer value"}, {"<b>", "r"}};
    EXPECT_EQ(BatchFaultsMessage(faults, Language::english()),
              "The batch \"初始化\" is faulty and was left out: 'x' is not a valid integer value\n"
              "The batch \"<b>\" is faulty and was left out: r");
    EXPECT_EQ(BatchFaultsMessage(faults, Language::chinese()),
              "批处理指令“初始化”有误，未载入：'x' is not a valid integer value\n"
              "批处理指令“<b>”有误，未载入：r");
}

} // namespace
