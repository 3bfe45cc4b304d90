#pragma once

#include "config/ConfigRecords.h"
#include "config/XmlDocument.h"

#include <QList>
#include <QStringList>

// Appends one record to batches and its caption to captions for each child of the CMDS
// element, in document order. Each child's CmdsStr is "command[delay]" pieces joined by "|".
//
// A fault (an absent caption or CmdsStr in a document read as it stands, a piece without a
// "[" before its "]", a delay that is not an integer, an empty piece from a stray "|") ends
// the reading silently: the batches completed before it stay. The batch in which the fault
// was met is left out entirely, caption included, because running part of a sequence meant
// as a whole could leave a device half-configured. So batches and captions grow together and
// stay index-aligned. A null cmds (no CMDS section) adds nothing.
void ReadBatchCommands(const XmlNode& cmds, QList<TCMDS>& batches, QStringList& captions);

// One batch from its caption and CmdsStr text; throws AppError on the faults listed above.
TCMDS ParseBatch(const QString& caption, const QString& cmdsStr);
