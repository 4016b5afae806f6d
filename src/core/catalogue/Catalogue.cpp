// SPDX-License-Identifier: MIT
#include "core/catalogue/Catalogue.h"

#include "core/catalogue/CatalogueError.h"
#include "core/catalogue/IndexWriter.h"
#include "core/catalogue/SqliteCatalogue.h"
#include "core/listing/PathCheck.h"
#include "core/options/Profile.h"
#include "core/platform/CurrentFolder.h"
#include "core/search/ListingSearch.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
#include <unordered_set>

namespace dirscribe {

namespace {

// What a document read early may keep for its turn; more, and it is read again then.
constexpr std::size_t kMostKeptEarly = 65536;

bool Stopped(const StopFlag* stop) {
    return stop != nullptr && stop->Requested();
}

std::string CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == '/')
        return std::string(cache) + "/Dirscribe";
    return HomeFolder() + "/.cache/Dirscribe";
}

// Makes the folder and those above it that are missing, the index's own for its user only.
void MakeFolder(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        const bool last = slash == std::string::npos;
        if (::mkdir(part.c_str(), last ? 0700 : 0755) != 0 && errno != EEXIST)
            throw CatalogueError(CatalogueError::Kind::Unwritable,
                                 "\"" + part + "\" cannot be made: " + std::strerror(errno));
        if (last)
            return;
    }
}

// Whether the absolute path lies in the absolute folder (or is it).
bool Inside(const std::string& path, const std::string& folder) {
    return path.starts_with(folder) &&
           (path.size() == folder.size() || folder == "/" || path[folder.size()] == '/');
}

// The index for the length of one look: used while it answers, given up as soon as it
// fails, with one remark to say why.
class IndexState {
public:
    IndexState(bool wanted, Notice& remarks) : m_remarks(remarks) {
        if (!wanted)
            return;
        try {
            m_file = CatalogueIndexFile();
            MakeFolder(m_file.substr(0, m_file.rfind('/')));
            m_store = OpenSqliteCatalogue(m_file);
            for (IndexedDocument& document : m_store->Documents()) {
                std::string path = document.path;
                m_known.emplace(std::move(path), std::move(document));
            }
        } catch (const CatalogueError& error) {
            Fail(error);
        } catch (const Error& error) {
            Fail(CatalogueError(CatalogueError::Kind::Unwritable, error.what()));
        }
    }

    ~IndexState() {
        m_ahead.reset();
        m_writer.reset();
        m_store.reset();
        if (m_damaged)
            RemoveSqliteCatalogue(m_file);
    }
    IndexState(const IndexState&) = delete;
    IndexState& operator=(const IndexState&) = delete;

    [[nodiscard]] CatalogueStore* Store() const { return m_store.get(); }
    [[nodiscard]] bool Writable() const { return m_store && m_writable; }

    // What writes documents into the index, on a connection and a thread of its own; made
    // when first asked for, none when the index is not written.
    IndexWriter* Writer() {
        if (!Writable())
            return nullptr;
        if (!m_writer) {
            try {
                m_writer = std::make_unique<IndexWriter>(OpenSqliteCatalogue(m_file));
            } catch (const CatalogueError& error) {
                Fail(error);
            }
        }
        return m_writer.get();
    }

    // Answers for the documents ahead of the look through the store, until
    // EndReadAhead or a failure of the index.
    void StartReadAhead(std::vector<const IndexedDocument*> documents, const CatalogueLook& look,
                        const StopFlag* stop) {
        if (m_store)
            m_ahead = std::make_unique<IndexReadAhead>(*m_store, std::move(documents), look.chunks,
                                                       look.parts, look.sieve, stop);
    }
    [[nodiscard]] IndexReadAhead* ReadAhead() const { return m_ahead.get(); }
    void EndReadAhead() { m_ahead.reset(); }

    // Whether a document was handed to the writer in this look.
    [[nodiscard]] bool Written() const { return m_written; }
    void MarkWritten() { m_written = true; }

    // Hears of a failure of the writing, if there was one; with `wait`, once everything
    // handed over is written.
    void CheckWriter(bool wait) {
        if (!m_writer)
            return;
        if (wait)
            m_writer->Finish();
        if (std::optional<CatalogueError> failure = m_writer->TakeFailure())
            Fail(*failure);
    }

