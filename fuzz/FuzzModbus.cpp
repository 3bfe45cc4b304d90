// The Modbus reply check over any bytes: a reply is accepted only as the frame it claims.

#include "FuzzFiles.h"
#include "console/protocol/ModbusRtu.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray block = fuzzBytes(data, size);
    const qsizetype frame = ModbusReplyFrameLength(block);
    if (frame < 0 || frame > block.size() || (frame > 0 && !HasValidModbusCrc(block.left(frame)))) {
        std::fprintf(stderr, "a frame length that is no sound frame\n");
        std::abort();
    }
    for (const qint32 station : {0, block.isEmpty() ? 1 : static_cast<unsigned char>(block[0]) + 0, 300}) {
        const auto values = ParseReadReply(block, station);
        if (values && (values->isEmpty() || 5 + 2 * values->size() > block.size())) {
            std::fprintf(stderr, "values without a reply that holds them\n");
            std::abort();
        }
    }
    return 0;
}
