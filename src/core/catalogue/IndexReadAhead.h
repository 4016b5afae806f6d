// SPDX-License-Identifier: MIT
// The groups of the documents the index holds, read while the look is busy elsewhere.
#pragma once

#include "core/catalogue/CatalogueError.h"
#include "core/catalogue/CatalogueStore.h"
#include "core/platform/StopFlag.h"
#include "core/search/SearchGroup.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

namespace dirscribe {

// The chunks that may hold what the query asks, by document, each document's in row order.
using ChunksByDocument = std::unordered_map<std::int64_t, std::vector<ChunkRef>>;
ChunksByDocument FindChunks(CatalogueStore& store, const ChunkQuery& query);
// The chunks found of one document (none when it has none).
const std::vector<ChunkRef>& ChunksOf(const ChunksByDocument& found, std::int64_t document);

// Which groups of a document the look can want (any other may be left out). Asked on
// another thread than the look's: it must not change anything.
using GroupSieve = std::function<bool(const IndexedDocument&, const SearchGroup&)>;

// Reads documents from the index on a thread of its own, in order, through a store the look
// leaves to it until it is destroyed, and keeps the groups the sieve passes until they are
// taken: so the index answers for its documents while the look reads the ones it must read
// from their files. It holds a few thousand groups at most: reading more waits.
class IndexReadAhead {
public:
    enum class Outcome {
        Whole,   // every group it holds was read
        Stale,   // the document is no longer as the index knew it
        Stopped, // a stop request, or the reading ended before the job
        Failed,  // the index failed (Failure says how); nothing more is read
    };

    // Reads the chunks of the documents, in order, that may hold what the query asks.
    IndexReadAhead(CatalogueStore& store, std::vector<const IndexedDocument*> documents,
                   ChunkQuery query, ChunkParts parts, GroupSieve sieve, const StopFlag* stop);
    // Ends the reading, whatever is left.
    ~IndexReadAhead();
    IndexReadAhead(const IndexReadAhead&) = delete;
    IndexReadAhead& operator=(const IndexReadAhead&) = delete;

    // Hands over the kept groups of the next document as they are read, in row order; every
    // document is taken in turn.
    Outcome Take(const std::function<void(const SearchGroup&)>& onGroup);
    // Whether it still reads, with room to keep what it reads.
    [[nodiscard]] bool Busy() const;
    // The failure that ended the reading, once Take has said Failed.
    [[nodiscard]] std::optional<CatalogueError> Failure() const;

private:
    // Some kept groups of one document, and how its reading ended once it has.
    struct Batch {
        std::vector<SearchGroup> groups;
        std::optional<Outcome> end;
    };

    void Run();
    Outcome Read(const IndexedDocument& document, const ChunksByDocument* chunks,
                 std::vector<SearchGroup>& kept);
    [[nodiscard]] bool Stopped() const;
    void Hand(Batch batch);

    CatalogueStore& m_store;
    const std::vector<const IndexedDocument*> m_documents;
    const ChunkQuery m_query;
    const ChunkParts m_parts;
    const GroupSieve m_sieve;
    const StopFlag* m_stop;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Batch> m_batches;
    std::size_t m_waiting = 0; // groups in m_batches
    bool m_ended = false;      // the thread hands over nothing more
    std::atomic<bool> m_closing = false;
    std::optional<CatalogueError> m_failure;
    std::thread m_thread; // last: it starts once everything above is made
};

} // namespace dirscribe
