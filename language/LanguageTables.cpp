#include "app/MainFrm.h"

#include "app/ComponentRegistry.h"
#include "app/WindowTitle.h"
#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "language/ControlSettingFrm.h"
#include "language/LanguageControls.h"
#include "language/LanguageEntries.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QString rightClickToSet = QStringLiteral("Right click to set");
const QString emptyEnglishCaption = QStringLiteral("right-click to set");
const QString itemSeparator = QStringLiteral("|");

// The group each kind of control keeps its entry in, in the order the kinds are tested.
enum class Kind {
    None,
    GroupBox,
    TabSheet,
    Button,
    StaticText,
    Label,
    Edit,
    ComboBox,
    CheckBox,
    RadioButton
};

Kind kindOf(const QObject* c) {
    if (isGroupBox(c))
        return Kind::GroupBox;
    if (isTabSheet(c))
        return Kind::TabSheet;
    if (isPushButton(c))
        return Kind::Button;
    if (isStaticText(c))
        return Kind::StaticText;
    if (isLabel(c))
        return Kind::Label;
    if (isEdit(c))
        return Kind::Edit;
    if (isComboBox(c))
        return Kind::ComboBox;
    if (isCheckBox(c))
        return Kind::CheckBox;
    if (isRadioButton(c))
        return Kind::RadioButton;
    return Kind::None;
}

QString groupOf(Kind kind) {
    switch (kind) {
    case Kind::GroupBox:
        return QStringLiteral("GROUPBOX");
    case Kind::TabSheet:
        return QStringLiteral("TABSHEET");
    case Kind::Button:
        return QStringLiteral("BUTTON");
    case Kind::StaticText:
    case Kind::Label:
        return QStringLiteral("LABEL");
    case Kind::Edit:
        return QStringLiteral("EDIT");
    case Kind::ComboBox:
        return QStringLiteral("COMBOBOX");
    case Kind::CheckBox:
    case Kind::RadioButton:
        return QStringLiteral("CHECKBOX");
    case Kind::None:
        break;
    }
    return {};
}

QString comboItemsText(const QComboBox* box) {
    QStringList items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items.join(itemSeparator);
}

QString attr(const XmlNode& entry, const char* name) {
    return entry.readAttribute(QString::fromLatin1(name));
}

// A fresh entry holds the control's current texts in Chinese and placeholders in English,
// except where the English text can be known: Read/Write buttons, the commands of buttons
// and the scaling constants of value displays, which are the same in both languages.
void fillNewEntry(XmlNode entry, Kind kind, const QString& name, const QString& caption, const QString& hint,
                  const QObject* control) {
    switch (kind) {
    case Kind::GroupBox:
    case Kind::TabSheet:
    case Kind::CheckBox:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), rightClickToSet);
        entry.writeAttribute(QStringLiteral("hintEN"), rightClickToSet);
        break;
    case Kind::Button: {
        QString english = rightClickToSet;
        if (name.left(8) == QLatin1String("btn_Read"))
            english = QStringLiteral("READ");
        else if (name.left(9) == QLatin1String("btn_Write"))
            english = QStringLiteral("WRITE");
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), english);
        entry.writeAttribute(QStringLiteral("hintEN"), hint);
        break;
    }
    case Kind::StaticText: {
        const bool valueDisplay = name.startsWith(u'V');
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"),
                             valueDisplay ? QStringLiteral("0") : rightClickToSet);
        entry.writeAttribute(QStringLiteral("hintEN"), valueDisplay ? hint : rightClickToSet);
        break;
    }
    case Kind::Label:
        entry.writeAttribute(QStringLiteral("captionCN"), caption);
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("captionEN"), rightClickToSet);
        break;
    case Kind::Edit:
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"), rightClickToSet);
        break;
    case Kind::ComboBox: {
        const QString items = comboItemsText(static_cast<const QComboBox*>(control));
        entry.writeAttribute(QStringLiteral("hintCN"), hint);
        entry.writeAttribute(QStringLiteral("hintEN"), rightClickToSet);
        entry.writeAttribute(QStringLiteral("itemsCN"), items);
        entry.writeAttribute(QStringLiteral("itemsEN"), items);
        break;
    }
    case Kind::RadioButton:
    case Kind::None:
        break;
    }
}

