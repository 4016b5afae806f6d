// SPDX-License-Identifier: MIT
// File Data of PDF documents through poppler: title, author, pages, page size, producer.
#pragma once

#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"

#include <string>

namespace dirscribe {

// The title, author, page count, first page's size and producer of the PDF at path
// (whose bytes are file). Summary "PDF:"; nothing unless the file's first kilobyte holds
// the PDF header, as every PDF reader asks, or when poppler cannot open it.
FileData ReadPdfFileData(const ByteSource& file, const std::string& path);

} // namespace dirscribe
