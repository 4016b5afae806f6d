// SPDX-License-Identifier: MIT
// The list command end to end: real folders, the real program, whole outputs.
#include "support/ChildProcess.h"
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;
using test::TempTree;

constexpr std::time_t kDec18 = 1040220309; // 2002-12-18 14:05:09 UTC
constexpr std::time_t kJan05 = 1104926400; // 2005-01-05 12:00:00 UTC

// tree/{Docs/{notes.txt 1536 b, Old/a.bin 1 MiB}, Music/song.mp3 5000 b, .hidden, readme.txt 999 b}
class ListCommand : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("tree/Docs/notes.txt", std::string(1536, 'n'));
        tree.SizedFile("tree/Docs/Old/a.bin", 1u << 20);
        tree.File("tree/Music/song.mp3", std::string(5000, 'm'));
        tree.File("tree/.hidden");
        tree.File("tree/readme.txt", std::string(999, 'r'));
        tree.Chmod("tree/readme.txt", 0444);
        for (const char* path : {"tree/Docs/notes.txt", "tree/Docs/Old/a.bin", "tree/Docs/Old",
                                 "tree/Music/song.mp3", "tree/.hidden"})
            tree.SetModified(path, kDec18);
        for (const char* path : {"tree/Docs", "tree/Music", "tree/readme.txt"})
            tree.SetModified(path, kJan05);
        profile = tree.Path("profile.ini"); // empty: every setting at its default
        tree.File("profile.ini");
    }

    // Lists "tree" from inside the temporary folder.
    ProgramResult List(std::vector<std::string> options) {
        std::vector<std::string> args = {"list", "tree", "--profile", profile};
        args.insert(args.end(), options.begin(), options.end());
        return RunDirscribe(args, {tree.Root(), {}, {}});
    }

    TempTree tree;
    std::string profile;
};

TEST_F(ListCommand, WritesTheReportForEachLayoutDepthAndContent) {
    struct Case {
        std::vector<std::string> options;
        const char* golden;
    };
    const std::vector<Case> cases = {
        {{"--layout", "standard", "--columns", "comments,size,attr,date", "--date-format", "1"},
         "standard-all-columns-depth0.txt"},
        {{"--layout", "standard", "--columns", "size,attr,date", "--date-format", "6", "--depth",
          "1"},
         "standard-size-attr-date-depth1.txt"},
        {{"--layout", "standard", "--columns", "comments,size", "--depth", "all"},
         "standard-comments-size-depthall.txt"},
        {{"--layout", "standard", "--columns", "size", "--depth", "all", "--content", "folders",
          "--bytes"},
         "standard-folders-depthall-bytes.txt"},
        {{"--layout", "standard", "--columns", "none", "--depth", "2", "--content", "files"},
         "standard-files-depth2-nocolumns.txt"},
        {{"--layout", "cd", "--depth", "all"}, "cd-depth-ignored.txt"},
    };
    const std::string root = std::filesystem::canonical(tree.Root());
    for (const Case& c : cases) {
        const ProgramResult result = List(c.options);
        EXPECT_EQ(result.exitCode, 0) << c.golden << "\n" << result.err;
        EXPECT_EQ(result.err, "") << c.golden;
        // The title names the folder by its whole path.
        std::string golden = test::ReadTestData(std::string("cli/") + c.golden);
        golden.replace(golden.find("<tree>"), 6, "<" + root + "/tree>");
        EXPECT_EQ(result.out, golden) << c.golden;
    }
}

TEST_F(ListCommand, WritesTheReportFileAndNeverTheProfile) {
    test::WriteFile(profile, "[Options]\nDate Format=3\nAdd Date=1\nPrint as =0\n");
    const std::string before = test::ReadFile(profile);
    tree.File("out/old.txt", "previous contents");
    const ProgramResult result = List({"--txt", "out/old.txt", "--columns", "date"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string report = test::ReadFile(tree.Path("out/old.txt"));
    EXPECT_NE(report.find(" 18/12/2002 14:05:09\r\n"), std::string::npos) << report;
    EXPECT_EQ(test::ReadFile(profile), before);

    const ProgramResult failed = List({"--txt", "missing/folder/out.txt"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("missing/folder/out.txt"), std::string::npos) << failed.err;
}

TEST_F(ListCommand, RefusalsAndFailuresExitWithTheSystemsMessages) {
    struct Case {
        std::string path;
        int exitCode;
        std::string err;
    };
    // The texts of refused paths are the path check's; here, that they reach standard error.
    const std::vector<Case> cases = {
        {"", 1, "Please enter Folder name and Path\r\n or select it from the tree.\n"},
        {"missing", 1, "There are problem reading folder  missing\n"},
        {" tree/readme.txt/ ", 1, "There are problem reading folder  tree/readme.txt\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult result =
            RunDirscribe({"list", c.path, "--profile", profile}, {tree.Root(), {}, {}});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.path;
        EXPECT_EQ(result.err, c.err) << c.path;
        EXPECT_EQ(result.out, "") << c.path;
    }
    for (const std::vector<std::string>& usage : {std::vector<std::string>{},
                                                  {"list"},
                                                  {"list", "a", "b"},
                                                  {"frobnicate", "x"},
                                                  {"list", "tree", "--depth", "-3"},
                                                  {"list", "tree", "--columns", "size,colour"},
                                                  {"list", "tree", "--date-format", "9"},
                                                  {"list", "tree", "--layout"},
                                                  {"list", "tree", "--no-such-option"}}) {
        const ProgramResult result = RunDirscribe(usage, {tree.Root(), {}, {}});
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(usage);
        EXPECT_NE(result.err.find("usage: dirscribe"), std::string::npos);
    }
}

TEST_F(ListCommand, AnUnreadableSubfolderIsReportedAndTheListingGoesOn) {
    tree.File("tree/Locked/secret", "12345");
    tree.Chmod("", 0755);
    tree.Chmod("tree/Locked", 0);
    test::RunOptions options{tree.Root(), {}, {}};
    if (test::RunningAsRoot())
        options.prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    const ProgramResult result = RunDirscribe({"list", "tree", "--profile", profile, "--layout",
                                               "standard", "--depth", "all", "--columns", "size"},
                                              options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "There are problem reading folder  tree/Locked\n");
    EXPECT_NE(result.out.find("| -[Locked] \r\n"), std::string::npos) << result.out;
}

} // namespace
} // namespace dirscribe
