#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Keeps a row of captioned controls in a panel readable whatever their captions: each control
// stays at its designed place unless the one before it has grown into it (a longer caption in
// the other language, a different font, a text edited by the user), and each is at least as
// wide as its caption needs. Re-flows whenever a control of the row asks for a new size.
class RowFlow : public QObject {
public:
    RowFlow(QWidget* panel, const QList<QWidget*>& row, int gap = 4);

    // Places the row now.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Place {
        QPointer<QWidget> widget;
        int designedLeft;
        int designedWidth;
    };
    QWidget* m_panel;
    QList<Place> m_row;
    int m_gap;
};
