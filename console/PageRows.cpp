#include "console/PageRows.h"
#include "console/ItemLookupIndex.h"

#include "app/MainFrm.h"
#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "console/AutoReading.h"
#include "console/HexField.h"
#include "console/Sending.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QColor clRed(255, 0, 0);
// What a row shows where config.xml gives no caption or hint: built-in texts, so they follow
// the language until the user sets them.
const char* const noCaption = QT_TRANSLATE_NOOP("Controls", "Right-click to set the caption");
const char* const noHint = QT_TRANSLATE_NOOP("Controls", "Right-click to set the hint");

// Rows share 25-pixel slots; a toolkit default taller than the slot would overlap the next row.
constexpr int slotHeight = 25;

// The conversion's own words, then which item it was: the lookups pass over such an item, so
// this is the one place a user hears of it.
QString badAddressText(Language language, const QString& item, const QString& addr) {
    const QString conversion = QStringLiteral("'%1' is not a valid integer value").arg(addr);
    return conversion + u'\n' +
           language.translate("PageRows", "The parameter %1 in config.xml has no integer address (addr).")
               .arg(item);
}

// The text, or the placeholder in the window's language (kept as the control's built-in text).
QString orDefault(const QString& text, const char* placeholder, QObject* control, Language language,
                  bool hint) {
    if (!text.isEmpty())
        return text;
    if (hint)
        setBuiltInTexts(control, nullptr, placeholder);
    else
        setBuiltInTexts(control, placeholder);
    return language.translate("Controls", placeholder);
}

} // namespace

QString rowTagOf(const QObject* valueControl) {
    return componentName(valueControl).mid(4);
}

template <class T> T* PageRowFactory::create(const QString& name, const Page& page) {
    auto* w = new T(page.box->content());
    try {
        m_form.RegisterComponent(w, name);
    } catch (...) {
        delete w;
        throw;
    }
    return w;
}

int PageRowFactory::defaultHeight(QWidget* w, int& cached) {
    if (cached < 0)
        cached = qMin(slotHeight, w->sizeHint().height());
    return cached;
}

PageRowFactory::Page PageRowFactory::addPage(QTabWidget* pages, const XmlNode& tab, PageFamily family) {
    Page page;
    page.tag = tab.tagName();
    auto* sheet = new TTabSheet;
    try {
        m_form.RegisterComponent(sheet, QStringLiteral("tbs_") + page.tag);
    } catch (...) {
        delete sheet;
        throw;
    }
    page.sheet = sheet;
    // A font of its own: the tab control's later font changes do not reach the rows.
    QFont font = pages->font();
    font.setResolveMask(QFont::AllPropertiesResolved);
    sheet->setFont(font);
    pages->addTab(sheet, QString());
    if (family == PageFamily::Parameter)
        m_form.setPopupMenu1(sheet);

    // The scroll box belongs to its sheet, not to the window: it takes no part in the
    // window's name space, and only a parameter page's one is named.
    page.box = new TScrollBox(sheet);
    if (family == PageFamily::Parameter)
        page.box->setObjectName(QStringLiteral("sbox_") + page.tag);
    (new DockLayout(sheet))->dock(page.box, DockAlign::Client);
    if (QWidget* stack = sheet->parentWidget(); stack && !stack->size().isEmpty())
        sheet->resize(stack->size());
    m_form.setPopupMenu1(page.box);

    setControlCaption(sheet, tab.readAttribute(QStringLiteral("caption")));
    return page;
}

void PageRowFactory::addSeparator(const Page& page, int p) {
    auto* line = new TPanel(page.box->content());
    m_form.RegisterComponent(line, QString());
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(4, rowTop(p) + 4, qMax(0, page.box->clientWidth() - 28), 3);
}

void PageRowFactory::addParameterRow(const Page& page, const XmlNode& item, int p) {
    const QString tag = item.tagName();
    const int top = rowTop(p);
    const QString addrText = item.readAttribute(QStringLiteral("addr"));
    int addr = 0;
    if (!TryStrToInt(addrText, &addr))
        throw AppError(badAddressText(m_form.language(), page.tag + u'/' + tag, addrText));
    const QString hint = addParameterLabel(page, item, top, addr);
    addParameterValue(page, item, top, addr, hint);
    addReadWriteButtons(page, tag, top, addr);
}

