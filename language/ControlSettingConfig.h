#pragma once

#include "config/Language.h"

#include "config/XmlDocument.h"

#include <QString>

// config.xml access shared by the opening and the OK of the control settings editor.
namespace controlsetting {

// An element the editor needs is absent from config.xml. The editor answers with a message
// naming it instead of the general error box, and writes nothing.
struct MissingElement {
    QString path; // e.g. TERVALON/LANGUAGE/COMPONETS
};

// The child element, or MissingElement naming parentPath + "/" + name.
XmlNode requireChild(const XmlNode& parent, const QString& parentPath, const QString& name);

// Root, LANGUAGE and COMPONETS of a document, with the language code read from LANGUAGE.
struct LanguageSection {
    XmlNode root;
    XmlNode componets;
    QString languageCode;
};
LanguageSection findLanguageSection(const XmlDocument& doc);

// Messages in the user's language.
QString missingOnOpenMessage(Language language, const QString& path, const QString& control);
QString missingOnSaveMessage(Language language, const QString& path);
// The edited control has no entry in its group: its texts could not be kept.
QString missingEntryMessage(Language language, const QString& group, const QString& control);

} // namespace controlsetting
