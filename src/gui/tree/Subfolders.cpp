// SPDX-License-Identifier: MIT
#include "gui/tree/Subfolders.h"

#include "core/platform/Directory.h"

namespace dirscribe {

namespace {

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
    while (dir->NextName(name, kind)) {
        if (!IsFolder(*dir, name, kind))
            continue;
        Subfolder folder;
        folder.name = name;
        if (auto child = dir->OpenChild(name))
            folder.hasSubfolders = HoldsFolder(*child);
        folders.push_back(std::move(folder));
    }
    return folders;
}

} // namespace dirscribe
