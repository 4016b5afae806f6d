// SPDX-License-Identifier: MIT
// What a row of the listing is: the kind decides how it is written, printed, sorted,
// searched and updated, never the text it shows.
#pragma once

#include <cstdint>
#include <string_view>

namespace dirscribe {

enum class RowKind : std::uint8_t {
    Entry,        // a file or folder of the listing
    Continuation, // a "comments:" row: one more line of the comment of the entry above
    Details,      // a row of the file data fetched for the entry above
    Free,         // a row the user inserted
};

// Whether a row belongs to the entry row above it rather than standing for itself.
inline bool FollowsEntry(RowKind kind) {
    return kind == RowKind::Continuation || kind == RowKind::Details;
}

// The kind of a row of a document that does not record its rows' kinds, read from its
// FileName text as such documents were written: "comments:" continues a comment, a text
// beginning "**" or "  **" is file data, an empty one was inserted by the user, anything
// else is an entry. Only documents without kinds are read this way.
RowKind InferredRowKind(std::string_view fileNameCell);

} // namespace dirscribe
