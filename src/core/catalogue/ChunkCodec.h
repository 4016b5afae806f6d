// SPDX-License-Identifier: MIT
// The groups of a listing as the catalogue's index keeps them: runs of groups ("chunks"),
// each encoded on its own.
#pragma once

#include "core/catalogue/CopyKeyHash.h"
#include "core/search/SearchGroup.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// A run of consecutive groups of one listing, encoded so that it reads back without any
// other (its rows counted from its first, its paths whole at its start).
struct EncodedChunk {
    std::int32_t firstRow = 0; // the first row of its first group
    std::int32_t groups = 0;
    std::string units; // the groups (ChunkDecoder reads them)
    // Whether the two below are made; when not, ChunkText and ChunkCopyKeys make them.
    bool whole = true;
    // The entry names, comments and details of its groups, case-folded (Utf8CaseFold), one a
    // line: any text a search matches is in it, so a text not in it rules the chunk out.
    std::string text;
    // The short NameAndSize key (CopyKeyHash) of each of its groups that a copy can be of,
    // in row order, four bytes each, least significant first.
    std::string copyKeys;
    // What the sizes and times of its entries with known facts span; none known: all 0.
    bool known = false;
    std::uint64_t leastBytes = 0;
    std::uint64_t mostBytes = 0;
    std::uint64_t earliest = 0;
    std::uint64_t latest = 0;
};

// Cuts the groups of a listing into chunks and encodes them. Where a chunk ends is decided
// by the contents of its groups (between a least and a most count of them), so a listing
// changed in one place is cut as before elsewhere and its other chunks come out byte for
// byte the same.
class ChunkEncoder {
public:
    using ChunkHandler = std::function<void(EncodedChunk&&)>;
    // Without whole, each chunk's text and copy keys are left out: for a listing indexed
    // again, most of whose chunks are kept as they were and need neither.
    explicit ChunkEncoder(ChunkHandler onChunk, bool whole = true);

    // The groups in row order, with their paths (SearchGrouper keeping paths).
    void Add(const SearchGroup& group);
    // Hands over the chunk still open.
    void Finish();

private:
    void Encode(const SearchGroup& group);
    static std::size_t Room(const SearchGroup& group, const std::vector<std::string>& path);
    void Start();

    ChunkHandler m_onChunk;
    bool m_whole;
    CopyKeyHash m_copyKey{CopyKey::NameAndSize};
    EncodedChunk m_chunk;
    std::string m_name; // the texts of the group encoded last, which the next shares from
    std::string m_size;
    std::string m_date;
    std::uint64_t m_modified = 0;
    std::vector<std::string> m_path;
    std::vector<std::string> m_ownName;
    std::string m_room; // where a group is written before it joins its chunk
};

// What a decoder reads of each group besides its rows, flags, name and facts; what it
// passes over unread is left empty.
struct ChunkParts {
    bool paths = true;
    bool texts = true; // the size and date texts, the comment and the details rows
};

// Reads the groups of one chunk back, each as it was added: rows, texts, facts and path
// (less what parts leaves out). Bytes that do not read as a chunk throw CatalogueError
// (Damaged), whatever is left out: the index is broken.
class ChunkDecoder {
public:
    ChunkDecoder(std::string_view units, std::int32_t firstRow, ChunkParts parts = {})
        : m_units(units), m_row(firstRow), m_parts(parts) {}

    // The next group; false after the last.
    bool Next(SearchGroup& group);

private:
    std::uint64_t Varint();
    std::string_view Bytes(std::uint64_t count);
    void FrontCoded(std::string& text, std::uint64_t& length, bool wanted);
    void Details(SearchGroup& group, std::uint64_t more);

    std::string_view m_units;
    std::size_t m_at = 0;
    std::int64_t m_row = 0;
    std::uint64_t m_modified = 0;
    ChunkParts m_parts;
    std::uint64_t m_depth = 0;      // of the path of the entry read last
    std::uint64_t m_sizeLength = 0; // of the texts read last, read or not
    std::uint64_t m_dateLength = 0;
};

// The text of a chunk (EncodedChunk::text) made again from its units.
std::string ChunkText(std::string_view units);
// The copy keys of a chunk (EncodedChunk::copyKeys) made again from its units.
std::string ChunkCopyKeys(std::string_view units);

} // namespace dirscribe
