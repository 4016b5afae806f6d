// SPDX-License-Identifier: MIT
// Why the catalogue's index could not be used.
#pragma once

#include "core/Error.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// Raised by the index; the search goes on without it. what() says why, for the user.
class CatalogueError : public Error {
public:
    enum class Kind : std::uint8_t {
        Unwritable, // the cache folder or its file cannot be made or written (read-only, full)
        Damaged,    // the file is not an index of this program, or is broken
        Busy,       // another search held it longer than it waits
    };
    CatalogueError(Kind kind, const std::string& message) : Error(message), m_kind(kind) {}
    [[nodiscard]] Kind WhatKind() const { return m_kind; }

private:
    Kind m_kind;
};

} // namespace dirscribe
