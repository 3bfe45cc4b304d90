#include "console/ItemLookupIndex.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"

// Every lookup works on the index of config.xml as last saved, so an edit made in the
// settings editor counts at the next call. Positions past the end of a list are errors rather
// than an empty text, so that a Write never sends a value the file does not give.

namespace {

QStringList split(const QString& text) {
    QStringList list;
    SplitByDelimiter(text, QStringLiteral("|"), &list);
    return list;
}

const QString& at(const QStringList& list, qsizetype k) {
    if (k < 0 || k >= list.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(k));
    return list[k];
}

} // namespace

const QVector<int>& ItemLookupIndex::itemsAt(qint32 addr) const {
    static const QVector<int> none;
    auto it = byAddress.constFind(addr);
    return it == byAddress.constEnd() ? none : *it;
}

std::optional<QString> ItemLookupIndex::shownTextsAt(qint32 addr, Language language) const {
    requireCombos();
    for (int m : itemsAt(addr))
        if (std::optional<QString> texts = shownTexts(items[m], language))
            return texts;
    return std::nullopt;
}

QString ItemLookupIndex::itemByValue(qint32 addr, const QString& value, Language language) const {
    QString result = value;
    std::optional<std::optional<QString>> texts; // read once: the same for every item of the address
    for (int m : itemsAt(addr)) {
        const Item& item = items[m];
        const qsizetype k = split(item.itemsValue).indexOf(value);
        if (k < 0)
            continue;
        if (!texts)
            texts = shownTextsAt(addr, language);
        // Without a table entry the box shows the item's own items, as it was built.
        result = at(split(texts->value_or(item.items)), k);
    }
    return result;
}

QString ItemLookupIndex::valueByItem(qint32 addr, const QString& item) const {
    QString result = item;
    for (int m : itemsAt(addr)) {
        const qsizetype k = split(items[m].items).indexOf(item);
        if (k >= 0)
            result = at(split(items[m].itemsValue), k);
    }
    return result;
}

QString ItemLookupIndex::comboItems(qint32 addr, Language language) const {
    return shownTextsAt(addr, language).value_or(QString());
}

QString ItemLookupIndex::itemsValue(qint32 addr) const {
    const QVector<int>& matches = itemsAt(addr);
    return matches.isEmpty() ? QString() : items[matches.first()].itemsValue;
}
