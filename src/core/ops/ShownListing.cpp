// SPDX-License-Identifier: MIT
#include "core/ops/ShownListing.h"

#include "core/listing/PathCheck.h"
#include "core/platform/CurrentFolder.h"
#include "core/table/CommentFlow.h"
#include "core/table/FileDetails.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <utility>

namespace dirscribe {

namespace {

class SilentNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view, NoticeIcon) override {}
};

} // namespace

bool ShownListing::EditNotify() const {
    return table.ColumnIndex(ColumnKind::Comments) >= 0;
}

bool ShownListing::IsOfFolder(const std::string& absolutePath) const {
    // Both checked and normalized, as a read normalizes the path it reads (a document may
    // hold its folder with a trailing "/").
    SilentNotice silent;
    std::string own = folder;
    std::string other = absolutePath;
    return shown && !own.empty() && ValidatePath(own, silent) && ValidatePath(other, silent) &&
           own == other;
}

bool ShownListing::ReadingAgainLosesNothing(std::string typed) const {
    SilentNotice silent;
    return !entryTextsEdited && ValidatePath(typed, silent) &&
           IsOfFolder(AbsolutePath(typed, CurrentFolder()));
}

int ShownListing::BlankRowAt(int focusedRow) const {
    int row = std::clamp(focusedRow + 1, 0, table.RowCount());
    // Never among the rows of a comment or of file data: they belong to the row above them.
    while (focusedRow >= 0 && row < table.RowCount() && FollowsEntry(table.Kind(row)))
        ++row;
    return row;
}

ShownListing::RowSlice ShownListing::CopyRows(int first, int count) const {
    RowSlice slice{table.CopyRows(first, count), 0};
    const int from = std::clamp(first, 0, table.RowCount());
    slice.headFolders = std::clamp(doc.headFolderCount - from, 0, slice.rows.Size());
    return slice;
}

std::string ShownListing::EntryPath(int row) const {
    const auto request = RequestFileDetails(table, row, folder, Shape(), 0, nullptr);
    return request ? request->path : std::string();
}

} // namespace dirscribe