// The label's hint is the row's: read after the caption, so that a row missing both is
// named for its caption and stops with its label built, as it always has.
QString PageRowFactory::addParameterLabel(const Page& page, const XmlNode& item, int top, int addr) {
    const QString tag = item.tagName();
    auto* label = create<TStaticText>(QStringLiteral("lbl_") + tag, page);
    label->setGeometry(8, top, 150, 20);
    const Language language = m_form.language();
    setControlCaption(
        label, orDefault(item.readAttribute(QStringLiteral("caption")), noCaption, label, language, false));
    const QString hint = orDefault(item.readAttribute(QStringLiteral("hint")), noHint, label, language, true);
    setComponentHint(label, hint);
    setComponentTag(label, addr);
    // Red through the label's own palette, which themes respect: a style sheet per label
    // would make building thousands of rows several times slower.
    if (m_redLabelPalette.resolveMask() == 0) {
        m_redLabelPalette = label->palette();
        m_redLabelPalette.setColor(QPalette::WindowText, clRed);
    }
    label->setPalette(m_redLabelPalette);
    label->raise();
    m_form.setPopupMenu1(label);
    RowControls& row = m_form.ParameterControls[tag];
    row.page = static_cast<int>(m_form.DyncSheets.size()) - 1;
    row.label = label;
    return hint;
}

void PageRowFactory::addParameterValue(const Page& page, const XmlNode& item, int top, int addr,
                                       const QString& hint) {
    const QString tag = item.tagName();
    if (item.attributeEquals(QStringLiteral("controlType"), QStringLiteral("ComboBox"))) {
        auto* box = create<QComboBox>(QStringLiteral("cbb_") + tag, page);
        // Editable, so a reply that matches no choice still shows. A line edit of its own
        // makes it so without building the drop-down list before it is first opened.
        box->setLineEdit(new QLineEdit(box));
        box->setGeometry(160, top, 150, defaultHeight(box, m_comboHeight));
        m_form.ParameterControls[tag].value = box;
        setComponentHint(box, hint);
        if (item.readAttribute(QStringLiteral("hint")).isEmpty())
            setBuiltInTexts(box, nullptr, noHint);
        setComponentTag(box, addr);
        m_form.setPopupMenu1(box);
        QStringList items;
        SplitByDelimiter(item.readAttribute(QStringLiteral("items")), QStringLiteral("|"), &items);
        box->clear();
        box->addItems(items);
        if (box->count() > 0)
            box->setCurrentIndex(0);
    } else {
        auto* edit = create<QLineEdit>(QStringLiteral("edt_") + tag, page);
        edit->setGeometry(160, top, 150, defaultHeight(edit, m_editHeight));
        m_form.ParameterControls[tag].value = edit;
        setComponentHint(edit, hint);
        if (item.readAttribute(QStringLiteral("hint")).isEmpty())
            setBuiltInTexts(edit, nullptr, noHint);
        setComponentTag(edit, addr);
        m_form.setPopupMenu1(edit);
        if (item.attributeEquals(QStringLiteral("type"), QStringLiteral("HEX")))
            markHexField(edit);
    }
}

void PageRowFactory::addReadWriteButtons(const Page& page, const QString& tag, int top, int addr) {
    const QString address = QString::number(addr);
    auto* read = create<QPushButton>(QStringLiteral("btn_Read_") + tag, page);
    read->setGeometry(320, top, 50, defaultHeight(read, m_buttonHeight));
    setBuiltInTexts(read, QT_TRANSLATE_NOOP("Controls", "Read"));
    showBuiltInTexts(read, m_form.language());
    setComponentHint(read, QStringLiteral("$KRDV=") + address + QStringLiteral("#"));
    setComponentTag(read, addr);
    m_form.setPopupMenu1(read);
    m_form.ParameterControls[tag].read = read;
    QObject::connect(read, &QPushButton::clicked, &m_form,
                     [form = &m_form, tag] { form->guarded([form, tag] { form->sending->readRow(tag); }); });

    auto* write = create<QPushButton>(QStringLiteral("btn_Write_") + tag, page);
    write->setGeometry(370, top, 50, defaultHeight(write, m_buttonHeight));
    setBuiltInTexts(write, QT_TRANSLATE_NOOP("Controls", "Write"));
    showBuiltInTexts(write, m_form.language());
    setComponentHint(write, QStringLiteral("$KWRV=") + address + QStringLiteral(",XXXX#"));
    setComponentTag(write, addr);
    m_form.setPopupMenu1(write);
    m_form.ParameterControls[tag].write = write;
    QObject::connect(write, &QPushButton::clicked, &m_form,
                     [form = &m_form, tag] { form->guarded([form, tag] { form->sending->writeRow(tag); }); });
}

