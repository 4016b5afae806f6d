// SPDX-License-Identifier: MIT
// What a listing holds: the `Files and Folders` setting.
#pragma once

#include <cstdint>

namespace dirscribe {

// The numbers are those the profile and the document file store.
enum class ListingContent : std::int32_t { FoldersOnly = 0, FilesOnly = 1, FilesAndFolders = 2 };

// Whether n is the stored number of a ListingContent.
constexpr bool IsListingContent(std::int32_t n) {
    return n >= static_cast<std::int32_t>(ListingContent::FoldersOnly) &&
           n <= static_cast<std::int32_t>(ListingContent::FilesAndFolders);
}

} // namespace dirscribe