    // What the index holds of the document at the absolute path when it is current.
    [[nodiscard]] const IndexedDocument* Current(const std::string& path,
                                                 const std::optional<FileStamp>& stamp) const {
        if (!m_store || !stamp)
            return nullptr;
        const auto found = m_known.find(path);
        return found != m_known.end() && found->second.stamp == *stamp ? &found->second : nullptr;
    }

    [[nodiscard]] const std::unordered_map<std::string, IndexedDocument>& Known() const {
        return m_known;
    }

    // Gives up the index (damaged: made again at the next look) or writing to it.
    void Fail(const CatalogueError& error) {
        m_ahead.reset(); // it reads through the store, which a damaged index closes
        const bool damaged = error.WhatKind() == CatalogueError::Kind::Damaged;
        if (!m_remarked) {
            m_remarked = true;
            std::string text = "The index of saved listings";
            if (!m_file.empty())
                text += " (" + m_file + ")";
            text += damaged ? " is damaged and is made again at the next search: "
                    : error.WhatKind() == CatalogueError::Kind::Busy
                        ? " is being written by another search: "
                        : " cannot be kept: ";
            text += error.what();
            text += ". The listings themselves were read.";
            m_remarks.Show(kCaption, text, NoticeIcon::Information);
        }
        m_writable = false;
        if (damaged) {
            m_damaged = true;
            m_store.reset();
        }
    }

    // Runs work on the store; a failure gives the index up as Fail says. False then.
    template <typename Work> bool Try(Work work) {
        if (!m_store)
            return false;
        try {
            work(*m_store);
            return true;
        } catch (const CatalogueError& error) {
            Fail(error);
            return false;
        }
    }

private:
    Notice& m_remarks;
    std::string m_file;
    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<IndexWriter> m_writer;
    std::unique_ptr<IndexReadAhead> m_ahead;
    std::unordered_map<std::string, IndexedDocument> m_known;
    bool m_writable = true;
    bool m_written = false;
    bool m_remarked = false;
    bool m_damaged = false;
};

// One look through the documents, in order.
class Look {
public:
    Look(const CatalogueLook& look, CatalogueVisitor& visitor, Notice& problems, IndexState& index,
         const StopFlag* stop)
        : m_look(look), m_visitor(visitor), m_problems(problems), m_index(index), m_stop(stop) {}

    // The chunks of documents the index holds as they are that may hold what is wanted,
    // each document's in row order; all of them when the look asks for any chunk. The
    // read-ahead finds its own.
    void FindCandidates(const std::vector<std::string>& absolute,
                        const std::vector<std::optional<FileStamp>>& stamps) {
        if (m_look.chunks.Any() || m_look.copyKeys || m_index.ReadAhead() != nullptr)
            return;
        bool anyCurrent = false;
        for (std::size_t i = 0; i < absolute.size() && !anyCurrent; ++i)
            anyCurrent = m_index.Current(absolute[i], stamps[i]) != nullptr;
        if (anyCurrent)
            m_index.Try([&](CatalogueStore& store) {
                m_candidates = FindChunks(store, m_look.chunks);
                m_candidatesFound = true;
            });
    }

    // With a sieve, and documents both to read and to take from the index, the index answers
    // for those it holds on a thread of its own (ReadEarly reads the others meanwhile).
    void StartReadAhead(const std::vector<std::string>& absolute,
                        const std::vector<std::optional<FileStamp>>& stamps) {
        if (!m_look.sieve || m_look.copyKeys)
            return;
        std::vector<const IndexedDocument*> documents;
        std::vector<bool> held(absolute.size(), false);
        for (std::size_t i = 0; i < absolute.size(); ++i) {
            if (const IndexedDocument* indexed = m_index.Current(absolute[i], stamps[i])) {
                documents.push_back(indexed);
                held[i] = true;
            }
        }
        if (documents.empty() || documents.size() == absolute.size())
            return;
        m_readAhead = std::move(held);
        m_index.StartReadAhead(std::move(documents), m_look, m_stop);
    }

