#include "app/MainFrm.h"

#include "config/AppError.h"
#include "console/ItemLookupIndex.h"
#include "console/PortList.h"
#include "language/LanguageEntries.h"
#include "language/LanguageKinds.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"

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

// The control's built-in text in a language, or fallback when the program gives it none.
QString builtInCaptionOr(const QObject* control, Language language, const QString& fallback) {
    return builtInCaption(control, language).value_or(fallback);
}
QString builtInHintOr(const QObject* control, Language language, const QString& fallback) {
    return builtInHint(control, language).value_or(fallback);
}

// A parameter's Read and Write buttons are named the same in every file.
QString englishButtonCaption(const QString& name, const QObject* button) {
    if (name.left(8) == QLatin1String("btn_Read"))
        return QStringLiteral("READ");
    if (name.left(9) == QLatin1String("btn_Write"))
        return QStringLiteral("WRITE");
    return builtInCaptionOr(button, Language::english(), rightClickToSet);
}

// A fresh entry holds the program's built-in texts of both languages where it has them. For
// the rest it holds the control's current texts in Chinese and placeholders in English,
// except where the English text can be known: Read/Write buttons, the commands of buttons
// and the scaling constants of value displays, which are the same in both languages.
void fillNewEntry(XmlNode entry, LanguageKind kind, const QString& name, QString caption, QString hint,
                  const QObject* control) {
    caption = builtInCaptionOr(control, Language::chinese(), caption);
    hint = builtInHintOr(control, Language::chinese(), hint);
    switch (kind) {
    case LanguageKind::GroupBox:
    case LanguageKind::TabSheet:
    case LanguageKind::CheckBox:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"),
                             builtInCaptionOr(control, Language::english(), rightClickToSet));
        entry.writeAttribute(QStringLiteral("hintEN"),
                             builtInHintOr(control, Language::english(), rightClickToSet));
        break;
    case LanguageKind::Button:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), englishButtonCaption(name, control));
        entry.writeAttribute(QStringLiteral("hintEN"), builtInHintOr(control, Language::english(), hint));
        break;
    case LanguageKind::StaticText: {
        const bool valueDisplay = name.startsWith(u'V');
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"),
                             valueDisplay ? QStringLiteral("0")
                                          : builtInCaptionOr(control, Language::english(), rightClickToSet));
        entry.writeAttribute(QStringLiteral("hintEN"),
                             valueDisplay ? hint
                                          : builtInHintOr(control, Language::english(), rightClickToSet));
        break;
    }
    case LanguageKind::Label:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"),
                             builtInCaptionOr(control, Language::english(), rightClickToSet));
        break;
    case LanguageKind::Edit:
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"),
                             builtInHintOr(control, Language::english(), rightClickToSet));
        break;
    case LanguageKind::ComboBox: {
        const QString items = comboItemsText(static_cast<const QComboBox*>(control));
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"),
                             builtInHintOr(control, Language::english(), rightClickToSet));
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

// What a control shows now, as its entry records it.
struct ControlTexts {
    QString name, caption, hint;
};

ControlTexts textsOf(const QObject* control) {
    return {componentName(control), controlCaption(control), componentHint(control)};
}

// Loads config.xml into the window's document and reads its language code.
LanguageTable openLanguageTable(TForm_Main& form) {
    form.ConfigDocument = std::make_unique<XmlDocument>(XmlDocument::openForWriting(form.ConfigPath));
    const XmlNode root = form.ConfigDocument->findRoot();
    if (root.isNull())
        throw AppError(QStringLiteral("The configuration file has no element TERVALON"));
    const XmlNode language =
        requireElement(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
    form.LanguageCode = language.readAttribute(QStringLiteral("value"));
    LanguageTable table(language.findChild(QStringLiteral("COMPONETS")));
    // All groups are checked before anything changes, so a table missing one is left as it was.
    for (const QString& group : languageGroups())
        table.group(group);
    return table;
}

// A parameter's choice box; a template box (tag 0) has no configured list to compare with.
bool refreshComboBoxEntry(TForm_Main& form, XmlNode& entry, const QObject* box, const QString& hint) {
    const int tag = componentTag(box);
    if (tag <= 0)
        return false;
    const QString items = ItemLookupIndex::of(form.ConfigPath)->comboItems(tag, form.language());
    if (attr(entry, "itemsCN") != items && attr(entry, "hintCN") != hint)
        return false;
    fillMissing(entry, "itemsCN", items);
    fillMissing(entry, "hintCN", hint);
    return true;
}

bool refreshCaptionedEntry(XmlNode& entry, LanguageKind kind, const QObject* control,
                           const ControlTexts& texts) {
    bool changed = false;
    if (attr(entry, "captionCN") == texts.caption || attr(entry, "hintCN") == texts.hint) {
        fillMissing(entry, "captionCN", texts.caption);
        fillMissing(entry, "hintCN", texts.hint);
        changed = true;
    }
    if (kind == LanguageKind::Button) {
        const QTabWidget* pages = pageControlOf(control);
        if (pages && pages->objectName().contains(QLatin1String("FIX")) &&
            attr(entry, "hintEN") == texts.hint)
            changed = true;
    } else if (kind == LanguageKind::StaticText && texts.name.startsWith(u'V')) {
        if (attr(entry, "hintEN") == texts.hint)
            changed = true;
        if (attr(entry, "captionEN") == texts.caption)
            changed = true;
    }
    return changed;
}

// An entry that agrees with its control in at least one text counts as refreshed (and the
// file is saved), as before; its edited texts are kept. True when it counts as refreshed.
bool refreshEntry(TForm_Main& form, XmlNode& entry, LanguageKind kind, const QObject* control,
                  const ControlTexts& texts) {
    switch (kind) {
    case LanguageKind::Edit:
        return attr(entry, "hintCN") == texts.hint;
    case LanguageKind::ComboBox:
        return refreshComboBoxEntry(form, entry, control, texts.hint);
    default:
        return refreshCaptionedEntry(entry, kind, control, texts);
    }
}

// Adds the control's entry when its group lacks one, else refreshes it. True when the file
// is to be saved.
bool recordControl(TForm_Main& form, LanguageGroup& group, QObject* control, LanguageKind kind) {
    const ControlTexts texts = textsOf(control);
    XmlNode entry = group.find(texts.name);
    if (entry.isNull()) {
        fillNewEntry(group.append(QString::fromLatin1(entryElementOf(kind)), texts.name), kind, texts.name,
                     texts.caption, texts.hint, control);
        return true;
    }
    return refreshEntry(form, entry, kind, control, texts);
}

} // namespace

void TForm_Main::CreateLanguageNode() {
    LanguageTable table = openLanguageTable(*this);
    bool changed = false;
    for (QObject* component : Components.all()) {
        const LanguageKind kind = languageKindOf(component);
        if (kind == LanguageKind::None || kind == LanguageKind::RadioButton)
            continue;
        // Every control is recorded, whatever the ones before it changed.
        changed = recordControl(*this, table.group(languageGroupOf(kind)), component, kind) || changed;
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
}

void TForm_Main::btn_SecondLanguageClick() {
    storeLanguage(*this, QStringLiteral("EN"));
    SetLanguage();
}
