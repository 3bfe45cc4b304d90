#pragma once

#include <QLayout>
#include <QList>

enum class DockAlign { None, Top, Bottom, Left, Right, Client };

// Lays children out the way docked panels do: top-docked ones stack down from the top in
// order, bottom-docked ones up from the bottom, then left and right ones take full-height
// columns of the remaining space, and the client one fills what is left. A docked child's
// height (top/bottom) or width (left/right) is its extent, set with setExtent; undocked
// children keep the geometry they are given.
class DockLayout : public QLayout {
    Q_OBJECT
public:
    explicit DockLayout(QWidget* parent);
    ~DockLayout() override;

    // Adds a child docked as given; order of adding matters within one side.
    void dock(QWidget* widget, DockAlign align, int extent = 0);
    // The docked widget placed just before this one on the same side (what a splitter resizes).
    QWidget* neighbourBefore(QWidget* widget) const;

    static DockAlign alignOf(const QWidget* widget);
    static int extentOf(const QWidget* widget);
    // Sets a docked widget's width (left/right) or height (top/bottom) and lays its parent out again.
    static void setExtent(QWidget* widget, int extent);
    // Removes a widget from its parent's docking and puts it back, as after a change of pages.
    static void redock(QWidget* widget);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    QList<QLayoutItem*> m_items;
};
