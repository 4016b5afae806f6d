// SPDX-License-Identifier: MIT
// UTF-16 texts of Windows files turned into UTF-8.
#include "core/format/Utf16.h"

#include <cstdint>

namespace dirscribe {

namespace {

void AppendCodePoint(std::string& out, std::uint32_t c) {
    const auto byte = [&](std::uint32_t value) {
        out.push_back(static_cast<char>(value));
    };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00U));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendCodePoint(out, kReplacement);
        } else {
            AppendCodePoint(out, unit);
        }
    }
    return out;
}

} // namespace dirscribe
