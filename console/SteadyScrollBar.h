#pragma once

#include <QScrollBar>

// A scroll bar that repaints only when it would look different. On a slow steady line the
// receive view's range grows by a line at a time, which moves the handle by less than a pixel
// for all but the first few hundred lines; repainting the bar (and, where the style leaves it
// see-through, the group box behind it) for each of those cost more than drawing the new rows.
class SteadyScrollBar : public QScrollBar {
public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Sets both at once and repaints only when the end result looks different. Setting the
    // range first and the value after leaves the bar for a moment away from its end (a grown
    // range with the old value), which looks different and would repaint the bar (and what
    // shows through it) at every new line while the view follows the end.
    void setRangeAndValue(int min, int max, int value);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What decides the bar's look besides its colours and size: where the handle lies, and
    // whether either end is reached (styles grey out the arrow that cannot move further).
    struct Look {
        QRect handle;
        bool atStart = false;
        bool atEnd = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    Look m_drawn; // as last painted
    bool m_settingBoth = false;
    bool m_changedWhileSetting = false;
};
