#include "app/MainFrm.h"
#include "appearance/ContactLink.h"
#include "ui/MessageBoxes.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

void TForm_Main::lbl_WebClick() {
    const ContactLinkAction action = ResolveContactLink(Web1Address, Web2Address, language());
    if (!action.refusal.isEmpty()) {
        showMessage(action.refusal);
        return;
    }
    // The opener runs on its own; whether it managed is not reported.
    QDesktopServices::openUrl(action.url);
}

void TForm_Main::lbl_SendDblClick() {
    QGuiApplication::clipboard()->setText(ContactClipboardText());
}
