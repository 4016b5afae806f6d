// SPDX-License-Identifier: MIT
// The seven settings a document file carries with its rows.
#include "core/docfile/DocumentSettings.h"

#include <array>
#include <utility>

namespace dirscribe {

DocumentSettings DocumentSettings::From(const ListingOptions& options) {
    DocumentSettings settings;
    settings.printAs = static_cast<std::int32_t>(options.printAs);
    settings.printTitle = options.printTitle;
    settings.summary = options.summary;
    settings.addComments = options.addComments;
    settings.addSize = options.addSize;
    settings.addAttribute = options.addAttribute;
    settings.addDate = options.addDate;
    return settings;
}

void DocumentSettings::ApplyTo(ListingOptions& options) const {
    options.printAs = static_cast<PageLayout>(printAs);
    options.printTitle = printTitle;
    options.summary = summary;
    options.addComments = addComments;
    options.addSize = addSize;
    options.addAttribute = addAttribute;
    options.addDate = addDate;
}

std::string DocumentSettings::OutOfRange() const {
    if (!IsPageLayout(printAs))
        return "the setting \"Print as \" is " + std::to_string(printAs) + ", not 0 to 3";
    const std::array<std::pair<const char*, std::int32_t>, 6> flags = {{
        {"Print Title", printTitle},
        {"Summary", summary},
        {"Add Comments", addComments},
        {"Add Size", addSize},
        {"Add Attribute", addAttribute},
        {"Add Date", addDate},
    }};
    for (const auto& [name, value] : flags)
        if (value != 0 && value != 1)
            return "the setting \"" + std::string(name) + "\" is " + std::to_string(value) +
                   ", not 0 or 1";
    return {};
}

} // namespace dirscribe
