// SPDX-License-Identifier: MIT
// The settings the options dialog edits, and how they go back into the listing options.
#pragma once

#include "core/options/ListingOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dirscribe {

// Largest custom tree depth the options dialog accepts.
inline constexpr std::uint32_t kMaxCustomDepth = 1000;

// The values of the options dialog, each named after the setting it carries. A fresh value
// has no font, no listing content chosen and every other value 0; the caller fills it
// (AdvancedOptionsOf) before the dialog is shown.
struct AdvancedOptions {
    std::string fontName; // `current Font`; empty means "leave the font alone"
    // `Files and Folders`, when one is chosen
    std::optional<ListingContent> filesAndFolders;
    std::int32_t numberFileLines = 0; // `number File Lines`
    std::int32_t numberStdLines = 0;  // `number STD Lines`
    std::int32_t numberCdLines = 0;   // `number CD Lines`
    std::int32_t doNotDrawGrid = 0;   // `Do not draw Grid`
    std::int32_t addSizeInBytes = 0;  // `Add Size in Bytes`
    std::int32_t allInUpperCase = 0;  // `All in UpperCase`
    std::int32_t dateFormat = 0;      // `Date Format`; -1 when a text was typed instead
    std::int32_t summary = 0;         // `Summary`
    std::int32_t printTitle = 0;      // `Print Title`
    std::int32_t largeFont = 0;       // `LargeFont`
    std::uint32_t customDepth = 0;    // `CustomDepth`

    friend bool operator==(const AdvancedOptions&, const AdvancedOptions&) = default;
};

// The dialog's values as the settings hold them now.
AdvancedOptions AdvancedOptionsOf(const ListingOptions& options);

// Stores the dialog's values after the user left it with OK. The font is taken only when
// one is named. A custom depth that a fixed depth item already offers (0, 1, 3, 5 or 10;
// 2 is taken) or that lies above kMaxCustomDepth keeps the previous custom depth, and
// `LastDepth` is never changed. A date format outside its range (a typed date text) or no
// listing content chosen keeps the previous setting, so no setting ever holds a
// value its list does not have. True when `CustomDepth` changed, so that the depth menu's
// custom item has to show the new number.
bool ApplyAdvancedOptions(const AdvancedOptions& values, ListingOptions& options);

// The custom depth typed into the dialog: decimal digits with optional blanks around them,
// 0 to kMaxCustomDepth. Anything else (empty, a sign, other characters, a number too
// large for any integer) gives nothing.
std::optional<std::uint32_t> ParseCustomDepth(std::string_view text);

} // namespace dirscribe
