// SPDX-License-Identifier: MIT
// The catalogue's index in an SQLite file, searched through a text index of trigrams.
#pragma once

#include "core/catalogue/CatalogueStore.h"

#include <memory>
#include <string>

namespace dirscribe {

// Opens the index in `file`, making it when missing; a file that is no index of this
// program, is damaged or is of another version is removed and made again. Writes go
// through a write-ahead log and wait up to a few seconds for another process's, so a
// window and a command line may search at once. Throws CatalogueError when the file cannot
// be opened or made (a read-only or full folder).
std::unique_ptr<CatalogueStore> OpenSqliteCatalogue(const std::string& file);

// Removes the index in `file` and its journal files.
void RemoveSqliteCatalogue(const std::string& file);

} // namespace dirscribe
