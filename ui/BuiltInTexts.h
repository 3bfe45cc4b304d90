#pragma once

#include "config/Language.h"

#include <QString>
#include <optional>

class QObject;

// The texts the program itself gives a control, for whatever config.xml does not name: a
// caption and a hint, written in English in the code and translated through the "Controls"
// context. Write them with QT_TRANSLATE_NOOP("Controls", ...) so that lupdate finds them.
void setBuiltInTexts(QObject* component, const char* caption, const char* hint = nullptr);

// The built-in caption or hint in a language; none when the control has no such text.
std::optional<QString> builtInCaption(const QObject* component, Language language);
std::optional<QString> builtInHint(const QObject* component, Language language);

// A name for assistive technology (screen readers) on a control that shows no text of its own:
// a lamp, a picture. Shown in the language with the other built-in texts.
void setBuiltInAccessibleName(QObject* component, const char* name);
// What a control does, for assistive technology, where its look alone says it (a link).
void setBuiltInAccessibleDescription(QObject* component, const char* description);

// Shows the control's built-in caption, hint and accessible name in the language; false when
// it has none.
bool showBuiltInTexts(QObject* component, Language language);

// setBuiltInTexts, then shows them in Chinese: the frame's look before a language is read.
void giveBuiltInTexts(QObject* component, const char* caption, const char* hint = nullptr);
