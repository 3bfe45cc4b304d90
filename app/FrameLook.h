#pragma once

// What the fixed frame's builders share: the template's colours and font, and the way a
// control is made and registered. Only the frame's own files include this.

#include "app/MainFrm.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QStringList>

namespace frame {

inline const QColor green(0, 128, 0);
inline const QColor blue(0, 0, 255);
inline const QColor black(0, 0, 0);
inline const QColor yellow(255, 255, 0);
inline const QColor white(255, 255, 255);

// The template asks for "微软雅黑"; where it is absent a CJK family with the same coverage.
inline QFont templateFont(int pixelSize, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

inline void setItems(QComboBox* box, const QStringList& items, const QString& text) {
    box->setEditable(true);
    box->addItems(items);
    box->setCurrentText(text);
}

} // namespace frame

template <class T> T* TForm_Main::make(const QString& name, QWidget* parent) {
    auto* w = new T(parent);
    RegisterComponent(w, name);
    return w;
}
