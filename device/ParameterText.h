#pragma once

// Texts of parameters for a person to read and check: values as the fields show them, and the
// captions a snapshot keeps. Built on the parameter model's conversions, so a list to confirm
// reads like the page it is about.

#include "device/ParameterModel.h"

#include <QString>

// A device value as its field shows it, with the device value after it in brackets where the
// two differ: "012C (300)" for a hexadecimal field, "停止 (0)" / "Stop (0)" for a choice,
// "5" for plain text. A value the field cannot show is given as it stands.
QString ValueAsShown(const Parameter& parameter, const QString& deviceValue, const QString& languageCode);

// A polled register as its label shows it, with its unit, and the register's raw value in
// brackets where scaling changes it: "25.3 ℃ (253)". The raw value alone when the scaling
// does not hold two numbers.
QString PolledValueAsShown(const PolledValue& value, quint16 raw, const QString& decimalSeparator);

// Whether a text is one of the placeholders that stand where config.xml has no caption or
// hint ("Right click to set" and its Chinese forms): no real caption.
bool IsCaptionPlaceholder(const QString& text);

// The caption a snapshot keeps for a language: the language table's, else (for Chinese, the
// language config.xml's items are written in) the item's own; empty where there is none or
// only a placeholder.
QString SnapshotCaption(const Parameter& parameter, const QString& languageCode);
