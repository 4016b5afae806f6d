// SPDX-License-Identifier: MIT
// The web page export in real headless Chromium: what it shows as a person filters, sorts,
// folds and moves through it, with hostile names, and at a million rows.
#include "core/export/HtmlExport.h"
#include "core/ops/ListingExport.h"
#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// The visible rows as kind:name, "~" dimmed above a match, "+" folded.
constexpr const char* kShown =
    "eval:[...document.querySelectorAll('#rows .row:not([hidden])')].map(r => "
    "r.classList[1] + ':' + r.querySelector('.name > span').textContent + "
    "(r.classList.contains('context') ? '~' : '') + (r.classList.contains('shut') ? '+' : ''))"
    ".join('|')";
constexpr const char* kErrors =
    "init:window.errors = []; addEventListener('error', e => errors.push(e.message))";

std::string Filter(const std::string& text) {
    return "eval:(f => { f.value = '" + text +
           "'; f.dispatchEvent(new Event('input')); })"
           "(document.getElementById('filter'))";
}

test::ProgramResult Browse(const std::string& folder, std::vector<std::string> steps) {
    steps.insert(steps.begin() + 1, kErrors);
    steps.emplace_back("eval:errors.join()");
    return test::RunDirscribe(steps, {folder, {"python3", DIRSCRIBE_BROWSER_DRIVER}, {}});
}