    // While the index answers ahead for the documents it holds, reads the others from their
    // files in turn, so that both are done at once; what the sieve keeps of them waits for
    // their turn.
    void ReadEarly(const std::vector<std::string>& documents,
                   const std::vector<std::string>& absolute,
                   const std::vector<std::optional<FileStamp>>& stamps) {
        for (std::size_t i = 0; i < documents.size() && !Stopped(m_stop); ++i) {
            const IndexReadAhead* readAhead = m_index.ReadAhead();
            if (readAhead == nullptr || !readAhead->Busy())
                return;
            if (m_readAhead[i])
                continue;
            std::optional<EarlyRead> early =
                ReadBeforeItsTurn(i, documents[i], absolute[i], stamps[i]);
            if (!early)
                return;
            m_early.push_back(std::move(*early));
        }
    }

    void Document(std::size_t place, const std::string& path, const std::string& absolute,
                  const std::optional<FileStamp>& stamp) {
        m_begun = false;
        m_wanted = false;
        m_nextRow = 0;
        if (!m_early.empty() && m_early.front().place == place) {
            FromEarlyRead(path, absolute);
            return;
        }
        const bool ahead = place < m_readAhead.size() && m_readAhead[place];
        if (const IndexedDocument* indexed = m_index.Current(absolute, stamp)) {
            IndexReadAhead* readAhead = ahead ? m_index.ReadAhead() : nullptr;
            if (readAhead != nullptr ? FromReadAhead(*readAhead, path, *indexed)
                                     : FromIndex(path, *indexed))
                return;
        }
        FromDocument(path, absolute, stamp);
    }

private:
    // The chunks of the document that may hold what is wanted; null: all of them.
    const std::vector<ChunkRef>* Candidates(const IndexedDocument& indexed) const {
        if (m_look.chunks.Any() || !m_candidatesFound)
            return nullptr;
        return &ChunksOf(m_candidates, indexed.id);
    }

    bool FromReadAhead(IndexReadAhead& readAhead, const std::string& path,
                       const IndexedDocument& indexed) {
        const bool wanted = Begin(path, indexed);
        const IndexReadAhead::Outcome outcome = readAhead.Take([&](const SearchGroup& group) {
            if (wanted && !Stopped(m_stop)) {
                m_visitor.Group(group);
                m_nextRow = group.row + group.rows;
            }
        });
        if (outcome == IndexReadAhead::Outcome::Failed)
            m_index.Fail(*readAhead.Failure());
        if (wanted && (outcome == IndexReadAhead::Outcome::Stale ||
                       outcome == IndexReadAhead::Outcome::Failed))
            return false;
        if (!Stopped(m_stop))
            m_visitor.End(path, indexed);
        return true;
    }

    bool FromIndex(const std::string& path, const IndexedDocument& indexed) {
        if (!Begin(path, indexed)) {
            m_visitor.End(path, indexed);
            return true;
        }
        if (m_look.copyKeys)
            return CopyKeysFromIndex(path, indexed);
        const std::vector<ChunkRef>* chunks = Candidates(indexed);
        bool current = true;
        const bool answered = m_index.Try([&](CatalogueStore& store) {
            current = store.ReadChunks(indexed, chunks,
                                       [&](std::int32_t firstRow, std::string_view units) {
                                           ChunkDecoder decoder(units, firstRow, m_look.parts);
                                           while (!Stopped(m_stop) && decoder.Next(m_group)) {
                                               m_visitor.Group(m_group);
                                               m_nextRow = m_group.row + m_group.rows;
                                           }
                                       });
        });
        if (!answered || !current)
            return false;
        if (!Stopped(m_stop))
            m_visitor.End(path, indexed);
        return true;
    }

    // The keys are handed over once all of them are read: a document that fails half way
    // is read instead, and none of it is handed over twice.
    bool CopyKeysFromIndex(const std::string& path, const IndexedDocument& indexed) {
        m_keys.clear();
        bool current = true;
        const bool answered = m_index.Try([&](CatalogueStore& store) {
            current = store.ReadCopyKeys(indexed, [&](std::string_view keys) {
                if (keys.size() % 4 != 0)
                    throw CatalogueError(CatalogueError::Kind::Damaged,
                                         "the index holds damaged copy keys");
                m_keys.append(keys);
            });
        });
        if (!answered || !current)
            return false;
        m_visitor.CopyKeys(m_keys);
        m_visitor.End(path, indexed);
        return true;
    }

