// SPDX-License-Identifier: MIT
#include "core/listing/FolderWalk.h"

#include "support/ChildProcess.h"
#include "support/SmallTree.h"
#include "support/TempTree.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace dirscribe {
namespace {

using test::TempTree;

// Counts the entries the walk says it has read.
class CountingProgress final : public Progress {
public:
    void Begin() override {}
    void SetRange(std::int64_t) override {}
    void Step() override { ++steps; }
    void Advance(std::int64_t count) override { steps += count; }
    void SetMessage(std::string_view) override {}
    void End() override {}
    std::int64_t steps = 0;
};

// One line per kept entry of folder: raw name, size and attribute bits in hex.
std::string Kept(FolderWalk& walk, const FolderRead& folder) {
    std::ostringstream out;
    for (std::size_t i = folder.first; i < folder.first + folder.count; ++i)
        out << walk.Entries().Name(i) << '|' << walk.Entries().Bytes(i) << '|' << std::hex
            << walk.Entries().Attributes(i) << std::dec << '\n';
    return out.str();
}

// The result of the subfolder `name` of the listed folder, kept at depth 0 and more.
const FolderRead* Subfolder(FolderWalk& walk, std::string_view name) {
    for (std::size_t i = 0; i < walk.Top().count; ++i)
        if (walk.Entries().Name(walk.Top().first + i) == name)
            return walk.Top().FolderAt(i);
    return nullptr;
}

class FolderWalkTest : public ::testing::Test {
protected:
    void SetUp() override { test::FillSmallTree(tree); }

