#include "app/MainFrm.h"
#include "config/AppError.h"
#include "console/ItemLookupIndex.h"
#include "language/ControlSettingConfig.h"
#include "language/ControlSettingFrm.h"
#include "ui/ComponentRegistry.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

using controlsetting::MissingElement;

// The parent as the window's code counts parents: the control it was placed on, skipping
// the widgets Qt puts in between (a tab control's page stack, a scroll box's viewport).
QWidget* componentParent(const TForm_Main* window, const QWidget* control) {
    for (QWidget* p = control->parentWidget(); p; p = p->parentWidget()) {
        if (p == window || qobject_cast<TScrollBox*>(p) || qobject_cast<TTabSheet*>(p) ||
            qobject_cast<QTabWidget*>(p) ||
            (!p->objectName().isEmpty() && window->FindComponent(p->objectName()) == p))
            return p;
    }
    return nullptr;
}

// A button on a fixed-command page: scroll box, tab sheet, then the page control whose
// name holds "FIX".
bool isFixedCommandButton(const TForm_Main* window, const QWidget* button) {
    const QWidget* w = button;
    for (int i = 0; i < 3 && w; ++i)
        w = componentParent(window, w);
    return w && w->objectName().contains(QLatin1String("FIX"));
}

QString groupOf(const QObject* c) {
    if (isGroupBox(c))
        return QStringLiteral("GROUPBOX");
    if (isTabSheet(c))
        return QStringLiteral("TABSHEET");
    if (isPushButton(c))
        return QStringLiteral("BUTTON");
    if (isLabel(c) || isStaticText(c))
        return QStringLiteral("LABEL");
    if (isCheckBox(c))
        return QStringLiteral("CHECKBOX");
    return {};
}

// Reads the entry of the edited control from one fresh load of config.xml.
class EntryReader {
public:
    EntryReader(TForm_Main& window, const QString& group)
        : m_doc(XmlDocument::openForWriting(window.ConfigPath)) {
        const controlsetting::LanguageSection lang = controlsetting::findLanguageSection(m_doc);
        window.LanguageCode = lang.languageCode;
        m_group = controlsetting::requireChild(lang.componets, QStringLiteral("TERVALON/LANGUAGE/COMPONETS"),
                                               group);
    }
    // The attribute of the entry named name; empty when it or the entry is absent.
    QString read(const QString& name, const char* attribute) const {
        const XmlNode entry = TForm_ControlSetting::findEntry(m_group, name);
        return entry.isNull() ? QString() : entry.readAttribute(QLatin1String(attribute));
    }

private:
    XmlDocument m_doc;
    XmlNode m_group;
};

// A field of the editor and the entry attribute it shows.
struct FieldSource {
    QWidget* field;
    const char* attribute;
};

void enableFields(std::initializer_list<QWidget*> fields) {
    for (QWidget* f : fields)
        f->setEnabled(true);
}

// Shows the attributes of the named control's entry, in the group the editor is set to, in
// their fields.
void showEntry(TForm_Main& window, TForm_ControlSetting& ed, std::initializer_list<FieldSource> sources) {
    const EntryReader entries(window, ed.controlType);
    const QString name = ed.lbl_Name->text();
    for (const FieldSource& s : sources)
        ed.setFieldText(s.field, entries.read(name, s.attribute));
}

void fillCaptionsAndHints(TForm_Main& window, TForm_ControlSetting& ed, const QString& group) {
    enableFields({ed.edt_CaptionCN, ed.edt_CaptionEN, ed.mmo_HintCN, ed.mmo_HintEN});
    ed.controlType = group;
    showEntry(window, ed,
              {{ed.edt_CaptionCN, "captionCN"},
               {ed.edt_CaptionEN, "captionEN"},
               {ed.mmo_HintCN, "hintCN"},
               {ed.mmo_HintEN, "hintEN"}});
}

