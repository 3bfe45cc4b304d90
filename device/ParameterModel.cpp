#include "device/ParameterModel.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReadSequence.h"

namespace {

QString attr(const XmlNode& node, const QString& name) {
    return node.hasAttribute(name) ? node.readAttribute(name) : QString();
}

QStringList splitItems(const QString& text) {
    QStringList list;
    SplitByDelimiter(text, QStringLiteral("|"), &list);
    return list;
}

bool isSeparatorTag(const QString& tag) {
    return tag.endsWith(QLatin1String("xxx"));
}

QString languageKey(const QString& code) {
    return code == QLatin1String("EN") ? QStringLiteral("EN") : QStringLiteral("CN");
}

// The language table's entries of one kind ("LABEL", "COMBOBOX", "TABSHEET"), by name: the
// first entry of each name counts.
QHash<QString, XmlNode> languageEntries(const XmlNode& root, const QString& kind) {
    QHash<QString, XmlNode> entries;
    const XmlNode list =
        root.findChild(QStringLiteral("LANGUAGE")).findChild(QStringLiteral("COMPONETS")).findChild(kind);
    if (list.isNull())
        return entries;
    for (int i = 0; i < list.childCount(); ++i) {
        const XmlNode entry = list.child(i);
        const QString name = attr(entry, QStringLiteral("name"));
        if (!entries.contains(name))
            entries.insert(name, entry);
    }
    return entries;
}

void addTexts(QHash<QString, QString>& texts, const XmlNode& entry, const QString& attribute) {
    for (const char* key : {"CN", "EN"}) {
        const QString code = QString::fromLatin1(key);
        const QString text = attr(entry, attribute + code);
        if (!text.isEmpty())
            texts.insert(code, text);
    }
}

Parameter parameterOf(const XmlNode& node, int page, const QHash<QString, XmlNode>& labels,
                      const QHash<QString, XmlNode>& combos) {
    Parameter p;
    p.page = page;
    p.tag = node.tagName();
    if (isSeparatorTag(p.tag)) {
        p.kind = Parameter::Kind::Separator;
        return p;
    }
    p.caption = attr(node, QStringLiteral("caption"));
    p.hint = attr(node, QStringLiteral("hint"));
    if (auto label = labels.constFind(QStringLiteral("lbl_") + p.tag); label != labels.constEnd())
        addTexts(p.captions, *label, QStringLiteral("caption"));
    if (attr(node, QStringLiteral("controlType")) == QLatin1String("ComboBox")) {
        p.kind = Parameter::Kind::Choice;
        p.items = splitItems(attr(node, QStringLiteral("items")));
        p.values = splitItems(attr(node, QStringLiteral("itemsValue")));
        if (auto combo = combos.constFind(QStringLiteral("cbb_") + p.tag); combo != combos.constEnd())
            for (const char* key : {"CN", "EN"}) {
                // An entry with empty texts shows the item's own.
                const QString code = QString::fromLatin1(key);
                const QString texts = attr(*combo, QStringLiteral("items") + code);
                p.choices.insert(code, texts.isEmpty() ? p.items : splitItems(texts));
            }
    } else if (attr(node, QStringLiteral("type")) == QLatin1String("HEX")) {
        p.kind = Parameter::Kind::Hex;
    }
    return p;
}

} // namespace

QString Parameter::captionIn(const QString& languageCode) const {
    return captions.value(languageKey(languageCode), caption);
}

QStringList Parameter::choicesIn(const QString& languageCode) const {
    return choices.value(languageKey(languageCode), items);
}

ParameterModel ParameterModel::fromFile(const QString& path) {
    return fromDocument(XmlDocument::openForWriting(path));
}

ParameterModel ParameterModel::fromDocument(const XmlDocument& document) {
    ParameterModel model;
    const XmlNode root = document.findRoot();
    if (root.isNull())
        return model;
    const QHash<QString, XmlNode> labels = languageEntries(root, QStringLiteral("LABEL"));
    const QHash<QString, XmlNode> combos = languageEntries(root, QStringLiteral("COMBOBOX"));
    const QHash<QString, XmlNode> sheets = languageEntries(root, QStringLiteral("TABSHEET"));

    const XmlNode dync = root.findChild(QStringLiteral("GROUP_DYNC"));
    if (!dync.isNull()) {
        if (dync.hasAttribute(QStringLiteral("readTimeoutMs")))
            model.m_readTimeoutMs = ReadTimeoutMs(dync.readAttribute(QStringLiteral("readTimeoutMs")));
        for (int t = 0; t < dync.childCount(); ++t) {
            const XmlNode tab = dync.child(t);
            ParameterPage page;
            page.tag = tab.tagName();
            page.caption = attr(tab, QStringLiteral("caption"));
            if (auto sheet = sheets.constFind(QStringLiteral("tbs_") + page.tag); sheet != sheets.constEnd())
                addTexts(page.captions, *sheet, QStringLiteral("caption"));
            model.m_pages.append(page);
            for (int i = 0; i < tab.childCount(); ++i) {
                const XmlNode node = tab.child(i);
                Parameter p = parameterOf(node, t, labels, combos);
                if (!p.isSeparator() && !TryStrToInt(attr(node, QStringLiteral("addr")), &p.address))
                    continue;
                if (!p.isSeparator() && !model.m_byTag.contains(p.tag))
                    model.m_byTag.insert(p.tag, model.m_parameters.size());
                model.m_parameters.append(std::move(p));
            }
        }
    }

    const XmlNode autoPages = root.findChild(QStringLiteral("GROUP_AUTO"));
    for (int t = 0; !autoPages.isNull() && t < autoPages.childCount(); ++t) {
        const XmlNode tab = autoPages.child(t);
        for (int i = 0; i < tab.childCount(); ++i) {
            const XmlNode node = tab.child(i);
            PolledValue v;
            v.page = t;
            v.tag = node.tagName();
            if (!TryStrToInt(attr(node, QStringLiteral("addr")), &v.address))
                continue;
            v.offset = attr(node, QStringLiteral("constA"));
            v.factor = attr(node, QStringLiteral("constM"));
            v.unit = attr(node, QStringLiteral("unit"));
            model.m_polled.append(v);
        }
    }
    return model;
}

