// SPDX-License-Identifier: MIT
// The column settings that follow from the page layout.
#include "core/options/ListingOptions.h"

namespace dirscribe {

void ApplyPageLayout(ListingOptions& options) {
    switch (options.printAs) {
    case PageLayout::Standard:
    case PageLayout::FileData:
        options.addSize = 1;
        options.addComments = 1;
        options.addDate = options.savedAddDate;
        options.addAttribute = options.savedAddAttribute;
        break;
    case PageLayout::CdInsert:
    case PageLayout::ZipInsert:
        // The cut-out panels never print dates or attributes; keep them for the way back.
        options.savedAddDate = options.addDate;
        options.savedAddAttribute = options.addAttribute;
        options.addDate = 0;
        options.addAttribute = 0;
        break;
    }
}

} // namespace dirscribe
