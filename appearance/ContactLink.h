#pragma once

#include "config/Language.h"

#include <QString>
#include <QUrl>

// The contact address built into the program; the hidden clipboard function scrambles it
// for pasting into web1 and web2 of a configuration file.
extern const QString BuiltInAddress;
// The address the link falls back to when the two stored copies disagree, scrambled with
// the web1 key.
extern const QString BuiltInScrambledAddress;

// What a click on the contact label does: open `url`, or, when the address is not one that
// may be opened, show `refusal` instead.
struct ContactLinkAction {
    QUrl url;
    QString refusal;
};

// The decoded stored address when both copies agree exactly, otherwise the built-in fallback.
// Throws AppError when the fallback cannot be unscrambled.
QString ChooseContactAddress(const QString& web1Address, const QString& web2Address);

// The address as a URL when it is a web address (http, https, with a host) or a mail address
// (mailto, with a recipient); an empty URL for anything else. Configuration files travel
// between machines, so a program path, a file: address or a script is never handed to the
// system's opener.
QUrl OpenableContactUrl(const QString& address);

// Why an address was not opened, in the language.
QString ContactRefusalMessage(const QString& address, Language language);

ContactLinkAction ResolveContactLink(const QString& web1Address, const QString& web2Address,
                                     Language language);

// The two scrambled forms of BuiltInAddress (web1 key, then web2 key) separated by four
// spaces. The seeds are random, so every call gives a different text.
QString ContactClipboardText();

// A click on the contact label: the address handed to the system's opener, or the refusal
// shown. Whether the opener managed is not reported.
void OpenContactLink(const QString& web1Address, const QString& web2Address, Language language);
// A double click on the send label: ContactClipboardText() on the clipboard.
void CopyContactClipboardText();
