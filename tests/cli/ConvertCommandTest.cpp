// SPDX-License-Identifier: MIT
// Saving listings as documents, reopening them and sorting, through the real program.
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;
using test::TempTree;

class ConvertCommand : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("tree/small", std::string(10, 's'));
        tree.File("tree/Big", std::string(5000, 'b'));
        tree.File("tree/medium", std::string(999, 'm'));
        tree.Folder("tree/Zdir");
        tree.Folder("tree/adir");
        tree.File("none.ini"); // an empty profile: every setting at its default
    }
    ProgramResult Run(std::vector<std::string> args) {
        args.insert(args.end(), {"--profile", tree.Path("none.ini")});
        return RunDirscribe(args, {tree.Root(), {}, {}});
    }
    // The first cells of the records, one per record line pair.
    static std::vector<std::string> Names(const std::string& report) {
        std::vector<std::string> names;
        const std::size_t start = report.rfind("=\r\n") + 3;
        for (std::size_t pos = start; pos < report.size();) {
            const std::size_t end = report.find(" \r\n", pos);
            names.push_back(report.substr(pos, end - pos));
            pos = report.find("\r\n", end + 3) + 2;
        }
        return names;
    }

    TempTree tree;
};

TEST_F(ConvertCommand, ADocumentReopensToTheSameReportAndTheSameBytes) {
    const ProgramResult listed = Run({"list", "tree", "--layout", "standard", "--dsc", "out.dsc",
                                      "--txt", "-", "--columns", "comments,size,date"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const ProgramResult converted = Run({"convert", "out.dsc", "--dsc", "again.DSC"});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(converted.out, "") << "an output was named, so nothing goes to standard output";
    EXPECT_EQ(test::ReadFile(tree.Path("again.DSC")), test::ReadFile(tree.Path("out.dsc")));

    const ProgramResult shown = Run({"convert", "out.dsc"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, listed.out) << "the reopened rows are reported, not dropped";
}

TEST_F(ConvertCommand, SortsAsColumnClicksWould) {
    const std::vector<std::string> bySize = {"[Zdir]", "[adir]", "small", "medium", "Big"};
    ProgramResult r = Run({"list", "tree", "--layout", "cd", "--sort", "Size"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Names(r.out), bySize);
    r = Run({"list", "tree", "--layout", "cd", "--sort", "1:desc"});
    EXPECT_EQ(Names(r.out),
              (std::vector<std::string>{"[Zdir]", "[adir]", "Big", "medium", "small"}));
    r = Run({"list", "tree", "--layout", "cd", "--sort", "filename"});
    EXPECT_EQ(Names(r.out),
              (std::vector<std::string>{"[adir]", "[Zdir]", "Big", "medium", "small"}));

    ASSERT_EQ(Run({"list", "tree", "--layout", "cd", "--dsc", "cd.dsc"}).exitCode, 0);
    r = Run({"convert", "cd.dsc", "--sort", "Size"});
    EXPECT_EQ(Names(r.out),
              (std::vector<std::string>{"[Zdir]", "[adir]", "small", "medium", "Big"}))
        << "a reopened document has no folder rows held on top: one group";

    r = Run({"list", "tree", "--layout", "cd", "--sort", "Colour"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no column Colour"), std::string::npos) << r.err;
}

TEST_F(ConvertCommand, RefusedDocumentsAndOutputsAreReported) {
    ASSERT_EQ(Run({"list", "tree", "--txt", "report.txt"}).exitCode, 0);
    for (const std::string bad : {"report.txt", "missing.dsc", "tree"}) {
        const ProgramResult r = Run({"convert", bad});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Run({"list", "tree", "--dsc", "-"}).exitCode, 2);
    EXPECT_EQ(Run({"convert"}).exitCode, 2);
}

} // namespace
} // namespace dirscribe
