#pragma once

#include <QScrollBar>

// A scroll bar that repaints only when it would look different. On a slow steady line the
// receive view's range grows by a line at a time, which moves the handle by less than a pixel
// for all but the first few hundred lines; repainting the bar (and, where the style leaves it
// see-through, the group box behind it) for each of those cost more than drawing the new rows.
class SteadyScrollBar : public QScrollBar {
public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

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
};
