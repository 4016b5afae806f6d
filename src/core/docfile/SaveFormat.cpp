// SPDX-License-Identifier: MIT
// Which kind of file a save writes, chosen by the file's name.
#include "core/docfile/SaveFormat.h"

#include "core/format/AsciiCase.h"

namespace dirscribe {

SaveFormat SaveFormatFor(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (name.size() < 3)
        return SaveFormat::DocumentFile;
    return EqualIgnoringAsciiCase(name.substr(name.size() - 3), "txt") ? SaveFormat::TextReport
                                                                       : SaveFormat::DocumentFile;
}

} // namespace dirscribe
