#pragma once

#include "console/protocol/ModbusExchange.h"
#include "console/protocol/ModbusHealthText.h"

#include <QDateTime>
#include <QList>

class QLabel;
class TForm_Main;
struct AutoValueControls;
struct ConsoleState;

// The value labels of the automatic-reading pages, as automatic reading keeps them honest: a
// fresh value shows live; a value that could not be refreshed stays, greyed, with why and
// when it was last read good as its tooltip, so a stale number is never taken for a live one.

// Shows a register's value (scaled as the parameter model says) live, and notes when it was read.
void showAutoValue(TForm_Main& form, qint32 address, quint16 value, const QString& decimalSeparator);
// Greys the labels of one request's registers with the reason.
void markAutoValuesStale(TForm_Main& form, const ModbusExchange::Request& request, const ModbusStale& why);
// Greys every value label with the reason: the port closed, or the device went away.
void markAllAutoValuesStale(TForm_Main& form, const ModbusStale& why);
// Writes the reasons of greyed labels again in the current language, when it has changed
// since they were written.
void refreshStaleTexts(TForm_Main& form);

// The automatic-reading row that shows a register; nullptr when none does.
const AutoValueControls* autoValueRowAt(const ConsoleState& console, qint32 address);
// When the label last showed a fresh value; invalid before any.
QDateTime autoValueLastGood(const QObject* label);