    bool Begin(const std::string& path, const IndexedDocument& document) {
        if (!m_begun) {
            m_begun = true;
            m_wanted = m_visitor.Begin(path, document);
        }
        return m_wanted;
    }

    // Reads the document, hands its groups over (those from m_nextRow on: the index may
    // have handed the others over before it failed) and has it written into the index.
    void FromDocument(const std::string& path, const std::string& absolute,
                      const std::optional<FileStamp>& stamp) {
        IndexedDocument document;
        try {
            if (!ReadFile(
                    path, absolute, stamp, document, [&] { return Begin(path, document); },
                    [&](const SearchGroup& group) {
                        if (m_wanted && group.row >= m_nextRow)
                            m_visitor.Group(group);
                    }))
                return;
        } catch (const Error& error) {
            Unreadable(absolute, error.what());
            return;
        }
        m_visitor.End(path, document);
    }

    // Reads the document from its file, hands its groups to onGroup once onChecked has
    // heard what the check found (false: they are not wanted, though still read when the
    // document is written into the index), and has it written into the index. The facts
    // of document are filled in as they are read. Throws Error when it cannot be read;
    // false after a stop request. Either way, none of it is written.
    bool ReadFile(const std::string& path, const std::string& absolute,
                  const std::optional<FileStamp>& stamp, IndexedDocument& document,
                  const std::function<bool()>& onChecked,
                  const SearchGrouper::GroupHandler& onGroup) {
        IndexWriter* writer = stamp ? m_index.Writer() : nullptr;
        // A listing the index holds already keeps most of its chunks: the writer makes the
        // texts of the few that are new. While the writer keeps up, it encodes the listing
        // too, and this thread only reads (what a search after one listing changed waits for).
        const bool again = m_index.Known().contains(absolute);
        const bool handOver = writer != nullptr && again && writer->KeepingUp();
        if (writer != nullptr)
            writer->Start(absolute, *stamp);
        ChunkEncoder encoder([writer](EncodedChunk&& chunk) { writer->Add(std::move(chunk)); },
                             !again);
        document.path = absolute;
        try {
            (void)ReadDocumentGroups(
                path,
                [&](const SearchGroup& group) {
                    document.entries += group.entry ? 1 : 0;
                    if (handOver)
                        writer->Add(group);
                    else if (writer != nullptr)
                        encoder.Add(group);
                    onGroup(group);
                },
                m_look.parts.paths || writer != nullptr, m_stop,
                [&](const CheckedDocument& checked) {
                    document.folder = checked.folderPath;
                    document.volume = checked.volume;
                    document.rows = checked.rowCount;
                    return onChecked() || writer != nullptr;
                });
        } catch (...) {
            if (writer != nullptr)
                writer->Abandon();
            throw;
        }
        if (Stopped(m_stop)) {
            if (writer != nullptr)
                writer->Abandon();
            return false;
        }
        if (writer != nullptr) {
            encoder.Finish();
            document.stamp = *stamp;
            writer->Commit(document);
            m_index.MarkWritten();
            m_index.CheckWriter(false);
        }
        return true;
    }

    void Unreadable(const std::string& absolute, const std::string& problem) {
        m_problems.Show(kCaption, problem);
        m_unreadable.push_back(absolute);
    }

    // A document read from its file before its turn, and what the sieve kept of it.
    struct EarlyRead {
        std::size_t place = 0;
        IndexedDocument document;
        std::vector<SearchGroup> kept;
        std::string problem; // why it could not be read
    };
    struct TooManyKept {};

    // Reads the document at place early, keeping what the sieve passes; none when that is
    // too much to keep (it is read again in its turn) or after a stop request.
    std::optional<EarlyRead> ReadBeforeItsTurn(std::size_t place, const std::string& path,
                                               const std::string& absolute,
                                               const std::optional<FileStamp>& stamp) {
        EarlyRead early;
        early.place = place;
        try {
            if (!ReadFile(
                    path, absolute, stamp, early.document, [] { return true; },
                    [&](const SearchGroup& group) {
                        if (!m_look.sieve(early.document, group))
                            return;
                        if (early.kept.size() == kMostKeptEarly)
                            throw TooManyKept();
                        early.kept.push_back(group);
                    }))
                return std::nullopt;
        } catch (const Error& error) {
            early.problem = error.what();
        } catch (const TooManyKept&) {
            return std::nullopt;
        }
        return early;
    }

