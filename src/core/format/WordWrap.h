// SPDX-License-Identifier: MIT
// Breaking a text into lines between words.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace dirscribe {

// A text broken in two: the line it keeps and what goes on to the next line.
struct LineBreak {
    std::string_view kept;
    std::string_view carried;
};

// Breaks a line that is full after its last blank, so the word being written goes on whole:
// "a planning" gives "a " and "planning". The blank stays at the end of the line it ends,
// where it shows nowhere, so the two joined without a separator are the line as written. A
// line without a blank after its first character is one word longer than the line: it keeps
// everything and carries nothing.
LineBreak BreakAtLastBlank(std::string_view line);

// Whether a line of text fits where it is to be written.
using LineFits = std::function<bool(std::string_view line)>;

// The lines of text, each as long as fits: a line breaks at the last blank that fits (the
// blank is dropped), and only a word longer than a line breaks inside it, between two
// characters (UTF-8 sequences). Every line holds at least one character, so nothing is
// lost however narrow the room; joining the lines with one blank where a blank was dropped
// gives the text back. A text that fits whole is one line; an empty text is one empty line.
// fits is asked about starts of at most twice a line's length (texts of 1 KiB or less are
// asked about whole first), so the work grows with the text as the lines do.
std::vector<std::string_view> WrapWords(std::string_view text, const LineFits& fits);

} // namespace dirscribe