const char* entryElementOf(Kind kind) {
    switch (kind) {
    case Kind::GroupBox:
        return "GROUPBOX_LAN";
    case Kind::TabSheet:
        return "TABSHEET_LAN";
    case Kind::Button:
        return "BUTTON_LAN";
    case Kind::StaticText:
    case Kind::Label:
        return "LABEL_LAN";
    case Kind::Edit:
        return "EDIT_LAN";
    case Kind::ComboBox:
        return "COMBOBOX_LAN";
    default:
        return "CHECKBOX_LAN";
    }
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
        const Kind kind = kindOf(component);
        if (kind == Kind::None || kind == Kind::RadioButton)
            continue;
        LanguageGroup& group = table.group(groupOf(kind));
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

        // An entry keeps hand edits only when both its texts were edited; an entry that
        // still agrees with the control in one text takes both back from the control.
        switch (kind) {
        case Kind::Edit:
            if (attr(entry, "hintCN") == hint)
                changed = true;
            break;
        case Kind::ComboBox: {
            const int tag = componentTag(component);
            if (tag <= 0)
                break;
            const QString items = GetComboItemsStr(tag);
            if (attr(entry, "itemsCN") != items && attr(entry, "hintCN") != hint)
                break;
            entry.writeAttribute(QStringLiteral("itemsCN"), items);
            entry.writeAttribute(QStringLiteral("hintCN"), hint);
            changed = true;
            break;
        }
        default:
            if (attr(entry, "captionCN") != caption && attr(entry, "hintCN") != hint) {
                // left as edited
            } else {
                entry.writeAttribute(QStringLiteral("captionCN"), caption);
                entry.writeAttribute(QStringLiteral("hintCN"), hint);
                changed = true;
            }
            if (kind == Kind::Button) {
                const QTabWidget* pages = pageControlOf(component);
                if (pages && pages->objectName().contains(QLatin1String("FIX")) &&
                    attr(entry, "hintEN") == hint)
                    changed = true;
            } else if (kind == Kind::StaticText && name.startsWith(u'V')) {
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

void TForm_Main::SetLanguage() {
    // Loaded outside the guard: a missing or broken file is reported to the caller.
    auto document = std::make_unique<XmlDocument>();
    document->load(ConfigPath);
    ConfigDocument = std::move(document);

    // Any failure ends the pass silently; controls handled before it keep their new texts.
    try {
        const XmlNode root = ConfigDocument->findRoot();
        const XmlNode language =
            requireElement(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
        LanguageCode = language.readAttribute(QStringLiteral("value"));
        const bool english = LanguageCode == QLatin1String("EN");

        setWindowTitle(WindowTitleFor(LanguageCode, root.readAttribute(QStringLiteral("appName"))));
        if (Form_ControlSetting)
            Form_ControlSetting->setWindowTitle(english ? QStringLiteral("Control displays content Settings")
                                                        : QStringLiteral("控件显示内容设置"));

        LanguageTable table(language.findChild(QStringLiteral("COMPONETS")));
        const char* captionAttr = english ? "captionEN" : "captionCN";
        const char* hintAttr = english ? "hintEN" : "hintCN";
        QStringList items;
        for (QObject* component : Components.all()) {
            const Kind kind = kindOf(component);
            if (kind == Kind::None)
                continue;
            const XmlNode entry = table.group(groupOf(kind)).find(componentName(component));
            if (!entry.isNull()) {
                switch (kind) {
                case Kind::StaticText:
                case Kind::Label:
                    // English applies captions only: tooltips keep their Chinese texts.
                    setControlCaption(component, attr(entry, captionAttr));
                    if (!english)
                        setComponentHint(component, attr(entry, hintAttr));
                    break;
                case Kind::Edit:
                    setComponentHint(component, attr(entry, hintAttr));
                    break;
                case Kind::ComboBox: {
                    auto* box = static_cast<QComboBox*>(component);
                    setComponentHint(box, attr(entry, hintAttr));
                    SplitByDelimiter(attr(entry, english ? "itemsEN" : "itemsCN"), itemSeparator, &items);
                    box->clear();
                    box->addItems(items);
                    if (box->count() > 0)
                        box->setCurrentIndex(0);
                    break;
                }
                default:
                    setControlCaption(component, attr(entry, captionAttr));
                    setComponentHint(component, attr(entry, hintAttr));
                    if (english && controlCaption(component).isEmpty())
                        setControlCaption(component, emptyEnglishCaption);
                    if (component == btn_Connect)
                        ConnectCaption = controlCaption(btn_Connect);
                    break;
                }
            }
            // Refilling a list clears the port boxes' texts: put back what was read at start-up.
            if (component == cbb_Port || component == cbb_Baud || component == cbb_CheckBit ||
                component == cbb_DataBit || component == cbb_StopBit) {
                cbb_Port->setCurrentText(PortSettings.Port);
                cbb_Baud->setCurrentText(PortSettings.Baud);
                cbb_CheckBit->setCurrentText(PortSettings.Parity);
                cbb_DataBit->setCurrentText(PortSettings.ByteSize);
                cbb_StopBit->setCurrentText(PortSettings.StopBits);
            }
        }

        DisconnectCaption.clear();
        const XmlNode messages = requireElement(language, QStringLiteral("MESSAGES"),
                                                QStringLiteral("TERVALON/LANGUAGE/MESSAGES"));
        const int count = messages.childCount();
        for (int i = 0; i < count; ++i) {
            const XmlNode message = messages.child(i);
            if (message.tagName() == QLatin1String("MSG_BTN_UNCONNECT")) {
                DisconnectCaption = attr(message, english ? "strEN" : "strCN");
                break;
            }
        }
    } catch (const AppError&) {
    }
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
