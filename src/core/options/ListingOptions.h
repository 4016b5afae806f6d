// SPDX-License-Identifier: MIT
// Every setting of a listing, named after its profile entry.
#pragma once

#include "core/listing/ListingContent.h"
#include "core/options/PageLayout.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// Flags are 0 or 1. The profile stores the enumerations by their numbers. Each member's comment
// names its profile entry in section "Options".
struct ListingOptions {
    PageLayout printAs = PageLayout::CdInsert; // "Print as "
    std::int32_t addSize = 1;                  // "Add Size", also stored as "Size"
    std::int32_t addDate = 0;                  // "Add Date"
    std::int32_t addAttribute = 0;             // "Add Attribute", also stored as "Attributes"
    std::int32_t addComments = 0;              // "Add Comments"
    std::int32_t summary = 1;                  // "Summary"
    std::int32_t printTitle = 1;               // "Print Title"
    // "Files and Folders"
    ListingContent filesAndFolders = ListingContent::FilesAndFolders;
    std::int32_t numberStdLines = 1;   // "number STD Lines"
    std::int32_t numberCdLines = 0;    // "number CD Lines"
    std::int32_t numberFileLines = 1;  // "number File Lines"
    std::string currentFont = "Arial"; // "current Font"
    std::int32_t largeFont = 0;        // "LargeFont"
    std::int32_t doNotDrawGrid = 0;    // "Do not draw Grid"
    std::int32_t addSizeInBytes = 0;   // "Add Size in Bytes"
    std::int32_t allInUpperCase = 0;   // "All in UpperCase"
    std::int32_t dateFormat = 0;       // "Date Format": 0 regional, 1..8 fixed formats
    std::int32_t showManualPath = 1;   // "showManualPath"
    std::int32_t lastDepth = 0;        // "LastDepth": levels a Standard refresh descends, -1 all
    std::int32_t customDepth = 20;     // "CustomDepth"

    // Run-time only, never stored: `Add Date` and `Add Attribute` as they were when a
    // cut-out layout was applied, restored when a letter-size layout returns.
    std::int32_t savedAddDate = 0;
    std::int32_t savedAddAttribute = 0;

    friend bool operator==(const ListingOptions&, const ListingOptions&) = default;
};

// Brings the column settings in line with `Print as `: letter layouts always show Size
// and Comments and get back the dates and attributes a cut-out layout put aside; cut-out
// layouts put the current dates and attributes aside and hide them. A `Print as ` that is
// no PageLayout changes nothing.
void ApplyPageLayout(ListingOptions& options);

} // namespace dirscribe
