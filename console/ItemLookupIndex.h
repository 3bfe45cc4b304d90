#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <memory>

// The parameter items and choice-box language entries of one config.xml, as the lookups
// between choice texts and device values need them. The file is parsed again only when it
// changed on disk (size, times or file identity), so the lookups always see the file as last
// saved without parsing it once per reply or per choice box.
//
// Failures are kept, not thrown, while indexing: each lookup meets them at the point of its
// walk where reading the file afresh would have met them. User-interface thread only.
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

    // Parameter items in document order (tabs in order, items in order).
    QVector<Item> items;
    // Positions in items of each address, ascending.
    QHash<qint32, QVector<int>> byAddress;
    // Position of the first item whose addr is absent or not an integer, and its error.
    int firstBadItem = -1;
    QString badItemError;

    // First COMBOBOX entry of each name; comboError is set when LANGUAGE, COMPONETS or
    // COMBOBOX is missing.
    QHash<QString, ComboEntry> combos;
    QString comboError;

    // Throws the stored error when the walk reaches an item with an unreadable address
    // before position `before` (or anywhere, with before = items.size()).
    void checkWalkUpTo(int before) const;

private:
    void build(const QString& path);
};
