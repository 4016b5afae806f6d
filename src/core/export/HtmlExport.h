// SPDX-License-Identifier: MIT
// The listing as one web page that a browser opens offline.
#pragma once

#include "core/export/ExportSource.h"
#include "core/platform/ByteSink.h"

namespace dirscribe {

// One self-contained HTML file (its style and script inside it, nothing fetched): the
// title block and the summary, then the table as shown, with the tree's levels as
// indentation, folders marked, comment and details rows under their entry, and a filter box
// that hides the rows (with their comment rows) whose texts do not contain what is typed,
// keeping the folders above a match in sight. A click on a column head sorts the entries by
// it (within their folder in a tree; again for the other direction). "#q=TEXT" at the end
// of the page's address fills the filter box when the page opens. Rows are laid out in
// blocks that the browser skips while they are off screen, so large listings open quickly.
void WriteHtml(const ExportSource& source, ByteSink& sink);

} // namespace dirscribe
