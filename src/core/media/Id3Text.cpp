// SPDX-License-Identifier: MIT
// ID3v2 frame texts in their four encodings, turned into UTF-8.
#include "core/media/Id3Text.h"

#include "core/format/Utf16.h"
#include "core/format/Utf8.h"

#include <cstdint>

namespace dirscribe {

namespace {

constexpr unsigned char kUtf16 = 1;
constexpr unsigned char kUtf16BigEndian = 2;

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    bool stringStart = true;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit =
            static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        if (stringStart && (unit == 0xFEFF || unit == 0xFFFE)) {
            // A mark read the wrong way round says the string is in the other order.
            bigEndian = bigEndian != (unit == 0xFFFE);
            continue;
        }
        stringStart = unit == 0;
        units.push_back(unit);
    }
    return Utf16ToUtf8(units);
}

} // namespace

bool IsSingleByteId3Encoding(unsigned char encoding) {
    return encoding != kUtf16 && encoding != kUtf16BigEndian;
}

std::string DecodeId3Text(unsigned char encoding, std::string_view bytes) {
    if (IsSingleByteId3Encoding(encoding))
        return LenientUtf8(bytes);
    return DecodeUtf16(bytes, encoding == kUtf16BigEndian);
}

} // namespace dirscribe
