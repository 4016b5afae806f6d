// SPDX-License-Identifier: MIT
// Reads the subfolders of one folder for the folder tree, noting which of them hold folders.
#pragma once

#include "core/platform/TaskPool.h"

#include <optional>
#include <string>
#include <vector>

namespace dirscribe {

// One subfolder as the tree needs it.
struct Subfolder {
    std::string name;           // the name as the folder holds it (raw bytes)
    bool hasSubfolders = false; // it holds at least one folder of its own (it can be expanded)
};

// The real folders inside the folder at path, hidden ones included; files, links (also to
// folders) and other kinds are left out. Each child is opened once and read only up to its
// first folder; a large folder's children are looked into on the pool's free threads. Kinds
// come from the folder listing itself; a name is examined with lstat only where the file
// system does not give its kind. In the order the folder returns them.
// Empty when the folder cannot be opened; a child that cannot be opened has no subfolders.
std::optional<std::vector<Subfolder>> ReadSubfolders(const std::string& path, TaskPool& pool);

// Whether the folder at path holds at least one real folder; stops at the first. False when
// it cannot be opened.
bool HasSubfolders(const std::string& path);

} // namespace dirscribe
