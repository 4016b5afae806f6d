// SPDX-License-Identifier: MIT
// A small reader and writer of Windows INI syntax.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// "[Section]" headers and "key=value" lines. Section and key names match ignoring
// surrounding blanks and ASCII case, so a key with a trailing blank round-trips; values are
// read without their surrounding blanks. Lines it does not understand, comments (";") and
// blank lines are kept as they are when the file is written back.
class IniFile {
public:
    // Parses text; never fails (malformed lines are kept and ignored). Accepts "\n" and
    // "\r\n" line ends and drops a leading UTF-8 byte order mark. Lines before the first
    // header belong to the section with the empty name.
    static IniFile Parse(std::string_view text);
    // Reads a file; a missing file gives an empty profile. Throws Error naming the file when
    // it exists but is a folder or not a regular file, cannot be read, or is over 1 MiB.
    static IniFile Load(const std::string& path);

    // The value of the first entry with this key in the sections of this name (in file
    // order), or nothing.
    [[nodiscard]] std::optional<std::string> Value(std::string_view section,
                                                   std::string_view key) const;
    // Changes the first matching entry (a line whose value is already equal stays as it
    // was), else adds "key=value" after the section's last non-blank line, else adds the
    // section at the end. Key and section are written as the caller spells them. Throws
    // Error, changing nothing, for a name or value that cannot be written as one line
    // (a line break, a key holding "=" or starting with "[" or ";", a section holding "]").
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The whole file; lines end as the first line end of the parsed text did, else "\n".
    [[nodiscard]] std::string Text() const;
    // Replaces the file atomically, creating its folder when needed. Throws Error.
    void Save(const std::string& path) const;

private:
    struct Line {
        std::string text; // the line as read or as written by SetValue
        std::string key;  // the key of a key=value line, trimmed; empty for any other line
        std::string value;
    };
    struct Section {
        std::string name;   // trimmed; empty for the lines before the first header
        std::string header; // the header line as read or written; empty when there is none
        std::vector<Line> lines;
    };
    Section* FindSection(std::string_view name);
    [[nodiscard]] const Section* FindSection(std::string_view name) const;
    [[nodiscard]] const Line* FindLine(std::string_view section, std::string_view key) const;

    // The first element always holds the lines before the first header.
    std::vector<Section> m_sections = std::vector<Section>(1);
    std::string m_lineEnd = "\n";
    bool m_byteOrderMark = false; // the file began with a UTF-8 byte-order mark
};

} // namespace dirscribe
