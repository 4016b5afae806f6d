// SPDX-License-Identifier: MIT
// Fuzzes the document reader: any bytes are read or refused, what is read survives a rewrite,
// and the reader that goes row by row agrees with the one that reads the file whole.
#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "core/docfile/DocumentRowReader.h"
#include "core/platform/MemoryByteSource.h"
#include "core/table/TablePopulation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace dirscribe;

std::string Rewrite(const DocumentContents& contents) {
    ListingOptions options;
    contents.settings.ApplyTo(options);
    // Five columns, so every string of every row is kept.
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size), ListingColumn(ColumnKind::Attributes),
                      ListingColumn(ColumnKind::Date)});
    table.AdoptRows(contents.rows);
    table.SetEntries(contents.entries);
    return WriteDocumentFile(contents.summary, contents.folderPath, options, table, contents.shape,
                             contents.volume);
}

// The rows one at a time, as search reads them; nothing when the reader refuses the bytes.
bool SameRowByRow(std::string_view bytes, const std::optional<DocumentContents>& contents) {
    const MemoryByteSource source(bytes);
    try {
        DocumentRowReader reader(source);
        if (!contents || reader.Document().shape != contents->shape ||
            reader.Document().volume != contents->volume)
            return false;
        DocumentRow row;
        int index = 0;
        for (; reader.Next(row); ++index) {
            if (row.block.kind != contents->rows.Kind(index) ||
                row.block.gone != contents->rows.Gone(index))
                return false;
            for (int c = 0; c < 5; ++c)
                if (row.cells[static_cast<std::size_t>(c)] != contents->rows.Cell(index, c))
                    return false;
        }
        return index == contents->rows.Size();
    } catch (const Error&) {
        return !contents;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<DocumentContents> contents;
    try {
        contents = ReadDocumentFile(bytes);
    } catch (const Error&) {
        // a refusal is a fine answer to bad bytes
    }
    if (!SameRowByRow(bytes, contents))
        std::abort();
    if (!contents)
        return 0;
    // Anything read must be whole: written again, it reads back the same, and the
    // rewritten file is in its one canonical form.
    const std::string again = Rewrite(*contents);
    const DocumentContents reread = ReadDocumentFile(again);
    if (!(reread == *contents))
        std::abort();
    if (Rewrite(reread) != again)
        std::abort();
    return 0;
}
