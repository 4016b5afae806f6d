// SPDX-License-Identifier: MIT
#include "core/platform/Directory.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unistd.h>

namespace dirscribe {
namespace {

TEST(Directory, NamesThatVanishWhileTheFolderIsReadAreSkipped) {
    test::TempTree tree;
    tree.File("stays");
    tree.File("goes");
    tree.Folder("sub");
    std::optional<Directory> dir = Directory::Open(tree.Root());
    ASSERT_TRUE(dir);
    std::set<std::string> names;
    for (std::string name; dir->NextName(name);)
        names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"goes", "stays", "sub"})) << "no . or ..";
    EXPECT_FALSE(dir->Failed());

    ASSERT_EQ(::unlink(tree.Path("goes").c_str()), 0);
    ASSERT_EQ(::rmdir(tree.Path("sub").c_str()), 0);
    EXPECT_FALSE(dir->Stat("goes", dir->Device()));
    EXPECT_FALSE(dir->OpenChild("sub"));
    EXPECT_TRUE(dir->Stat("stays", dir->Device()));
    EXPECT_FALSE(Directory::Open(tree.Path("stays"))) << "a file is no folder";
}

} // namespace
} // namespace dirscribe
