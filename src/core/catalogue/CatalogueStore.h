// SPDX-License-Identifier: MIT
// The catalogue's index: what it keeps of each document, behind one interface, so that
// another database could stand behind it.
#pragma once

#include "core/catalogue/ChunkCodec.h"
#include "core/listing/ListingVolume.h"
#include "core/platform/FileStamp.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// What the index knows of one document, as it was when it was read.
struct IndexedDocument {
    std::int64_t id = 0;
    std::int64_t generation = 0; // changes whenever the document is indexed again
    std::string path;            // absolute
    FileStamp stamp;
    std::string folder; // the folder the listing is of
    ListingVolume volume;
    std::int64_t rows = 0;
    std::int64_t entries = 0; // entry rows
};

// Which chunks may hold what a search looks for: each text must be in the chunk's text,
// and the bounds must fit what its entries' sizes and times span (entries of unknown size
// or time fit no bound). Nothing set: every chunk.
struct ChunkQuery {
    std::vector<std::string> texts; // three characters each (the text index's terms)
    std::optional<std::uint64_t> mostBytesAtLeast;
    std::optional<std::uint64_t> leastBytesAtMost;
    std::optional<std::uint64_t> latestAtLeast;
    std::optional<std::uint64_t> earliestAtMost;

    [[nodiscard]] bool Any() const {
        return texts.empty() && !mostBytesAtLeast && !leastBytesAtMost && !latestAtLeast &&
               !earliestAtMost;
    }
};

struct ChunkRef {
    std::int64_t id = 0;
    std::int64_t document = 0;
    std::int32_t firstRow = 0;
};

using ChunkHandler = std::function<void(std::int32_t firstRow, std::string_view units)>;
using KeysHandler = std::function<void(std::string_view copyKeys)>;

// The writing of one document's chunks: started by CatalogueStore::Replace, undone unless
// committed. Chunks equal to ones the document had are kept rather than written again.
class DocumentReplacement {
public:
    virtual ~DocumentReplacement() = default;
    virtual void Add(const EncodedChunk& chunk) = 0;
    // Records the document (its id and generation are the store's) and ends the writing.
    virtual void Commit(const IndexedDocument& document) = 0;
};

// Every failure throws CatalogueError.
class CatalogueStore {
public:
    virtual ~CatalogueStore() = default;

    // Every document the index knows.
    virtual std::vector<IndexedDocument> Documents() = 0;
    // The chunks that may hold what the query asks, in no order.
    virtual std::vector<ChunkRef> Candidates(const ChunkQuery& query) = 0;
    // Hands over the chunks of the document (those given, or all of them in row order when
    // chunks is null) as one consistent view; false, with nothing handed over, when the
    // document is no longer as the index knew it at that generation.
    virtual bool ReadChunks(const IndexedDocument& document, const std::vector<ChunkRef>* chunks,
                            const ChunkHandler& onChunk) = 0;
    // Hands over the copy keys of the document's chunks (EncodedChunk::copyKeys) in row
    // order, as ReadChunks hands over their units.
    virtual bool ReadCopyKeys(const IndexedDocument& document, const KeysHandler& onKeys) = 0;
    // Starts writing the document at path (absolute) as read with stamp; none when the
    // index already holds it with that stamp (another search has just written it).
    virtual std::unique_ptr<DocumentReplacement> Replace(const std::string& path,
                                                         const FileStamp& stamp) = 0;
    // Forgets documents.
    virtual void Forget(std::span<const std::int64_t> documents) = 0;
    // Tidies what earlier changes left behind, when that has grown large.
    virtual void Tidy() = 0;
};

} // namespace dirscribe