QList<const Parameter*> ParameterModel::rows(int page) const {
    QList<const Parameter*> list;
    for (const Parameter& p : m_parameters)
        if (!p.isSeparator() && (page < 0 || p.page == page))
            list.append(&p);
    return list;
}

const Parameter* ParameterModel::byTag(const QString& tag) const {
    auto it = m_byTag.constFind(tag);
    return it == m_byTag.constEnd() ? nullptr : &m_parameters[*it];
}

const Parameter* ParameterModel::byAddress(qint32 address) const {
    for (const Parameter& p : m_parameters)
        if (!p.isSeparator() && p.address == address)
            return &p;
    return nullptr;
}

void ParameterModel::updateTexts(const XmlDocument& document) {
    const ParameterModel fresh = fromDocument(document);
    for (Parameter& p : m_parameters) {
        const Parameter* now = p.isSeparator() ? nullptr : fresh.byTag(p.tag);
        if (!now || now->page != p.page)
            continue;
        p.caption = now->caption;
        p.hint = now->hint;
        p.captions = now->captions;
        if (p.kind == Parameter::Kind::Choice && now->kind == Parameter::Kind::Choice) {
            p.items = now->items;
            p.values = now->values;
            p.choices = now->choices;
        }
    }
    for (qsizetype i = 0; i < m_pages.size() && i < fresh.m_pages.size(); ++i)
        if (m_pages[i].tag == fresh.m_pages[i].tag)
            m_pages[i] = fresh.m_pages[i];
}

const PolledValue* ParameterModel::polledByTag(const QString& tag) const {
    for (const PolledValue& v : m_polled)
        if (v.tag == tag)
            return &v;
    return nullptr;
}

std::optional<QString> DeviceValueOf(const Parameter& parameter, const QString& shown,
                                     const QString& languageCode, QString* error) {
    auto fail = [error](const QString& why) -> std::optional<QString> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (shown.isEmpty() || parameter.isSeparator())
        return fail(QStringLiteral("The parameter value cannot be empty"));
    switch (parameter.kind) {
    case Parameter::Kind::Hex:
        try {
            return HexFieldToDecimal(shown);
        } catch (const AppError& e) {
            return fail(e.text());
        }
    case Parameter::Kind::Choice: {
        qsizetype k = parameter.choicesIn(languageCode).indexOf(shown);
        if (k < 0)
            k = parameter.items.indexOf(shown);
        if (k < 0)
            return shown;
        if (k >= parameter.values.size())
            return fail(QStringLiteral("List index out of bounds (%1)").arg(k));
        return parameter.values[k];
    }
    default:
        return shown;
    }
}

std::optional<QString> ShownTextOf(const Parameter& parameter, const QString& deviceValue,
                                   const QString& languageCode) {
    switch (parameter.kind) {
    case Parameter::Kind::Hex:
        return ReplyValueToHexField(deviceValue);
    case Parameter::Kind::Choice: {
        const qsizetype k = parameter.values.indexOf(deviceValue);
        const QStringList texts = parameter.choicesIn(languageCode);
        if (k < 0 || k >= texts.size())
            return deviceValue;
        return texts[k];
    }
    case Parameter::Kind::Separator:
        return std::nullopt;
    default:
        return deviceValue;
    }
}

std::optional<QString> ScaledValueOf(const PolledValue& value, quint16 raw, const QString& decimalSeparator) {
    return ScaleAutoValue(value.offset + QLatin1Char('|') + value.factor, raw, decimalSeparator);
}

std::optional<double> ScaledNumberOf(const PolledValue& value, quint16 raw, const QString& decimalSeparator) {
    return ScaleAutoNumber(value.offset + QLatin1Char('|') + value.factor, raw, decimalSeparator);
}
