#include "config/BatchCommands.h"

#include "config/AppError.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"

TCMDS ParseBatch(const QString& caption, const QString& cmdsStr) {
    TCMDS batch;
    batch.caption = caption;
    QStringList pieces;
    SplitByDelimiter(cmdsStr, QStringLiteral("|"), &pieces);
    batch.inteMss.reserve(pieces.size());
    for (const QString& piece : pieces) {
        const qsizetype open = piece.indexOf(u'[');
        const qsizetype close = piece.indexOf(u']');
        // Without "[" the command would silently become empty; treat the piece as malformed.
        if (open < 0 || close < open) {
            const QString delay = open < 0 ? piece.left(qMax<qsizetype>(close, 0)) : QString();
            throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(delay));
        }
        batch.inteMss.append(StrToInt(piece.mid(open + 1, close - open - 1)));
        batch.cmds.append(piece.left(open));
    }
    return batch;
}

namespace {

// How a left-out batch is named to the user: its caption, or its element when the caption
// itself is what is missing.
QString batchName(const XmlNode& item) {
    if (item.hasAttribute(QStringLiteral("caption")))
        return item.readAttribute(QStringLiteral("caption"));
    return QStringLiteral("<%1>").arg(item.tagName());
}

} // namespace

void ReadBatchCommands(const XmlNode& cmds, QList<TCMDS>& batches, QStringList& captions,
                       QList<BatchFault>* faults) {
    const int count = cmds.childCount();
    for (int i = 0; i < count; ++i) {
        const XmlNode item = cmds.child(i);
        TCMDS batch;
        try {
            const QString caption = item.readAttribute(QStringLiteral("caption"));
            batch = ParseBatch(caption, item.readAttribute(QStringLiteral("CmdsStr")));
        } catch (const AppError& e) {
            if (faults)
                faults->append(BatchFault{batchName(item), e.text()});
            continue;
        }
        captions.append(batch.caption);
        batches.append(std::move(batch));
    }
}

QString BatchFaultsMessage(const QList<BatchFault>& faults, Language language) {
    QStringList lines;
    for (const BatchFault& fault : faults)
        lines << language.translate("BatchCommands", "The batch \"%1\" is faulty and was left out: %2")
                     .arg(fault.name, fault.reason);
    return lines.join(u'\n');
}
