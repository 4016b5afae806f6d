// SPDX-License-Identifier: MIT
#include "core/listing/PathCheck.h"

#include "support/RecordingNotice.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::RecordingNotice;

struct Checked {
    bool passed;
    std::string path;
    std::string caption;
    std::string message;
};

Checked Check(std::string path) {
    RecordingNotice notice;
    const bool passed = ValidatePath(path, notice);
    EXPECT_LE(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown.empty(), passed) << "a refusal always says why, a pass never does";
    if (notice.shown.empty())
        return {passed, path, "", ""};
    return {passed, path, notice.shown[0].caption, notice.shown[0].text};
}

TEST(ValidatePath, NormalizesBlanksAndTrailingSlashes) {
    EXPECT_EQ(Check("  /home/user/Music/  ").path, "/home/user/Music");
    EXPECT_EQ(Check("/data///").path, "/data");
    EXPECT_EQ(Check("/").path, "/");
    EXPECT_EQ(Check("///").path, "/");
    EXPECT_EQ(Check("\t relative/dir \n").path, "relative/dir");
    // Backslashes, colons and non-ASCII bytes are ordinary characters of a Linux name.
    EXPECT_EQ(Check("/mnt/c:\\Windows").path, "/mnt/c:\\Windows");
    EXPECT_EQ(Check("/srv/caf\xC3\xA9/\xFF").path, "/srv/caf\xC3\xA9/\xFF");
    EXPECT_EQ(Check("C").path, "C") << "no drive letters on Linux";
    EXPECT_EQ(Check("/tmp/What? <*> |\"x\"").path, "/tmp/What? <*> |\"x\"");
    EXPECT_TRUE(Check(std::string(4095, 'a')).passed);
}

TEST(ValidatePath, RefusesWithTheSystemsMessages) {
    for (const char* empty : {"", "   ", " \t\r\n "}) {
        const Checked c = Check(empty);
        EXPECT_FALSE(c.passed);
        EXPECT_EQ(c.caption, "Dirscribe: Error");
        EXPECT_EQ(c.message, "Please enter Folder name and Path\r\n or select it from the tree.");
    }
    for (const std::string& bad : {std::string("/tmp/a\nb"), std::string("/tmp/\x01"),
                                   std::string(4096, 'a'), std::string("/a\0b", 4)}) {
        const Checked c = Check(bad);
        EXPECT_FALSE(c.passed);
        EXPECT_EQ(c.caption, "Dirscribe: Error");
        EXPECT_EQ(c.message, "Please check Folder name and Path");
    }
}

TEST(AbsolutePath, ReadsARelativePathAgainstTheBaseWithoutResolvingLinks) {
    const std::pair<const char*, const char*> cases[] = {{"./a/./b//c", "/home/a/b/c"},
                                                         {".", "/home"},
                                                         {"link/..", "/home/link/.."},
                                                         {"/srv/./x", "/srv/x"},
                                                         {"/", "/"}};
    for (const auto& [path, absolute] : cases)
        EXPECT_EQ(AbsolutePath(path, "/home"), absolute) << path;
    EXPECT_EQ(AbsolutePath("x", ""), "x") << "no current folder: left as it is";
}

} // namespace
} // namespace dirscribe
