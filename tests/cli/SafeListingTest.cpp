// SPDX-License-Identifier: MIT
// What a listing says about a disk stays true: odd names, few descriptors, deep trees, huge
// totals. Real folders, the real program.
#include "core/format/Utf8.h"
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;
using test::TempTree;

// The program under `ulimit -n limit`.
test::RunOptions WithOpenFileLimit(const std::string& folder, int limit) {
    return {
        folder, {"sh", "-c", "ulimit -n " + std::to_string(limit) + " && exec \"$0\" \"$@\""}, {}};
}

TEST(SafeListing, NamesOnDiskAreShownAsTextAndADocumentReportsAsTheListingDid) {
    TempTree tree;
    tree.File("names/caf\xC3\xA9.txt", "utf-8");
    tree.File("names/caf\xE9_latin1.txt", "latin-1");
    tree.File("names/line\nbreak", "");
    tree.File("names/esc\x1B[31mred", "");
    const std::vector<std::string> options = {"--profile", tree.Path("none.ini"), "--layout",
                                              "standard",  "--columns",           "size"};
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), options.begin(), options.end());
        return RunDirscribe(args, {tree.Root(), {}, {}});
    };
    ASSERT_EQ(run({"list", "names", "--txt", "listed.txt", "--dsc", "names.dsc"}).exitCode, 0);
    ASSERT_EQ(run({"convert", "names.dsc", "--txt", "converted.txt"}).exitCode, 0);

    const std::string listed = test::ReadFile(tree.Path("listed.txt"));
    EXPECT_EQ(test::ReadFile(tree.Path("converted.txt")), listed);
    EXPECT_TRUE(IsValidUtf8(listed));
    for (const char* shown : {"caf\xC3\xA9.txt \r\n", "caf\xC3\xA9_latin1.txt \r\n",
                              "line?break \r\n", "esc?[31mred \r\n"})
        EXPECT_NE(listed.find(shown), std::string::npos) << shown;
    EXPECT_EQ(listed.find('\x1B'), std::string::npos) << "no escape reaches a terminal";
    const std::string document = test::ReadFile(tree.Path("names.dsc"));
    EXPECT_EQ(document.find("caf\xE9_"), std::string::npos) << "the document holds UTF-8 only";
}

// A chain of folders d0000/d0001/... each holding a one-byte file f, deeper than any path
// may be long; made and removed relative to open folders.
class DeepChain {
public:
    DeepChain(const std::string& root, int levels) : m_root(root), m_levels(levels) {
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ::mkdirat(fd, Name(i).c_str(), 0755);
            const int child = ::openat(fd, Name(i).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = child;
            const int file = ::openat(fd, "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            EXPECT_EQ(::write(file, "x", 1), 1);
            ::close(file);
        }
        ::close(fd);
    }
    ~DeepChain() {
        int fd = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < m_levels && fd >= 0; ++i) {
            const int child = ::openat(fd, Name(i).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = child;
        }
        for (int i = m_levels - 1; i >= 0 && fd >= 0; --i) {
            ::unlinkat(fd, "f", 0);
            const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = parent;
            ::unlinkat(fd, Name(i).c_str(), AT_REMOVEDIR);
        }
        ::close(fd);
    }
    DeepChain(const DeepChain&) = delete;
    DeepChain& operator=(const DeepChain&) = delete;

private:
    static std::string Name(int level) {
        char name[16];
        std::snprintf(name, sizeof name, "d%04d", level);
        return name;
    }
    std::string m_root;
    int m_levels;
};

TEST(SafeListing, TotalsAreRightWhateverTheDepthAndTheDescriptorLimit) {
    TempTree tree;
    tree.Folder("deep");
    const DeepChain chain(tree.Path("deep"), 1000); // 6000 bytes of path at the bottom
    const ProgramResult r =
        RunDirscribe({"list", "deep", "--profile", tree.Path("none.ini"), "--layout", "standard",
                      "--depth", "all", "--columns", "size"},
                     WithOpenFileLimit(tree.Root(), 12));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("SubFolders Total:....      1000\r\nFiles Total:.........      1000\r\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("1,000  b\r\n"), std::string::npos);
    std::size_t rows = 0; // a record's name line ends in a blank, its values line starts with one
    for (std::size_t at = r.out.find(" \r\n "); at != std::string::npos;
         at = r.out.find(" \r\n ", at + 1))
        ++rows;
    EXPECT_EQ(rows, 2000u) << "every folder and file of the chain has its row";
}

TEST(SafeListing, TotalsSaturateInsteadOfWrapping) {
    TempTree tree;
    if (!tree.MountTmpfs("huge"))
        GTEST_SKIP() << "cannot mount a file system for files of 2^62 bytes here";
    for (int i = 0; i < 4; ++i)
        tree.SizedFile("huge/big/part" + std::to_string(i), std::uint64_t{1} << 62);
    const ProgramResult r = RunDirscribe({"list", "huge", "--profile", tree.Path("none.ini"),
                                          "--layout", "standard", "--columns", "size"},
                                         {tree.Root(), {}, {}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::size_t summary = r.out.find("Size(bytes):        16383.9 Pb\r\n");
    EXPECT_NE(summary, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("16383.9 Pb\r\n", summary + 1), std::string::npos)
        << "the folder's row saturates too: " << r.out;
}

} // namespace
} // namespace dirscribe
