// SPDX-License-Identifier: MIT
// The kind a folder's own listing gives for each name.
#include "core/platform/Directory.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <map>

namespace dirscribe {
namespace {

TEST(DirectoryNameKindTest, FoldersAreToldFromFilesAndLinksWithoutFollowingThem) {
    test::TempTree tree;
    tree.Folder("sub");
    tree.Folder(".hidden");
    tree.File("file", "x");
    tree.Symlink("link", "sub");
    auto dir = Directory::Open(tree.Root());
    ASSERT_TRUE(dir.has_value());
    std::map<std::string, Directory::NameKind> kinds;
    std::string name;
    Directory::NameKind kind = Directory::NameKind::Unknown;
    while (dir->NextName(name, kind))
        kinds[name] = kind;
    EXPECT_FALSE(dir->Failed());
    ASSERT_EQ(kinds.size(), 4U);
    // A file system that does not tell kinds says Unknown; one that does must be right.
    const auto expect = [&](const std::string& n, Directory::NameKind wanted) {
        if (kinds[n] != Directory::NameKind::Unknown) {
            EXPECT_EQ(kinds[n], wanted) << n;
        }
    };
    expect("sub", Directory::NameKind::Folder);
    expect(".hidden", Directory::NameKind::Folder);
    expect("file", Directory::NameKind::Other);
    expect("link", Directory::NameKind::Other);
}

} // namespace
} // namespace dirscribe
