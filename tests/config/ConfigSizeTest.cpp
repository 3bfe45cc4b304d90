#include "config/ConfigSize.h"
#include "config/AppError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A document whose sections hold the given pages of the given rows each.
XmlDocument documentWith(int dyncPages, int fixPages, int rowsPerPage) {
    QByteArray xml = "<TERVALON><GROUP_DYNC>";
    auto pages = [&](int count) {
        for (int p = 0; p < count; ++p) {
            xml += "<p>";
            for (int r = 0; r < rowsPerPage; ++r)
                xml += "<r/>";
            xml += "</p>";
        }
    };
    pages(dyncPages);
    xml += "</GROUP_DYNC><GROUP_FIX>";
    pages(fixPages);
    xml += "</GROUP_FIX></TERVALON>";
    static QTemporaryDir dir;
    QFile file(dir.filePath("config.xml"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    XmlDocument doc;
    doc.load(file.fileName());
    return doc;
}

QString problemOf(const XmlDocument& doc) {
    try {
        CheckConfigSize(doc.findRoot());
    } catch (const AppError& e) {
        return e.text();
    }
    return {};
}

TEST(ConfigSizeTest, PagesAndRowsUpToTheLimitsBuildAndOneMoreIsRefusedNamingWhere) {
    EXPECT_EQ(problemOf(documentWith(MaxConfigPages / 2, MaxConfigPages / 2, 1)), QString());
    EXPECT_EQ(problemOf(documentWith(1, 1, MaxConfigRows / 2)), QString());

    const QString pages = problemOf(documentWith(MaxConfigPages / 2, MaxConfigPages / 2 + 1, 0));
    EXPECT_TRUE(pages.contains(QStringLiteral("more than %1 pages").arg(MaxConfigPages)))
        << pages.toStdString();
    EXPECT_TRUE(pages.contains("TERVALON/GROUP_FIX")) << pages.toStdString();
    EXPECT_TRUE(pages.contains(QString::fromUtf8("页数超过"))) << pages.toStdString();

    const QString rows = problemOf(documentWith(2, 1, MaxConfigRows / 2));
    EXPECT_TRUE(rows.contains(QStringLiteral("more than %1 rows").arg(MaxConfigRows))) << rows.toStdString();
    EXPECT_TRUE(rows.contains("TERVALON/GROUP_FIX, page 1")) << rows.toStdString();

    EXPECT_EQ(problemOf(XmlDocument()), QString()) << "no root: left to the page builder";
}

} // namespace
