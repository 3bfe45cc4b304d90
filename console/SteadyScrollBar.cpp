#include "console/SteadyScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

SteadyScrollBar::Look SteadyScrollBar::look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
}

void SteadyScrollBar::setRangeAndValue(int min, int max, int value) {
    m_settingBoth = true;
    m_changedWhileSetting = false;
    setRange(min, max);
    setValue(value);
    m_settingBoth = false;
    if (m_changedWhileSetting && (isSliderDown() || look() != m_drawn))
        QScrollBar::sliderChange(SliderValueChange);
}

void SteadyScrollBar::sliderChange(SliderChange change) {
    if (m_settingBoth && (change == SliderRangeChange || change == SliderValueChange)) {
        m_changedWhileSetting = true;
        return;
    }
    // Any other change (orientation, stepping) and any change of look repaints as usual.
    if ((change == SliderRangeChange || change == SliderValueChange) && !isSliderDown() && look() == m_drawn)
        return;
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
    m_drawn = look();
    QScrollBar::paintEvent(event);
}
