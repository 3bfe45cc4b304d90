// The batch text and the contact-address scrambler over any text.

#include "FuzzFiles.h"
#include "config/AppError.h"
#include "config/BatchCommands.h"
#include "config/TextScrambler.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    try {
        const TCMDS batch = ParseBatch(QStringLiteral("fuzz"), text);
        if (batch.cmds.size() != batch.inteMss.size()) {
            std::fprintf(stderr, "a batch whose steps and pauses differ in number\n");
            std::abort();
        }
    } catch (const AppError&) {
    }
    try {
        (void)UnscrambleText(text, web1ScrambleKey);
    } catch (const AppError&) {
    }
    const qsizetype split = text.indexOf(u'|');
    if (split >= 0) {
        const QString scrambled = ScrambleText(text.left(split), text.mid(split + 1));
        try {
            (void)UnscrambleText(scrambled, text.mid(split + 1));
        } catch (const AppError&) {
        }
    }
    return 0;
}
