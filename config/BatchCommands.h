#pragma once

#include "config/ConfigRecords.h"
#include "config/Language.h"
#include "config/XmlDocument.h"

#include <QList>
#include <QStringList>

// A batch left out at reading: its caption (or "<tag>" when the caption is missing) and
// the error met in it.
struct BatchFault {
    QString name;
    QString reason;
};

// Appends one record to batches and its caption to captions for each child of the CMDS
// element, in document order. Each child's CmdsStr is "command[delay]" pieces joined by "|".
//
// A batch with a fault (an absent caption or CmdsStr in a document read as it stands, a
// piece without a "[" before its "]", a delay that is not an integer, an empty piece from a
// stray "|") is left out entirely, caption included, because running part of a sequence
// meant as a whole could leave a device half-configured; it is added to faults, and the
// batches after it are read as usual. So batches and captions grow together and stay
// index-aligned. A null cmds (no CMDS section) adds nothing.
void ReadBatchCommands(const XmlNode& cmds, QList<TCMDS>& batches, QStringList& captions,
                       QList<BatchFault>* faults = nullptr);

// One line per left-out batch, in the language given, for the start-up notice.
QString BatchFaultsMessage(const QList<BatchFault>& faults, Language language);

// One batch from its caption and CmdsStr text; throws AppError on the faults listed above.
TCMDS ParseBatch(const QString& caption, const QString& cmdsStr);
