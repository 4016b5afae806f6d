// SPDX-License-Identifier: MIT
// Whole files read into memory and saved by replacing them whole, keeping links and modes;
// the clear refusals when that cannot be done, without damage.
#include "core/Error.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileReader.h"
#include "support/ChildProcess.h"
#include "support/TempTree.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

using test::ReadFile;
using test::TempTree;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned Mode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Why saving to path fails, after the start that names the file.
std::string FailureOf(const std::string& path, std::string_view bytes,
                      SpecialFiles special = SpecialFiles::Refuse) {
    try {
        WriteFileAtomically(path, bytes, special);
    } catch (const Error& error) {
        const std::string what = error.what();
        const std::string start = "Cannot save \"" + path + "\": ";
        EXPECT_TRUE(what.starts_with(start)) << what;
        return what.substr(std::min(what.size(), start.size()));
    }
    return "no failure";
}

// Sets the process umask for one test.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_old); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_old;
};

TEST(WriteFileAtomically, ReplacesContentAndKeepsModeWithoutLeftovers) {
    TempTree tree;
    tree.File("dir/a.ini", "old content that is longer than the new one");
    tree.Chmod("dir/a.ini", 0604);
    const std::string bytes("new\0bytes\r\n", 11);
    WriteFileAtomically(tree.Path("dir/a.ini"), bytes);
    EXPECT_EQ(ReadFile(tree.Path("dir/a.ini")), bytes);
    EXPECT_EQ(Mode(tree.Path("dir/a.ini")), 0604u);
    EXPECT_EQ(Names(tree.Path("dir")), std::vector<std::string>{"a.ini"});

    WriteFileAtomically(tree.Path("dir/a.ini"), "");
    EXPECT_EQ(ReadFile(tree.Path("dir/a.ini")), "");

    const ScopedUmask mask(027);
    WriteFileAtomically(tree.Path("dir/new.ini"), "fresh");
    EXPECT_EQ(ReadFile(tree.Path("dir/new.ini")), "fresh");
    EXPECT_EQ(Mode(tree.Path("dir/new.ini")), 0640u) << "0666 less the umask, as open makes";

    // A name near the length limit still leaves room for the temporary file.
    const std::string longName(250, 'n');
    WriteFileAtomically(tree.Path("dir/" + longName), "long");
    EXPECT_EQ(ReadFile(tree.Path("dir/" + longName)), "long");
    EXPECT_EQ(Names(tree.Path("dir")).size(), 3u);
}

