#include "ui/FittedLinesLabel.h"

#include "ui/DockLayout.h"

#include <QEvent>
#include <QFontMetrics>

FittedLinesLabel::FittedLinesLabel(int lines, QWidget* parent) : QLabel(parent), m_lines(std::max(1, lines)) {
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void FittedLinesLabel::setFullText(const QString& text) {
    if (text == m_full && !this->text().isEmpty())
        return;
    m_full = text;
    fit();
}

int FittedLinesLabel::neededHeight() const {
    const QString sample = QStringList(m_lines, QStringLiteral("Xg已")).join(QLatin1Char('\n'));
    const QRect need = fontMetrics().boundingRect(QRect(0, 0, 10'000, 10'000), int(alignment()), sample);
    return need.height() + 2 * margin() + 2 * frameWidth() + 2;
}

void FittedLinesLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void FittedLinesLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() != QEvent::FontChange && event->type() != QEvent::StyleChange)
        return;
    if (DockLayout::alignOf(this) == DockAlign::Top || DockLayout::alignOf(this) == DockAlign::Bottom) {
        const int height = neededHeight();
        if (DockLayout::extentOf(this) != height)
            DockLayout::setExtent(this, height);
    }
    fit();
}

void FittedLinesLabel::fit() {
    const QFontMetrics metrics = fontMetrics();
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QStringList lines = m_full.split(QLatin1Char('\n'));
    // How many lines the height holds, measured as drawn rather than from a line height.
    qsizetype fitting = lines.size();
    while (fitting > 1) {
        const QString probe = QStringList(fitting, QStringLiteral("Xg已")).join(QLatin1Char('\n'));
        if (metrics.boundingRect(QRect(0, 0, 10'000, 10'000), int(alignment()), probe).height() <=
            room.height())
            break;
        --fitting;
    }
    QStringList shown;
    for (qsizetype i = 0; i < fitting; ++i) {
        QString line = lines.at(i);
        if (i == fitting - 1 && fitting < lines.size())
            line += QStringLiteral(" …");
        shown << metrics.elidedText(line, Qt::ElideRight, std::max(0, room.width()));
    }
    const QString text = shown.join(QLatin1Char('\n'));
    QLabel::setText(text);
    setToolTip(text == m_full ? QString() : m_full);
}
