#include "config/ConfigSize.h"

#include "config/AppError.h"

void CheckConfigSize(const XmlNode& root) {
    if (root.isNull())
        return;
    int pages = 0;
    int rows = 0;
    for (const char* name : {"GROUP_DYNC", "GROUP_FIX", "GROUP_AUTO"}) {
        const XmlNode section = root.findChild(QString::fromLatin1(name));
        const int count = section.childCount();
        pages += count;
        if (pages > MaxConfigPages)
            throw AppError(
                QStringLiteral("配置文件的页数超过 %1，未载入 / The configuration has more than %1 pages "
                               "(%2 reached in TERVALON/%3) and was not built")
                    .arg(MaxConfigPages)
                    .arg(pages)
                    .arg(QString::fromLatin1(name)));
        for (int i = 0; i < count; ++i) {
            rows += section.child(i).childCount();
            if (rows > MaxConfigRows)
                throw AppError(
                    QStringLiteral("配置文件的行数超过 %1，未载入 / The configuration has more than %1 rows "
                                   "(reached in TERVALON/%2, page %3) and was not built")
                        .arg(MaxConfigRows)
                        .arg(QString::fromLatin1(name))
                        .arg(i + 1));
        }
    }
}
