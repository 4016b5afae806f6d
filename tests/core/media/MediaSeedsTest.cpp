// SPDX-License-Identifier: MIT
// Every seed of the MP3 tag fuzzer is read again on each test run.
#include "core/format/Utf8.h"
#include "core/media/MediaTagReader.h"
#include "core/platform/FileByteSource.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(MediaSeeds, EachGivesTheSummaryItsNameNames) {
    const std::filesystem::path folder = std::filesystem::path(DIRSCRIBE_FUZZ_CORPUS) / "media";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        const FileByteSource file(entry.path().string());
        ASSERT_TRUE(file.IsOpen());
        std::vector<std::string> labels;
        std::vector<std::string> values;
        MediaTagReader::ReadTags(file, labels, values);
        ASSERT_EQ(labels.size(), values.size());
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels[0], " ");
        for (const std::string& value : values)
            EXPECT_TRUE(IsValidUtf8(value)) << value;
        // Seeds are named for the tags they hold; inputs added later may hold anything.
        const std::string name = entry.path().filename().string();
        if (name.starts_with("id3v1-")) {
            EXPECT_EQ(values[0], "Id3v1 Tag:");
        } else if (name.starts_with("id3v2-")) {
            EXPECT_EQ(values[0], "Id3v2 Tag:");
        } else if (name.starts_with("both-")) {
            EXPECT_TRUE(values[0].starts_with("There're Id3v1 & Id3v2.")) << values[0];
        } else if (name.starts_with("none-")) {
            EXPECT_EQ(values[0], "There isn't any Tag.");
        }
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}

} // namespace
} // namespace dirscribe
