// SPDX-License-Identifier: MIT
// What a listing says about a disk stays true: odd names, few descriptors, deep trees, huge
// totals. Real folders, the real program.
#include "core/format/Utf8.h"
#include "support/ChildProcess.h"
#include "support/RunProgram.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
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
    tree.File("none.ini");
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
    // With a document, the deepest folder holds it too, as doc.dsc.
    DeepChain(const std::string& root, int levels, std::string_view document = {})
        : m_root(root), m_levels(levels) {
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ::mkdirat(fd, Name(i).c_str(), 0755);
            const int child = ::openat(fd, Name(i).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = child;
            for (const auto& [name, bytes] : {std::pair<const char*, std::string_view>{"f", "x"},
                                              {"doc.dsc", i + 1 == levels ? document : ""}}) {
                if (bytes.empty())
                    continue;
                const int file = ::openat(fd, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                EXPECT_EQ(::write(file, bytes.data(), bytes.size()), std::ssize(bytes));
                ::close(file);
            }
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
            ::unlinkat(fd, "doc.dsc", 0);
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
    tree.File("none.ini");
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

// What the program writes to a terminal (a pseudo-terminal of its own), run in folder.
std::string OnTerminal(const std::vector<std::string>& arguments, const std::string& folder) {
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(DIRSCRIBE_BINARY)};
        for (const std::string& word : arguments)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        if (::chdir(folder.c_str()) == 0)
            ::execv(DIRSCRIBE_BINARY, argv.data());
        ::_exit(127);
    }
    std::string shown = test::ReadAll(terminal);
    EXPECT_EQ(test::WaitForExit(pid), 0) << shown;
    return shown;
}

// A crafted document's cells reach a terminal as text, and search prints one line a match
// to every reader, whatever the names hold.
TEST(SafeListing, ADocumentsCellsReachATerminalAsTextAndSearchOneLineAMatch) {
    TempTree tree;
    tree.File("none.ini");
    tree.File("doc.dsc", test::DocumentOf({{"title\x1B]0;pwned\x07", "\x1B[2Jclear"},
                                           {"csi\xC2\x9B"
                                            "31m",
                                            "nel\xC2\x85"
                                            "x"},
                                           {"line\xE2\x80\xA8sep", "rlo\xE2\x80\xAE"
                                                                   "txt\xE2\x81\xA6"}}));
    for (const char* format : {"--txt", "--csv"}) {
        const std::string shown =
            OnTerminal({"convert", "doc.dsc", "--profile", "none.ini", format, "-"}, tree.Root());
        for (const char* control : {"\x1B", "\x07", "\xC2\x9B", "\xC2\x85"})
            EXPECT_EQ(shown.find(control), std::string::npos) << format << ": " << shown;
        EXPECT_NE(shown.find("title?]0;pwned?"), std::string::npos) << shown;
        EXPECT_NE(shown.find("csi?31m"), std::string::npos) << shown;
    }
    // A pipe gets the bytes as they are, for the program that reads them.
    EXPECT_NE(RunDirscribe({"convert", "doc.dsc", "--profile", "none.ini", "--csv", "-"},
                           {tree.Root(), {}, {}})
                  .out.find("\x1B[2Jclear"),
              std::string::npos);
    const ProgramResult found = RunDirscribe({"search", "*", "doc.dsc"}, {tree.Root(), {}, {}});
    EXPECT_EQ(found.out, "doc.dsc\t1\ttitle?]0;pwned?\t\t\t?[2Jclear\n"
                         "doc.dsc\t2\tcsi?31m\t\t\tnel?x\n"
                         "doc.dsc\t3\tline?sep\t\t\trlo?txt?\n");
}

// Documents are found and read as deep as folders go, and a profile that is not there is
// a mistake of the command line.
TEST(SafeListing, SearchReadsDocumentsDeeperThanAPathMayBeLong) {
    TempTree tree;
    tree.Folder("deep");
    const DeepChain chain(tree.Path("deep"), 800, test::DocumentOf({{"bottom", "found"}}));
    const ProgramResult found = RunDirscribe({"search", "bottom", "deep"}, {tree.Root(), {}, {}});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_TRUE(found.out.ends_with("/d0799/doc.dsc\t1\tbottom\t\t\tfound\n")) << found.out;
    const ProgramResult missing =
        RunDirscribe({"list", "deep", "--profile", "none.ini"}, {tree.Root(), {}, {}});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "dirscribe: there is no profile \"none.ini\"\n");
}

TEST(SafeListing, TotalsSaturateInsteadOfWrapping) {
    TempTree tree;
    if (!tree.MountTmpfs("huge"))
        GTEST_SKIP() << "cannot mount a file system for files of 2^62 bytes here";
    for (int i = 0; i < 4; ++i)
        tree.SizedFile("huge/big/part" + std::to_string(i), std::uint64_t{1} << 62);
    tree.File("none.ini");
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
