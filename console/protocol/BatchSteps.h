#pragma once

#include "config/ConfigRecords.h"

#include <QList>
#include <QString>

// The parts of a batch run that need no window: which set runs, what each step sends, when
// a step waits for the operator and how long the pause after it lasts.

// Index of the first set whose caption equals the text exactly; -1 when none does.
int FindBatch(const QList<TCMDS>& batches, const QString& caption);

struct BatchStep {
    QString text;   // sent as it stands, without a line end
    bool confirm;   // wait for the operator before sending
    qint64 pauseMs; // after sending; the magnitude of the stored interval
};

// Steps count by their intervals; a set read only part-way has fewer texts than intervals.
inline qsizetype BatchStepCount(const TCMDS& batch) {
    return batch.inteMss.size();
}
// Step i of the set. A step whose text is missing throws
// AppError("List index out of bounds (<i>)"), which ends the run after the steps before it.
BatchStep BatchStepAt(const TCMDS& batch, qsizetype i);

// A confirmation step waits in one-second slices, at most this many, for the operator to
// press Enter in the send box, seen as more line breaks there than at the start.
constexpr int kConfirmSlices = 31;
constexpr int kConfirmSliceMs = 1000;
// CR LF, a lone CR and a lone LF each count once: a text box may hold its line breaks in
// any of these forms, and Enter in a Qt text box adds a LF where the device protocol has CR.
int CountLineBreaks(const QString& text);
inline bool OperatorConfirmed(int breaksAtStart, const QString& sendBoxText) {
    return CountLineBreaks(sendBoxText) > breaksAtStart;
}
