// SPDX-License-Identifier: MIT
#include "core/listing/PathCheck.h"

#include <algorithm>
#include <string_view>

namespace dirscribe {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void Trim(std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    text.erase(text.begin(), first);
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
}

} // namespace

bool ValidatePath(std::string& path, Notice& notice) {
    Trim(path);
    if (path.empty()) {
        notice.Show(kErrorCaption, kEnterPathMessage);
        return false;
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const bool hasControl = std::any_of(
        path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (hasControl || path.size() > kMaxPathBytes) {
        notice.Show(kErrorCaption, kCheckPathMessage);
        return false;
    }
    return true;
}

std::string AbsolutePath(std::string_view path, std::string_view base) {
    if (base.empty() && !path.starts_with('/'))
        return std::string(path);
    std::string absolute(path.starts_with('/') ? std::string_view() : base);
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (!absolute.ends_with('/'))
            absolute += '/';
        absolute += part;
    }
    return absolute.empty() ? std::string("/") : absolute;
}

} // namespace dirscribe
