// SPDX-License-Identifier: MIT
// A small reader and writer of Windows INI syntax.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// "[Section]" headers and "key=value" lines. Section and key names match ignoring
// surrounding blanks and ASCII case, so a key with a trailing blank round-trips.
// Lines it does not understand are kept as they are when the file is written back.
class IniFile {
public:
    // Parses text; never fails (malformed lines are kept and ignored).
    static IniFile Parse(std::string_view text);
    // Reads a file; a missing file gives an empty profile. Throws Error when the file
    // exists but cannot be read.
    static IniFile Load(const std::string& path);

    [[nodiscard]] std::optional<std::string> Value(std::string_view section,
                                                   std::string_view key) const;
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    [[nodiscard]] std::string Text() const;
    // Replaces the file atomically, creating its folder when needed. Throws Error.
    void Save(const std::string& path) const;

private:
    struct Line {
        std::string text; // the line as read or as written by SetValue
        std::string key;  // the key of a key=value line, else empty
        std::string value;
    };
    struct Section {
        std::string name; // empty for lines before the first header
        std::vector<Line> lines;
    };
    Section* FindSection(std::string_view name);
    [[nodiscard]] const Section* FindSection(std::string_view name) const;

    std::vector<Section> m_sections;
};

} // namespace dirscribe
