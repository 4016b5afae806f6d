// SPDX-License-Identifier: MIT
#include "core/catalogue/IndexReadAhead.h"

#include <algorithm>
#include <utility>

namespace dirscribe {

namespace {

// Kept groups are handed over this many at a time (and at each document's end), and the
// thread waits while this many wait to be taken.
constexpr std::size_t kBatchGroups = 256;
constexpr std::size_t kMostWaiting = 4096;

} // namespace

ChunksByDocument FindChunks(CatalogueStore& store, const ChunkQuery& query) {
    ChunksByDocument found;
    for (const ChunkRef& chunk : store.Candidates(query))
        found[chunk.document].push_back(chunk);
    for (auto& [document, chunks] : found)
        std::sort(chunks.begin(), chunks.end(),
                  [](const ChunkRef& a, const ChunkRef& b) { return a.firstRow < b.firstRow; });
    return found;
}

const std::vector<ChunkRef>& ChunksOf(const ChunksByDocument& found, std::int64_t document) {
    static const std::vector<ChunkRef> kNone;
    const auto chunks = found.find(document);
    return chunks == found.end() ? kNone : chunks->second;
}

IndexReadAhead::IndexReadAhead(CatalogueStore& store, std::vector<const IndexedDocument*> documents,
                               ChunkQuery query, ChunkParts parts, GroupSieve sieve,
                               const StopFlag* stop)
    : m_store(store), m_documents(std::move(documents)), m_query(std::move(query)), m_parts(parts),
      m_sieve(std::move(sieve)), m_stop(stop), m_thread([this] { Run(); }) {}

IndexReadAhead::~IndexReadAhead() {
    {
        const std::lock_guard lock(m_lock);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

IndexReadAhead::Outcome
IndexReadAhead::Take(const std::function<void(const SearchGroup&)>& onGroup) {
    for (;;) {
        Batch batch;
        {
            std::unique_lock lock(m_lock);
            m_changed.wait(lock, [this] { return !m_batches.empty() || m_ended; });
            if (m_batches.empty())
                return Outcome::Stopped;
            batch = std::move(m_batches.front());
            m_batches.pop_front();
            m_waiting -= batch.groups.size();
        }
        m_changed.notify_all();
        for (const SearchGroup& group : batch.groups)
            onGroup(group);
        if (batch.end)
            return *batch.end;
    }
}

bool IndexReadAhead::Busy() const {
    const std::lock_guard lock(m_lock);
    return !m_ended && m_waiting < kMostWaiting;
}

std::optional<CatalogueError> IndexReadAhead::Failure() const {
    const std::lock_guard lock(m_lock);
    return m_failure;
}

void IndexReadAhead::Run() {
    std::optional<ChunksByDocument> chunks;
    for (const IndexedDocument* document : m_documents) {
        Batch last;
        try {
            if (!chunks)
                chunks = m_query.Any() ? ChunksByDocument() : FindChunks(m_store, m_query);
            last.end = Read(*document, m_query.Any() ? nullptr : &*chunks, last.groups);
        } catch (const CatalogueError& error) {
            {
                const std::lock_guard lock(m_lock);
                m_failure = error;
            }
            last.end = Outcome::Failed;
        }
        const Outcome end = *last.end;
        Hand(std::move(last));
        if (end != Outcome::Whole && end != Outcome::Stale)
            break;
    }
    {
        const std::lock_guard lock(m_lock);
        m_ended = true;
    }
    m_changed.notify_all();
}

IndexReadAhead::Outcome IndexReadAhead::Read(const IndexedDocument& document,
                                             const ChunksByDocument* chunks,
                                             std::vector<SearchGroup>& kept) {
    if (Stopped())
        return Outcome::Stopped;
    const std::vector<ChunkRef>* wanted =
        chunks != nullptr ? &ChunksOf(*chunks, document.id) : nullptr;
    SearchGroup group;
    const bool current =
        m_store.ReadChunks(document, wanted, [&](std::int32_t firstRow, std::string_view units) {
            ChunkDecoder decoder(units, firstRow, m_parts);
            while (!Stopped() && decoder.Next(group)) {
                if (!m_sieve(document, group))
                    continue;
                kept.push_back(group);
                if (kept.size() == kBatchGroups)
                    Hand({std::exchange(kept, {}), std::nullopt});
            }
        });
    if (Stopped())
        return Outcome::Stopped;
    return current ? Outcome::Whole : Outcome::Stale;
}

bool IndexReadAhead::Stopped() const {
    return m_closing || (m_stop != nullptr && m_stop->Requested());
}

void IndexReadAhead::Hand(Batch batch) {
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_waiting < kMostWaiting || m_closing; });
        if (m_closing)
            return;
        m_waiting += batch.groups.size();
        m_batches.push_back(std::move(batch));
    }
    m_changed.notify_all();
}

} // namespace dirscribe
