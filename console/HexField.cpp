#include "console/HexField.h"

#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"

#include <QWidget>

namespace {

const QColor hexFieldColor(255, 255, 0);

} // namespace

void markHexField(QWidget* field) {
    setControlColor(field, hexFieldColor);
}

bool isHexField(const QObject* control) {
    return isEdit(control) && controlColor(static_cast<const QWidget*>(control)) == hexFieldColor;
}
