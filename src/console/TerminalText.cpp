// SPDX-License-Identifier: MIT
#include "console/TerminalText.h"

#include "core/format/Utf8.h"

#include <algorithm>
#include <unistd.h>

namespace dirscribe {

namespace {

bool IsC1(char32_t c) {
    return c >= 0x80 && c <= 0x9F;
}

// Characters that end a line or turn text around for some reader, though no control.
bool BreaksLine(char32_t c) {
    return IsC1(c) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// The bytes a sequence beginning with lead takes in UTF-8; 1 for a byte that begins none.
std::size_t SequenceBytes(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

} // namespace

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

std::string OneLineText(std::string_view text) {
    std::string shown = DisplayText(text);
    // What breaks a line beyond the controls DisplayText replaced lies beyond ASCII.
    if (std::all_of(shown.begin(), shown.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return shown;
    std::string line;
    line.reserve(shown.size());
    for (std::size_t at = 0; at < shown.size();) {
        const Utf8Character c = Utf8CharacterAt(shown, at);
        if (c.valid && BreaksLine(c.codePoint))
            line += '?';
        else
            line.append(shown, at, c.length);
        at += c.length;
    }
    return line;
}

std::string TerminalFilter::Pass(std::string_view block) {
    m_held.append(block);
    const std::string_view text = m_held;
    std::string shown;
    shown.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        // A line end or a character that the next block may finish waits for it.
        const std::size_t needed = byte == '\r' ? 2 : SequenceBytes(byte);
        if (at + needed > text.size())
            break;
        if (byte == '\n' || byte == '\t' || (byte == '\r' && text[at + 1] == '\n')) {
            shown.append(text.substr(at, byte == '\r' ? 2 : 1));
            at += byte == '\r' ? 2 : 1;
            continue;
        }
        const Utf8Character c = Utf8CharacterAt(text, at);
        if (byte < 0x20 || byte == 0x7F || !c.valid || IsC1(c.codePoint))
            shown += '?';
        else
            shown.append(text.substr(at, c.length));
        at += c.length;
    }
    m_held.erase(0, at);
    return shown;
}

std::string TerminalFilter::Finish() {
    std::string shown;
    for (std::size_t at = 0; at < m_held.size(); ++at)
        shown += '?';
    m_held.clear();
    return shown;
}

} // namespace dirscribe
