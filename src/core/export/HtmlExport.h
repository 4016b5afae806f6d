// SPDX-License-Identifier: MIT
// The listing as one web page that a browser opens offline.
#pragma once

#include "core/export/ExportSource.h"
#include "core/platform/ByteSink.h"

namespace dirscribe {

// One self-contained HTML file (its style and script inside it, nothing fetched): the
// title block and the summary, then the listing, which the page's script draws a screenful
// at a time from the rows the file carries as data (chunks of text blocks, one line a row,
// read as data and never as markup). The tree's levels show as indentation, folders fold
// and unfold, comment and details rows stand under their entry; a filter box keeps the
// entries whose name or comment matches (as `search` matches: a shell pattern against
// names, or a text in names and comments), with the folders above them dimmed; a click on
// a column head sorts the entries by it (within their folder in a tree; again for the other
// direction); "#q=TEXT" in the address fills the filter box. Sizes sort by the exact bytes
// and dates by the exact time where `source.entries` knows them. Written as it is made,
// holding one chunk of rows at a time.
void WriteHtml(const ExportSource& source, ByteSink& sink);

} // namespace dirscribe
