#pragma once

class QObject;
class QWidget;

// A parameter of type HEX shows its value in hexadecimal in a yellow field. The colour is
// the mark: the operator sees which fields take hexadecimal, and the console converts
// between the field's text and the decimal value on the wire wherever it finds the mark.
void markHexField(QWidget* field);
bool isHexField(const QObject* control);