// A control with a caption: its tooltip memos may stand for something else than tooltips.
void fillCaptionedControl(TForm_Main& window, TForm_ControlSetting& ed, const QWidget* control,
                          const QString& group) {
    fillCaptionsAndHints(window, ed, group);
    if (isPushButton(control) && isFixedCommandButton(&window, control)) {
        // A fixed-command button's tooltips are the command lines it sends.
        ed.lbl_CMD->setEnabled(true);
        ed.lbl_Hint->setEnabled(false);
        ed.setHintMemoToolTips(window.language().translate(
            "Editor", "Please enter the command corresponding to this button here"));
    }
    if (isStaticText(control) && componentName(control).startsWith(u'V')) {
        // A value display's tooltips are its scaling constants: shown, not edited.
        ed.mmo_HintCN->setEnabled(false);
        ed.mmo_HintEN->setEnabled(false);
    }
}

void fillEditBox(TForm_Main& window, TForm_ControlSetting& ed) {
    ed.controlType = QStringLiteral("EDIT");
    enableFields({ed.mmo_HintCN, ed.mmo_HintEN});
    showEntry(window, ed, {{ed.mmo_HintCN, "hintCN"}, {ed.mmo_HintEN, "hintEN"}});
}

// Shows the values of a choice box's parameter; false when a parameter's list cannot be read
// (the reason was shown).
bool showItemValues(TForm_Main& window, TForm_ControlSetting& ed, int tag) {
    try {
        ed.setFieldText(ed.mmo_ItemsValue, ItemLookupIndex::of(window.ConfigPath)->itemsValue(tag));
    } catch (const AppError& e) {
        // The list of a template box (tag 0) is only shown, never written, so an unreadable
        // one stays empty. A parameter's list would be overwritten by OK: refuse to open.
        if (tag <= 0)
            return true;
        messagePresenter().show(MessagePresenter::Kind::Warning, e.text());
        return false;
    }
    return true;
}

bool fillComboBox(TForm_Main& window, TForm_ControlSetting& ed, const QWidget* control) {
    ed.controlType = QStringLiteral("COMBOBOX");
    const int tag = componentTag(control);
    enableFields({ed.mmo_HintCN, ed.mmo_HintEN, ed.mmo_ItemsCN, ed.mmo_ItemsEN});
    // Only a parameter's choice box (its tag is the address) has values to edit.
    ed.mmo_ItemsValue->setEnabled(tag > 0);
    showEntry(window, ed,
              {{ed.mmo_ItemsCN, "itemsCN"},
               {ed.mmo_ItemsEN, "itemsEN"},
               {ed.mmo_HintCN, "hintCN"},
               {ed.mmo_HintEN, "hintEN"}});
    return showItemValues(window, ed, tag);
}

// Fills the editor for the control; false when it cannot be edited (the reason was shown).
bool fillEditor(TForm_Main& window, TForm_ControlSetting& ed, QWidget* control) {
    ed.lbl_Name->setText(componentName(control));
    ed.clearFields();
    if (qobject_cast<TScrollBox*>(control)) {
        // The scroll box fills its tab sheet, so a click on the page's empty area edits the sheet.
        ed.lbl_Name->setText(componentName(componentParent(&window, control)));
        fillCaptionsAndHints(window, ed, QStringLiteral("TABSHEET"));
    } else if (const QString group = groupOf(control); !group.isEmpty()) {
        fillCaptionedControl(window, ed, control, group);
    } else if (isEdit(control)) {
        fillEditBox(window, ed);
    } else if (isComboBox(control)) {
        return fillComboBox(window, ed, control);
    }
    // Any other control (a radio button) has no entry to edit: the editor opens empty.
    return true;
}

} // namespace

void TForm_Main::PopupMenu1Popup(QWidget* control) {
    if (!control)
        return;
    if (!Form_ControlSetting)
        Form_ControlSetting = new TForm_ControlSetting(this);
    TForm_ControlSetting& ed = *Form_ControlSetting;
    if (ed.isVisible())
        return;
    ed.setTarget(ConfigPath, language());
    try {
        if (!fillEditor(*this, ed, control))
            return;
    } catch (const MissingElement& missing) {
        messagePresenter().show(
            MessagePresenter::Kind::Warning,
            controlsetting::missingOnOpenMessage(language(), missing.path, ed.lbl_Name->text()));
        return;
    }
    ed.setTitleForLanguage(language());
    ed.centreOn(this);
    ed.exec();
    if (!ed.languageCode().isEmpty())
        LanguageCode = ed.languageCode();
    // Whether by OK or by the close box: the window shows the file's texts again.
    SetLanguage();
}
