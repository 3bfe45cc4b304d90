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
};

// The presenter in use; the default shows real modal boxes over the active window.
MessagePresenter& messagePresenter();
// Replaces the presenter (tests); nullptr restores the default. Not owned.
void setMessagePresenter(MessagePresenter* presenter);

void showMessage(const QString& text);
// The general error display: the text of an error that ended a handler.
void showErrorMessage(const QString& text);
