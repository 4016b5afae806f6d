// SPDX-License-Identifier: MIT
#include "core/options/WindowState.h"

#include "core/options/ColumnTitles.h"
#include "core/options/OptionEntry.h"

#include <algorithm>
#include <array>

namespace dirscribe {

namespace {

constexpr std::string_view kSection = "Window";
constexpr std::string_view kColumnPrefix = "Column ";
constexpr std::string_view kRecentPrefix = "Recent Document ";
constexpr int kFarthest = 100000;
constexpr int kWidestColumn = 10000;

struct FolderKey {
    std::string_view name;
    std::string WindowState::*folder;
};
constexpr std::array kFolders{FolderKey{"Last Folder", &WindowState::lastFolder},
                              FolderKey{"Open Folder", &WindowState::openFolder},
                              FolderKey{"Save Folder", &WindowState::saveFolder},
                              FolderKey{"Export Folder", &WindowState::exportFolder},
                              FolderKey{"Search Folder", &WindowState::searchFolder}};

constexpr std::array<std::string_view, 5> kColumns{kFileNameTitle, kCommentsTitle, kSizeTitle,
                                                   kAttrTitle, kLastModifiedTitle};

std::optional<int> Integer(const IniFile& profile, std::string_view key, int minimum, int maximum) {
    const std::optional<std::string> text = profile.Value(kSection, key);
    const std::optional<std::int32_t> value =
        text ? ParseProfileInteger(*text) : std::optional<std::int32_t>();
    if (!value || *value < minimum || *value > maximum)
        return std::nullopt;
    return *value;
}

std::optional<WindowGeometry> Geometry(const IniFile& profile) {
    const auto left = Integer(profile, "Left", -kFarthest, kFarthest);
    const auto top = Integer(profile, "Top", -kFarthest, kFarthest);
    const auto width = Integer(profile, "Width", 1, kFarthest);
    const auto height = Integer(profile, "Height", 1, kFarthest);
    if (!left || !top || !width || !height)
        return std::nullopt;
    return WindowGeometry{*left, *top, *width, *height};
}

bool FitsOnOneLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

// A value that holds a line break is never written (see SaveWindowState); one that a hand
// edit gave a carriage return reads as none, so what is read is what would be written.
std::string OneLineValue(const IniFile& profile, std::string_view key) {
    std::string value = profile.Value(kSection, key).value_or(std::string());
    return FitsOnOneLine(value) ? value : std::string();
}

std::string RecentKey(std::size_t number) {
    return std::string(kRecentPrefix) + std::to_string(number);
}

} // namespace

WindowState LoadWindowState(const IniFile& profile) {
    WindowState state;
    state.geometry = Geometry(profile);
    state.maximized = Integer(profile, "Maximized", 0, 1).value_or(0) != 0;
    for (const FolderKey& key : kFolders)
        state.*key.folder = OneLineValue(profile, key.name);
    for (const std::string_view title : kColumns) {
        const std::string key = std::string(kColumnPrefix).append(title);
        if (const auto width = Integer(profile, key, 1, kWidestColumn))
            state.columnWidths[std::string(title)] = *width;
    }
    for (std::size_t number = 1; number <= kRecentDocuments; ++number) {
        const std::string document = OneLineValue(profile, RecentKey(number));
        if (!document.empty() &&
            std::find(state.recentDocuments.begin(), state.recentDocuments.end(), document) ==
                state.recentDocuments.end())
            state.recentDocuments.push_back(document);
    }
    state.treeBeside = Integer(profile, "Tree Beside", 0, 1).value_or(0) != 0;
    state.treeWidth = Integer(profile, "Tree Width", 1, kWidestColumn).value_or(0);
    return state;
}

void SaveWindowState(const WindowState& state, IniFile& profile) {
    if (state.geometry) {
        const WindowGeometry& place = *state.geometry;
        profile.SetValue(kSection, "Left", std::to_string(place.left));
        profile.SetValue(kSection, "Top", std::to_string(place.top));
        profile.SetValue(kSection, "Width", std::to_string(place.width));
        profile.SetValue(kSection, "Height", std::to_string(place.height));
    }
    profile.SetValue(kSection, "Maximized", state.maximized ? "1" : "0");
    for (const FolderKey& key : kFolders)
        if (FitsOnOneLine(state.*key.folder))
            profile.SetValue(kSection, key.name, state.*key.folder);
    for (const std::string_view title : kColumns) {
        const auto width = state.columnWidths.find(std::string(title));
        if (width != state.columnWidths.end())
            profile.SetValue(kSection, std::string(kColumnPrefix).append(title),
                             std::to_string(width->second));
    }
    std::size_t number = 0;
    for (const std::string& document : state.recentDocuments)
        if (number < kRecentDocuments && FitsOnOneLine(document))
            profile.SetValue(kSection, RecentKey(++number), document);
    while (number < kRecentDocuments)
        profile.SetValue(kSection, RecentKey(++number), "");
    profile.SetValue(kSection, "Tree Beside", state.treeBeside ? "1" : "0");
    if (state.treeWidth > 0)
        profile.SetValue(kSection, "Tree Width", std::to_string(state.treeWidth));
}

} // namespace dirscribe
