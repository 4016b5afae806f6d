// SPDX-License-Identifier: MIT
// The profile fuzzer's seeds are read on every test run.
#include "core/options/Profile.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(ProfileSeeds, EachRoundTripsThroughSaving) {
    const std::filesystem::path folder = std::filesystem::path(DIRSCRIBE_FUZZ_CORPUS) / "profile";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        IniFile profile = IniFile::Parse(test::ReadFile(entry.path().string()));
        const ListingOptions options = LoadOptions(profile);
        SaveOptions(options, profile);
        EXPECT_EQ(LoadOptions(IniFile::Parse(profile.Text())), options);
        ++seeds;
    }
    EXPECT_GE(seeds, 3);
}

} // namespace
} // namespace dirscribe
