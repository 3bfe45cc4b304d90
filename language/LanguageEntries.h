#pragma once

#include "config/XmlDocument.h"

#include <QHash>
#include <QString>

// The entries of one COMPONETS group element, found by their name attribute. Only the first
// entry of a name counts; entries without a name match nothing. Built on first use with one
// walk of the group, so looking up every control of a large window stays linear.
class LanguageGroup {
public:
    LanguageGroup() = default;
    explicit LanguageGroup(XmlNode element) : m_element(element) {}

    // The entry for a control name; null when there is none.
    XmlNode find(const QString& name);
    // Appends a new entry element for name and returns it.
    XmlNode append(const QString& elementName, const QString& name);

private:
    void index();

    XmlNode m_element;
    QHash<QString, XmlNode> m_byName;
    bool m_indexed = false;
};

// The seven group elements under COMPONETS, by name.
class LanguageTable {
public:
    // Throws AppError naming the element when COMPONETS is null.
    explicit LanguageTable(XmlNode componets);

    // Throws AppError naming the element when the group is missing.
    LanguageGroup& group(const QString& name);
    // The group, or nullptr when the element is missing; valid until the next lookup.
    LanguageGroup* findGroup(const QString& name);

private:
    XmlNode m_componets;
    QHash<QString, LanguageGroup> m_groups;
};

// The named child, or an AppError naming the element by its path when it is missing.
XmlNode requireElement(const XmlNode& parent, const QString& name, const QString& path);
