// SPDX-License-Identifier: MIT
// A version resource's block tree and its string lookup by path.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// The bytes of a VS_VERSIONINFO resource: nested blocks of a length, a value length, a type,
// a UTF-16 key and a value, each block's children following its value on 4-byte bounds.
class VersionInfo {
public:
    // Nothing when the bytes do not start with a well-formed "VS_VERSION_INFO" block.
    static std::optional<VersionInfo> Parse(std::string bytes);

    // The text value at a path such as "\StringFileInfo\040904B0\CompanyName": each part
    // names a child of the block before it, compared without regard to ASCII case. The
    // value is cut at its first NUL and converted to UTF-8; a key with no value gives an
    // empty text. Nothing when a part of the path is missing.
    [[nodiscard]] std::optional<std::string> QueryString(std::string_view path) const;

    // The value at path as raw bytes (such as "\VarFileInfo\Translation"), cut at the end of
    // its block. Nothing when a part of the path is missing.
    [[nodiscard]] std::optional<std::string> QueryBytes(std::string_view path) const;

    // The keys of the children of the block at path, in their order, as UTF-8; none when a
    // part of the path is missing.
    [[nodiscard]] std::vector<std::string> ChildKeys(std::string_view path) const;

private:
    explicit VersionInfo(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::string m_bytes;
};

} // namespace dirscribe
