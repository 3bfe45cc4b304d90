#include "appearance/ContactLink.h"

#include "config/TextScrambler.h"
#include "ui/MessageBoxes.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

const QString BuiltInAddress = QStringLiteral("https://www.tervalon.com");
const QString BuiltInScrambledAddress = QStringLiteral("5AF458F411E556B6D37AC935020056FE449D7E8C8C89DA7BD0");

QString ChooseContactAddress(const QString& web1Address, const QString& web2Address) {
    const QString fallback = UnscrambleText(BuiltInScrambledAddress, web1ScrambleKey);
    return web1Address == web2Address ? web1Address : fallback;
}

QUrl OpenableContactUrl(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty())
        return url;
    if (scheme == QLatin1String("mailto") && !url.path().isEmpty())
        return url;
    return {};
}

QString ContactRefusalMessage(const QString& address, Language language) {
    // A hand-edited attribute can hold anything; keep the box readable.
    QString shown = address.simplified();
    if (shown.size() > 120)
        shown = shown.left(117) + QStringLiteral("...");
    return language
        .translate("ContactLink", "The contact address \"%1\" was not opened: only web addresses (http, "
                                  "https) and mail addresses (mailto) are opened.")
        .arg(shown);
}

ContactLinkAction ResolveContactLink(const QString& web1Address, const QString& web2Address,
                                     Language language) {
    const QString address = ChooseContactAddress(web1Address, web2Address);
    ContactLinkAction action;
    action.url = OpenableContactUrl(address);
    if (action.url.isEmpty())
        action.refusal = ContactRefusalMessage(address, language);
    return action;
}

QString ContactClipboardText() {
    return ScrambleText(BuiltInAddress, web1ScrambleKey) + QStringLiteral("    ") +
           ScrambleText(BuiltInAddress, web2ScrambleKey);
}

void OpenContactLink(const QString& web1Address, const QString& web2Address, Language language) {
    const ContactLinkAction action = ResolveContactLink(web1Address, web2Address, language);
    if (!action.refusal.isEmpty()) {
        showMessage(action.refusal);
        return;
    }
    QDesktopServices::openUrl(action.url);
}

void CopyContactClipboardText() {
    QGuiApplication::clipboard()->setText(ContactClipboardText());
}
