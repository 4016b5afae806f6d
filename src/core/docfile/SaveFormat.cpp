// SPDX-License-Identifier: MIT
// Which kind of file a save writes, chosen by the file's name.
#include "core/docfile/SaveFormat.h"

namespace dirscribe {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

SaveFormat SaveFormatFor(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (name.size() < 3)
        return SaveFormat::DocumentFile;
    const std::string_view last = name.substr(name.size() - 3);
    const bool txt =
        AsciiLower(last[0]) == 't' && AsciiLower(last[1]) == 'x' && AsciiLower(last[2]) == 't';
    return txt ? SaveFormat::TextReport : SaveFormat::DocumentFile;
}

} // namespace dirscribe
