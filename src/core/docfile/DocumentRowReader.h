// SPDX-License-Identifier: MIT
// A document file read one row at a time, for readers that need not hold it.
#pragma once

#include "core/docfile/ArchiveReader.h"
#include "core/docfile/DocumentBlock.h"
#include "core/docfile/DocumentCheck.h"
#include "core/platform/ByteSource.h"
#include "core/table/RowStore.h"

#include <array>
#include <optional>
#include <string>

namespace dirscribe {

// One row of a document as it is read.
struct DocumentRow {
    CellTexts cells; // valid until the next row is read; UTF-8
    // The kind and gone mark of every row; an entry's facts where the block knows them
    // (entry.name its raw name). For a document without the block, read from its texts.
    BlockRow block;
};

// Checks the whole document first, as opening it does, then hands out its rows in order
// with what its extension block records of each, reading the rows and the block side by
// side: the memory it takes does not grow with the document (a string longer than 64 KiB
// aside, which it holds while it is read). The source must outlive the reader.
class DocumentRowReader {
public:
    // Throws Error with the reason (see CheckDocument) when the document is not well formed.
    explicit DocumentRowReader(const ByteSource& source);

    [[nodiscard]] const CheckedDocument& Document() const { return m_document; }
    // The next row; false after the last one.
    bool Next(DocumentRow& row);
    // The path of raw names of the known entry read last (see BlockReader::Path); empty
    // for a document without the block.
    [[nodiscard]] const NamePath& Path() const {
        static const NamePath none;
        return m_block ? m_block->Path() : none;
    }
    // How many of Path()'s names are those of the known entry's before it.
    [[nodiscard]] std::size_t PathKept() const { return m_block ? m_block->Kept() : 0; }

private:
    CheckedDocument m_document;
    ArchiveReader m_rows;
    std::optional<ArchiveReader> m_blockBytes;
    std::optional<BlockReader> m_block;
    std::int32_t m_next = 0;
    std::array<std::string, kMaxColumns> m_cells;
};

} // namespace dirscribe
