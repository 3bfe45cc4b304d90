#include "app/MainFrm.h"

#include "ui/ComponentRegistry.h"
#include "config/AppError.h"
#include "console/ConsoleWiring.h"
#include "ui/ControlCaption.h"
#include "language/LanguageEntries.h"
#include "language/LanguageKinds.h"

#include <QComboBox>
#include <QTabWidget>

namespace {

const QString rightClickToSet = QStringLiteral("Right click to set");
const QString itemSeparator = QStringLiteral("|");

// The items as config.xml keeps them: a port box's devices found on this machine are left out,
// since the file travels to other machines.
QString comboItemsText(const QComboBox* box) {
    return configuredPortNames(box).join(itemSeparator);
}

QString attr(const XmlNode& entry, const char* name) {
    return entry.readAttribute(QString::fromLatin1(name));
}

// A fresh entry holds the control's current texts in Chinese and placeholders in English,
// except where the English text can be known: Read/Write buttons, the commands of buttons
// and the scaling constants of value displays, which are the same in both languages.
void fillNewEntry(XmlNode entry, LanguageKind kind, const QString& name, const QString& caption,
                  const QString& hint, const QObject* control) {
    switch (kind) {
    case LanguageKind::GroupBox:
    case LanguageKind::TabSheet:
    case LanguageKind::CheckBox:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), knownEnglishCaption(control, rightClickToSet));
        entry.writeAttribute(QStringLiteral("hintEN"), knownEnglishHint(control, rightClickToSet));
        break;
    case LanguageKind::Button: {
        QString english = knownEnglishCaption(control, rightClickToSet);
        if (name.left(8) == QLatin1String("btn_Read"))
            english = QStringLiteral("READ");
        else if (name.left(9) == QLatin1String("btn_Write"))
            english = QStringLiteral("WRITE");
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), english);
        entry.writeAttribute(QStringLiteral("hintEN"), knownEnglishHint(control, hint));
        break;
    }
    case LanguageKind::StaticText: {
        const bool valueDisplay = name.startsWith(u'V');
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"),
                             valueDisplay ? QStringLiteral("0") : rightClickToSet);
        entry.writeAttribute(QStringLiteral("hintEN"), valueDisplay ? hint : rightClickToSet);
        break;
    }
    case LanguageKind::Label:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), knownEnglishCaption(control, rightClickToSet));
        break;
    case LanguageKind::Edit:
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"), rightClickToSet);
        break;
    case LanguageKind::ComboBox: {
        const QString items = comboItemsText(static_cast<const QComboBox*>(control));
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"), rightClickToSet);
        entry.writeAttribute(QStringLiteral("itemsCN"), items);
        entry.writeAttribute(QStringLiteral("itemsEN"), items);
        break;
    }
    case LanguageKind::RadioButton:
    case LanguageKind::None:
        break;
    }
}

const char* entryElementOf(LanguageKind kind) {
    switch (kind) {
    case LanguageKind::GroupBox:
        return "GROUPBOX_LAN";
    case LanguageKind::TabSheet:
        return "TABSHEET_LAN";
    case LanguageKind::Button:
        return "BUTTON_LAN";
    case LanguageKind::StaticText:
    case LanguageKind::Label:
        return "LABEL_LAN";
    case LanguageKind::Edit:
        return "EDIT_LAN";
    case LanguageKind::ComboBox:
        return "COMBOBOX_LAN";
    default:
        return "CHECKBOX_LAN";
    }
}

// A refresh only fills in what an entry lacks. A text that differs from the control's was
// edited in the settings editor (a caption, a fixed command) or by hand, and the edit stands;
// a text equal to the control's needs nothing.
void fillMissing(XmlNode& entry, const char* attribute, const QString& text) {
    const QString name = QString::fromLatin1(attribute);
    if (!entry.hasAttribute(name))
        entry.writeAttribute(name, text);
}

const QStringList& languageGroups() {
    static const QStringList groups = {"GROUPBOX", "TABSHEET", "BUTTON",  "LABEL",
                                       "EDIT",     "COMBOBOX", "CHECKBOX"};
    return groups;
}

} // namespace

