// SPDX-License-Identifier: MIT
// A catalogue: the saved listings in some folders, looked through with an index that is a
// cache of them. The documents stay the truth.
#pragma once

#include "core/catalogue/CatalogueStore.h"
#include "core/catalogue/ChunkCodec.h"
#include "core/catalogue/IndexReadAhead.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"
#include "core/search/SearchGroup.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// Where the index is kept: $XDG_CACHE_HOME/Dirscribe/catalogue.sqlite, where
// XDG_CACHE_HOME is an absolute path, else ~/.cache/Dirscribe/catalogue.sqlite; never
// beside the user's documents. Throws Error when there is no home folder.
std::string CatalogueIndexFile();

// What a look through a catalogue tells its caller: document by document in the order
// FindDocuments gives them, and each document's groups in row order.
class CatalogueVisitor {
public:
    virtual ~CatalogueVisitor() = default;
    // A document is to be looked at: what it records besides its rows (its entries are
    // counted by End). False: its groups are not wanted.
    virtual bool Begin(const std::string& path, const IndexedDocument& document) = 0;
    virtual void Group(const SearchGroup& group) = 0;
    // In place of its groups, when the look asks for copy keys and the index holds them: the
    // keys of the files a copy can be of (EncodedChunk::copyKeys), some at a time, in row
    // order.
    virtual void CopyKeys(std::string_view /*keys*/) {}
    // Its groups are over (wanted or not); document is whole. Not called for a document
    // that could not be read, nor after a stop request.
    virtual void End(const std::string& /*path*/, const IndexedDocument& /*document*/) {}
};

// How a look goes.
struct CatalogueLook {
    // Which chunks may hold what is wanted; the others' groups may be left out (they are
    // handed over all the same when a document is read rather than taken from the index).
    ChunkQuery chunks;
    // What the groups taken from the index carry besides rows, names and facts: their
    // entries' paths only when asked for.
    ChunkParts parts{.paths = false};
    bool copyKeys = false; // documents the index holds hand over copy keys, not groups
    // Which groups the visitor can want, when it knows: then the index answers for the
    // documents it holds ahead of the look, while the look reads the others from their files,
    // and hands over only the groups it passes.
    GroupSieve sieve;
    bool useIndex = true; // false: every document is read, and the index not touched
};

// Looks through every document FindDocuments finds in paths. A document the index holds
// as it is now (its size, times and inode) is taken from the index; any other is read row
// by row and written into the index for the next look; documents the index holds that are
// gone from a folder looked through are forgotten. An index that is missing is made, one
// that is damaged or of another version is made again; an index that cannot be made, read
// or written (a read-only or full cache folder, another search writing to it too long) is
// done without: the documents are read, and `remarks` is told once why. A document or a
// folder that cannot be read is named through `problems` and skipped. One progress step a
// document; a stop request, polled per folder, document and group, ends the look early.
void LookThroughCatalogue(const std::vector<std::string>& paths, const CatalogueLook& look,
                          CatalogueVisitor& visitor, Notice& problems, Notice& remarks,
                          Progress& progress, const StopFlag* stop = nullptr);

} // namespace dirscribe
