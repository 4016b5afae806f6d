// SPDX-License-Identifier: MIT
// When a typed comment runs out of room and flows onto a new "comments:" row.
#pragma once

#include "core/format/WordWrap.h"
#include "core/options/PageLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace dirscribe {

// The first cell of a comment row: the row prints as one more line of the comment above.
inline constexpr std::string_view kCommentRowMark = "comments:";

// Width in pixels of a text in the table's font. The window measures with its real font;
// tests use a fixed width per character.
using TextMeasure = std::function<int(std::string_view text)>;

// An open cell editor's rectangle in table coordinates (right and bottom exclusive).
struct EditorBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The state of comment typing that outlives one editor: whether the comment row being
// typed has reached the printable width, and whether the open editor was opened by the
// flow itself (a chained edit). One per window.
class CommentFlow {
public:
    // The right edge (table pixels) at which a comment row is a full printed line in the
    // given layout: 680/750 for letter pages, 364/480 for a CD case, 284/380
    // for a ZIP case, the smaller when the editor starts at x 50 or less. None for an
    // unknown layout: such a line is never full.
    [[nodiscard]] static std::optional<int> PrintableWidthLimit(PageLayout layout, int editorLeft);

    // Sizes an editor after its text changed. Returns true when the text fills the editor
    // (the editor is at least 2 px wide and text width + 15 reaches its width). On a
    // comment row an editor too narrow for text width + 5 widens to that (box.right
    // changes) and the line is marked full when the new right edge reaches the layout's
    // printable width, else not full; editors on other rows never widen.
    bool AutoSize(std::string_view text, const TextMeasure& measure, EditorBox& box,
                  bool commentRow, PageLayout layout);

    // After AutoSize reported a full editor: whether typing moves on to a new comment
    // row. An empty cell of an ordinary row moves on as soon as it fills; a comment row,
    // or a cell that already held text, only once the printed line is full.
    [[nodiscard]] bool WantsCommentRow(bool commentRow, bool initialTextEmpty) const;

    // Where the full line breaks when typing moves on to the new comment row: after its
    // last blank, which stays at the end of the row, so the row keeps the words before it,
    // the word being typed goes down whole ("... planning " / "session", never "pla" /
    // "nning"), and the rows of a comment joined without a separator are what was typed.
    // Only a word longer than the line stays split where it filled it.
    [[nodiscard]] static LineBreak BreakFullLine(std::string_view line) {
        return BreakAtLastBlank(line);
    }

    [[nodiscard]] bool LineFull() const { return m_lineFull; }
    [[nodiscard]] bool Chained() const { return m_chained; }
    void SetChained(bool chained) { m_chained = chained; }
    // Every end of an edit: the next edit starts unchained and with no full line, so a
    // line filled in an earlier edit cannot start a comment row somewhere else.
    void EditEnded() {
        m_chained = false;
        m_lineFull = false;
    }
    void ClearLineFull() { m_lineFull = false; }

private:
    bool m_lineFull = false;
    bool m_chained = false;
};

} // namespace dirscribe
