// SPDX-License-Identifier: MIT
// Whole files read into memory, and the clear refusals when that cannot be done.
#include "core/platform/FileReader.h"

#include "core/Error.h"
#include "support/ChildProcess.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {
namespace {

std::string AsString(const std::vector<char, HugePageAllocator<char>>& bytes) {
    return {bytes.begin(), bytes.end()};
}

using namespace std::string_literals;

std::string RefusalOf(const std::string& path, std::uint64_t maximumBytes) {
    try {
        (void)ReadWholeFile(path, maximumBytes);
    } catch (const Error& error) {
        return error.what();
    }
    return "(read without complaint)";
}

TEST(FileReader, ReadsEveryByteUpToTheLimit) {
    test::TempTree tree;
    std::string large(200000, 'x');
    large.back() = '\0';
    tree.File("large", large);
    EXPECT_EQ(AsString(ReadWholeFile(tree.Path("large"), 200000)), large);
    EXPECT_EQ(RefusalOf(tree.Path("large"), 199999),
              "Cannot read \"" + tree.Path("large") + "\": it is larger than 199999 bytes.");
}

TEST(FileReader, RefusalsNameTheFileAndTheReason) {
    test::TempTree tree;
    tree.Folder("music");
    EXPECT_EQ(RefusalOf(tree.Path("music"), 100),
              "Cannot read \"" + tree.Path("music") + "\": it is a folder.");
    EXPECT_EQ(RefusalOf(tree.Path("gone.dsc"), 100),
              "Cannot read \"" + tree.Path("gone.dsc") + "\": there is no such file.");
    tree.File("plain");
    EXPECT_EQ(RefusalOf(tree.Path("plain/x.dsc"), 100),
              "Cannot read \"" + tree.Path("plain/x.dsc") +
                  "\": a part of its path is not a folder.");

    // A FIFO would block a reader that waits for a writer; it is refused at once.
    ASSERT_EQ(::mkfifo(tree.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(RefusalOf(tree.Path("pipe"), 100),
              "Cannot read \"" + tree.Path("pipe") + "\": it is not an ordinary file.");

    // Sparse: the size is refused before a byte of it is allocated.
    tree.SizedFile("huge", (std::uint64_t{1} << 30) + 1);
    EXPECT_EQ(RefusalOf(tree.Path("huge"), std::uint64_t{1} << 30),
              "Cannot read \"" + tree.Path("huge") + "\": it is larger than 1 GiB.");
    EXPECT_EQ(RefusalOf(tree.Path("huge"), std::uint64_t{64} << 20),
              "Cannot read \"" + tree.Path("huge") + "\": it is larger than 64 MiB.");
}

TEST(FileReader, UnreadableFileIsRefused) {
    test::TempTree tree;
    tree.File("secret.dsc", "x");
    tree.Chmod("", 0755);
    tree.Chmod("secret.dsc", 0);
    EXPECT_EQ(test::RunUnprivileged([&] { return RefusalOf(tree.Path("secret.dsc"), 100); }),
              "Cannot read \"" + tree.Path("secret.dsc") + "\": permission denied.");
}

} // namespace
} // namespace dirscribe
