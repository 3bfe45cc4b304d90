#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QWidget>

// Small controls the window needs that Qt does not have as such.

// A panel: a plain frame whose caption shows centred behind its children.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

// A filled circle without outline: the activity lamps.
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);
    QColor brushColor() const { return m_brush; }
    void setBrushColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_brush = Qt::white;
};

// Generated labels are static texts, a kind of their own: the layout and language code
// treat them apart from the window's ordinary labels.
class TStaticText : public QLabel {
    Q_OBJECT
public:
    explicit TStaticText(QWidget* parent = nullptr) : QLabel(parent) {}
};

// The page of a tab control; a kind of its own so that tab sheets can be told apart.
class TTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget* parent = nullptr) : QWidget(parent) {}
};

// The scroll box that fills each generated tab sheet; rows sit on its content widget at
// fixed pixel positions, and the content grows to hold them.
class TScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget* parent = nullptr);
    QWidget* content() const { return widget(); }
    // Width available to the rows (the viewport's width).
    int clientWidth() const;
    // Grows the content so that every child is reachable by scrolling.
    void fitContent();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// A bar the user drags to resize the neighbour docked on the same side before it.
class TSplitter : public QWidget {
    Q_OBJECT
public:
    explicit TSplitter(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* neighbour() const;
    QPoint m_pressGlobal;
    int m_startExtent = -1;
};
