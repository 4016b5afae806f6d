// SPDX-License-Identifier: MIT
#include "core/table/CommentFlow.h"

#include "core/options/PageLayout.h"

#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

// One pixel per character, so a text of n characters is n pixels wide.
const TextMeasure kOnePixelEach = [](std::string_view text) {
    return static_cast<int>(text.size());
};

constexpr auto kCd = PageLayout::CdInsert;

// A comment row's editor of the Comments column (200 px, so 197 px wide) starting at x.
EditorBox CommentEditorAt(int left) {
    return EditorBox{left, 30, left + 197, 52};
}

TEST(CommentFlowTest, PrintableWidthsByLayoutAndEditorPosition) {
    using Flow = CommentFlow;
    EXPECT_EQ(Flow::PrintableWidthLimit(PageLayout::Standard, 50), 680);
    EXPECT_EQ(Flow::PrintableWidthLimit(PageLayout::Standard, 51), 750);
    EXPECT_EQ(Flow::PrintableWidthLimit(PageLayout::CdInsert, 40), 364);
    EXPECT_EQ(Flow::PrintableWidthLimit(PageLayout::ZipInsert, 51), 380);
    EXPECT_EQ(Flow::PrintableWidthLimit(static_cast<PageLayout>(4), 0), std::nullopt);
}

TEST(CommentFlowTest, ACdCommentLineIsFullAtItsPrintableWidth) {
    // At x = 40 the line is full once left + width + 5 reaches 364: 319 characters.
    CommentFlow flow;
    EditorBox box = CommentEditorAt(40);
    flow.AutoSize(std::string(318, 'x'), kOnePixelEach, box, true, kCd);
    EXPECT_EQ(box.right, 40 + 318 + 5) << "the comment row's editor widens with its text";
    EXPECT_FALSE(flow.LineFull());
    EXPECT_TRUE(flow.AutoSize(std::string(319, 'x'), kOnePixelEach, box, true, kCd));
    EXPECT_EQ(box.right, 364);
    EXPECT_TRUE(flow.LineFull());

    // At x = 60 the same text is far from the limit of 480, reached at 415 characters.
    box = CommentEditorAt(60);
    flow.AutoSize(std::string(319, 'x'), kOnePixelEach, box, true, kCd);
    EXPECT_FALSE(flow.LineFull()) << "a narrower line clears the mark again";
    flow.AutoSize(std::string(414, 'x'), kOnePixelEach, box, true, kCd);
    EXPECT_EQ(box.right, 479);
    EXPECT_FALSE(flow.LineFull());
    flow.AutoSize(std::string(415, 'x'), kOnePixelEach, box, true, kCd);
    EXPECT_EQ(box.right, 480);
    EXPECT_TRUE(flow.LineFull());

    flow.EditEnded();
    EXPECT_FALSE(flow.LineFull());
    EXPECT_FALSE(flow.Chained());
}

TEST(CommentFlowTest, OtherRowsFillButNeverWiden) {
    CommentFlow flow;
    EditorBox box = CommentEditorAt(164);
    // Full when width + 15 reaches the editor's 197 px: 182 characters.
    EXPECT_FALSE(flow.AutoSize(std::string(181, 'x'), kOnePixelEach, box, false, kCd));
    EXPECT_TRUE(flow.AutoSize(std::string(182, 'x'), kOnePixelEach, box, false, kCd));
    EXPECT_TRUE(flow.AutoSize(std::string(900, 'x'), kOnePixelEach, box, false, kCd));
    EXPECT_EQ(box.right, 164 + 197);
    EXPECT_FALSE(flow.LineFull());

    // A fresh editor of 1 px is never full; on a comment row it takes its text's width,
    // measured against the near-left limit.
    EditorBox fresh{0, 0, 1, 1};
    EXPECT_FALSE(flow.AutoSize(std::string(400, 'x'), kOnePixelEach, fresh, false, kCd));
    EXPECT_EQ(fresh.right, 1);
    EXPECT_FALSE(flow.AutoSize(std::string(359, 'x'), kOnePixelEach, fresh, true, kCd));
    EXPECT_EQ(fresh.right, 364);
    EXPECT_TRUE(flow.LineFull());

    // An unknown layout never fills a line.
    EditorBox wide{0, 0, 1, 1};
    flow.AutoSize(std::string(5000, 'x'), kOnePixelEach, wide, true, static_cast<PageLayout>(9));
    EXPECT_FALSE(flow.LineFull());
}

TEST(CommentFlowTest, WhenAFullEditorMovesOnToACommentRow) {
    CommentFlow flow;
    EXPECT_TRUE(flow.WantsCommentRow(false, true)) << "an empty comment of a file row";
    EXPECT_FALSE(flow.WantsCommentRow(false, false)) << "a cell that already held text";
    EXPECT_FALSE(flow.WantsCommentRow(true, true)) << "a comment row before its line is full";

    EditorBox box = CommentEditorAt(40);
    flow.AutoSize(std::string(330, 'x'), kOnePixelEach, box, true, kCd);
    ASSERT_TRUE(flow.LineFull());
    EXPECT_TRUE(flow.WantsCommentRow(true, true));
    EXPECT_TRUE(flow.WantsCommentRow(true, false));
}

} // namespace
} // namespace dirscribe
