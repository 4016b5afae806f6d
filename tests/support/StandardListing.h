// SPDX-License-Identifier: MIT
// The settings the editing tests list with: a flat Standard listing of names, comments and sizes.
#pragma once

#include "core/options/ListingOptions.h"

namespace dirscribe::test {

inline void UseFlatStandardWithComments(ListingOptions& options) {
    options.printAs = PageLayout::Standard;
    options.lastDepth = 0;
    options.addComments = 1;
    options.addSize = 1;
    options.addAttribute = 0;
    options.addDate = 0;
}

} // namespace dirscribe::test