    TempTree tree;
    CountingProgress progress;
    StopFlag stop;
};

// Each entry is counted once, so no folder was read twice, whatever the depth kept.
TEST_F(FolderWalkTest, EveryFolderIsReadOnceWhateverTheDepthAndContent) {
    struct Case {
        ListingContent content;
        int depthBelow;
        std::size_t kept;
    };
    for (const Case& c :
         {Case{ListingContent::FilesAndFolders, 0, 4}, Case{ListingContent::FilesAndFolders, 1, 6},
          Case{ListingContent::FilesAndFolders, -1, 7}, Case{ListingContent::FoldersOnly, -1, 3},
          Case{ListingContent::FilesOnly, -1, 2}}) {
        progress.steps = 0;
        FolderWalk walk(progress, stop);
        ASSERT_EQ(walk.Walk(tree.Root(), c.content, c.depthBelow), FolderWalk::Outcome::Read);
        EXPECT_EQ(walk.Top().summary, (ListingSummary{113, 4, 3})) << c.depthBelow;
        EXPECT_EQ(progress.steps, 7) << c.depthBelow;
        EXPECT_EQ(walk.Entries().Size(), c.kept) << c.depthBelow;
    }
    stop.Request();
    EXPECT_EQ(FolderWalk(progress, stop).Walk(tree.Root(), ListingContent::FilesAndFolders, -1),
              FolderWalk::Outcome::Stopped);
}

// A chain deeper than the descriptors allowed: the walk climbs back through "..", or fails
// naming the folder when not even a folder and its child can be open.
TEST_F(FolderWalkTest, TotalsAreRightWithinAnyDescriptorLimitOrTheWalkFails) {
    std::string chain = "chain";
    for (int level = 0; level < 40; ++level)
        tree.File((chain += "/d") + "/f", "z");
    const auto result = test::RunInChild([&] {
        // Descriptors 0 to `used` open (the holes below the highest filled): a limit of
        // `used` + 1 + spare leaves exactly spare free. The sanitizers need a few of their own
        // outside the walk.
        int highest = 0;
        for (int fd = 0; fd < 4096; ++fd)
            highest = ::fcntl(fd, F_GETFD) != -1 ? fd : highest;
        int used = 0;
        while ((used = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) < highest) {
        }
        std::ostringstream out;
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit wide = limit;
        for (const rlim_t spare : {64, 3, 1}) {
            limit.rlim_cur = static_cast<rlim_t>(used + 1) + spare;
            ::setrlimit(RLIMIT_NOFILE, &limit);
            FolderWalk walk(progress, stop);
            const auto outcome = walk.Walk(tree.Path("chain"), ListingContent::FilesAndFolders, -1);
            ::setrlimit(RLIMIT_NOFILE, &wide);
            out << static_cast<int>(outcome) << ' ' << walk.Top().summary.totalBytes << ' '
                << walk.Top().summary.folderCount << ' ' << walk.Entries().Size() << ' '
                << walk.Failure().substr(walk.Failure().rfind('(') + 1) << '\n';
        }
        return out.str();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, "0 40 40 80 \n0 40 40 80 \n3 0 1 1 Too many open files)\n");
}

// Names in one order on every file system: upper-cased bytes ('[' 0x5B and '_' 0x5F after
// 'Z'), raw bytes breaking ties.
TEST_F(FolderWalkTest, OddEntriesAreKeptInTheListingOrderNeverFollowed) {
    TempTree odd;
    for (const char* name : {"b", "B2", "a", "A", "_u", "Z", "[x", "\xC3\xA9"})
        odd.File(name);
    odd.SizedFile("sparse", 5ull << 30);
    odd.Symlink("loop", ".");
    odd.Symlink("dangling", "nowhere/at/all");
    odd.File(std::string("bad\xFF\xFE"), "12345");
    odd.File(".hidden");
    odd.File("readonly");
    odd.Chmod("readonly", 0444);
    odd.Folder("sub");
    odd.Symlink("sub/up", "..");
    odd.SetModified("sparse", 1040220309);
    FolderWalk walk(progress, stop);
    ASSERT_EQ(walk.Walk(odd.Root(), ListingContent::FilesAndFolders, -1),
              FolderWalk::Outcome::Read);
    EXPECT_EQ(Kept(walk, walk.Top()),
              "sub|0|10\n.hidden|0|22\nA|0|20\na|0|20\nb|0|20\nB2|0|20\nbad\xFF\xFE|5|20\n"
              "dangling|14|400\nloop|1|400\nreadonly|0|21\nsparse|5368709120|20\nZ|0|20\n"
              "[x|0|20\n_u|0|20\n\xC3\xA9|0|20\n");
    EXPECT_EQ(walk.Entries().Modified(10), 126'846'939'090'000'000u);
    EXPECT_EQ(walk.Top().summary, (ListingSummary{5368709120ull + 5 + 14 + 1 + 2, 15, 1}));
}

TEST_F(FolderWalkTest, OtherFileSystemsAreCountedNotEntered) {
    if (!tree.MountTmpfs("mnt"))
        GTEST_SKIP() << "cannot mount a file system here";
    tree.File("mnt/big", std::string(1000, 'b'));
    FolderWalk walk(progress, stop);
    ASSERT_EQ(walk.Walk(tree.Root(), ListingContent::FilesAndFolders, -1),
              FolderWalk::Outcome::Read);
    EXPECT_EQ(walk.Top().summary, (ListingSummary{113, 4, 4}));
    const FolderRead* mnt = Subfolder(walk, "mnt");
    ASSERT_NE(mnt, nullptr);
    EXPECT_TRUE(mnt->otherDevice);
    EXPECT_EQ(mnt->summary, ListingSummary{});
}

// As the unprivileged user, "locked" cannot be opened: counted, its reason kept, the walk
// goes on.
TEST_F(FolderWalkTest, UnreadableSubfoldersAreCountedAndTheWalkGoesOn) {
    tree.File("locked/inside", "12345");
    tree.Chmod("", 0755);
    tree.Chmod("locked", 0);
    const auto result = test::RunUnprivileged([&] {
        FolderWalk walk(progress, stop);
        const auto outcome = walk.Walk(tree.Root(), ListingContent::FilesAndFolders, -1);
        const FolderRead* locked = Subfolder(walk, "locked");
        std::ostringstream out;
        out << static_cast<int>(outcome) << ' ' << walk.Top().summary.totalBytes << ' '
            << walk.Top().summary.folderCount << ' ' << walk.Entries().Size() << ' '
            << (locked != nullptr && !locked->readable && locked->openError == EACCES);
        return out.str();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, "0 113 4 8 1");
}

TEST_F(FolderWalkTest, ReadsAFolderOfAHundredThousandEntries) {
    tree.Folder("w");
    for (int i = 0; i < 100000; ++i) {
        const std::string path = tree.Path("w/f" + std::to_string(i));
        ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    }
    FolderWalk walk(progress, stop);
    ASSERT_EQ(walk.Walk(tree.Path("w"), ListingContent::FilesOnly, 0), FolderWalk::Outcome::Read);
    ASSERT_EQ(walk.Entries().Size(), 100000u);
    EXPECT_EQ(walk.Entries().Name(2), "f10");
}

} // namespace
} // namespace dirscribe
