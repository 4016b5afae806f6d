// SPDX-License-Identifier: MIT
// The one file that knows the index's tables. Every statement's text is fixed; names,
// patterns and paths only ever reach SQLite as bound values.
#include "core/catalogue/SqliteCatalogue.h"

#include "core/catalogue/ByteHash.h"
#include "core/catalogue/LineTrigrams.h"
#include "core/catalogue/SqliteDatabase.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <unordered_map>

namespace dirscribe {

namespace {

// Raised with every change of the tables below or of what ChunkEncoder writes: a file of
// another version is made again.
constexpr std::int64_t kSchemaVersion = 6;
// Marks the file as this program's ("DsCt").
constexpr std::int64_t kApplicationId = 0x44734374;
constexpr int kBusyMilliseconds = 10'000;

// A document's chunks have ids never used before, which are also the rowids of their texts
// in the text index. The text index keeps no copy of the texts (content='') and no
// positions (detail='none'): it answers which chunks hold every trigram asked for, and a
// search checks every chunk it finds. So the texts of chunks removed may stay in it until
// Tidy builds it again: they cost room and time, never a wrong answer. A chunk's units
// are a row of their own, so that a chunk kept when its document is indexed again costs
// at most the rewrite of a small row (when its rows moved) rather than of its units; so
// are the copy keys of its files, which duplicates reads without the units. The sizes and
// times a search bounds are compared in a scan of the chunk rows (a few hundred thousand
// for tens of millions of entries): indexes on them would be written at random places for
// every chunk written, which costs an index's writing more than they save a search.
constexpr const char* kSchema = R"(
CREATE TABLE document (
    id INTEGER PRIMARY KEY,
    path BLOB NOT NULL UNIQUE,
    generation INTEGER NOT NULL,
    size INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    changed INTEGER NOT NULL,
    inode INTEGER NOT NULL,
    device INTEGER NOT NULL,
    folder TEXT NOT NULL,
    row_count INTEGER NOT NULL,
    entry_count INTEGER NOT NULL,
    mount_point TEXT NOT NULL,
    label TEXT NOT NULL,
    uuid TEXT NOT NULL,
    file_system TEXT NOT NULL,
    sized INTEGER NOT NULL,
    capacity INTEGER NOT NULL,
    free_bytes INTEGER NOT NULL,
    listed INTEGER NOT NULL,
    note TEXT NOT NULL
);
CREATE TABLE chunk (
    id INTEGER PRIMARY KEY,
    document INTEGER NOT NULL,
    first_row INTEGER NOT NULL,
    hash INTEGER NOT NULL,
    least_bytes INTEGER,
    most_bytes INTEGER,
    earliest INTEGER,
    latest INTEGER
);
CREATE TABLE chunk_units (id INTEGER PRIMARY KEY, units BLOB NOT NULL);
CREATE TABLE chunk_keys (id INTEGER PRIMARY KEY, keys BLOB NOT NULL);
CREATE INDEX chunk_of_document ON chunk (document, first_row);
CREATE TABLE counter (name TEXT PRIMARY KEY, value INTEGER NOT NULL);
INSERT INTO counter VALUES ('next chunk', 1), ('chunks removed', 0), ('texts', 0);
)";
constexpr const char* kTextIndex =
    "CREATE VIRTUAL TABLE chunk_text USING fts5(text, content='', detail='none', "
    "columnsize=0, tokenize='dirscribe_line_trigrams')";
// A document written at once is one segment of the text index (the buffer holds it whole),
// and segments are merged sixteen at a time rather than four: a first search that writes
// hundreds of documents merges each text a level or two rather than four.
constexpr std::array<const char*, 3> kTextIndexSettings{
    "INSERT INTO chunk_text (chunk_text, rank) VALUES ('hashsize', 8388608)",
    "INSERT INTO chunk_text (chunk_text, rank) VALUES ('automerge', 16)",
    "INSERT INTO chunk_text (chunk_text, rank) VALUES ('crisismerge', 64)"};

constexpr const char* kDocumentColumns =
    "id, path, generation, size, modified, changed, inode, device, folder, row_count, "
    "entry_count, mount_point, label, uuid, file_system, sized, capacity, free_bytes, listed, "
    "note";

// Numbers above what a signed column holds are kept as their bits, or for the bounds of
// sizes and times, as the largest it holds (the bounds only ever rule chunks out loosely).
std::int64_t Bits(std::uint64_t value) {
    return static_cast<std::int64_t>(value);
}
std::int64_t Clamped(std::uint64_t value) {
    return static_cast<std::int64_t>(std::min<std::uint64_t>(value, INT64_MAX));
}

IndexedDocument DocumentOf(const SqliteStatement& row) {
    IndexedDocument document;
    document.id = row.Int(0);
    document.path = row.Blob(1);
    document.generation = row.Int(2);
    document.stamp = {static_cast<std::uint64_t>(row.Int(3)), row.Int(4), row.Int(5),
                      static_cast<std::uint64_t>(row.Int(6)),
                      static_cast<std::uint64_t>(row.Int(7))};
    document.folder = row.Text(8);
    document.rows = row.Int(9);
    document.entries = row.Int(10);
    VolumeFacts& facts = document.volume.facts;
    facts.mountPoint = row.Text(11);
    facts.label = row.Text(12);
    facts.uuid = row.Text(13);
    facts.fileSystem = row.Text(14);
    facts.sized = row.Int(15) != 0;
    facts.capacity = static_cast<std::uint64_t>(row.Int(16));
    facts.free = static_cast<std::uint64_t>(row.Int(17));
    document.volume.listed = static_cast<std::uint64_t>(row.Int(18));
    document.volume.note = row.Text(19);
    return document;
}

std::int64_t Counter(SqliteDatabase& database, const char* name) {
    SqliteStatement read = database.Prepare("SELECT value FROM counter WHERE name = ?1");
    read.BindText(1, name);
    return read.Step() ? read.Int(0) : 0;
}

void SetCounter(SqliteDatabase& database, const char* name, std::int64_t value) {
    database.Prepare("UPDATE counter SET value = ?2 WHERE name = ?1")
        .BindText(1, name)
        .Bind(2, value)
        .Run();
}

// Ends a transaction when it goes out of scope without a commit.
class Transaction {
public:
    Transaction(SqliteDatabase& database, const char* begin) : m_database(database) {
        m_database.Execute(begin);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction() {
        if (m_open) {
            try {
                m_database.Execute("ROLLBACK");
            } catch (const CatalogueError&) {
                // SQLite has rolled back on its own after the failure that brought us here.
            }
        }
    }
    void Commit() {
        m_database.Execute("COMMIT");
        m_open = false;
    }

private:
    SqliteDatabase& m_database;
    bool m_open = true;
};

class SqliteReplacement final : public DocumentReplacement {
public:
    explicit SqliteReplacement(SqliteDatabase& database)
        : m_database(database), m_transaction(database, "BEGIN IMMEDIATE"),
          m_insertChunk(database.Prepare(
              "INSERT INTO chunk (id, document, first_row, hash, least_bytes, most_bytes, "
              "earliest, latest) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")),
          m_insertUnits(database.Prepare("INSERT INTO chunk_units (id, units) VALUES (?1, ?2)")),
          m_insertKeys(database.Prepare("INSERT INTO chunk_keys (id, keys) VALUES (?1, ?2)")),
          m_insertText(database.Prepare("INSERT INTO chunk_text (rowid, text) VALUES (?1, ?2)")),
          m_oldUnits(database.Prepare("SELECT units FROM chunk_units WHERE id = ?1")),
          m_move(database.Prepare("UPDATE chunk SET first_row = ?2 WHERE id = ?1")) {}

