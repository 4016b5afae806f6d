// SPDX-License-Identifier: MIT
// Memory running out while a folder is read or the table filled: the listing that was there
// stays and the user is told, in the core and on the command line.
#include "cli/CommandLine.h"
#include "core/ops/ListingSession.h"
#include "core/platform/TaskPool.h"
#include "memory/AllocationLimit.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <atomic>
#include <gtest/gtest.h>
#include <new>
#include <optional>

namespace dirscribe {
namespace {

constexpr std::size_t kAllowance = 64 * 1024;
// Less than the 12 bytes a row of the big folder's 2040 rows take.
constexpr std::size_t kFillAllowance = 8 * 1024;

class OutOfMemory : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("small/one.txt", "1");
        for (int i = 0; i < 2000; ++i)
            tree.File("big/sub" + std::to_string(i % 40) + "/file" + std::to_string(i));
        session.Options().printAs = PageLayout::Standard;
        session.Options().lastDepth = -1;
        ASSERT_TRUE(session.ReadFolder(tree.Path("small"), notice, progress, stop));
    }

    test::TempTree tree;
    ListingSession session;
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

TEST_F(OutOfMemory, AReadOrAFillingThatRunsOutSaysSoAndLeavesTheListing) {
    const RowRecord shown = session.Listing().table.Row(0);
    {
        const test::AllocationLimit limit(kAllowance);
        EXPECT_FALSE(session.ReadFolder(tree.Path("big"), notice, progress, stop));
    }
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown[0].text, " There are not enough memory! ");
    ASSERT_EQ(session.Listing().table.RowCount(), 1);
    EXPECT_EQ(session.Listing().table.Row(0), shown);

    EXPECT_EQ(session.Listing().path, tree.Path("small")) << "the path of the listing on show";
    std::optional<FolderScan> read =
        ScanFolder(tree.Path("big"), session.Options(), notice, progress, stop);
    ASSERT_TRUE(read);
    {
        const test::AllocationLimit limit(kFillAllowance);
        EXPECT_THROW(session.ShowRead(std::move(*read), progress), std::bad_alloc);
    }
    ASSERT_EQ(session.Listing().table.RowCount(), 1)
        << "a filling that failed leaves the old table";
    EXPECT_EQ(session.Listing().table.Row(0), shown);
    EXPECT_EQ(session.Listing().path, tree.Path("small"));
    read = ScanFolder(tree.Path("big"), session.Options(), notice, progress, stop);
    ASSERT_TRUE(read);
    session.ShowRead(std::move(*read), progress);
    EXPECT_EQ(session.Listing().table.RowCount(), 2040) << "and the entries that were read";
}

TEST_F(OutOfMemory, TheCommandLineSaysSoAndEndsWithStatusOne) {
    tree.File("none.ini");
    std::vector<std::string> words = {
        "dirscribe", "list",     tree.Path("big"), "--profile", tree.Path("none.ini"),
        "--layout",  "standard", "--depth",        "all"};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = 0;
    {
        const test::AllocationLimit limit(kAllowance);
        status = RunCommandLine(static_cast<int>(argv.size()), argv.data());
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, " There are not enough memory! \n");
}

// Whatever allocation fails while a pool starts its helpers, it works with those it has
// (it used to end the program, with a helper's thread left unjoined).
TEST(OutOfMemoryPool, APoolThatCannotStartEveryHelperWorksWithFewer) {
    for (std::size_t allowance = 0; allowance < 4096; allowance += 64) {
        std::optional<TaskPool> pool;
        try {
            const test::AllocationLimit limit(allowance);
            pool.emplace(4);
        } catch (const std::bad_alloc&) {
            continue; // no room for the pool itself: the caller is told
        }
        std::atomic<int> done = 0;
        TaskPool::Group group;
        for (int task = 0; task < 8; ++task)
            if (!pool->TryPost(group, [&done] { ++done; }))
                ++done;
        pool->Wait(group);
        EXPECT_EQ(done, 8) << allowance;
    }
}

} // namespace
} // namespace dirscribe
