// SPDX-License-Identifier: MIT
// Rows of documents that do not record their kinds are read by their FileName text.
#include "core/table/RowKind.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(RowKind, OldDocumentsRowsAreReadByTheirName) {
    const std::pair<const char*, RowKind> cases[] = {
        {"comments:", RowKind::Continuation},
        {"comments: ", RowKind::Entry},
        {"Comments:", RowKind::Entry},
        {"  *** FileVersion", RowKind::Details},
        {"**Title:", RowKind::Details},
        {" ** x", RowKind::Entry},
        {"", RowKind::Free},
        {"[Docs]", RowKind::Entry},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(InferredRowKind(name), kind) << name;
}

} // namespace
} // namespace dirscribe
