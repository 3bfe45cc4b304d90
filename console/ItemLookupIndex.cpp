#include "console/ItemLookupIndex.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"

#include <QByteArray>
#include <QFile>
#include <sys/stat.h>

namespace {

// What identifies one state of the file: saves replace it by renaming a new file over it,
// so the inode changes even when size and time stamps would not.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

bool stampOf(const QString& path, FileStamp* stamp) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    stamp->device = st.st_dev;
    stamp->inode = st.st_ino;
    stamp->size = st.st_size;
    stamp->modified = st.st_mtim;
    stamp->changed = st.st_ctim;
    return true;
}

struct CacheEntry {
    FileStamp stamp;
    std::shared_ptr<const ItemLookupIndex> index;
};

// A few files at most: the program has one, tests a handful of temporary ones.
QHash<QString, CacheEntry>& cache() {
    static QHash<QString, CacheEntry> entries;
    return entries;
}

QStringList splitItems(const QString& text) {
    QStringList list;
    SplitByDelimiter(text, QStringLiteral("|"), &list);
    return list;
}

const QString& itemAt(const QStringList& list, qsizetype k) {
    if (k < 0 || k >= list.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(k));
    return list[k];
}

XmlNode missing(const XmlNode& parent, const QString& name, const QString& path) {
    XmlNode node = parent.findChild(name);
    if (node.isNull())
        throw AppError(QStringLiteral("The configuration file has no element %1").arg(path));
    return node;
}

} // namespace

std::shared_ptr<const ItemLookupIndex> ItemLookupIndex::of(const QString& path) {
    FileStamp before;
    const bool exists = stampOf(path, &before);
    auto& entries = cache();
    if (exists) {
        auto it = entries.constFind(path);
        if (it != entries.constEnd() && it->stamp == before)
            return it->index;
    }
    auto index = std::make_shared<ItemLookupIndex>();
    index->build(path); // throws for a missing or unreadable file
    // A file replaced while it was being read is indexed again at the next call.
    FileStamp after;
    if (exists && stampOf(path, &after) && after == before) {
        if (entries.size() >= 8)
            entries.clear();
        entries.insert(path, CacheEntry{before, index});
    } else {
        entries.remove(path);
    }
    return index;
}

void ItemLookupIndex::build(const QString& path) {
    // Prepared for writing, as every lookup reads: an absent attribute reads as empty text.
    const XmlDocument document = XmlDocument::openForWriting(path);
    const XmlNode root = document.findRoot();
    if (root.isNull())
        throw AppError(QStringLiteral("The configuration file has no element TERVALON"));
    const XmlNode dync = missing(root, QStringLiteral("GROUP_DYNC"), QStringLiteral("TERVALON/GROUP_DYNC"));

    const int tabs = dync.childCount();
    for (int t = 0; t < tabs; ++t) {
        const XmlNode tab = dync.child(t);
        const int count = tab.childCount();
        for (int p = 0; p < count; ++p) {
            const XmlNode node = tab.child(p);
            Item item;
            item.tag = node.tagName();
            if (isSeparator(item.tag) || !TryStrToInt(node.readAttribute(QStringLiteral("addr")), &item.addr))
                continue;
            item.items = node.readAttribute(QStringLiteral("items"));
            item.itemsValue = node.readAttribute(QStringLiteral("itemsValue"));
            byAddress[item.addr].append(items.size());
            if (!byTag.contains(item.tag))
                byTag.insert(item.tag, items.size());
            items.append(std::move(item));
        }
    }

    try {
        const XmlNode language =
            missing(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
        const XmlNode componets =
            missing(language, QStringLiteral("COMPONETS"), QStringLiteral("TERVALON/LANGUAGE/COMPONETS"));
        const XmlNode combobox = missing(componets, QStringLiteral("COMBOBOX"),
                                         QStringLiteral("TERVALON/LANGUAGE/COMPONETS/COMBOBOX"));
        const int count = combobox.childCount();
        for (int i = 0; i < count; ++i) {
            const XmlNode entry = combobox.child(i);
            const QString name = entry.readAttribute(QStringLiteral("name"));
            if (!combos.contains(name))
                combos.insert(name, ComboEntry{entry.readAttribute(QStringLiteral("itemsCN")),
                                               entry.readAttribute(QStringLiteral("itemsEN"))});
        }
    } catch (const AppError& e) {
        comboError = e.text();
    }
}

void ItemLookupIndex::requireCombos() const {
    if (!comboError.isEmpty())
        throw AppError(comboError);
}

std::optional<QString> ItemLookupIndex::shownTexts(const Item& item, Language language) const {
    auto entry = combos.constFind(QStringLiteral("cbb_") + item.tag);
    if (entry == combos.constEnd())
        return std::nullopt;
    const QString& texts = language.isEnglish() ? entry->itemsEN : entry->itemsCN;
    return texts.isEmpty() ? item.items : texts;
}

const ItemLookupIndex::Item* ItemLookupIndex::itemOf(const QString& tag) const {
    auto it = byTag.constFind(tag);
    return it == byTag.constEnd() ? nullptr : &items[*it];
}

QString ItemLookupIndex::textForValue(const QString& tag, const QString& value, Language language) const {
    const Item* item = itemOf(tag);
    if (!item)
        return value;
    const qsizetype k = splitItems(item->itemsValue).indexOf(value);
    if (k < 0)
        return value;
    return itemAt(splitItems(shownTexts(*item, language).value_or(item->items)), k);
}

QString ItemLookupIndex::valueForText(const QString& tag, const QString& text, Language language) const {
    const Item* item = itemOf(tag);
    if (!item)
        return text;
    qsizetype k = -1;
    if (const std::optional<QString> shown = shownTexts(*item, language))
        k = splitItems(*shown).indexOf(text);
    if (k < 0)
        k = splitItems(item->items).indexOf(text);
    if (k < 0)
        return text;
    return itemAt(splitItems(item->itemsValue), k);
}
