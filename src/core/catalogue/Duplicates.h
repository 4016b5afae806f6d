// SPDX-License-Identifier: MIT
// Files stored more than once across the saved listings of a catalogue.
#pragma once

#include "core/catalogue/CopyKeyHash.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dirscribe {

struct FileCopy {
    std::string document; // as found (FindDocuments)
    int row = 0;          // from 0
    std::string name;     // its raw name
    std::string path;     // the listed folder and the entry's path of raw names below it
    std::uint64_t modified = 0;
};

// Copies of one file: at least two.
struct CopyGroup {
    std::uint64_t bytes = 0; // the size of each
    std::vector<FileCopy> copies;

    // The bytes beyond the first copy's.
    [[nodiscard]] std::uint64_t BytesStoredAgain() const;
};

// Finds the files (not folders, not empty, not gone) that the listings in paths record
// with their exact sizes (a document written before entries were recorded has none) and
// that share what key says, in one listing or several, and hands the groups over the most
// bytes stored again first (then by name and size); each group's copies in the order of
// the documents and their rows. Looks through the catalogue twice (LookThroughCatalogue,
// with the index unless useIndex is false: the first time only its copy keys, for the
// NameAndSize key), holding eight bytes a file, then about sixty bytes and the path of each
// file that may be a copy. Returns the number of groups.
std::size_t FindDuplicates(const std::vector<std::string>& paths, CopyKey key, bool useIndex,
                           Notice& problems, Notice& remarks, Progress& progress,
                           const std::function<void(const CopyGroup&)>& onGroup,
                           const StopFlag* stop = nullptr);

} // namespace dirscribe