    // Opens the transaction first; then learns what the document holds (when it is known).
    bool Start(const std::string& path, const FileStamp& stamp) {
        SqliteStatement known = m_database.Prepare(
            "SELECT id, generation, size, modified, changed, inode, device FROM document "
            "WHERE path = ?1");
        known.BindBlob(1, path);
        if (known.Step()) {
            const FileStamp indexed{static_cast<std::uint64_t>(known.Int(2)), known.Int(3),
                                    known.Int(4), static_cast<std::uint64_t>(known.Int(5)),
                                    static_cast<std::uint64_t>(known.Int(6))};
            if (indexed == stamp)
                return false;
            m_document = known.Int(0);
            m_generation = known.Int(1) + 1;
            SqliteStatement chunks =
                m_database.Prepare("SELECT id, hash, first_row FROM chunk WHERE document = ?1");
            chunks.Bind(1, m_document);
            while (chunks.Step())
                m_old.emplace(chunks.Int(1), OldChunk{chunks.Int(0), chunks.Int(2)});
        } else {
            // A row of its own from the start, so its chunks know its id.
            SqliteStatement add = m_database.Prepare(
                "INSERT INTO document (path, generation, size, modified, changed, inode, device, "
                "folder, row_count, entry_count, mount_point, label, uuid, file_system, sized, "
                "capacity, free_bytes, listed, note) VALUES (?1, 0, 0, 0, 0, 0, 0, '', 0, 0, '', "
                "'', '', '', 0, 0, 0, 0, '')");
            add.BindBlob(1, path).Run();
            m_document = m_database.LastInsertId();
            m_generation = 1;
        }
        m_nextChunk = Counter(m_database, "next chunk");
        return true;
    }

