#include "app/MessageBoxes.h"

#include <QApplication>
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
