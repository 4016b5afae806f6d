// SPDX-License-Identifier: MIT
// ID3v2 frame texts in their four encodings, turned into UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace dirscribe {

// True for the encodings whose characters are single bytes: 0 (ISO-8859-1), 3 (UTF-8) and
// the unknown values, read as 0 is.
bool IsSingleByteId3Encoding(unsigned char encoding);

// The bytes of a text in the given encoding byte as UTF-8, NUL characters kept (they part
// the strings of a frame):
// - single-byte encodings: valid UTF-8 passes through, any other byte is Windows-1252;
// - 1: UTF-16, each string's byte-order mark deciding its byte order (little-endian
//   before the first mark, as the writers that leave it out are Windows ones);
// - 2: UTF-16 big-endian.
// A lone surrogate becomes U+FFFD; an odd last byte is dropped.
std::string DecodeId3Text(unsigned char encoding, std::string_view bytes);

} // namespace dirscribe