    void Add(const EncodedChunk& chunk) override {
        // Hashed here rather than where the chunk was made: a search waits for that thread.
        const std::uint64_t hash = HashBytes(chunk.units);
        if (Keep(chunk, hash))
            return;
        const std::int64_t id = m_nextChunk++;
        m_insertChunk.Bind(1, id).Bind(2, m_document).Bind(3, chunk.firstRow).Bind(4, Bits(hash));
        if (chunk.known)
            m_insertChunk.Bind(5, Clamped(chunk.leastBytes))
                .Bind(6, Clamped(chunk.mostBytes))
                .Bind(7, Clamped(chunk.earliest))
                .Bind(8, Clamped(chunk.latest));
        else
            m_insertChunk.BindNull(5).BindNull(6).BindNull(7).BindNull(8);
        m_insertChunk.Run();
        m_insertUnits.Bind(1, id).BindBlob(2, chunk.units).Run();
        const std::string copyKeys = chunk.whole ? std::string() : ChunkCopyKeys(chunk.units);
        const std::string& keys = chunk.whole ? chunk.copyKeys : copyKeys;
        if (!keys.empty())
            m_insertKeys.Bind(1, id).BindBlob(2, keys).Run();
        m_insertText.Bind(1, id)
            .BindText(2, chunk.whole ? chunk.text : ChunkText(chunk.units))
            .Run();
        ++m_texts;
    }

    void Commit(const IndexedDocument& document) override {
        WriteDocument(document);
        // The chunks the document had that were not kept.
        for (const char* removal :
             {"DELETE FROM chunk_units WHERE id = ?1", "DELETE FROM chunk_keys WHERE id = ?1",
              "DELETE FROM chunk WHERE id = ?1"}) {
            SqliteStatement remove = m_database.Prepare(removal);
            for (const auto& [hash, old] : m_old)
                remove.Bind(1, old.id).Run();
        }
        const auto gone = static_cast<std::int64_t>(m_old.size());
        SetCounter(m_database, "next chunk", m_nextChunk);
        if (m_texts > 0)
            SetCounter(m_database, "texts", Counter(m_database, "texts") + m_texts);
        if (gone > 0)
            SetCounter(m_database, "chunks removed", Counter(m_database, "chunks removed") + gone);
        m_transaction.Commit();
    }

private:
    // A chunk the document had, byte for byte, stays with its text (moved to its row).
    bool Keep(const EncodedChunk& chunk, std::uint64_t hash) {
        const auto [first, last] = m_old.equal_range(Bits(hash));
        for (auto it = first; it != last; ++it) {
            m_oldUnits.Bind(1, it->second.id);
            const bool same = m_oldUnits.Step() && m_oldUnits.Blob(0) == chunk.units;
            m_oldUnits.Reset();
            if (!same)
                continue;
            if (it->second.firstRow != chunk.firstRow)
                m_move.Bind(1, it->second.id).Bind(2, chunk.firstRow).Run();
            m_old.erase(it);
            return true;
        }
        return false;
    }

