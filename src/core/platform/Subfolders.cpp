// SPDX-License-Identifier: MIT
#include "core/platform/Subfolders.h"

#include "core/platform/Directory.h"

#include <algorithm>

namespace dirscribe {

namespace {

constexpr std::size_t kChildrenPerTask = 512;

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

std::optional<std::vector<Subfolder>> ReadSubfolders(const std::string& path, TaskPool& pool) {
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
    // that is worth spreading over the spare cores. Children are opened relative to the one
    // handle, which several threads may share; each task writes its own slots only.
    TaskPool::Group group;
    for (std::size_t first = 0; first < folders.size(); first += kChildrenPerTask) {
        const std::size_t last = std::min(folders.size(), first + kChildrenPerTask);
        auto lookInto = [&parent = *dir, &folders, first, last] {
            for (std::size_t i = first; i < last; ++i)
                if (auto child = parent.OpenChild(folders[i].name))
                    folders[i].hasSubfolders = HoldsFolder(*child);
        };
        if (!pool.TryPost(group, lookInto))
            lookInto();
    }
    pool.Wait(group);
    return folders;
}

} // namespace dirscribe
