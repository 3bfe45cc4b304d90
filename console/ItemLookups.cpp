#include "app/MainFrm.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "console/ItemLookupIndex.h"

#include <optional>

// Every lookup reads config.xml as last saved, so an edit made in the settings editor counts
// at the next reply or Write click. The walks keep the order of a plain walk over the
// parameter items that have an address; separators and items without an integer address are
// not part of it (page building names the latter).
//
// These look up by address. The window's own rows use the lookups of their own item
// (ItemLookupIndex::textForValue and valueForText), so rows that share an address never
// borrow each other's lists.

namespace {

const QString separator = QStringLiteral("|");

QStringList split(const QString& text) {
    QStringList list;
    SplitByDelimiter(text, separator, &list);
    return list;
}

const QString& at(const QStringList& list, qsizetype k) {
    if (k < 0 || k >= list.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(k));
    return list[k];
}

const QVector<int>& matchesOf(const ItemLookupIndex& index, int addr) {
    static const QVector<int> none;
    auto it = index.byAddress.constFind(addr);
    return it == index.byAddress.constEnd() ? none : *it;
}

// The item texts of an address's choice box in the given language, or nothing when the
// language table has no entry for any item of that address.
std::optional<QString> comboItems(const ItemLookupIndex& index, int addr, Language language) {
    index.requireCombos();
    for (int m : matchesOf(index, addr))
        if (std::optional<QString> texts = index.shownTexts(index.items[m], language))
            return texts;
    return std::nullopt;
}

} // namespace

QString TForm_Main::GetItemByValue(int addr, const QString& value) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    QString result = value;
    std::optional<std::optional<QString>> texts; // read once: the same for every item of the address
    for (int m : matchesOf(*index, addr)) {
        const ItemLookupIndex::Item& item = index->items[m];
        const qsizetype k = split(item.itemsValue).indexOf(value);
        if (k < 0)
            continue;
        if (!texts)
            texts = comboItems(*index, addr, language());
        // Without a table entry the box shows the item's own items, as it was built.
        // Later items of the same address win, as the walk overwrites the result.
        result = at(split(texts->value_or(item.items)), k);
    }
    return result;
}

QString TForm_Main::GetValueByItem(int addr, const QString& item) {
    // Matched against the item's own texts, not the language table.
    const auto index = ItemLookupIndex::of(ConfigPath);
    QString result = item;
    for (int m : matchesOf(*index, addr)) {
        const qsizetype k = split(index->items[m].items).indexOf(item);
        if (k >= 0)
            result = at(split(index->items[m].itemsValue), k);
    }
    return result;
}

QString TForm_Main::GetComboItemsStr(int addr) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    return comboItems(*index, addr, language()).value_or(QString());
}

QString TForm_Main::GetItemsValueStr(int addr) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    const QVector<int>& matches = matchesOf(*index, addr);
    return matches.isEmpty() ? QString() : index->items[matches.first()].itemsValue;
}