    void WriteDocument(const IndexedDocument& document) {
        SqliteStatement write = m_database.Prepare(
            "UPDATE document SET generation = ?2, size = ?3, modified = ?4, changed = ?5, "
            "inode = ?6, device = ?7, folder = ?8, row_count = ?9, entry_count = ?10, "
            "mount_point = ?11, label = ?12, uuid = ?13, file_system = ?14, sized = ?15, "
            "capacity = ?16, free_bytes = ?17, listed = ?18, note = ?19 WHERE id = ?1");
        const VolumeFacts& facts = document.volume.facts;
        write.Bind(1, m_document)
            .Bind(2, m_generation)
            .Bind(3, Bits(document.stamp.size))
            .Bind(4, document.stamp.modified)
            .Bind(5, document.stamp.changed)
            .Bind(6, Bits(document.stamp.inode))
            .Bind(7, Bits(document.stamp.device))
            .BindText(8, document.folder)
            .Bind(9, document.rows)
            .Bind(10, document.entries)
            .BindText(11, facts.mountPoint)
            .BindText(12, facts.label)
            .BindText(13, facts.uuid)
            .BindText(14, facts.fileSystem)
            .Bind(15, facts.sized ? 1 : 0)
            .Bind(16, Bits(facts.capacity))
            .Bind(17, Bits(facts.free))
            .Bind(18, Bits(document.volume.listed))
            .BindText(19, document.volume.note)
            .Run();
    }

    SqliteDatabase& m_database;
    Transaction m_transaction;
    std::int64_t m_document = 0;
    std::int64_t m_generation = 0;
    std::int64_t m_nextChunk = 0;
    std::int64_t m_texts = 0; // texts written into the text index
    struct OldChunk {
        std::int64_t id = 0;
        std::int64_t firstRow = 0;
    };
    std::unordered_multimap<std::int64_t, OldChunk> m_old; // by hash; the ones not kept

    SqliteStatement m_insertChunk;
    SqliteStatement m_insertUnits;
    SqliteStatement m_insertKeys;
    SqliteStatement m_insertText;
    SqliteStatement m_oldUnits;
    SqliteStatement m_move;
};

class SqliteCatalogue final : public CatalogueStore {
public:
    explicit SqliteCatalogue(const std::string& file) : m_database(file, kBusyMilliseconds) {
        if (!RegisterLineTrigrams(m_database.Handle()))
            throw CatalogueError(CatalogueError::Kind::Unwritable,
                                 "this SQLite has no full-text index (FTS5)");
        // Pages that hold a chunk's units whole (a file made before keeps its own size).
        m_database.Execute("PRAGMA page_size = 16384");
        SqliteStatement journal = m_database.Prepare("PRAGMA journal_mode = WAL");
        if (!journal.Step() || journal.Text(0) != "wal")
            throw CatalogueError(CatalogueError::Kind::Unwritable,
                                 "the index cannot keep its journal beside it");
        journal.Reset();
        m_database.Execute("PRAGMA synchronous = NORMAL");
        // What is deleted is of the user's own listings, which still hold it: zeroed where
        // that costs no writing, not page by page as this SQLite would otherwise.
        m_database.Execute("PRAGMA secure_delete = FAST");
        if (Version() != kSchemaVersion)
            MakeTables();
        SqliteStatement owner = m_database.Prepare("PRAGMA application_id");
        if (!owner.Step() || owner.Int(0) != kApplicationId)
            throw CatalogueError(CatalogueError::Kind::Damaged,
                                 "the file is no index of Dirscribe");
    }

