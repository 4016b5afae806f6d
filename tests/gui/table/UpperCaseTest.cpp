// SPDX-License-Identifier: MIT
// All in UpperCase: every letter by Unicode's one-to-one mapping, as Qt maps it too.
#include "core/format/UnicodeCase.h"
#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <QChar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(UpperCase, AgreesWithQtForEveryCodePoint) {
    int mismatches = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        if (SimpleUpperCase(c) != QChar::toUpper(c) && ++mismatches < 10)
            ADD_FAILURE() << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(mismatches, 0);
}

TEST(UpperCase, NamesInTheTableAreUpperCasedWhole) {
    test::TempTree tree;
    tree.File("disk/résumé.txt");
    tree.Folder("disk/ïle");
    ListingSession session;
    session.Options().allInUpperCase = 1;
    session.SetPath(tree.Path("disk"));
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
    EXPECT_EQ(session.Table().Cell(0, 0), "[ÏLE]");
    EXPECT_EQ(session.Table().Cell(1, 0), "RÉSUMÉ.TXT");
}

} // namespace
} // namespace dirscribe
