// SPDX-License-Identifier: MIT
// The one exception type of the core; the command layer turns it into a notice.
#pragma once

#include <stdexcept>
#include <string>

namespace dirscribe {

// Raised by core operations that cannot complete (a file that cannot be written,
// a document file that is not well formed). what() is the text shown to the user.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace dirscribe
