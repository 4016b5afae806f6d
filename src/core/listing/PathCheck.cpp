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

bool IsBadPathChar(char c, bool inside) {
    constexpr std::string_view kBadAnywhere = "*?\"|<>";
    if (!inside && c == '/')
        return true;
    return kBadAnywhere.find(c) != std::string_view::npos;
}

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
    if (std::any_of(path.begin(), path.end(), [](char c) { return IsBadPathChar(c, true); })) {
        notice.Show(kCaption, kBadCharacterMessage);
        return false;
    }
    return true;
}

} // namespace dirscribe
