#pragma once

#include "config/Language.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

// The parameter items and choice-box language entries of one config.xml, as the lookups
// between choice texts and device values need them. The file is parsed again only when it
// changed on disk (size, times or file identity), so the lookups always see the file as last
// saved without parsing it once per reply or per choice box.
//
// Only items that become parameter rows with an address are indexed: separators, and items
// whose addr is absent or not an integer, are passed over, as they have no value to look up.
// Page building names a bad address; the lookups stay usable for every other row.
// User-interface thread only.
class ItemLookupIndex {
public:
    struct Item {
        QString tag;
        qint32 addr = 0;
        QString items;
        QString itemsValue;
    };
    struct ComboEntry {
        QString itemsCN;
        QString itemsEN;
    };

    // The index of the file as it is now. Throws AppError when the file cannot be read or has
    // no GROUP_DYNC under its root.
    static std::shared_ptr<const ItemLookupIndex> of(const QString& path);

    // A separator line: its tag ends in "xxx". It has no row, no address and no value.
    static bool isSeparator(const QString& tag) { return tag.endsWith(QLatin1String("xxx")); }

    // Indexed items in document order (tabs in order, items in order).
    QVector<Item> items;
    // Positions in items of each address, ascending.
    QHash<qint32, QVector<int>> byAddress;
    // Position in items of the first item of each tag.
    QHash<QString, int> byTag;

    // First COMBOBOX entry of each name; comboError is set when LANGUAGE, COMPONETS or
    // COMBOBOX is missing.
    QHash<QString, ComboEntry> combos;
    QString comboError;

    // Throws comboError when the language table could not be read.
    void requireCombos() const;

    // The texts the choice box of item shows in the given language: its language-table
    // entry's texts, or the item's own items when that text is empty; nothing when the table
    // has no entry for the box or could not be read (the box then shows the item's own items,
    // as built).
    std::optional<QString> shownTexts(const Item& item, Language language) const;

    // The lookups of one row, found by its item's tag. A row's choice box shows its own
    // entry's texts, so these never mix the lists of rows that share an address.
    //
    // The text for a device value: the value's position in itemsValue gives the position in
    // the shown texts (the item's own items when the table has no entry); the value itself
    // when it matches nothing or no item has the tag.
    QString textForValue(const QString& tag, const QString& value, Language language) const;
    // The device value for a text the box shows: its position in the shown texts, else in the
    // item's own items, gives the position in itemsValue; the text itself when it matches no
    // list. Positions past the end of a list throw AppError("List index out of bounds (k)").
    QString valueForText(const QString& tag, const QString& text, Language language) const;

    // The same by address, for what knows a choice only by its address (the language tables,
    // the settings editor). Several items may share an address: the lookups keep the order
    // of a plain walk over the indexed items, so a later item's match wins.
    //
    // The text shown for a device value: the value's position in an item's itemsValue gives
    // the position in the address's shown texts (the first table entry of the address's
    // items, else the item's own items); the value itself when no item matches. Throws
    // comboError when a value matched and the table could not be read.
    QString itemByValue(qint32 addr, const QString& value, Language language) const;
    // The device value for an item's own text (not the table's); the text itself when it
    // matches no item of the address.
    QString valueByItem(qint32 addr, const QString& item) const;
    // The texts the address's choice box shows in the language, from the first of its items
    // with a table entry; empty when none has one. Throws comboError.
    QString comboItems(qint32 addr, Language language) const;
    // The first item's itemsValue; empty for an address of no item.
    QString itemsValue(qint32 addr) const;

private:
    void build(const QString& path);
    const QVector<int>& itemsAt(qint32 addr) const;
    std::optional<QString> shownTextsAt(qint32 addr, Language language) const;
    const Item* itemOf(const QString& tag) const;
};
