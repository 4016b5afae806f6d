// SPDX-License-Identifier: MIT
#include "core/table/RowKind.h"

#include "core/table/CommentFlow.h"

namespace dirscribe {

RowKind InferredRowKind(std::string_view fileNameCell) {
    if (fileNameCell.empty())
        return RowKind::Free;
    if (fileNameCell == kCommentRowMark)
        return RowKind::Continuation;
    if (fileNameCell.starts_with("**") || fileNameCell.starts_with("  **"))
        return RowKind::Details;
    return RowKind::Entry;
}

} // namespace dirscribe