    void FromEarlyRead(const std::string& path, const std::string& absolute) {
        const EarlyRead early = std::move(m_early.front());
        m_early.pop_front();
        if (!early.problem.empty()) {
            Unreadable(absolute, early.problem);
            return;
        }
        if (Begin(path, early.document))
            for (std::size_t i = 0; i < early.kept.size() && !Stopped(m_stop); ++i)
                m_visitor.Group(early.kept[i]);
        if (!Stopped(m_stop))
            m_visitor.End(path, early.document);
    }

public:
    [[nodiscard]] const std::vector<std::string>& Unreadable() const { return m_unreadable; }

private:
    const CatalogueLook& m_look;
    CatalogueVisitor& m_visitor;
    Notice& m_problems;
    IndexState& m_index;
    const StopFlag* m_stop;
    ChunksByDocument m_candidates;
    bool m_candidatesFound = false;
    std::vector<bool> m_readAhead; // by place: the document is the read-ahead's
    std::deque<EarlyRead> m_early;
    std::vector<std::string> m_unreadable;
    SearchGroup m_group;
    std::string m_keys;
    bool m_begun = false;
    bool m_wanted = false;
    int m_nextRow = 0;
};

// The documents the index holds that are no more: in a folder looked through but not found
// there, or found but not readable.
std::vector<std::int64_t> Vanished(const IndexState& index, const std::vector<std::string>& paths,
                                   const std::unordered_set<std::string>& found,
                                   const std::vector<std::string>& unreadable) {
    const std::string base = CurrentFolder();
    std::vector<std::string> folders;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            folders.push_back(AbsolutePath(path, base));
    }
    std::vector<std::int64_t> vanished;
    for (const auto& known : index.Known()) {
        const std::string& path = known.first;
        const bool inFolder = std::any_of(folders.begin(), folders.end(),
                                          [&](const std::string& f) { return Inside(path, f); });
        if ((inFolder && !found.contains(path)) ||
            std::find(unreadable.begin(), unreadable.end(), path) != unreadable.end())
            vanished.push_back(known.second.id);
    }
    return vanished;
}

} // namespace

std::string CatalogueIndexFile() {
    return CacheFolder() + "/catalogue.sqlite";
}

void LookThroughCatalogue(const std::vector<std::string>& paths, const CatalogueLook& look,
                          CatalogueVisitor& visitor, Notice& problems, Notice& remarks,
                          Progress& progress, const StopFlag* stop) {
    const std::vector<std::string> documents = FindDocuments(paths, problems, stop);
    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(documents.size()));
    IndexState index(look.useIndex, remarks);
    const std::string base = CurrentFolder();
    std::vector<std::string> absolute;
    std::vector<std::optional<FileStamp>> stamps;
    absolute.reserve(documents.size());
    stamps.reserve(documents.size());
    for (const std::string& document : documents) {
        absolute.push_back(AbsolutePath(document, base));
        stamps.push_back(ReadFileStamp(absolute.back()));
    }
    Look walk(look, visitor, problems, index, stop);
    walk.StartReadAhead(absolute, stamps);
    walk.FindCandidates(absolute, stamps);
    walk.ReadEarly(documents, absolute, stamps);
    for (std::size_t i = 0; i < documents.size() && !Stopped(stop); ++i) {
        progress.Step();
        walk.Document(i, documents[i], absolute[i], stamps[i]);
    }
    index.EndReadAhead();
    progress.End();
    index.CheckWriter(true);
    if (Stopped(stop) || !index.Writable())
        return;
    const std::unordered_set<std::string> found(absolute.begin(), absolute.end());
    const std::vector<std::int64_t> vanished = Vanished(index, paths, found, walk.Unreadable());
    // A look that changed nothing leaves nothing to tidy.
    if (vanished.empty() && !index.Written())
        return;
    index.Try([&](CatalogueStore& store) {
        store.Forget(vanished);
        store.Tidy();
    });
}

} // namespace dirscribe
