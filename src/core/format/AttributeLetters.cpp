// SPDX-License-Identifier: MIT
// The letters of the Attr. column.
#include "core/format/AttributeLetters.h"

#include <array>

namespace dirscribe {

std::string AttributeLetters(std::uint32_t attributes) {
    struct Letter {
        std::uint32_t bit;
        char letter;
    };
    static constexpr std::array<Letter, 4> kLetters = {{
        {0x20, 'A'}, // archive
        {0x02, 'H'}, // hidden
        {0x01, 'R'}, // read-only
        {0x04, 'S'}, // system
    }};
    std::string letters;
    for (const Letter& entry : kLetters)
        if ((attributes & entry.bit) != 0)
            letters += entry.letter;
    return letters;
}

} // namespace dirscribe
