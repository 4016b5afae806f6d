// SPDX-License-Identifier: MIT
#include "gui/tree/Subfolders.h"

#include "core/platform/Directory.h"

#include <algorithm>
#include <thread>

namespace dirscribe {

namespace {

constexpr std::size_t kChildrenPerThread = 512;
constexpr std::size_t kMaxThreads = 4;

bool IsFolder(const Directory& dir, const std::string& name, Directory::NameKind kind) {
    if (kind != Directory::NameKind::Unknown)
        return kind == Directory::NameKind::Folder;
    const auto entry = dir.Stat(name, dir.Device());
    return entry && entry->isFolder;
}

bool HoldsFolder(Directory& dir) {
    std::string name;
    Directory::NameKind kind = Directory::NameKind::Unknown;
    while (dir.NextName(name, kind))
        if (IsFolder(dir, name, kind))
            return true;
    return false;
}

} // namespace

bool HasSubfolders(const std::string& path) {
    auto dir = Directory::Open(path);
    return dir && HoldsFolder(*dir);
}

std::optional<std::vector<Subfolder>> ReadSubfolders(const std::string& path) {
    auto dir = Directory::Open(path);
    if (!dir)
        return std::nullopt;
    std::vector<Subfolder> folders;
    std::string name;
    Directory::NameKind kind = Directory::NameKind::Unknown;
    while (dir->NextName(name, kind))
        if (IsFolder(*dir, name, kind))
            folders.push_back({name, false});

    // Opening each child costs a few system calls; on a folder of thousands of subfolders
    // that is worth spreading over the cores.
    const auto lookInto = [&](const Directory& parent, std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i)
            if (auto child = parent.OpenChild(folders[i].name))
                folders[i].hasSubfolders = HoldsFolder(*child);
    };
    const std::size_t threads =
        std::clamp<std::size_t>(folders.size() / kChildrenPerThread, 1, kMaxThreads);
    std::vector<std::thread> helpers;
    const std::size_t share = (folders.size() + threads - 1) / threads;
    for (std::size_t t = 1; t < threads; ++t) {
        const std::size_t first = t * share;
        const std::size_t last = std::min(folders.size(), first + share);
        helpers.emplace_back([&, first, last] {
            // Each thread reads through its own handle of the folder.
            if (auto own = Directory::Open(path))
                lookInto(*own, first, last);
        });
    }
    lookInto(*dir, 0, std::min(folders.size(), share));
    for (auto& helper : helpers)
        helper.join();
    return folders;
}

} // namespace dirscribe