void PageRowFactory::addFixedRow(const Page& page, const XmlNode& item, int p) {
    const QString tag = item.tagName();
    const int top = rowTop(p);

    auto* label = create<TStaticText>(QStringLiteral("lbl_") + tag, page);
    label->setGeometry(8, top, 150, 20);
    const QString caption = item.readAttribute(QStringLiteral("caption"));
    setControlCaption(label, caption);
    setComponentHint(label, item.readAttribute(QStringLiteral("hint")));
    setComponentTag(label, -1);
    m_form.setPopupMenu1(label);

    auto* button = create<QPushButton>(QStringLiteral("btn_") + tag, page);
    button->setGeometry(250, top, 150, defaultHeight(button, m_buttonHeight));
    setControlCaption(button, caption);
    // The tooltip shows the command; what is sent is the record's.
    const QString command = item.readAttribute(QStringLiteral("cmdStr"));
    setComponentHint(button, command);
    m_form.sending->addFixedCommand(button, {tag, command});
    setComponentTag(button, 0);
    m_form.setPopupMenu1(button);
    QObject::connect(button, &QPushButton::clicked, &m_form, [form = &m_form, button] {
        form->guarded([form, button] { form->sending->sendFixedCommand(button); });
    });
}

void PageRowFactory::addAutoReadRow(const Page& page, const XmlNode& item, int p) {
    const QString tag = item.tagName();
    const int top = rowTop(p);

    auto* label = create<TStaticText>(QStringLiteral("lbl_") + tag, page);
    label->setGeometry(8, top, 150, 20);
    setControlCaption(label, item.readAttribute(QStringLiteral("caption")));
    setComponentHint(label, item.readAttribute(QStringLiteral("hint")));
    setComponentTag(label, -1);
    m_form.setPopupMenu1(label);

    // Named by the register, as the language table knows it; the tooltip shows the
    // scaling, offset first, while automatic reading takes it from the parameter model.
    const int addr = StrToInt(item.readAttribute(QStringLiteral("addr")));
    auto* value = create<TStaticText>(QStringLiteral("V") + QString::number(addr), page);
    value->setGeometry(160, top, 50, 20);
    value->setText(QStringLiteral("0.00"));
    setComponentHint(value, item.readAttribute(QStringLiteral("constA")) + QLatin1Char('|') +
                                item.readAttribute(QStringLiteral("constM")));
    setComponentTag(value, addr);
    m_form.setPopupMenu1(value);

    auto* unit = create<TStaticText>(QStringLiteral("lbl_") + tag + QStringLiteral("_Unit"), page);
    unit->setGeometry(210, top, 50, 20);
    unit->setText(item.readAttribute(QStringLiteral("unit")));
    setComponentTag(unit, -1);
    m_form.setPopupMenu1(unit);
    m_form.autoReading->pages().rows.append({tag, addr, value, label, unit});
}

void PageRowFactory::addRow(PageFamily family, const Page& page, const XmlNode& item, int p) {
    switch (family) {
    case PageFamily::Parameter:
        if (ItemLookupIndex::isSeparator(item.tagName()))
            addSeparator(page, p);
        else
            addParameterRow(page, item, p);
        return;
    case PageFamily::Fixed:
        addFixedRow(page, item, p);
        return;
    case PageFamily::AutoRead:
        addAutoReadRow(page, item, p);
        return;
    }
}
