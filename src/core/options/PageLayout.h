// SPDX-License-Identifier: MIT
// The meaning of the `Print as ` setting.
#pragma once

#include <cstdint>

namespace dirscribe {

// Letter pages with a tree read (Standard), letter pages with file data rows (FileData),
// or cut-out panels for a CD or a ZIP/LS-120 case; the last three list one folder only.
// The numbers are those the profile and the document file store.
enum class PageLayout : std::int32_t { Standard = 0, FileData = 1, CdInsert = 2, ZipInsert = 3 };

// Whether n is the stored number of a PageLayout.
constexpr bool IsPageLayout(std::int32_t n) {
    return n >= static_cast<std::int32_t>(PageLayout::Standard) &&
           n <= static_cast<std::int32_t>(PageLayout::ZipInsert);
}

} // namespace dirscribe
