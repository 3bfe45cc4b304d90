#include "ui/ElidedPathBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

class ElidingLineEdit : public QLineEdit {
public:
    explicit ElidingLineEdit(QWidget* parent) : QLineEdit(parent) {
        connect(this, &QLineEdit::textChanged, this, [this] { updateToolTip(); });
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (hasFocus() || !isElided()) {
            QLineEdit::paintEvent(event);
            return;
        }
        // The frame as the style draws it, with the elided text in place of the whole one.
        QPainter painter(this);
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        const QRect area = textArea();
        painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::Text));
        painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
    }

    void resizeEvent(QResizeEvent* event) override {
        QLineEdit::resizeEvent(event);
        updateToolTip();
    }

private:
    QRect textArea() const {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        return style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).adjusted(2, 0, -2, 0);
    }

    bool isElided() const { return fontMetrics().horizontalAdvance(text()) > textArea().width(); }

    // Only an elided path gets a tooltip of its own; otherwise the box's own hint shows.
    void updateToolTip() { setToolTip(isElided() ? text() : QString()); }
};

// The list opens wide enough for its longest path.
class WidePopup : public QObject {
public:
    explicit WidePopup(QComboBox* box) : QObject(box), m_box(box) { box->view()->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Polish) {
            QAbstractItemView* view = m_box->view();
            view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() + 24);
        }
        return false;
    }

private:
    QComboBox* m_box;
};

} // namespace

void makeElidedPathBox(QComboBox* box) {
    const QString text = box->currentText();
    box->setEditable(true);
    box->setLineEdit(new ElidingLineEdit(box));
    box->setCurrentText(text);
    box->view()->setTextElideMode(Qt::ElideMiddle);
    new WidePopup(box);
}
