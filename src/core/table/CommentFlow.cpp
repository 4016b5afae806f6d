// SPDX-License-Identifier: MIT
// When a typed comment runs out of room and flows onto a new "comments:" row.
#include "core/table/CommentFlow.h"

#include "core/options/PageLayout.h"

namespace dirscribe {

namespace {

// An editor starting this far left sits in the first column of the printed line, which
// has less room to its right.
constexpr int kNearLeftEdge = 50;
// Room kept free to the right of the text before the editor counts as full.
constexpr int kFullMargin = 15;
// Room a comment row's editor keeps to the right of its text when it widens.
constexpr int kWidenMargin = 5;

} // namespace

std::optional<int> CommentFlow::PrintableWidthLimit(PageLayout layout, int editorLeft) {
    const bool nearLeft = editorLeft <= kNearLeftEdge;
    switch (layout) {
    case PageLayout::Standard:
    case PageLayout::FileData:
        return nearLeft ? 680 : 750;
    case PageLayout::CdInsert:
        return nearLeft ? 364 : 480;
    case PageLayout::ZipInsert:
        return nearLeft ? 284 : 380;
    }
    return std::nullopt;
}

bool CommentFlow::AutoSize(std::string_view text, const TextMeasure& measure, EditorBox& box,
                           bool commentRow, PageLayout layout) {
    const int width = measure(text);
    const int editorWidth = box.right - box.left;
    const bool full = editorWidth >= 2 && width + kFullMargin >= editorWidth;
    if (commentRow && width + kWidenMargin > editorWidth) {
        const int right = box.left + width + kWidenMargin;
        const std::optional<int> limit = PrintableWidthLimit(layout, box.left);
        m_lineFull = limit && right >= *limit;
        box.right = right;
    }
    return full;
}

bool CommentFlow::WantsCommentRow(bool commentRow, bool initialTextEmpty) const {
    if (!commentRow && initialTextEmpty)
        return true;
    return m_lineFull;
}

} // namespace dirscribe
