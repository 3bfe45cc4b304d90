#include "app/MainFrm.h"

#include "appearance/BannerImage.h"
#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "console/AutoReading.h"
#include "console/Commissioning.h"
#include "console/Connection.h"
#include "console/Receiving.h"
#include "console/SessionLogging.h"
#include "console/Sending.h"
#include "console/TrendReading.h"
#include "language/ControlSettingFrm.h"
#include "language/LanguageEntries.h"
#include "language/LanguageGaps.h"
#include "language/LanguageKinds.h"
#include "language/QtTranslations.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"
#include "ui/WindowTitle.h"

#include <QComboBox>
#include <QPushButton>

namespace {

const QString emptyEnglishCaption = QStringLiteral("right-click to set");
const QString itemSeparator = QStringLiteral("|");

struct LanguageAttributes {
    QString caption, hint, items;
};

LanguageAttributes attributesFor(Language language) {
    return language.isEnglish() ? LanguageAttributes{"captionEN", "hintEN", "itemsEN"}
                                : LanguageAttributes{"captionCN", "hintCN", "itemsCN"};
}

// The attributes an entry must have for its control to take the texts of the language.
QStringList requiredAttributes(LanguageKind kind, Language language) {
    const LanguageAttributes a = attributesFor(language);
    switch (kind) {
    case LanguageKind::StaticText:
    case LanguageKind::Label:
        // English applies captions only: tooltips keep their Chinese texts.
        return language.isEnglish() ? QStringList{a.caption} : QStringList{a.caption, a.hint};
    case LanguageKind::Edit:
        return {a.hint};
    case LanguageKind::ComboBox:
        return {a.hint, a.items};
    default:
        return {a.caption, a.hint};
    }
}

bool isPortBox(const TForm_Main& form, const QObject* box) {
    return box == form.cbb_Port || box == form.cbb_Baud || box == form.cbb_CheckBit ||
           box == form.cbb_DataBit || box == form.cbb_StopBit;
}

// Refills a choice box so that what the user set survives: a port box keeps its text, any
// other box the position of its choice in the list (a following Write sends the value of
// that position), or a shown value that is none of its choices.
void refill(QComboBox* box, const QStringList& items, bool keepText) {
    const QString text = box->currentText();
    int position = box->currentIndex();
    if (position < 0 || box->itemText(position) != text)
        position = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->clear();
    box->addItems(items);
    if (keepText)
        box->setCurrentText(text);
    else if (position >= 0 && position < box->count())
        box->setCurrentIndex(position);
    else if (position < 0 && !text.isEmpty())
        box->setCurrentText(text);
    else if (box->count() > 0)
        box->setCurrentIndex(0);
}

// Names in gaps each attribute the language needs that the entry lacks; true when it has them all.
bool hasRequiredAttributes(const QObject* component, LanguageKind kind, const XmlNode& entry,
                           Language language, LanguageGaps& gaps) {
    bool complete = true;
    for (const QString& attribute : requiredAttributes(kind, language))
        if (!entry.hasAttribute(attribute)) {
            gaps.addAttribute(languageGroupOf(kind), componentName(component), attribute);
            complete = false;
        }
    return complete;
}

// Applies the entry to its control; an entry lacking an attribute the language needs is left
// alone and each missing attribute named in gaps.
void applyEntry(TForm_Main& form, QObject* component, LanguageKind kind, const XmlNode& entry,
                Language language, LanguageGaps& gaps) {
    if (!hasRequiredAttributes(component, kind, entry, language, gaps))
        return;

    const bool english = language.isEnglish();
    const LanguageAttributes a = attributesFor(language);
    switch (kind) {
    case LanguageKind::StaticText:
    case LanguageKind::Label:
        setControlCaption(component, entry.readAttribute(a.caption));
        if (!english)
            setComponentHint(component, entry.readAttribute(a.hint));
        break;
    case LanguageKind::Edit:
        setComponentHint(component, entry.readAttribute(a.hint));
        break;
    case LanguageKind::ComboBox: {
        auto* box = static_cast<QComboBox*>(component);
        setComponentHint(box, entry.readAttribute(a.hint));
        QStringList items;
        SplitByDelimiter(entry.readAttribute(a.items), itemSeparator, &items);
        refill(box, items, isPortBox(form, box));
        break;
    }
    default:
        setControlCaption(component, entry.readAttribute(a.caption));
        setComponentHint(component, entry.readAttribute(a.hint));
        if (english && controlCaption(component).isEmpty())
            setControlCaption(component, emptyEnglishCaption);
        if (component == form.btn_Connect)
            form.connection->setConnectCaption(controlCaption(form.btn_Connect));
        // A fixed-command button's tooltip text is its command in this language.
        form.sending->setFixedCommand(component, entry.readAttribute(a.hint));
        break;
    }
}

// The table's entries over the built-in texts: what the file names shows as written, every
// other control the program's own text in the language.
void applyTable(TForm_Main& form, LanguageTable& table, Language language, LanguageGaps& gaps) {
    for (QObject* component : form.Components.all()) {
        showBuiltInTexts(component, language);
        const LanguageKind kind = languageKindOf(component);
        if (kind == LanguageKind::None)
            continue;
        const QString group = languageGroupOf(kind);
        LanguageGroup* entries = table.findGroup(group);
        if (!entries) {
            gaps.addGroup(group);
            continue;
        }
        const XmlNode entry = entries->find(componentName(component));
        if (!entry.isNull())
            applyEntry(form, component, kind, entry, language, gaps);
    }
}

void readDisconnectCaption(TForm_Main& form, const XmlNode& languageNode, Language language,
                           LanguageGaps& gaps) {
    form.connection->setDisconnectCaption(QString());
    const XmlNode messages = requireElement(languageNode, QStringLiteral("MESSAGES"),
                                            QStringLiteral("TERVALON/LANGUAGE/MESSAGES"));
    const int count = messages.childCount();
    for (int i = 0; i < count; ++i) {
        const XmlNode message = messages.child(i);
        if (message.tagName() != QLatin1String("MSG_BTN_UNCONNECT"))
            continue;
        const QString attribute = QStringLiteral("str") + language.code();
        if (message.hasAttribute(attribute))
            form.connection->setDisconnectCaption(message.readAttribute(attribute));
        else
            gaps.addAttribute(QStringLiteral("MESSAGES"), message.tagName(), attribute);
        return;
    }
}

// An attribute the pass cannot do without; named, and read as empty.
QString readOrName(const XmlNode& element, const QString& attribute, LanguageGaps& gaps) {
    if (element.hasAttribute(attribute))
        return element.readAttribute(attribute);
    gaps.addLine(element.tagName() + QStringLiteral(": ") + attribute);
    return {};
}

// The titles, the texts of the table and the disconnect caption in the language of the file;
// throws AppError when a section is missing.
void applyLanguage(TForm_Main& form, LanguageGaps& gaps) {
    const XmlNode root = form.ConfigDocument->findRoot();
    const XmlNode language =
        requireElement(root, QStringLiteral("LANGUAGE"), QStringLiteral("TERVALON/LANGUAGE"));
    form.LanguageCode = readOrName(language, QStringLiteral("value"), gaps);
    const Language current = form.language();
    installTranslations(current);

    form.setWindowTitle(WindowTitleFor(current, readOrName(root, QStringLiteral("appName"), gaps)));
    if (Form_ControlSetting)
        Form_ControlSetting->setTitleForLanguage(current);

    LanguageTable table(language.findChild(QStringLiteral("COMPONETS")));
    applyTable(form, table, current, gaps);
    readDisconnectCaption(form, language, current, gaps);
    if (form.commissioning)
        form.commissioning->setLanguage(current);
    if (!form.BannerErrorPath.isEmpty())
        form.Panel_Top->setCaption(BannerLoadErrorText(form.BannerErrorPath, current));
}

} // namespace

void TForm_Main::SetLanguage() {
    // Loaded outside the guard: a missing or broken file is reported to the caller.
    auto document = std::make_unique<XmlDocument>();
    document->load(ConfigPath);
    ConfigDocument = std::move(document);
    // The settings editor saves before applying the language: the rows' choices follow.
    Parameters.updateTexts(*ConfigDocument);

    // Gaps in the table leave the controls concerned as they are and are named once; only a
    // missing section ends the pass early, and is named too.
    LanguageGaps gaps;
    try {
        applyLanguage(*this, gaps);
    } catch (const AppError& e) {
        gaps.addLine(e.text());
    }
    connection->setLanguage(language());
    receiving->setLanguage(language());
    sessionLogging->setLanguage(language());
    // The port stays as it was, so the button says what it is in the new language.
    connection->showState();
    refitToCaptions();
    autoReading->setLanguage(language());
    trendReading->setLanguage(language());
    sending->setLanguage(language());

    const QStringList unreported = takeUnreported(gaps, &ReportedLanguageGaps);
    if (!unreported.isEmpty())
        messagePresenter().show(MessagePresenter::Kind::Warning, languageGapsMessage(language(), unreported));
}
