#include "comm/posix/InputFilter.h"

namespace posixcomm {

std::size_t InputFilter::Apply(const InputOptions& options, char* data, std::size_t size) {
    std::size_t kept = 0;
    auto keep = [&](char c) {
        if (!(options.ignoreNull && c == '\0'))
            data[kept++] = c;
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (!options.replaceMarked) {
            mark_ = Mark::None;
            keep(c);
            continue;
        }
        switch (mark_) {
        case Mark::None:
            if (c == '\377')
                mark_ = Mark::SawFF;
            else
                keep(c);
            break;
        case Mark::SawFF:
            if (c == '\0') {
                mark_ = Mark::SawFF00;
            } else {
                // \377 \377 is an escaped data byte \377.
                mark_ = Mark::None;
                keep(c);
            }
            break;
        case Mark::SawFF00:
            mark_ = Mark::None;
            // \377 \0 \0 marks a break, which carries no data byte to replace.
            if (c != '\0')
                keep(options.replacement);
            break;
        }
    }
    return kept;
}

} // namespace posixcomm
