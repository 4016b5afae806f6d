// SPDX-License-Identifier: MIT
// The options dialog's values in and out of the listing options.
#include "core/options/AdvancedOptions.h"

#include "core/format/DateFormat.h"

#include <algorithm>
#include <array>

namespace dirscribe {
namespace {

// The fixed items of the depth menu a custom depth may not repeat. Depth 2 is missing on
// purpose: the program has always accepted it, and then both items show the check mark.
constexpr std::array<std::uint32_t, 5> kRefusedCustomDepths{0, 1, 3, 5, 10};

std::int32_t Flag(std::int32_t value) {
    return value != 0 ? 1 : 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

AdvancedOptions AdvancedOptionsOf(const ListingOptions& options) {
    AdvancedOptions values;
    values.fontName = options.currentFont;
    values.filesAndFolders = options.filesAndFolders;
    values.numberFileLines = Flag(options.numberFileLines);
    values.numberStdLines = Flag(options.numberStdLines);
    values.numberCdLines = Flag(options.numberCdLines);
    values.doNotDrawGrid = Flag(options.doNotDrawGrid);
    values.addSizeInBytes = Flag(options.addSizeInBytes);
    values.allInUpperCase = Flag(options.allInUpperCase);
    values.dateFormat = options.dateFormat;
    values.summary = Flag(options.summary);
    values.printTitle = Flag(options.printTitle);
    values.largeFont = Flag(options.largeFont);
    values.customDepth = static_cast<std::uint32_t>(std::max(options.customDepth, 0));
    return values;
}

bool ApplyAdvancedOptions(const AdvancedOptions& values, ListingOptions& options) {
    const std::int32_t previousCustomDepth = options.customDepth;

    if (!values.fontName.empty())
        options.currentFont = values.fontName;
    if (values.filesAndFolders)
        options.filesAndFolders = *values.filesAndFolders;
    options.numberFileLines = Flag(values.numberFileLines);
    options.numberStdLines = Flag(values.numberStdLines);
    options.numberCdLines = Flag(values.numberCdLines);
    options.doNotDrawGrid = Flag(values.doNotDrawGrid);
    options.addSizeInBytes = Flag(values.addSizeInBytes);
    options.allInUpperCase = Flag(values.allInUpperCase);
    if (values.dateFormat >= 0 && values.dateFormat < kDateFormatCount)
        options.dateFormat = values.dateFormat;
    options.summary = Flag(values.summary);
    options.printTitle = Flag(values.printTitle);
    options.largeFont = Flag(values.largeFont);

    const bool refused = values.customDepth > kMaxCustomDepth ||
                         std::ranges::find(kRefusedCustomDepths, values.customDepth) !=
                             std::end(kRefusedCustomDepths);
    if (!refused)
        options.customDepth = static_cast<std::int32_t>(values.customDepth);
    return options.customDepth != previousCustomDepth;
}

std::optional<std::uint32_t> ParseCustomDepth(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > kMaxCustomDepth) // stop before the number can overflow
            return std::nullopt;
    }
    return value;
}

} // namespace dirscribe
