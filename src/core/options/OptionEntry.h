// SPDX-License-Identifier: MIT
// The entries of the profile's "Options" section: names, settings and ranges.
#pragma once

#include "core/options/ListingOptions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dirscribe {

inline constexpr std::size_t kOptionEntryCount = 22;

// One profile entry. Exactly one of `integer` and `text` is set. Two entries may hold the
// same setting (`Size` and `Add Size`); the one read later wins. An entry's default is its
// setting's value in a ListingOptions made with no arguments.
struct OptionEntry {
    std::string_view name; // as stored, e.g. "Print as " with its blank
    // The integer setting it holds, as the profile stores it (an enumeration by its number),
    // and how a stored number goes back into it; both null for a string setting.
    std::int32_t (*integer)(const ListingOptions&) = nullptr;
    void (*setInteger)(ListingOptions&, std::int32_t) = nullptr;
    std::string ListingOptions::*text = nullptr; // the string setting it holds, or null
    std::int32_t minimum = 0;                    // the accepted range, both ends included
    std::int32_t maximum = 0;

    // Stores the profile's value into its setting. A missing value, an integer that is
    // malformed or outside the range, or an empty string stores the default instead.
    void Read(const std::optional<std::string>& value, ListingOptions& options) const;
    // The value to store in the profile for the setting's current state. A string that
    // cannot be stored on one line (it holds a line break) gives the default.
    [[nodiscard]] std::string Write(const ListingOptions& options) const;
};

// Every entry, in the order the program reads them at start-up.
std::span<const OptionEntry> OptionEntriesInReadOrder();
// Every entry, in the order the program writes them at the end (the font last).
std::array<const OptionEntry*, kOptionEntryCount> OptionEntriesInSaveOrder();

// A profile integer: optional blanks, an optional sign, decimal digits, optional blanks,
// within the 32-bit signed range. Anything else gives nothing.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

} // namespace dirscribe
