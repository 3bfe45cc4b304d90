#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through here, so tests can record instead of
// blocking on a modal dialog.
class MessagePresenter {
public:
    enum class Kind { Information, Warning, Error };
    virtual ~MessagePresenter() = default;
    virtual void show(Kind kind, const QString& text) = 0;
    // A yes/no question; true when the user agreed. Presenters that cannot ask say no, so
    // nothing that needs a confirmation happens behind the user's back.
    virtual bool confirm(const QString&) { return false; }
    // A file to save to or open; empty when the user chose none.
    enum class FileUse { Save, Open };
    virtual QString chooseFile(FileUse use, const QString& title, const QString& suggested,
                               const QString& filter) {
        (void)use, (void)title, (void)suggested, (void)filter;
        return {};
    }
};

// The presenter in use; the default shows real modal boxes over the active window.
MessagePresenter& messagePresenter();
// Replaces the presenter (tests); nullptr restores the default. Not owned.
void setMessagePresenter(MessagePresenter* presenter);

void showMessage(const QString& text);
// The general error display: the text of an error that ended a handler.
void showErrorMessage(const QString& text);
bool askConfirmation(const QString& text);
