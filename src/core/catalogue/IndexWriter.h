// SPDX-License-Identifier: MIT
// Writing documents into the catalogue's index while the next ones are read.
#pragma once

#include "core/catalogue/CatalogueError.h"
#include "core/catalogue/CatalogueStore.h"
#include "core/catalogue/GroupBatch.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace dirscribe {

// Writes what it is handed, in order, on a thread of its own through a store of its own (a
// connection of its own), so that a look reads the next document while the last is written.
// It holds a few chunks at most: handing over more waits. After a failure it writes nothing
// more and keeps the failure for TakeFailure.
//
// A document comes as its chunks, or as its groups, which it then encodes itself: a search
// after a listing changed waits for that listing's reading, which then only copies them.
// While the writer is behind, the reader had better encode.
class IndexWriter {
public:
    explicit IndexWriter(std::unique_ptr<CatalogueStore> store);
    // Writes what was handed over, then ends.
    ~IndexWriter();
    IndexWriter(const IndexWriter&) = delete;
    IndexWriter& operator=(const IndexWriter&) = delete;

    // A document to write (CatalogueStore::Replace), its chunks or its groups (in row order,
    // paths kept; encoded without their texts, as ChunkEncoder does without whole), and its
    // commit; or its writing given up (what was written of it is undone).
    void Start(const std::string& path, const FileStamp& stamp);
    void Add(EncodedChunk chunk);
    void Add(const SearchGroup& group);
    void Commit(IndexedDocument document);
    void Abandon();
    // Whether it keeps up with what it is handed: few tasks wait.
    [[nodiscard]] bool KeepingUp();
    // Waits until everything handed over is written.
    void Finish();
    // The failure that stopped the writing, once; none while it goes well.
    std::optional<CatalogueError> TakeFailure();

private:
    struct Begin {
        std::string path;
        FileStamp stamp;
    };
    struct End {};
    using Task = std::variant<Begin, EncodedChunk, GroupBatch, IndexedDocument, End>;

    void Hand(Task task);
    void HandGroups();
    void Run();
    void Do(Task& task);
    void Encode(GroupBatch& batch);

    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<DocumentReplacement> m_writing;
    GroupBatch m_filling;                  // the groups not handed over yet
    std::optional<ChunkEncoder> m_encoder; // of the document being written, when it encodes
    SearchGroup m_group;                   // where the groups handed over are made whole again
    std::vector<GroupBatch> m_spare;       // batches written, to fill again
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Task> m_tasks;
    bool m_busy = false;
    bool m_closing = false;
    std::optional<CatalogueError> m_failure;
    bool m_failed = false;
    std::thread m_thread; // last: it starts once everything above is made
};

} // namespace dirscribe
