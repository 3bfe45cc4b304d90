#pragma once

// Checking a loaded snapshot against the parameters it is loaded into, before any field is
// filled: a file from a spreadsheet may hold anything, and a value that lands in a field is
// one Write away from the device.

#include "config/Language.h"
#include "console/protocol/SnapshotCsv.h"
#include "device/ParameterModel.h"

#include <QList>
#include <QString>
#include <optional>

// Whether a cell reads as a spreadsheet formula ("=1+1", "@SUM(A1:A9)", "+A1", "-2+3"): it
// starts with "=" or "@", or with "+" or "-" and is not a plain number.
bool LooksLikeFormula(const QString& cell);

// The device value a snapshot row gives a parameter, as a Write would send it, or the reason
// it gives none. A hexadecimal row takes a whole number in the device-value cell (the shown
// text's hexadecimal digits when that cell is empty); a choice row a listed device value or a
// listed text in either language; a text row a value the protocol line can carry: no formula,
// no line break or other control character, no "#" or "$" (they end or start a line), no
// comma (it separates address and value, and is what a decimal point becomes in some locales), and
// nothing outside one byte per character.
struct CellCheck {
    std::optional<QString> deviceValue;
    QString reason; // when deviceValue is empty
};
CellCheck CheckSnapshotRow(const Parameter& parameter, const SnapshotRow& row, Language language);

// What loading a snapshot into a set of parameters does.
struct SnapshotLoadPlan {
    // For each parameter given, the device value to show, or nothing.
    QList<std::optional<QString>> values;
    struct Refused {
        int line = 0; // file line, from 1
        QString address, tag, reason;
    };
    // Rows named and left out: unplaced ones (no parameter with that tag and address, or a
    // second row for one) and ones whose cell failed its check, in file order.
    QList<Refused> refused;
    qsizetype loaded() const;
};
SnapshotLoadPlan PlanSnapshotLoad(const QList<const Parameter*>& parameters, const SnapshotParse& parse,
                                  Language language);

// The message after a load: how many parameters were filled, and every row left out with its
// line and reason (the longest lists cut short with a count of the rest).
QString SnapshotLoadText(const SnapshotLoadPlan& plan, Language language, qsizetype listed = 20);
