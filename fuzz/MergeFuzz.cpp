// SPDX-License-Identifier: MIT
// Fuzzes the merge an update makes: a document (any bytes the reader takes) carried over onto
// a new read of its folder, a small tree the input's last bytes describe. No input may crash
// it or cost more than the rows present, and merging the result with the same read again
// changes nothing, as an update run twice must not.
#include "DocumentSessionFuzz.h"
#include "core/ops/ListingMerge.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace dirscribe;

// Names of files a document may hold too, and names that read like other rows.
constexpr std::array<std::string_view, 8> kNames = {"a",         "b",    "A",     "[c]",
                                                    "comments:", "   x", "d\xFF", "**e"};

// A read of the folder in the given shape from plan, a byte an entry: bits 0-1 where it
// stands (0 beside the entry before it, 1 in it when that is a folder, 2 and 3 one or two
// folders up), bit 2 a folder, bits 3-5 its name, bits 6-7 its size.
CDirscribeDoc ReadOf(std::string_view plan, const ListingShape& shape) {
    CDirscribeDoc read;
    read.shape = shape;
    std::vector<std::uint32_t> folders; // the folders the next entry may stand in
    std::set<std::pair<std::uint32_t, std::string_view>> taken;
    std::uint32_t last = kNoEntry;
    for (const char c : plan) {
        const auto byte = static_cast<unsigned char>(c);
        const int move = byte & 3;
        if (shape.Tree() && move == 1 && last != kNoEntry && read.entries.IsFolder(last))
            folders.push_back(last);
        for (int up = move - 1; move >= 2 && up > 0 && !folders.empty(); --up)
            folders.pop_back();
        const std::uint32_t parent = folders.empty() ? kNoEntry : folders.back();
        const std::string_view name = kNames[(byte >> 3) & 7];
        if (!taken.emplace(parent, name).second)
            continue;
        ListingEntry entry;
        entry.attributes = (byte & 4) != 0 ? kAttributeDirectory : kAttributeArchive;
        entry.level = shape.Tree() ? static_cast<std::int32_t>(folders.size()) + 1 : 0;
        entry.parent = parent;
        entry.name = name;
        entry.size = byte >> 6;
        read.entries.Append(entry);
        last = static_cast<std::uint32_t>(read.entries.Size() - 1);
    }
    return read;
}

bool SameRows(const ListingTable& a, const ListingTable& b) {
    if (a.RowCount() != b.RowCount() || a.Columns() != b.Columns())
        return false;
    std::string x;
    std::string y;
    for (int row = 0; row < a.RowCount(); ++row)
        if (a.Kind(row) != b.Kind(row) || a.Gone(row) != b.Gone(row) ||
            a.RowTexts(row, x) != b.RowTexts(row, y))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t treeBytes = std::min<std::size_t>(data[size - 1], size - 1);
    const std::string_view document(reinterpret_cast<const char*>(data), size - 1 - treeBytes);
    const std::string_view plan(reinterpret_cast<const char*>(data) + document.size(), treeBytes);
    const std::optional<ListingSession> session = fuzz::OpenedDocument(document);
    if (!session)
        return 0;
    // Nothing is on disk under this folder, so every entry not found again is gone.
    const std::string folder = "/nonexistent/fuzzed folder";
    ListingOptions options = session->Options();
    if (HoldsComments(session->Listing().table))
        options.addComments = 1;
    NullProgress progress;
    CDirscribeDoc read = ReadOf(plan, session->Listing().Shape());
    ListingTable merged;
    PopulateCarrying(merged, read, folder, options, session->Listing().table,
                     session->Listing().Shape(), progress);
    CDirscribeDoc again = ReadOf(plan, session->Listing().Shape());
    ListingTable twice;
    PopulateCarrying(twice, again, folder, options, merged, session->Listing().Shape(), progress);
    if (!SameRows(merged, twice))
        std::abort();
    return 0;
}
