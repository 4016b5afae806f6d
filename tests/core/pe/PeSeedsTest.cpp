// SPDX-License-Identifier: MIT
// Every seed of the program version fuzzer is read again on each test run.
#include "core/pe/VersionInfo.h"
#include "core/table/FileDetails.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(PeSeeds, ValidOnesGiveVersionRowsAndInvalidOnesTheNoDataText) {
    const std::filesystem::path folder = std::filesystem::path(DIRSCRIBE_FUZZ_CORPUS) / "pe";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        const std::string name = entry.path().filename().string();
        if (name.starts_with("block-")) {
            // A bare version block, for the fuzzer's block parser.
            const auto info = VersionInfo::Parse(test::ReadFile(entry.path().string()));
            ASSERT_TRUE(info);
            EXPECT_TRUE(info->QueryString("\\StringFileInfo\\040904B0\\CompanyName") ||
                        info->QueryString("\\StringFileInfo\\040904E4\\CompanyName"));
            ++seeds;
            continue;
        }
        const FileDetails details = ReadFileDetails(entry.path().string(), "lib.dll", 0x0409);
        if (name.starts_with("valid-")) {
            EXPECT_EQ(details.comment, "File's data:");
            ASSERT_FALSE(details.rows.empty());
            EXPECT_EQ(details.rows[0].first, "  ***Company Name");
        } else if (name.starts_with("invalid-")) {
            EXPECT_EQ(details, (FileDetails{".dll extention file. No data.", {}}));
        }
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}

} // namespace
} // namespace dirscribe
