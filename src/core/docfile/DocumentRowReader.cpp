// SPDX-License-Identifier: MIT
#include "core/docfile/DocumentRowReader.h"

#include "core/format/Utf8.h"

namespace dirscribe {

namespace {

CheckedDocument Checked(const ByteSource& source) {
    ArchiveReader reader(source);
    return CheckDocument(reader);
}

} // namespace

DocumentRowReader::DocumentRowReader(const ByteSource& source)
    : m_document(Checked(source)), m_rows(source, m_document.rowsOffset) {
    if (m_document.blockOffset == 0)
        return;
    m_blockBytes.emplace(source, m_document.blockOffset);
    m_block.emplace(*m_blockBytes);
    (void)m_block->ReadHead(m_document.rowCount);
}

bool DocumentRowReader::Next(DocumentRow& row) {
    if (m_next >= m_document.rowCount)
        return false;
    // The file was checked whole: each string is there.
    for (std::size_t c = 0; c < m_cells.size(); ++c) {
        const std::string_view cell = m_rows.ReadString("a row");
        if (m_document.utf8)
            m_cells[c].assign(cell);
        else
            m_cells[c] = Windows1252ToUtf8(cell);
        row.cells[c] = m_cells[c];
    }
    if (m_block) {
        m_block->ReadRow(m_next, row.block);
    } else {
        row.block = BlockRow{};
        row.block.kind = InferredKind(row.cells[0], row.block.gone);
    }
    ++m_next;
    return true;
}

} // namespace dirscribe