void TForm_Main::CreateLanguageNode() {
    auto document = std::make_unique<XmlDocument>(XmlDocument::openForWriting(ConfigPath));
    ConfigDocument = std::move(document);
    const XmlNode root = ConfigDocument->findRoot();
    if (root.isNull())
        throw AppError(QStringLiteral("The configuration file has no element TERVALON"));
    const XmlNode language =
        requireElement(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
    LanguageCode = language.readAttribute(QStringLiteral("value"));
    LanguageTable table(language.findChild(QStringLiteral("COMPONETS")));
    // All groups are checked before anything changes, so a table missing one is left as it was.
    for (const QString& group : languageGroups())
        table.group(group);

    bool changed = false;
    for (QObject* component : Components.all()) {
        const LanguageKind kind = languageKindOf(component);
        if (kind == LanguageKind::None || kind == LanguageKind::RadioButton)
            continue;
        LanguageGroup& group = table.group(languageGroupOf(kind));
        const QString name = componentName(component);
        const QString caption = controlCaption(component);
        const QString hint = componentHint(component);
        XmlNode entry = group.find(name);
        if (entry.isNull()) {
            fillNewEntry(group.append(QString::fromLatin1(entryElementOf(kind)), name), kind, name, caption,
                         hint, component);
            changed = true;
            continue;
        }

        // An entry that agrees with its control in at least one text counts as refreshed
        // (and the file is saved), as before; its edited texts are kept.
        switch (kind) {
        case LanguageKind::Edit:
            if (attr(entry, "hintCN") == hint)
                changed = true;
            break;
        case LanguageKind::ComboBox: {
            const int tag = componentTag(component);
            if (tag <= 0)
                break;
            const QString items = GetComboItemsStr(tag);
            if (attr(entry, "itemsCN") != items && attr(entry, "hintCN") != hint)
                break;
            fillMissing(entry, "itemsCN", items);
            fillMissing(entry, "hintCN", hint);
            changed = true;
            break;
        }
        default:
            if (attr(entry, "captionCN") == caption || attr(entry, "hintCN") == hint) {
                fillMissing(entry, "captionCN", caption);
                fillMissing(entry, "hintCN", hint);
                changed = true;
            }
            if (kind == LanguageKind::Button) {
                const QTabWidget* pages = pageControlOf(component);
                if (pages && pages->objectName().contains(QLatin1String("FIX")) &&
                    attr(entry, "hintEN") == hint)
                    changed = true;
            } else if (kind == LanguageKind::StaticText && name.startsWith(u'V')) {
                if (attr(entry, "hintEN") == hint)
                    changed = true;
                if (attr(entry, "captionEN") == caption)
                    changed = true;
            }
            break;
        }
    }
    if (changed)
        ConfigDocument->save(ConfigPath);
}

QString TForm_Main::GetLanguageAttributesStr(const QString& componetType, const QString& name,
                                             const QString& attName) {
    auto document = std::make_unique<XmlDocument>(XmlDocument::openForWriting(ConfigPath));
    ConfigDocument = std::move(document);
    const XmlNode root = ConfigDocument->findRoot();
    const XmlNode language =
        requireElement(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
    LanguageCode = language.readAttribute(QStringLiteral("value"));
    LanguageTable table(language.findChild(QStringLiteral("COMPONETS")));
    const XmlNode entry = table.group(componetType).find(name);
    return entry.isNull() ? QString() : entry.readAttribute(attName);
}

namespace {

void storeLanguage(TForm_Main& form, const QString& code) {
    auto document = std::make_unique<XmlDocument>(XmlDocument::openForWriting(form.ConfigPath));
    XmlNode language = document->findRoot().findChild(QStringLiteral("LANGUAGE"));
    // The code changes in memory only together with the file, so messages and texts never
    // disagree after a failed save.
    language.writeAttribute(QStringLiteral("value"), code);
    document->save(form.ConfigPath);
    form.ConfigDocument = std::move(document);
    form.LanguageCode = code;
}

} // namespace

void TForm_Main::btn_FirstLanguageClick() {
    storeLanguage(*this, QStringLiteral("CN"));
    SetLanguage();
    ShowModbusHealth();
}

void TForm_Main::btn_SecondLanguageClick() {
    storeLanguage(*this, QStringLiteral("EN"));
    SetLanguage();
    ShowModbusHealth();
}
