#include "language/LanguageEntries.h"

#include "config/AppError.h"

namespace {
const QString nameAttribute = QStringLiteral("name");
const QString componetsPath = QStringLiteral("TERVALON/LANGUAGE/COMPONETS");
} // namespace

XmlNode requireElement(const XmlNode& parent, const QString& name, const QString& path) {
    XmlNode node = parent.findChild(name);
    if (node.isNull())
        throw AppError(QStringLiteral("The configuration file has no element %1").arg(path));
    return node;
}

void LanguageGroup::index() {
    m_indexed = true;
    const int count = m_element.childCount();
    m_byName.reserve(count);
    for (int i = 0; i < count; ++i) {
        const XmlNode entry = m_element.child(i);
        if (!entry.hasAttribute(nameAttribute))
            continue;
        const QString name = entry.readAttribute(nameAttribute);
        if (!m_byName.contains(name))
            m_byName.insert(name, entry);
    }
}

XmlNode LanguageGroup::find(const QString& name) {
    if (!m_indexed)
        index();
    return m_byName.value(name);
}

XmlNode LanguageGroup::append(const QString& elementName, const QString& name) {
    if (!m_indexed)
        index();
    XmlNode entry = m_element.appendChild(elementName);
    entry.writeAttribute(nameAttribute, name);
    if (!m_byName.contains(name))
        m_byName.insert(name, entry);
    return entry;
}

LanguageTable::LanguageTable(XmlNode componets) : m_componets(componets) {
    if (m_componets.isNull())
        throw AppError(QStringLiteral("The configuration file has no element %1").arg(componetsPath));
}

LanguageGroup& LanguageTable::group(const QString& name) {
    auto it = m_groups.find(name);
    if (it == m_groups.end())
        it = m_groups.insert(name,
                             LanguageGroup(requireElement(m_componets, name, componetsPath + u'/' + name)));
    return *it;
}

LanguageGroup* LanguageTable::findGroup(const QString& name) {
    auto it = m_groups.find(name);
    if (it == m_groups.end()) {
        const XmlNode element = m_componets.findChild(name);
        if (element.isNull())
            return nullptr;
        it = m_groups.insert(name, LanguageGroup(element));
    }
    return &*it;
}
