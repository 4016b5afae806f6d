// SPDX-License-Identifier: MIT
#include "core/catalogue/IndexWriter.h"

#include <utility>

namespace dirscribe {

namespace {

// Enough for the reader never to wait for a writer that keeps up.
constexpr std::size_t kMostWaiting = 64;
// Chunks and batches of groups wake a waiting writer this many at a time: waking it for
// each costs more than writing one.
constexpr std::size_t kWakeAt = 8;
// Batches kept to be filled again, so that their room is made once.
constexpr std::size_t kMostSpare = kMostWaiting;

} // namespace

IndexWriter::IndexWriter(std::unique_ptr<CatalogueStore> store)
    : m_store(std::move(store)), m_thread([this] { Run(); }) {}

IndexWriter::~IndexWriter() {
    {
        const std::lock_guard lock(m_lock);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void IndexWriter::Start(const std::string& path, const FileStamp& stamp) {
    Hand(Begin{path, stamp});
}

void IndexWriter::Add(EncodedChunk chunk) {
    Hand(std::move(chunk));
}

void IndexWriter::Add(const SearchGroup& group) {
    m_filling.Add(group);
    if (m_filling.Full())
        HandGroups();
}

void IndexWriter::Commit(IndexedDocument document) {
    if (!m_filling.Empty())
        HandGroups();
    Hand(std::move(document));
}

void IndexWriter::Abandon() {
    m_filling.Clear();
    Hand(End{});
}

bool IndexWriter::KeepingUp() {
    const std::lock_guard lock(m_lock);
    return m_tasks.size() < kWakeAt;
}

void IndexWriter::Finish() {
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_tasks.empty() && !m_busy; });
}

std::optional<CatalogueError> IndexWriter::TakeFailure() {
    const std::lock_guard lock(m_lock);
    return std::exchange(m_failure, std::nullopt);
}

void IndexWriter::Hand(Task task) {
    std::unique_lock lock(m_lock);
    if (m_failed)
        return;
    m_changed.wait(lock, [this] { return m_tasks.size() < kMostWaiting; });
    const bool wake =
        !(std::holds_alternative<EncodedChunk>(task) || std::holds_alternative<GroupBatch>(task)) ||
        m_tasks.size() + 1 >= kWakeAt;
    m_tasks.push_back(std::move(task));
    lock.unlock();
    if (wake)
        m_changed.notify_all();
}

void IndexWriter::HandGroups() {
    GroupBatch next;
    {
        const std::lock_guard lock(m_lock);
        if (!m_spare.empty()) {
            next = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    Hand(std::exchange(m_filling, std::move(next)));
}

void IndexWriter::Run() {
    for (;;) {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return !m_tasks.empty() || m_closing; });
        if (m_tasks.empty()) {
            m_writing.reset();
            return;
        }
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        m_busy = true;
        lock.unlock();
        m_changed.notify_all();
        try {
            Do(task);
        } catch (const CatalogueError& error) {
            m_writing.reset();
            lock.lock();
            m_failure = error;
            m_failed = true;
            m_tasks.clear();
            lock.unlock();
        }
        lock.lock();
        m_busy = false;
        lock.unlock();
        m_changed.notify_all();
    }
}

void IndexWriter::Do(Task& task) {
    if (auto* begin = std::get_if<Begin>(&task)) {
        m_writing.reset();
        m_encoder.reset();
        m_writing = m_store->Replace(begin->path, begin->stamp);
    } else if (auto* chunk = std::get_if<EncodedChunk>(&task)) {
        if (m_writing)
            m_writing->Add(*chunk);
    } else if (auto* batch = std::get_if<GroupBatch>(&task)) {
        Encode(*batch);
    } else if (auto* document = std::get_if<IndexedDocument>(&task)) {
        if (m_encoder)
            m_encoder->Finish();
        m_encoder.reset();
        if (m_writing)
            m_writing->Commit(*document);
        m_writing.reset();
    } else {
        m_writing.reset();
        m_encoder.reset();
    }
}

void IndexWriter::Encode(GroupBatch& batch) {
    if (m_writing) {
        if (!m_encoder)
            m_encoder.emplace([this](EncodedChunk&& chunk) { m_writing->Add(chunk); }, false);
        batch.Replay(m_group, [this](const SearchGroup& group) { m_encoder->Add(group); });
    }
    batch.Clear();
    const std::lock_guard lock(m_lock);
    if (m_spare.size() < kMostSpare)
        m_spare.push_back(std::move(batch));
}

} // namespace dirscribe
