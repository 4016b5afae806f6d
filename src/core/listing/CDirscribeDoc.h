// SPDX-License-Identifier: MIT
// The document: what the last read found on disk.
#pragma once

#include "core/listing/EntryStore.h"
#include "core/listing/ListingShape.h"
#include "core/listing/ListingSummary.h"
#include "core/listing/ListingVolume.h"

#include <cstdint>
#include <vector>

namespace dirscribe {

// Holds only what was read from disk; comments and the texts the user sees live in the
// listing table. The folder scanner fills it, table population and the outputs read it.
struct CDirscribeDoc {
    // What the read kept, each folder's entries together in the order the read met the
    // folders, a folder's entry always before its contents.
    EntryStore entries;
    // The listing in display order before any sorting: row r shows entries.At(order[r]).
    // Empty when that is the order of entries itself, as after a single-folder read.
    std::vector<std::uint32_t> order;
    // How many folders the last single-folder read put at the head of entries (both files
    // and folders listed); 0 otherwise and after a tree read that descended.
    std::int32_t headFolderCount = 0;
    ListingSummary summary;
    // The depth and content the last read was made with.
    ListingShape shape;
    // The volume the folder is on, as the read found it, and the user's note about it,
    // which a read of the same folder carries over.
    ListingVolume volume;

    [[nodiscard]] std::size_t RowCount() const {
        return order.empty() ? entries.Size() : order.size();
    }
    // The entry row r of the listing shows.
    [[nodiscard]] std::uint32_t EntryOfRow(std::size_t row) const {
        return order.empty() ? static_cast<std::uint32_t>(row) : order[row];
    }
};

} // namespace dirscribe
