#include "language/LanguageKinds.h"

#include "ui/ComponentRegistry.h"

LanguageKind languageKindOf(const QObject* c) {
    if (isGroupBox(c))
        return LanguageKind::GroupBox;
    if (isTabSheet(c))
        return LanguageKind::TabSheet;
    if (isPushButton(c))
        return LanguageKind::Button;
    if (isStaticText(c))
        return LanguageKind::StaticText;
    if (isLabel(c))
        return LanguageKind::Label;
    if (isEdit(c))
        return LanguageKind::Edit;
    if (isComboBox(c))
        return LanguageKind::ComboBox;
    if (isCheckBox(c))
        return LanguageKind::CheckBox;
    if (isRadioButton(c))
        return LanguageKind::RadioButton;
    return LanguageKind::None;
}

QString languageGroupOf(LanguageKind kind) {
    switch (kind) {
    case LanguageKind::GroupBox:
        return QStringLiteral("GROUPBOX");
    case LanguageKind::TabSheet:
        return QStringLiteral("TABSHEET");
    case LanguageKind::Button:
        return QStringLiteral("BUTTON");
    case LanguageKind::StaticText:
    case LanguageKind::Label:
        return QStringLiteral("LABEL");
    case LanguageKind::Edit:
        return QStringLiteral("EDIT");
    case LanguageKind::ComboBox:
        return QStringLiteral("COMBOBOX");
    case LanguageKind::CheckBox:
    case LanguageKind::RadioButton:
        return QStringLiteral("CHECKBOX");
    case LanguageKind::None:
        break;
    }
    return {};
}