TEST(WriteFileAtomically, WritesThroughSymbolicLinksAndKeepsThem) {
    TempTree tree;
    tree.File("real/target.ini", "old");
    tree.Chmod("real/target.ini", 0600);
    tree.Symlink("links/first.ini", "../real/target.ini");
    tree.Symlink("links/second.ini", tree.Path("links/first.ini"));
    WriteFileAtomically(tree.Path("links/second.ini"), "through two links");

    EXPECT_EQ(ReadFile(tree.Path("real/target.ini")), "through two links");
    EXPECT_EQ(Mode(tree.Path("real/target.ini")), 0600u);
    EXPECT_TRUE(std::filesystem::is_symlink(tree.Path("links/first.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(tree.Path("links/second.ini")));
    EXPECT_EQ(std::filesystem::read_symlink(tree.Path("links/first.ini")), "../real/target.ini");
    EXPECT_EQ(Names(tree.Path("real")), std::vector<std::string>{"target.ini"});
    EXPECT_EQ(Names(tree.Path("links")), (std::vector<std::string>{"first.ini", "second.ini"}));

    // A dangling link gets the file it names.
    tree.Symlink("links/dangling.ini", "../real/created.ini");
    WriteFileAtomically(tree.Path("links/dangling.ini"), "made");
    EXPECT_EQ(ReadFile(tree.Path("real/created.ini")), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(tree.Path("links/dangling.ini")));

    tree.Symlink("links/loop.ini", "loop.ini");
    EXPECT_EQ(FailureOf(tree.Path("links/loop.ini"), "x"), "Too many levels of symbolic links");
}

TEST(WriteFileAtomically, FailedSaveLeavesEverythingAsItWas) {
    TempTree tree;
    tree.Folder("dir/taken.ini");
    tree.File("dir/keep.ini", "keep");
    EXPECT_EQ(FailureOf(tree.Path("dir/taken.ini"), "x"), "it is a folder");
    EXPECT_TRUE(std::filesystem::is_directory(tree.Path("dir/taken.ini")));

    EXPECT_EQ(FailureOf(tree.Path("missing/a.ini"), "x"), "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(tree.Path("missing")));

    ASSERT_EQ(::mkfifo(tree.Path("dir/fifo").c_str(), 0600), 0);
    EXPECT_EQ(FailureOf(tree.Path("dir/fifo"), "x"), "it is not a regular file");
    EXPECT_EQ(Names(tree.Path("dir")), (std::vector<std::string>{"fifo", "keep.ini", "taken.ini"}));

    // A folder the (unprivileged) saver may not write to.
    tree.Chmod("", 0755);
    tree.Chmod("dir", 0555);
    EXPECT_EQ(test::RunUnprivileged([&] { return FailureOf(tree.Path("dir/keep.ini"), "new"); }),
              "Permission denied");
    tree.Chmod("dir", 0755);
    EXPECT_EQ(ReadFile(tree.Path("dir/keep.ini")), "keep");
    EXPECT_EQ(Names(tree.Path("dir")), (std::vector<std::string>{"fifo", "keep.ini", "taken.ini"}));
}

// The kernel's protected-symlinks rule, which a rename through a link read by hand escapes:
// in a sticky folder everybody may write to, only links of the saver or of the folder's owner
// are followed. And a read-only file stays, as a shell leaves it, except to root.
TEST(WriteFileAtomically, FollowsLinksOnlyWhereTheKernelWouldAndKeepsReadOnlyFiles) {
    if (!test::RunningAsRoot())
        GTEST_SKIP() << "making files of another user needs root";
    constexpr uid_t kOther = 65534;
    struct Case {
        unsigned folderMode;
        uid_t folderOwner, linkOwner;
        bool followed;
    };
    // The link is the path's last name, or a folder's on the way (its file, or a FIFO
    // behind it written into, is then the victim).
    for (const Case c : {Case{01777, 0, kOther, false}, Case{01777, kOther, kOther, true},
                         Case{0777, 0, kOther, true}}) {
        for (const char* victim : {"", "secret", "fifo"}) {
            const bool last = *victim == '\0';
            TempTree tree;
            tree.File("private/secret", "root only");
            ASSERT_EQ(::mkfifo(tree.Path("private/fifo").c_str(), 0600), 0);
            const int reader = ::open(tree.Path("private/fifo").c_str(), O_RDONLY | O_NONBLOCK);
            tree.Symlink("shared/x", last ? "../private/secret" : "../private");
            tree.Chmod("shared", c.folderMode);
            ASSERT_EQ(::chown(tree.Path("shared").c_str(), c.folderOwner, 0), 0);
            ASSERT_EQ(::lchown(tree.Path("shared/x").c_str(), c.linkOwner, 0), 0);
            const std::string path =
                tree.Path(last ? "shared/x" : "shared/x/" + std::string(victim));
            EXPECT_EQ(FailureOf(path, "new", SpecialFiles::WriteThrough),
                      c.followed ? "no failure" : "it is a link owned by another user")
                << path;
            char got[8] = {};
            const bool intoFifo = c.followed && victim == std::string("fifo");
            EXPECT_EQ(::read(reader, got, sizeof got), intoFifo ? 3 : 0);
            ::close(reader);
            EXPECT_EQ(ReadFile(tree.Path("private/secret")),
                      c.followed && !intoFifo ? "new" : "root only");
            EXPECT_EQ(Names(tree.Path("shared")), std::vector<std::string>{"x"});
        }
    }
    TempTree tree;
    tree.Chmod("", 0777);
    tree.File("doc.dsc", "kept");
    tree.Chmod("doc.dsc", 0444);
    ASSERT_EQ(::chown(tree.Path("doc.dsc").c_str(), kOther, kOther), 0);
    EXPECT_EQ(test::RunUnprivileged([&] { return FailureOf(tree.Path("doc.dsc"), "new"); }),
              "Permission denied");
    EXPECT_EQ(Names(tree.Root()), std::vector<std::string>{"doc.dsc"});
    EXPECT_EQ(ReadFile(tree.Path("doc.dsc")), "kept");
    EXPECT_EQ(FailureOf(tree.Path("doc.dsc"), "by root"), "no failure");
}

TEST(WriteFileAtomically, RemovesTheTemporaryFilesOfSavesThatEndedOnly) {
    TempTree tree;
    for (const char* name :
         {".a.ini.tmp-Killed", ".a.ini.tmp-Runs00", ".a.ini.tmp-toolong", ".b.ini.tmp-Killed"})
        tree.File(name, "left");
    // A running save holds the lock on its temporary file.
    const int running = ::open(tree.Path(".a.ini.tmp-Runs00").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    WriteFileAtomically(tree.Path("a.ini"), "saved");
    ::close(running);
    EXPECT_EQ(Names(tree.Root()),
              (std::vector<std::string>{".a.ini.tmp-Runs00", ".a.ini.tmp-toolong",
                                        ".b.ini.tmp-Killed", "a.ini"}));
}

} // namespace
} // namespace dirscribe