    std::vector<IndexedDocument> Documents() override {
        SqliteStatement rows =
            m_database.Prepare(std::string("SELECT ") + kDocumentColumns + " FROM document");
        std::vector<IndexedDocument> documents;
        while (rows.Step())
            documents.push_back(DocumentOf(rows));
        return documents;
    }

    std::vector<ChunkRef> Candidates(const ChunkQuery& query) override {
        // Fixed parts, each there or not; what they compare with is bound.
        std::string sql = "SELECT id, document, first_row FROM chunk WHERE 1 = 1";
        if (!query.texts.empty())
            sql += " AND id IN (SELECT rowid FROM chunk_text WHERE chunk_text MATCH ?1)";
        if (query.mostBytesAtLeast)
            sql += " AND most_bytes >= ?2";
        if (query.leastBytesAtMost)
            sql += " AND least_bytes <= ?3";
        if (query.latestAtLeast)
            sql += " AND latest >= ?4";
        if (query.earliestAtMost)
            sql += " AND earliest <= ?5";
        SqliteStatement select = m_database.Prepare(sql);
        if (!query.texts.empty())
            select.BindText(1, TextQuery(query.texts));
        if (query.mostBytesAtLeast)
            select.Bind(2, Clamped(*query.mostBytesAtLeast));
        if (query.leastBytesAtMost)
            select.Bind(3, Clamped(*query.leastBytesAtMost));
        if (query.latestAtLeast)
            select.Bind(4, Clamped(*query.latestAtLeast));
        if (query.earliestAtMost)
            select.Bind(5, Clamped(*query.earliestAtMost));
        std::vector<ChunkRef> chunks;
        while (select.Step())
            chunks.push_back(
                {select.Int(0), select.Int(1), static_cast<std::int32_t>(select.Int(2))});
        return chunks;
    }

    bool ReadChunks(const IndexedDocument& document, const std::vector<ChunkRef>* chunks,
                    const ChunkHandler& onChunk) override {
        Transaction view(m_database, "BEGIN");
        if (!AtGeneration(document))
            return false;
        if (chunks == nullptr) {
            SqliteStatement all = m_database.Prepare(
                "SELECT chunk.first_row, chunk_units.units FROM chunk JOIN chunk_units ON "
                "chunk_units.id = chunk.id WHERE chunk.document = ?1 ORDER BY chunk.first_row");
            all.Bind(1, document.id);
            while (all.Step())
                onChunk(static_cast<std::int32_t>(all.Int(0)), all.Blob(1));
        } else {
            SqliteStatement one = m_database.Prepare("SELECT units FROM chunk_units WHERE id = ?1");
            for (const ChunkRef& chunk : *chunks) {
                one.Bind(1, chunk.id);
                if (one.Step())
                    onChunk(chunk.firstRow, one.Blob(0));
                one.Reset();
            }
        }
        view.Commit();
        return true;
    }

    bool ReadCopyKeys(const IndexedDocument& document, const KeysHandler& onKeys) override {
        Transaction view(m_database, "BEGIN");
        if (!AtGeneration(document))
            return false;
        SqliteStatement keys = m_database.Prepare(
            "SELECT chunk_keys.keys FROM chunk JOIN chunk_keys ON chunk_keys.id = chunk.id "
            "WHERE chunk.document = ?1 ORDER BY chunk.first_row");
        keys.Bind(1, document.id);
        while (keys.Step())
            onKeys(keys.Blob(0));
        view.Commit();
        return true;
    }

    std::unique_ptr<DocumentReplacement> Replace(const std::string& path,
                                                 const FileStamp& stamp) override {
        auto replacement = std::make_unique<SqliteReplacement>(m_database);
        if (!replacement->Start(path, stamp))
            return nullptr;
        return replacement;
    }

