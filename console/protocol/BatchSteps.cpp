#include "console/protocol/BatchSteps.h"

#include "config/AppError.h"

#include <cstdlib>

int FindBatch(const QList<TCMDS>& batches, const QString& caption) {
    for (qsizetype i = 0; i < batches.size(); ++i) {
        if (batches[i].caption == caption)
            return static_cast<int>(i);
    }
    return -1;
}

BatchStep BatchStepAt(const TCMDS& batch, qsizetype i) {
    if (i < 0 || i >= batch.cmds.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(i));
    const qint32 interval = i < batch.inteMss.size() ? batch.inteMss[i] : 0;
    // In 64 bits, so the magnitude of the most negative interval does not overflow.
    return {batch.cmds[i], interval < 0, std::llabs(static_cast<qint64>(interval))};
}

int CountLineBreaks(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            ++count;
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (text[i] == u'\n') {
            ++count;
        }
    }
    return count;
}
