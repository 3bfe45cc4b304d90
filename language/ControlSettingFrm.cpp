#include "language/ControlSettingFrm.h"

#include "config/AppError.h"
#include "language/ControlSettingConfig.h"
#include "ui/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>

TForm_ControlSetting* Form_ControlSetting = nullptr;

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

template <class T> T* makeField(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* f = new T(parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(left, top, width, height);
    return f;
}

// The seven text fields, in the order of their attributes.
std::array<QWidget*, 7> textFields(const TForm_ControlSetting& ed) {
    return {ed.edt_CaptionCN, ed.edt_CaptionEN, ed.mmo_HintCN,    ed.mmo_HintEN,
            ed.mmo_ItemsCN,   ed.mmo_ItemsEN,   ed.mmo_ItemsValue};
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* m = makeField<QPlainTextEdit>(parent, name, left, top, width, height);
    // Tab moves on to the next field, as in the other boxes of the window.
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

TForm_ControlSetting::TForm_ControlSetting(QWidget* parent) : QDialog(parent) {
    setUpFrame();
    createControls();
    chainTabOrder();
    connect(btn_OK, &QPushButton::clicked, this, [this] { btn_OKClick(); });
    clearFields();
}

void TForm_ControlSetting::setUpFrame() {
    setObjectName(QStringLiteral("Form_ControlSetting"));
    // A child dialog would otherwise lose its frame and close box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    QFont f;
    f.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    f.setPointSize(8);
    setFont(f);
    resize(717, 392);
    setTitleForLanguage(Language::chinese());
}

void TForm_ControlSetting::createControls() {
    // The editor's own labels are fixed English texts; only its title follows the language.
    Label1 = makeLabel(this, "Label1", QStringLiteral("Name:"), 24, 24);
    lbl_Name = makeLabel(this, "lbl_Name", QString(), 128, 24);
    // Wide enough for any control name.
    lbl_Name->resize(577, Label1->height());
    Label3 = makeLabel(this, "Label3", QStringLiteral("First Language(CN)"), 128, 64);
    Label4 = makeLabel(this, "Label4", QStringLiteral("Second Language(EN)"), 424, 64);
    Label5 = makeLabel(this, "Label5", QStringLiteral("Caption:"), 24, 86);
    edt_CaptionCN = makeField<QLineEdit>(this, "edt_CaptionCN", 128, 83, 281, 21);
    edt_CaptionEN = makeField<QLineEdit>(this, "edt_CaptionEN", 424, 83, 281, 21);
    lbl_Hint = makeLabel(this, "lbl_Hint", QStringLiteral("Hint:"), 24, 113);
    lbl_CMD = makeLabel(this, "lbl_CMD", QStringLiteral("CMD:"), 24, 132);
    mmo_HintCN = makeMemo(this, "mmo_HintCN", 128, 110, 281, 89);
    mmo_HintEN = makeMemo(this, "mmo_HintEN", 424, 110, 281, 89);
    Label8 = makeLabel(this, "Label8", QStringLiteral("ItemsShow:"), 24, 208);
    mmo_ItemsCN = makeMemo(this, "mmo_ItemsCN", 128, 205, 281, 89);
    mmo_ItemsEN = makeMemo(this, "mmo_ItemsEN", 424, 205, 281, 89);
    Label2 = makeLabel(this, "Label2", QStringLiteral("ItemsValue:"), 24, 303);
    mmo_ItemsValue = makeMemo(this, "mmo_ItemsValue", 128, 300, 577, 53);
    btn_OK = makeField<QPushButton>(this, "btn_OK", 128, 359, 137, 25);
    btn_OK->setText(QStringLiteral("OK"));
    // Enter in a one-line field presses OK; in a memo it starts a new line.
    btn_OK->setDefault(true);
    btn_OK->setAutoDefault(true);
}

void TForm_ControlSetting::chainTabOrder() {
    QWidget* order[] = {edt_CaptionCN, mmo_HintCN,    mmo_ItemsCN, mmo_ItemsEN,
                        mmo_HintEN,    edt_CaptionEN, btn_OK,      mmo_ItemsValue};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

TForm_ControlSetting::~TForm_ControlSetting() {
    if (Form_ControlSetting == this)
        Form_ControlSetting = nullptr;
}

void TForm_ControlSetting::setTarget(const QString& configPath, Language language) {
    m_configPath = configPath;
    m_language = language;
    m_languageCode.clear();
}

void TForm_ControlSetting::setTitleForLanguage(Language language) {
    setWindowTitle(language.translate("Editor", "Control displays content Settings"));
}

void TForm_ControlSetting::centreOn(const QWidget* window) {
    if (!window)
        return;
    const QRect outer = window->frameGeometry();
    const QRect own = frameGeometry();
    move(outer.center() - QPoint(own.width() / 2, own.height() / 2));
}

void TForm_ControlSetting::clearFields() {
    m_shown.clear();
    for (QWidget* field : textFields(*this)) {
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->clear();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(field))
            memo->clear();
        field->setEnabled(false);
    }
    lbl_CMD->setEnabled(false);
    lbl_Hint->setEnabled(true);
    setHintMemoToolTips(QString());
}

void TForm_ControlSetting::setHintMemoToolTips(const QString& toolTip) {
    mmo_HintCN->setToolTip(toolTip);
    mmo_HintEN->setToolTip(toolTip);
}

void TForm_ControlSetting::setFieldText(QWidget* field, const QString& text) {
    Shown shown{text, text};
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(text);
        shown.display = edit->text();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lines.replace(u'\r', u'\n');
        memo->setPlainText(lines);
        shown.display = memo->toPlainText();
    }
    m_shown.insert(field, shown);
}

QString TForm_ControlSetting::fieldText(QWidget* field) const {
    QString text;
    if (auto* edit = qobject_cast<const QLineEdit*>(field))
        text = edit->text();
    else if (auto* memo = qobject_cast<const QPlainTextEdit*>(field))
        text = memo->toPlainText();
    // A memo cannot show every text unchanged (a lone LF, a no-break space); an untouched
    // field must not rewrite the file's text.
    const auto it = m_shown.constFind(field);
    if (it != m_shown.constEnd() && it->display == text)
        return it->original;
    if (qobject_cast<const QPlainTextEdit*>(field))
        text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString TForm_ControlSetting::parameterKey(const QString& name) {
    const int p = name.indexOf(u'_');
    return p < 0 ? name : name.mid(p + 1);
}

XmlNode TForm_ControlSetting::findEntry(const XmlNode& group, const QString& name) {
    const int n = group.childCount();
    for (int i = 0; i < n; ++i) {
        XmlNode entry = group.child(i);
        if (entry.attributeEquals(QStringLiteral("name"), name))
            return entry;
    }
    return {};
}

void TForm_ControlSetting::btn_OKClick() {
    try {
        if (!writeBack())
            messagePresenter().show(
                MessagePresenter::Kind::Warning,
                controlsetting::missingEntryMessage(m_language, controlType, lbl_Name->text()));
    } catch (const controlsetting::MissingElement& missing) {
        messagePresenter().show(MessagePresenter::Kind::Warning,
                                controlsetting::missingOnSaveMessage(m_language, missing.path));
        return;
    } catch (const AppError& e) {
        showErrorMessage(e.textIn(m_language));
        return;
    } catch (const std::exception& e) {
        showErrorMessage(QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

namespace {

using FieldAttribute = std::pair<QWidget*, const char*>;

// Writes the text of each enabled field into its attribute of the element.
void writeEnabledFields(const TForm_ControlSetting& ed, XmlNode element,
                        std::initializer_list<FieldAttribute> fields) {
    for (const auto& [field, attribute] : fields)
        if (field->isEnabled())
            element.writeAttribute(QLatin1String(attribute), ed.fieldText(field));
}

void writeEntry(const TForm_ControlSetting& ed, const XmlNode& entry) {
    writeEnabledFields(ed, entry,
                       {{ed.edt_CaptionCN, "captionCN"},
                        {ed.edt_CaptionEN, "captionEN"},
                        {ed.mmo_HintCN, "hintCN"},
                        {ed.mmo_HintEN, "hintEN"},
                        {ed.mmo_ItemsCN, "itemsCN"},
                        {ed.mmo_ItemsEN, "itemsEN"}});
}

// The first item of a tab whose tag is key; null if none.
XmlNode itemOfTab(const XmlNode& tab, const QString& key) {
    const int items = tab.childCount();
    for (int i = 0; i < items; ++i) {
        XmlNode item = tab.child(i);
        if (item.tagName() == key)
            return item;
    }
    return {};
}

// Only the Chinese texts reach the parameter definitions; every tab may hold an item of
// that name, and each gets the edit.
void writeParameterItems(const TForm_ControlSetting& ed, const XmlNode& dync, const QString& key) {
    if (key.isEmpty())
        return;
    const int tabs = dync.childCount();
    for (int t = 0; t < tabs; ++t) {
        const XmlNode item = itemOfTab(dync.child(t), key);
        if (!item.isNull())
            writeEnabledFields(ed, item,
                               {{ed.edt_CaptionCN, "caption"},
                                {ed.mmo_HintCN, "hint"},
                                {ed.mmo_ItemsCN, "items"},
                                {ed.mmo_ItemsValue, "itemsValue"}});
    }
}

bool anyFieldEnabled(const TForm_ControlSetting& ed) {
    for (const QWidget* field : textFields(ed))
        if (field->isEnabled())
            return true;
    return false;
}

} // namespace

bool TForm_ControlSetting::writeBack() {
    using controlsetting::requireChild;
    if (m_configPath.isEmpty())
        throw AppError(QStringLiteral("The control settings editor has no configuration file"));

    XmlDocument doc = XmlDocument::openForWriting(m_configPath);
    const controlsetting::LanguageSection lang = controlsetting::findLanguageSection(doc);
    m_languageCode = lang.languageCode;
    // Before the first opening of a control with a group (a radio button first) there is no
    // group, and so no entry, to write.
    const XmlNode group =
        controlType.isEmpty()
            ? XmlNode()
            : requireChild(lang.componets, QStringLiteral("TERVALON/LANGUAGE/COMPONETS"), controlType);
    // Looked up before anything is written, so that a file without it is left alone.
    const XmlNode dync = requireChild(lang.root, QStringLiteral("TERVALON"), QStringLiteral("GROUP_DYNC"));

    const QString name = lbl_Name->text();
    const XmlNode entry = group.isNull() ? XmlNode() : findEntry(group, name);
    if (!entry.isNull()) {
        writeEntry(*this, entry);
        writeParameterItems(*this, dync, parameterKey(name));
    }

    doc.save(m_configPath);
    // A control the editor shows no field for (a radio button) has nothing to lose.
    return group.isNull() || !entry.isNull() || !anyFieldEnabled(*this);
}
