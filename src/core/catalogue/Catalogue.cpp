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
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
#include <unordered_set>

namespace dirscribe {

namespace {

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
    // each document's in row order; all of them when the look asks for any chunk.
    void FindCandidates(const std::vector<std::string>& absolute) {
        if (m_look.chunks.Any() || m_look.copyKeys)
            return;
        const bool anyCurrent = std::any_of(absolute.begin(), absolute.end(), [&](const auto& p) {
            return m_index.Current(p, ReadFileStamp(p)) != nullptr;
        });
        if (!anyCurrent)
            return;
        m_index.Try([&](CatalogueStore& store) {
            for (const ChunkRef& chunk : store.Candidates(m_look.chunks))
                m_candidates[chunk.document].push_back(chunk);
        });
        for (auto& [document, chunks] : m_candidates)
            std::sort(chunks.begin(), chunks.end(),
                      [](const ChunkRef& a, const ChunkRef& b) { return a.firstRow < b.firstRow; });
    }

    void Document(const std::string& path, const std::string& absolute) {
        m_begun = false;
        m_wanted = false;
        m_nextRow = 0;
        const std::optional<FileStamp> stamp = ReadFileStamp(absolute);
        if (const IndexedDocument* indexed = m_index.Current(absolute, stamp))
            if (FromIndex(path, *indexed))
                return;
        FromDocument(path, absolute, stamp);
    }

private:
    bool FromIndex(const std::string& path, const IndexedDocument& indexed) {
        if (!Begin(path, indexed)) {
            m_visitor.End(path, indexed);
            return true;
        }
        if (m_look.copyKeys)
            return CopyKeysFromIndex(path, indexed);
        const std::vector<ChunkRef>* chunks = nullptr;
        static const std::vector<ChunkRef> kNone;
        if (!m_look.chunks.Any()) {
            const auto found = m_candidates.find(indexed.id);
            chunks = found == m_candidates.end() ? &kNone : &found->second;
        }
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
        IndexWriter* writer = stamp ? m_index.Writer() : nullptr;
        if (writer != nullptr)
            writer->Start(absolute, *stamp);
        // A listing the index holds already keeps most of its chunks: the writer makes the
        // texts of the few that are new.
        ChunkEncoder encoder([writer](EncodedChunk&& chunk) { writer->Add(std::move(chunk)); },
                             !m_index.Known().contains(absolute));
        IndexedDocument document;
        document.path = absolute;
        try {
            (void)ReadDocumentGroups(
                path,
                [&](const SearchGroup& group) {
                    document.entries += group.entry ? 1 : 0;
                    if (writer != nullptr)
                        encoder.Add(group);
                    if (m_wanted && group.row >= m_nextRow)
                        m_visitor.Group(group);
                },
                m_look.parts.paths || writer != nullptr, m_stop,
                [&](const CheckedDocument& checked) {
                    document.folder = checked.folderPath;
                    document.volume = checked.volume;
                    document.rows = checked.rowCount;
                    return Begin(path, document) || writer != nullptr;
                });
        } catch (const Error& error) {
            if (writer != nullptr)
                writer->Abandon();
            m_problems.Show(kCaption, error.what());
            m_unreadable.push_back(absolute);
            return;
        }
        if (Stopped(m_stop)) {
            if (writer != nullptr)
                writer->Abandon();
            return;
        }
        if (writer != nullptr) {
            encoder.Finish();
            document.stamp = *stamp;
            writer->Commit(document);
            m_index.MarkWritten();
            m_index.CheckWriter(false);
        }
        m_visitor.End(path, document);
    }

public:
    [[nodiscard]] const std::vector<std::string>& Unreadable() const { return m_unreadable; }

private:
    const CatalogueLook& m_look;
    CatalogueVisitor& m_visitor;
    Notice& m_problems;
    IndexState& m_index;
    const StopFlag* m_stop;
    std::unordered_map<std::int64_t, std::vector<ChunkRef>> m_candidates;
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
    absolute.reserve(documents.size());
    for (const std::string& document : documents)
        absolute.push_back(AbsolutePath(document, base));
    Look walk(look, visitor, problems, index, stop);
    walk.FindCandidates(absolute);
    for (std::size_t i = 0; i < documents.size() && !Stopped(stop); ++i) {
        progress.Step();
        walk.Document(documents[i], absolute[i]);
    }
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
