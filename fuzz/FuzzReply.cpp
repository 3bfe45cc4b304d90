// The reply rule and reply assembly over any bytes, split into blocks at the input's own
// choice (its first byte), as a device or adapter might hand them over.

#include "FuzzFiles.h"
#include "console/protocol/ReceivedBlock.h"
#include "console/protocol/ReplyAssembler.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const qsizetype blockSize = 1 + data[0] % 64;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);

    (void)ParseReply(BlockAsText(bytes));
    (void)BlockAsHex(bytes);

    ReplyAssembler assembler;
    qint64 now = 0;
    for (qsizetype at = 0; at < bytes.size(); at += blockSize) {
        const QByteArray block = bytes.mid(at, blockSize);
        now += block.isEmpty() ? 0 : static_cast<unsigned char>(block[0]) * 5;
        for (const QByteArray& line : assembler.feed(block, now)) {
            if (line.size() > ReplyAssembler::kMaxLineBytes + blockSize || !line.contains('$')) {
                std::fprintf(stderr, "an assembled line is too long or holds no '$'\n");
                std::abort();
            }
            (void)ReplyLineValue(line);
        }
    }
    return 0;
}
