#include "app/MainFrm.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "console/ItemLookupIndex.h"

#include <optional>

// Every lookup reads config.xml as last saved, so an edit made in the settings editor counts
// at the next reply or Write click. The walks below keep the order of a plain walk over the
// parameter items: an item with an unreadable address fails the lookup exactly when such a
// walk would have reached it.

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
std::optional<QString> comboItems(const ItemLookupIndex& index, int addr, bool english) {
    if (!index.comboError.isEmpty())
        throw AppError(index.comboError);
    for (int m : matchesOf(index, addr)) {
        index.checkWalkUpTo(m);
        const ItemLookupIndex::Item& item = index.items[m];
        auto entry = index.combos.constFind(QStringLiteral("cbb_") + item.tag);
        if (entry == index.combos.constEnd())
            continue;
        const QString& texts = english ? entry->itemsEN : entry->itemsCN;
        return texts.isEmpty() ? item.items : texts;
    }
    index.checkWalkUpTo(index.items.size());
    return std::nullopt;
}

} // namespace

QString TForm_Main::GetItemByValue(int addr, const QString& value) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    const bool english = LanguageCode == QLatin1String("EN");
    QString result = value;
    std::optional<QStringList> texts; // the same for every item of the address
    for (int m : matchesOf(*index, addr)) {
        index->checkWalkUpTo(m);
        if (!texts)
            texts = split(comboItems(*index, addr, english).value_or(QString()));
        const qsizetype k = split(index->items[m].itemsValue).indexOf(value);
        // Later items of the same address win, as the walk overwrites the result.
        if (k >= 0)
            result = at(*texts, k);
    }
    index->checkWalkUpTo(index->items.size());
    return result;
}

QString TForm_Main::GetValueByItem(int addr, const QString& item) {
    // Matched against the item's own texts, not the language table: a box showing the other
    // language's texts gives its text back unchanged.
    const auto index = ItemLookupIndex::of(ConfigPath);
    QString result = item;
    for (int m : matchesOf(*index, addr)) {
        index->checkWalkUpTo(m);
        const qsizetype k = split(index->items[m].items).indexOf(item);
        if (k >= 0)
            result = at(split(index->items[m].itemsValue), k);
    }
    index->checkWalkUpTo(index->items.size());
    return result;
}

QString TForm_Main::GetComboItemsStr(int addr) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    return comboItems(*index, addr, LanguageCode == QLatin1String("EN")).value_or(QString());
}

QString TForm_Main::GetItemsValueStr(int addr) {
    const auto index = ItemLookupIndex::of(ConfigPath);
    const QVector<int>& matches = matchesOf(*index, addr);
    if (!matches.isEmpty()) {
        index->checkWalkUpTo(matches.first());
        return index->items[matches.first()].itemsValue;
    }
    index->checkWalkUpTo(index->items.size());
    return {};
}