TEST(WebPage, FiltersSortsFoldsAndMovesLikeTheListingWithHostileNamesAsText) {
    test::TempTree tree;
    const std::vector<std::pair<std::string, std::string>> files = {
        {"**x", "333"},
        {"<!--x", "1"},
        {"comments:", "55555"},
        {"[brack]", "22"},
        {"\xc3\xa9t\xc3\xa9.txt", "4444"},
        {"Docs/<b>bold.txt", "b"},
        {"Docs/notes.txt", "n"},
        {"Music/song.mp3", std::string(2048, 'm')}};
    for (const auto& [name, content] : files)
        tree.File("disk/" + name, content);
    tree.SizedFile("disk/Docs/big.bin", 3'000'000'000); // too long for its cell in bytes
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ListingSession session;
    ListingOptions& options = session.Options();
    options.printAs = static_cast<int>(PageLayout::Standard);
    options.lastDepth = -1;
    options.addComments = options.addSize = options.addSizeInBytes = 1;
    options.addAttribute = options.addDate = 0;
    session.SetPath(tree.Path("disk"));
    ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
    ASSERT_EQ(session.Table().Cell(5, 0), "| -[Docs]");
    session.SetCellText(5, 1, "</script><script>document.title = 'hacked'</script><!--");
    ASSERT_EQ(session.Table().Cell(10, 0), "|       song.mp3");
    session.SetCellText(10, 1, "planning");
    session.SetCellText(session.InsertCommentRow(10), 1, "session");
    ASSERT_TRUE(ExportListing(session, ExportFormat::Html, tree.Path("page.html"), notice, 0));

    const test::ProgramResult page =
        Browse(tree.Root(),
               {"page.html",
                kShown,
                "eval:document.title",
                "type:PLANNING SESSION",
                kShown,
                "eval:location.hash",
                Filter("\xc3\x89T\xc3\x89"),
                kShown,
                Filter("[[:alpha:]]*.txt"),
                kShown,
                Filter("\\\\*\\\\*x"),
                kShown,
                Filter(""),
                "click:.head > span:nth-child(3) button",
                "click:.head > span:nth-child(3) button",
                kShown,
                "click:#rows .open .name > i",
                kShown,
                "eval:document.activeElement.blur()",
                "key:/",
                "eval:document.activeElement.id",
                "eval:document.activeElement.blur()",
                "key:End",
                "eval:document.getElementById('path').textContent.endsWith('/Music/song.mp3')",
                "key:ArrowLeft",
                "key:ArrowLeft",
                "key:ArrowUp",
                "key:Enter",
                kShown,
                "eval:(s => { s.value = '1'; s.dispatchEvent(new Event('change')); })"
                "(document.getElementById('levels'))",
                kShown});
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    ASSERT_EQ(page.exitCode, 0) << page.err;
    EXPECT_EQ(page.out,
              // Names as text, each row of its kind whatever its name says.
              "\"f:\xc3\xa9t\xc3\xa9.txt|f:[brack]|f:comments:|f:<!--x|f:**x|d:Docs|"
              "f:notes.txt|f:big.bin|f:<b>bold.txt|d:Music|f:song.mp3|c:\"\n"
              "\"Listing of " +
                  tree.Path("disk") +
                  "\"\n"
                  // A comment found across its rows, the folder above dimmed; in the address.
                  "\"d:Music~|f:song.mp3|c:\"\n\"#q=PLANNING%20SESSION\"\n"
                  // Case folded for every letter; patterns against whole names, with classes
                  // and quoting.
                  "null\n\"f:\xc3\xa9t\xc3\xa9.txt\"\nnull\n"
                  "\"f:\xc3\xa9t\xc3\xa9.txt|d:Docs~|f:notes.txt\"\nnull\n\"f:**x\"\nnull\n"
                  // Largest first within each folder, by exact bytes where the cell is empty.
                  "\"f:comments:|f:\xc3\xa9t\xc3\xa9.txt|f:**x|f:[brack]|f:<!--x|d:Docs|f:big.bin|"
                  "f:notes.txt|f:<b>bold.txt|d:Music|f:song.mp3|c:\"\n"
                  // Docs folded; "/" reaches the filter; End, Left to the folder and Left folds it,
                  // Up, Enter unfolds Docs; then everything below level 1 folded.
                  "\"f:comments:|f:\xc3\xa9t\xc3\xa9.txt|f:**x|f:[brack]|f:<!--x|d:Docs+|d:Music|"
                  "f:song.mp3|c:\"\n"
                  "null\n\"filter\"\nnull\ntrue\n"
                  "\"f:comments:|f:\xc3\xa9t\xc3\xa9.txt|f:**x|f:[brack]|f:<!--x|d:Docs|f:big.bin|"
                  "f:notes.txt|f:<b>bold.txt|d:Music+\"\n"
                  "null\n\"f:comments:|f:\xc3\xa9t\xc3\xa9.txt|f:**x|f:[brack]|f:<!--x|d:Docs+|"
                  "d:Music+\"\n\"\"\n");

    // A malformed address is taken as text; another one filters as it changes.
    const test::ProgramResult opened =
        Browse(tree.Root(), {"page.html#q=%", "eval:document.getElementById('filter').value",
                             "eval:document.getElementById('shown').textContent",
                             "eval:location.hash = '#q=' + encodeURIComponent('BOLD')", kShown});
    EXPECT_EQ(opened.out,
              "\"%\"\n\"0 of 11 entries\"\n\"#q=BOLD\"\n\"d:Docs~|f:<b>bold.txt\"\n\"\"\n")
        << opened.err;
}

TEST(WebPage, AMillionRowsOpenAndFilter) {
    test::TempTree tree;
    ListingTable table;
    table.SetColumns({{kFileNameTitle, 0}, {kCommentsTitle, 0}, {kSizeTitle, 0}});
    for (int row = 0; row < 1'000'000; ++row) {
        const std::string n = std::to_string(row);
        if (row % 1000 == 0)
            table.AppendRow({"| -[F" + n + "]", "", "1.0 Mb"}, RowKind::Entry);
        else if (row == 32768) // a comment that goes on across the page's blocks of rows
            table.AppendRow({"comments:", "beta", ""}, RowKind::Continuation);
        else
            table.AppendRow({"|       f" + n + ".dat", row == 32767 ? "alpha" : "", "1  b"},
                            RowKind::Entry);
    }
    WriteFileAtomically(tree.Path("page.html"), [&](ByteSink& sink) {
        WriteHtml({table, "/big", {}, false, 0, 0, nullptr}, sink);
    });
    const test::ProgramResult page =
        Browse(tree.Root(),
               {"page.html", "eval:document.getElementById('shown').textContent", Filter("f99999"),
                "eval:document.getElementById('shown').textContent", kShown, Filter("ALPHA BETA"),
                kShown, "eval:document.getElementsByTagName('*').length < 500"});
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    EXPECT_EQ(page.out, "\"999,999 entries\"\nnull\n\"11 of 999,999 entries\"\n"
                        "\"d:F99000~|f:f99999.dat|d:F999000~|f:f999990.dat|f:f999991.dat|"
                        "f:f999992.dat|f:f999993.dat|f:f999994.dat|f:f999995.dat|f:f999996.dat|"
                        "f:f999997.dat|f:f999998.dat|f:f999999.dat\"\n"
                        "null\n\"d:F32000~|f:f32767.dat|c:\"\ntrue\n\"\"\n")
        << page.err;
}

} // namespace
} // namespace dirscribe
