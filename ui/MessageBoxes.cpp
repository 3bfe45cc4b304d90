#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class WidgetPresenter final : public MessagePresenter {
public:
    void show(Kind kind, const QString& text) override {
        QWidget* parent = QApplication::activeWindow();
        const QString title = QApplication::applicationDisplayName();
        switch (kind) {
        case Kind::Information:
            QMessageBox::information(parent, title, text);
            break;
        case Kind::Warning:
            QMessageBox::warning(parent, title, text);
            break;
        case Kind::Error:
            QMessageBox::critical(parent, title, text);
            break;
        }
    }
    bool confirm(const QString& text) override {
        return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                                     text) == QMessageBox::Yes;
    }
    QString chooseFile(FileUse use, const QString& title, const QString& suggested,
                       const QString& filter) override {
        QWidget* parent = QApplication::activeWindow();
        return use == FileUse::Save ? QFileDialog::getSaveFileName(parent, title, suggested, filter)
                                    : QFileDialog::getOpenFileName(parent, title, suggested, filter);
    }
};

WidgetPresenter defaultPresenter;
MessagePresenter* current = nullptr;

} // namespace

MessagePresenter& messagePresenter() {
    return current ? *current : defaultPresenter;
}
void setMessagePresenter(MessagePresenter* presenter) {
    current = presenter;
}

void showMessage(const QString& text) {
    messagePresenter().show(MessagePresenter::Kind::Information, text);
}
void showErrorMessage(const QString& text) {
    messagePresenter().show(MessagePresenter::Kind::Error, text);
}
bool askConfirmation(const QString& text) {
    return messagePresenter().confirm(text);
}
