// SPDX-License-Identifier: MIT
// The web page export in real headless Chromium: what it shows as a person filters, sorts,
// folds and moves through it, with hostile names, and at a million rows.
#include "core/export/HtmlExport.h"
#include "core/ops/ListingExport.h"
#include "core/ops/ListingSession.h"
#include "core/table/TablePopulation.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sstream>

namespace dirscribe {
namespace {

// Runs the browser driver's steps, one a line, in folder; "shown" prints the visible rows as
// kind:name ("~" dimmed above a match, "+" folded), "filter:TEXT" sets the filter box. Any
// script error is printed last.
test::ProgramResult Browse(const std::string& folder, const std::string& script) {
    std::vector<std::string> steps;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        if (line == "shown")
            line =
                "eval:[...document.querySelectorAll('#rows .row:not([hidden])')].map(r => "
                "r.classList[1] + ':' + r.querySelector('.name > span').textContent + "
                "(r.matches('.context') ? '~' : '') + (r.matches('.shut') ? '+' : '')).join('|')";
        else if (line.starts_with("filter:"))
            line = "eval:(f => { f.value = '" + line.substr(7) +
                   "'; f.dispatchEvent(new Event('input')); })(document.getElementById('filter'))";
        steps.push_back(line);
    }
    steps.insert(steps.begin() + 1,
                 "init:window.errors = []; addEventListener('error', e => errors.push(e.message))");
    steps.emplace_back("eval:errors.join() || undefined");
    return test::RunDirscribe(steps, {folder, {"python3", DIRSCRIBE_BROWSER_DRIVER}, {}});
}

TEST(WebPage, FiltersSortsFoldsAndMovesLikeTheListingWithHostileNamesAsText) {
    test::TempTree tree;
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"**x", "333"},
             {"<!--x", "1"},
             {"comments:", "55555"},
             {"[brack]", "22"},
             {"\xc3\xa9t\xc3\xa9.txt", "4444"},
             {"Docs/<b>bold.txt", "b"},
             {"Docs/notes.txt", "n"},
             {"Music/song.mp3", std::string(2048, 'm')}})
        tree.File("disk/" + name, content);
    tree.SizedFile("disk/Docs/big.bin", 3'000'000'000); // too long for its cell in bytes
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ListingSession session;
    ListingOptions& options = session.Options();
    options.printAs = PageLayout::Standard;
    options.lastDepth = -1;
    options.addComments = options.addSize = options.addSizeInBytes = 1;
    options.addAttribute = 1;
    options.addDate = 0;
    ASSERT_TRUE(session.ReadFolder(tree.Path("disk"), notice, progress, stop));
    ASSERT_EQ(session.Listing().table.Cell(5, 0), "| -[Docs]");
    session.SetCellText(5, 1, "</script><script>document.title = 'hacked'</script><!--");
    ASSERT_EQ(session.Listing().table.Cell(10, 0), "|       song.mp3");
    session.SetCellText(10, 1, "pla"); // as the old editor cut a word
    session.SetCellText(session.InsertCommentRow(10), 1, "nning session");
    ASSERT_TRUE(ExportListing(session, ExportFormat::Html, tree.Path("page.html"), notice, 0));

    const test::ProgramResult page = Browse(tree.Root(), R"(page.html
shown
eval:[...document.querySelectorAll('.head > span, #rows .row > span')].slice(0, 8).map(c => c.className + ':' + getComputedStyle(c).textAlign).join(' ')
eval:document.title.endsWith('/disk')
type:PLANNING SESSION
shown
eval:new Promise(done => setTimeout(() => done(location.hash), 500))
filter:ÉTÉ
shown
filter:[[:alpha:]]*.txt
shown
filter:\\*\\*x
shown
filter:
click:.head > span:nth-child(3) button
click:.head > span:nth-child(3) button
shown
click:#rows .open .name > i
shown
eval:document.activeElement.blur()
key:/
eval:document.activeElement.id
eval:document.activeElement.blur()
key:End
eval:document.getElementById('path').textContent.endsWith('/disk/Music/song.mp3')
key:ArrowLeft
key:ArrowLeft
key:ArrowUp
key:Enter
shown
eval:(s => { s.value = '1'; s.dispatchEvent(new Event('change')); })(levels)
shown)");
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    EXPECT_EQ(
        page.out + page.err,
        // Names as text, each row of its kind whatever its name says.
        R"("f:été.txt|f:[brack]|f:comments:|f:<!--x|f:**x|d:Docs|f:notes.txt|f:big.bin|f:<b>bold.txt|d:Music|f:song.mp3|c:"
"name:start comment:start size:right attr:center name:start comment:start size:right attr:center"
true
"d:Music~|f:song.mp3|c:"
"#q=PLANNING%20SESSION"
"f:été.txt"
"f:été.txt|d:Docs~|f:notes.txt"
"f:**x"
"f:comments:|f:été.txt|f:**x|f:[brack]|f:<!--x|d:Docs|f:big.bin|f:notes.txt|f:<b>bold.txt|d:Music|f:song.mp3|c:"
"f:comments:|f:été.txt|f:**x|f:[brack]|f:<!--x|d:Docs+|d:Music|f:song.mp3|c:"
"filter"
true
"f:comments:|f:été.txt|f:**x|f:[brack]|f:<!--x|d:Docs|f:big.bin|f:notes.txt|f:<b>bold.txt|d:Music+"
"f:comments:|f:été.txt|f:**x|f:[brack]|f:<!--x|d:Docs+|d:Music+"
)");
    // Above: each column's head and cells aligned by the class of its kind; a comment found across
    // its rows, the folder above it dimmed, and the address following the filter; case ignored for
    // every letter; patterns against whole names with classes and quoting; largest first within
    // each folder, by the exact bytes where the cell is empty; Docs folded by a click; "/" to the
    // filter; from the last row Left to its folder and Left folds it, Up and Enter unfold Docs; all
    // folded below level 1. Below: a malformed address taken as text, and a change of address.
    const test::ProgramResult opened = Browse(tree.Root(), R"(page.html#q=%
eval:document.getElementById('filter').value
eval:document.getElementById('shown').textContent
eval:location.hash = '#q=' + encodeURIComponent('BOLD')
shown)");
    EXPECT_EQ(opened.out + opened.err, R"("%"
"0 of 11 entries"
"#q=BOLD"
"d:Docs~|f:<b>bold.txt"
)");
}

