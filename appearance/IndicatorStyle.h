#pragma once

#include <QProxyStyle>

// Fusion, with check boxes and radio buttons that can be seen under every theme. Fusion draws
// their box in a shade of the window colour, which on dark and on pale themes alike falls far
// below the 3:1 a control's outline needs; here the ring takes the window's text colour and
// the mark the field's text colour, which every theme keeps legible against its window and
// field colours.
class IndicatorStyle : public QProxyStyle {
public:
    IndicatorStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