    void Forget(std::span<const std::int64_t> documents) override {
        if (documents.empty())
            return;
        Transaction transaction(m_database, "BEGIN IMMEDIATE");
        SqliteStatement units = m_database.Prepare(
            "DELETE FROM chunk_units WHERE id IN (SELECT id FROM chunk WHERE document = ?1)");
        SqliteStatement keys = m_database.Prepare(
            "DELETE FROM chunk_keys WHERE id IN (SELECT id FROM chunk WHERE document = ?1)");
        SqliteStatement chunks = m_database.Prepare("DELETE FROM chunk WHERE document = ?1");
        SqliteStatement document = m_database.Prepare("DELETE FROM document WHERE id = ?1");
        std::int64_t gone = 0;
        for (const std::int64_t id : documents) {
            units.Bind(1, id).Run();
            keys.Bind(1, id).Run();
            chunks.Bind(1, id).Run();
            gone += m_database.Changes();
            document.Bind(1, id).Run();
        }
        SetCounter(m_database, "chunks removed", Counter(m_database, "chunks removed") + gone);
        transaction.Commit();
    }

    void Tidy() override {
        // Built again once as many of its texts are of removed chunks as of kept ones.
        const std::int64_t removed = Counter(m_database, "chunks removed");
        if (removed < 1024 || 2 * removed < Counter(m_database, "texts"))
            return;
        Transaction transaction(m_database, "BEGIN IMMEDIATE");
        m_database.Execute("DROP TABLE chunk_text");
        m_database.Execute(kTextIndex);
        SqliteStatement chunks = m_database.Prepare("SELECT id, units FROM chunk_units");
        SqliteStatement text =
            m_database.Prepare("INSERT INTO chunk_text (rowid, text) VALUES (?1, ?2)");
        std::int64_t texts = 0;
        for (; chunks.Step(); ++texts)
            text.Bind(1, chunks.Int(0)).BindText(2, ChunkText(chunks.Blob(1))).Run();
        SetCounter(m_database, "chunks removed", 0);
        SetCounter(m_database, "texts", texts);
        transaction.Commit();
    }

private:
    // Whether the document is still as the look knew it (asked inside the reading's
    // transaction, so it stays so while the reading lasts).
    bool AtGeneration(const IndexedDocument& document) {
        SqliteStatement generation =
            m_database.Prepare("SELECT generation FROM document WHERE id = ?1");
        generation.Bind(1, document.id);
        return generation.Step() && generation.Int(0) == document.generation;
    }

    std::int64_t Version() {
        SqliteStatement version = m_database.Prepare("PRAGMA user_version");
        return version.Step() ? version.Int(0) : 0;
    }

    void MakeTables() {
        Transaction transaction(m_database, "BEGIN IMMEDIATE");
        const std::int64_t version = Version();
        if (version == kSchemaVersion)
            return; // another process has just made them
        SqliteStatement tables = m_database.Prepare("SELECT count(*) FROM sqlite_master");
        if (version != 0 || !tables.Step() || tables.Int(0) != 0)
            throw CatalogueError(CatalogueError::Kind::Damaged, "the index is of another version");
        tables.Reset();
        m_database.Execute(kSchema);
        m_database.Execute(kTextIndex);
        for (const char* setting : kTextIndexSettings)
            m_database.Execute(setting);
        m_database.Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        m_database.Execute(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
        transaction.Commit();
    }

    // The text index's query: each term quoted (a quote inside doubled), all of them required.
    static std::string TextQuery(const std::vector<std::string>& texts) {
        std::string query;
        for (const std::string& text : texts) {
            if (!query.empty())
                query += " AND ";
            query += '"';
            for (const char c : text)
                query.append(c == '"' ? 2 : 1, c);
            query += '"';
        }
        return query;
    }

    SqliteDatabase m_database;
};

} // namespace

std::unique_ptr<CatalogueStore> OpenSqliteCatalogue(const std::string& file) {
    try {
        return std::make_unique<SqliteCatalogue>(file);
    } catch (const CatalogueError& error) {
        if (error.WhatKind() != CatalogueError::Kind::Damaged)
            throw;
    }
    RemoveSqliteCatalogue(file);
    return std::make_unique<SqliteCatalogue>(file);
}

void RemoveSqliteCatalogue(const std::string& file) {
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((file + suffix).c_str());
}

} // namespace dirscribe
