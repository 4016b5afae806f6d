// SPDX-License-Identifier: MIT
#include "console/TerminalText.h"

#include "core/format/Utf8.h"

#include <unistd.h>

namespace dirscribe {

std::string TextFor(std::FILE* stream, std::string_view text) {
    if (::isatty(::fileno(stream)) == 0)
        return std::string(text);
    constexpr std::string_view kLineBreak = "\r\n";
    std::string shown;
    for (;;) {
        const std::size_t end = text.find(kLineBreak);
        shown += DisplayText(text.substr(0, end));
        if (end == std::string_view::npos)
            return shown;
        shown += kLineBreak;
        text.remove_prefix(end + kLineBreak.size());
    }
}

void PrintErrorLine(std::string_view text) {
    const std::string line = TextFor(stderr, text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace dirscribe
