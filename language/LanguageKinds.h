#pragma once

#include <QString>

class QObject;

// The kinds of control the language table has entries for, in the order the kinds are
// tested; a control is of at most one kind.
enum class LanguageKind {
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

LanguageKind languageKindOf(const QObject* control);
// The COMPONETS group element holding entries of the kind; empty for None.
QString languageGroupOf(LanguageKind kind);
