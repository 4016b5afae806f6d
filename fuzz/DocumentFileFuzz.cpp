// SPDX-License-Identifier: MIT
// Fuzzes the document reader: any bytes are read or refused, and what is read survives a rewrite.
#include "core/Error.h"
#include "core/docfile/DocumentFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace dirscribe;

std::string Rewrite(const DocumentContents& contents) {
    ListingOptions options;
    contents.settings.ApplyTo(options);
    // Five columns, so every string of every row is kept.
    ListingTable table;
    table.SetColumns(
        {{kFileNameTitle}, {kCommentsTitle}, {kSizeTitle}, {kAttrTitle}, {kLastModifiedTitle}});
    table.AdoptRows(contents.rows);
    table.SetEntries(contents.entries);
    return WriteDocumentFile(contents.summary, contents.folderPath, options, table, contents.shape);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DocumentContents contents;
    try {
        contents = ReadDocumentFile(bytes);
    } catch (const Error&) {
        return 0; // a refusal is a fine answer to bad bytes
    }
    // Anything read must be whole: written again, it reads back the same, and the
    // rewritten file is in its one canonical form.
    const std::string again = Rewrite(contents);
    const DocumentContents reread = ReadDocumentFile(again);
    if (!(reread == contents))
        std::abort();
    if (Rewrite(reread) != again)
        std::abort();
    return 0;
}
