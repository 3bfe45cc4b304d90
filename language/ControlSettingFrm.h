#pragma once

#include "config/Language.h"

#include "config/XmlDocument.h"

#include <QDialog>
#include <QHash>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The editor for one control's captions, tooltips, choices and command, shown from the
// right-click menu of the main window's controls. It is created once and only shown and
// hidden; TForm_Main::PopupMenu1Popup fills it for the clicked control, OK writes the
// enabled fields back into config.xml.
class TForm_ControlSetting : public QDialog {
    Q_OBJECT
public:
    explicit TForm_ControlSetting(QWidget* parent = nullptr);
    ~TForm_ControlSetting() override;

    // The language-table group of the edited control ("GROUPBOX", "TABSHEET", "BUTTON",
    // "LABEL", "EDIT", "COMBOBOX" or "CHECKBOX"). Kept from one opening to the next: a
    // control of no group (a radio button) leaves it as it was.
    QString controlType;

    // The configuration file OK writes into, and the language its messages are worded in.
    void setTarget(const QString& configPath, Language language);
    // The file's language code as OK read it since setTarget; empty before.
    QString languageCode() const { return m_languageCode; }

    // Writes the enabled fields into the control's entry and, for the Chinese fields, into
    // the parameter item named by the key; saves config.xml and closes. On an error nothing
    // is saved and the editor stays open.
    void btn_OKClick();

    // Opening: empties and disables the seven text fields, disables "CMD:", enables "Hint:"
    // and switches the tooltip memos' tooltips off.
    void clearFields();
    // Shows an attribute text in an edit or memo. Memos show line breaks as lines; a field
    // the user leaves alone is written back exactly as it was read.
    void setFieldText(QWidget* field, const QString& text);
    // The text OK writes for a field: memo lines are joined with CR LF.
    QString fieldText(QWidget* field) const;
    // Gives the two tooltip memos a tooltip ("" switches them off).
    void setHintMemoToolTips(const QString& toolTip);
    // The one place the editor's title is worded. The language pass retitles an open editor
    // through it too.
    void setTitleForLanguage(Language language);
    // Centres the editor on a window.
    void centreOn(const QWidget* window);

    // The name of the parameter item an edit also writes to: the text after the first "_",
    // or the whole name when it has none.
    static QString parameterKey(const QString& name);
    // The first child of a language-table group whose name attribute is name; null if none.
    static XmlNode findEntry(const XmlNode& group, const QString& name);

    QLabel* Label1 = nullptr;
    QLabel* lbl_Name = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* edt_CaptionCN = nullptr;
    QLineEdit* edt_CaptionEN = nullptr;
    QLabel* lbl_Hint = nullptr;
    QLabel* lbl_CMD = nullptr;
    QPlainTextEdit* mmo_HintCN = nullptr;
    QPlainTextEdit* mmo_HintEN = nullptr;
    QLabel* Label8 = nullptr;
    QPlainTextEdit* mmo_ItemsCN = nullptr;
    QPlainTextEdit* mmo_ItemsEN = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* mmo_ItemsValue = nullptr;
    QPushButton* btn_OK = nullptr;

private:
    // Window flags, font, size and title.
    void setUpFrame();
    // The labels, fields and OK button at their fixed places.
    void createControls();
    // The order Tab moves in: the Chinese column down, the English one up, OK, the values.
    void chainTabOrder();
    // Writes the enabled fields; false when the control has no entry in its group, so that
    // nothing of the edit could be kept.
    bool writeBack();
    struct Shown {
        QString original; // the attribute text as read
        QString display;  // what the field showed for it
    };
    QHash<const QWidget*, Shown> m_shown;
    QString m_configPath;
    Language m_language = Language::chinese();
    QString m_languageCode;
};

// The one editor window, created hidden at start-up.
extern TForm_ControlSetting* Form_ControlSetting;
