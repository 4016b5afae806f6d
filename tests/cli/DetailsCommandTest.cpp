// SPDX-License-Identifier: MIT
// The details command end to end: files made here, the real program, whole outputs. What
// the rows say is the readers' tests' to check.
#include "support/PeBytes.h"
#include "support/RunProgram.h"
#include "support/ScopedEnvironment.h"
#include "support/ShellCommand.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;
using test::TempTree;

class DetailsCommand : public ::testing::Test {
protected:
    ProgramResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), "details");
        return RunDirscribe(args, {tree.Root(), {}, {}});
    }
    TempTree tree;
};

TEST_F(DetailsCommand, AProgramPrintsItsVersionStringsInTheUsersLanguage) {
    tree.File(
        "app.exe",
        test::PeFile(
            {{0x0409,
              test::VersionInfoBlock(
                  {{"040904B0", {{"FileVersion", u"1.2.3"}, {"CompanyName", u"Acme \u00C6sir"}}}})},
             {0x0407, test::VersionInfoBlock({{"040704B0", {{"CompanyName", u"Acme GmbH"}}}})}}));
    ProgramResult r = Run({tree.Path("app.exe")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "File's data:\n"
                     "  ***Company Name\tAcme \xC3\x86sir\n"
                     "  ***File Version\t1.2.3\n");

    const test::ScopedEnvironment german("LC_ALL", "de_DE.UTF-8");
    r = Run({"app.exe"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "File's data:\n"
                     "  ***Company Name\tAcme GmbH\n");
}

TEST_F(DetailsCommand, OtherFilesPrintTheNoDataTextAndAMissingFileIsNamed) {
    tree.File("Makefile", "all:");
    ProgramResult r = Run({"Makefile"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "makefile extention file. No data.\n");

    r = Run({"/missing.flac"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Cannot read \"/missing.flac\": there is no such file.\n");
    for (const std::vector<std::string>& usage :
         std::vector<std::vector<std::string>>{{}, {""}, {"a", "b"}}) {
        r = Run(usage);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(usage.empty() ? "details takes exactly one file" : "usage:"),
                  std::string::npos)
            << r.err;
    }
}

TEST_F(DetailsCommand, OtherKindsAreReadByTheReaderInstalledBesideTheProgram) {
    if (!test::HasCommand("sox"))
        GTEST_SKIP() << "sox is missing";
    ASSERT_TRUE(test::RunShell(tree.Root(), "sox -n -r 8000 -c 1 -b 16 t.wav synth 1 sine"));
    const ProgramResult r = Run({"t.wav"});
    EXPECT_EQ(r.out, "WAV:\n**Length:\t0 min 1 sec\n**KBPS:\t128 Kbit\n**Frequency:\t8000Hz\n"
                     "**Channels:\t1\n");
    EXPECT_EQ(r.err, "");
}

} // namespace
} // namespace dirscribe
