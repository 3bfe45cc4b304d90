#pragma once

class QComboBox;

// Makes an editable choice box fit for device paths in a narrow place: while the box is not
// being edited a path too long for it shows elided in the middle ("/dev/se…if00-port0"), its
// whole text as the tooltip; the list opens as wide as its longest entry. The box's text is
// never changed, only how it is shown.
void makeElidedPathBox(QComboBox* box);
