#pragma once

#include "config/Language.h"

#include <QSet>
#include <QString>
#include <QStringList>

// What a language pass could not apply because the file lacks it: an attribute of an entry,
// a group element, or an element the pass needs. Each gap is one line naming it, so that the
// user can mend config.xml by hand.
class LanguageGaps {
public:
    // An entry of group (e.g. "BUTTON", "MESSAGES") named name lacks attribute.
    void addAttribute(const QString& group, const QString& name, const QString& attribute);
    // The group element under COMPONETS is missing.
    void addGroup(const QString& group);
    // Anything else, already worded (an error that ended the pass).
    void addLine(const QString& line);

    bool isEmpty() const { return m_lines.isEmpty(); }
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
};

// The lines not yet in reported, which are added to it: within one session the same gaps are
// named once, however often the texts are applied again.
QStringList takeUnreported(const LanguageGaps& gaps, QSet<QString>* reported);

// One message naming up to a handful of lines and how many more there are, in the language.
QString languageGapsMessage(Language language, const QStringList& lines);
