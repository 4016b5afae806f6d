// SPDX-License-Identifier: MIT
// The seven settings a document file carries with its rows.
#pragma once

#include "core/options/ListingOptions.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// In file order. The four column settings say what the five strings of each row mean,
// so they travel with the rows; the other settings stay with the user.
struct DocumentSettings {
    std::int32_t printAs = 2;      // `Print as `, 0 to 3 (a PageLayout)
    std::int32_t printTitle = 1;   // `Print Title`, 0 or 1
    std::int32_t summary = 1;      // `Summary`, 0 or 1
    std::int32_t addComments = 0;  // `Add Comments`, 0 or 1
    std::int32_t addSize = 1;      // `Add Size`, 0 or 1
    std::int32_t addAttribute = 0; // `Add Attribute`, 0 or 1
    std::int32_t addDate = 0;      // `Add Date`, 0 or 1

    // The seven settings as they stand in options.
    [[nodiscard]] static DocumentSettings From(const ListingOptions& options);
    // Replaces these seven settings in options and nothing else.
    void ApplyTo(ListingOptions& options) const;
    // Empty when every setting is in its range; otherwise says which one is not, e.g.
    // "the setting \"Add Size\" is 2, not 0 or 1".
    [[nodiscard]] std::string OutOfRange() const;

    friend bool operator==(const DocumentSettings&, const DocumentSettings&) = default;
};

} // namespace dirscribe
