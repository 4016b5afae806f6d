// SPDX-License-Identifier: MIT
// Every seed of the document reader's fuzzer is read again on each test run.
#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

TEST(DocumentFileSeeds, EachIsReadOrRefusedCleanly) {
    const std::filesystem::path folder = std::filesystem::path(DIRSCRIBE_FUZZ_CORPUS) / "docfile";
    int read = 0;
    int refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = test::ReadFile(entry.path().string());
        // Seeds are named for what they are; inputs added later may be either.
        const std::string name = entry.path().filename().string();
        const bool mustRead = name.starts_with("valid-");
        const bool mustRefuse = name.starts_with("invalid-");
        try {
            const DocumentContents contents = ReadDocumentFile(bytes);
            // What was read is complete: writing it again gives a file that reads the same.
            ListingOptions options;
            contents.settings.ApplyTo(options);
            ListingTable table;
            table.SetColumns({{"1"}, {"2"}, {"3"}, {"4"}, {"5"}});
            table.AdoptRows(contents.rows);
            EXPECT_EQ(ReadDocumentFile(
                          WriteDocumentFile(contents.summary, contents.folderPath, options, table)),
                      contents);
            EXPECT_FALSE(mustRefuse);
            ++read;
        } catch (const Error& error) {
            EXPECT_FALSE(mustRead) << error.what();
            ++refused;
        }
    }
    // The corpus holds both kinds; an empty or missing folder would test nothing.
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace dirscribe
