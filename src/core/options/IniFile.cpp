// SPDX-License-Identifier: MIT
// Windows INI syntax read and written line by line, keeping what it does not change.
#include "core/options/IniFile.h"

#include "core/Error.h"
#include "core/format/AsciiCase.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace dirscribe {

namespace {

// A profile is a few hundred bytes; anything this large is not one.
constexpr std::size_t kMaxProfileBytes = std::size_t{1} << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    return EqualIgnoringAsciiCase(Trim(a), Trim(b));
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
        file.m_byteOrderMark = true;
    }
    const auto firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
        file.m_lineEnd = "\r\n";

    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            if (close != std::string_view::npos) {
                file.m_sections.push_back(
                    {std::string(Trim(trimmed.substr(1, close - 1))), std::string(line), {}});
                continue;
            }
        }
        Line entry{std::string(line), {}, {}};
        const auto equals = trimmed.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && equals != std::string_view::npos) {
            const std::string_view key = Trim(trimmed.substr(0, equals));
            if (!key.empty()) {
                entry.key = std::string(key);
                entry.value = std::string(Trim(trimmed.substr(equals + 1)));
            }
        }
        file.m_sections.back().lines.push_back(std::move(entry));
    }
    return file;
}

IniFile IniFile::Load(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return {}; // no profile yet: every setting takes its default
    const auto bytes = ReadWholeFile(path, kMaxProfileBytes);
    return Parse({bytes.data(), bytes.size()});
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    if (Trim(name).empty())
        return &m_sections.front();
    for (auto it = m_sections.begin() + 1; it != m_sections.end(); ++it)
        if (NamesEqual(it->name, name))
            return &*it;
    return nullptr;
}

const IniFile::Line* IniFile::FindLine(std::string_view section, std::string_view key) const {
    const bool preamble = Trim(section).empty();
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        // The preamble is reached only by the empty name, never by a "[]" header.
        if (preamble ? s != 0 : s == 0 || !NamesEqual(m_sections[s].name, section))
            continue;
        for (const Line& line : m_sections[s].lines)
            if (!line.key.empty() && NamesEqual(line.key, key))
                return &line;
    }
    return nullptr;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    if (const Line* line = FindLine(section, key))
        return line->value;
    return std::nullopt;
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view trimmedKey = Trim(key);
    if (trimmedKey.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
        trimmedKey.front() == '[' || trimmedKey.front() == ';')
        throw Error("\"" + std::string(key) + "\" cannot be stored as a profile entry");
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos)
        throw Error("\"" + std::string(section) + "\" cannot be stored as a profile section");
    if (HasLineBreak(value))
        throw Error("The value of \"" + std::string(key) +
                    "\" cannot be stored in a profile: it holds a line break");

    Line entry{std::string(key) + "=" + std::string(value), std::string(trimmedKey),
               std::string(Trim(value))};
    if (const Line* found = FindLine(section, key)) {
        if (found->value != entry.value)
            *const_cast<Line*>(found) = std::move(entry);
        return;
    }
    if (Section* target = FindSection(section)) {
        auto& lines = target->lines;
        auto after = std::find_if(lines.rbegin(), lines.rend(), [](const Line& line) {
                         return !Trim(line.text).empty();
                     }).base();
        lines.insert(after, std::move(entry));
        return;
    }
    // Keep a blank line between the new section and what comes before it.
    const Section& last = m_sections.back();
    const std::string_view lastLine = last.lines.empty() ? last.header : last.lines.back().text;
    if (!Trim(lastLine).empty())
        m_sections.back().lines.push_back({});
    m_sections.push_back(
        {std::string(Trim(section)), "[" + std::string(section) + "]", {std::move(entry)}});
}

std::string IniFile::Text() const {
    // Written back as it was read, so what follows the mark keeps its meaning.
    std::string text(m_byteOrderMark ? kByteOrderMark : std::string_view());
    for (const Section& section : m_sections) {
        if (!section.header.empty())
            text.append(section.header).append(m_lineEnd);
        for (const Line& line : section.lines)
            text.append(line.text).append(m_lineEnd);
    }
    return text;
}

void IniFile::Save(const std::string& path) const {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::error_code error;
        std::filesystem::create_directories(parent, error);
        if (error)
            throw Error("Cannot save \"" + path + "\": " + error.message());
    }
    WriteFileAtomically(path, Text());
}

} // namespace dirscribe