// The page's filter takes a pattern as search does: the same rows match for every class,
// "<" included, and a pattern of a thousand stars is answered as quickly as one of one.
TEST(WebPage, PatternsMatchTheRowsSearchFinds) {
    test::TempTree tree;
    const std::vector<std::string> names = {"a<b",
                                            "x!y",
                                            "plain",
                                            "ctl\x1B"
                                            "z",
                                            "tab\tin",
                                            "nel\xC2\x85",
                                            "\xC3\x9C"
                                            "ber",
                                            "\xC7\x85x",
                                            "123",
                                            "\xC5\xBFt",
                                            "\xE2\x84\xAA"
                                            "elvin",
                                            "\xC4\xB1k",
                                            "\xC3\x9F",
                                            "nb\xC2\xA0sp",
                                            "\xC3\xA9t\xC3\xA9",
                                            std::string(250, 'z')};
    std::vector<std::pair<std::string, std::string>> uncommented;
    for (const std::string& name : names)
        uncommented.emplace_back(name, "");
    tree.File("doc.dsc", test::DocumentOf(uncommented));
    tree.File("none.ini");
    ASSERT_EQ(
        test::RunDirscribe({"convert", "doc.dsc", "--profile", "none.ini", "--html", "page.html"},
                           {tree.Root(), {}, {}})
            .exitCode,
        0);
    const std::vector<std::string> patterns = {"*[[:cntrl:]]*",
                                               "*[[:punct:]]*",
                                               "[[:graph:]]*",
                                               "*[[:space:]]*",
                                               "*[[:blank:]]*",
                                               "*[[:upper:]]*",
                                               "*[[:lower:]]*",
                                               "*[[:alpha:]]",
                                               "[[:digit:]]*",
                                               "[[:alnum:]]*",
                                               "*[[:print:]]",
                                               "?<?",
                                               "[!a-z]*",
                                               "*[É]*",
                                               "K*",
                                               "s*",
                                               "I*",
                                               "[^[:alpha:]]*",
                                               "*\\!*",
                                               std::string(1000, '*') + "zz"};
    std::string script = "page.html\n", expected;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const std::string& pattern = patterns[i];
        // The rows search finds, numbered from 1, as the page's rows are from 0.
        std::istringstream found(
            test::RunDirscribe({"search", pattern, "doc.dsc"}, {tree.Root(), {}, {}}).out);
        std::string rows;
        for (std::string line; std::getline(found, line);)
            rows += (rows.empty() ? "" : " ") + std::to_string(std::stoi(line.substr(8)) - 1);
        expected += "\"" + std::to_string(i) + " " + rows + "\"\n";
        std::string quoted;
        for (const char c : pattern)
            quoted += c == '\\' || c == '\'' ? std::string("\\\\") + c : std::string(1, c);
        script += "filter:" + quoted + "\n";
        script += "eval:'" + std::to_string(i) +
                  " ' + [...document.querySelectorAll('#rows .row:not([hidden])')]"
                  ".map(r => r.dataset.row).join(' ')\n";
    }
    const test::ProgramResult page = Browse(tree.Root(), script);
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    EXPECT_EQ(page.out + page.err, expected);
}

TEST(WebPage, AMillionRowsOpenAndFilter) {
    test::TempTree tree;
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size)});
    for (int row = 0; row < 1'000'000; ++row) {
        const std::string n = std::to_string(row);
        if (row % 1000 == 0)
            table.InsertRow(table.RowCount(), {"| -[F" + n + "]", "", "1.0 Mb"}, RowKind::Entry);
        else if (row == 32768) // a comment that goes on across the page's chunks of rows
            table.InsertRow(table.RowCount(), {"comments:", "beta", ""}, RowKind::Continuation);
        else
            table.InsertRow(table.RowCount(),
                            {"|       f" + n + ".dat", row == 32767 ? "alpha " : "", "1  b"},
                            RowKind::Entry);
    }
    WriteFileAtomically(tree.Path("page.html"), [&](ByteSink& sink) {
        WriteHtml({table, "/big", {}, false, 0, 0, nullptr}, sink);
    });
    const test::ProgramResult page = Browse(tree.Root(), R"(page.html
eval:document.getElementById('shown').textContent
filter:f99999
eval:document.getElementById('shown').textContent
shown
filter:ALPHA BETA
shown
eval:document.getElementsByTagName('*').length < 500)");
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    EXPECT_EQ(page.out + page.err, R"("999,999 entries"
"11 of 999,999 entries"
"d:F99000~|f:f99999.dat|d:F999000~|f:f999990.dat|f:f999991.dat|f:f999992.dat|f:f999993.dat|f:f999994.dat|f:f999995.dat|f:f999996.dat|f:f999997.dat|f:f999998.dat|f:f999999.dat"
"d:F32000~|f:f32767.dat|c:"
true
)");
}

} // namespace
} // namespace dirscribe
