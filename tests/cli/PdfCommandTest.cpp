// SPDX-License-Identifier: MIT
// Printed listings written as PDF files by the real program, read back with poppler's tools.
#include "core/ops/ListingSession.h"
#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;
using test::TempTree;

// What a command prints on standard output; fails the test when it does not run.
std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return out;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// pdfinfo's "Pages:" and "Page size:" lines, with their runs of blanks made single.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

// The text of one page as pdftotext lays it out, runs of blanks made single.
std::string PageText(const std::string& pdf, int page) {
    const std::string number = std::to_string(page);
    return Squeezed(
        Capture("pdftotext -layout -f " + number + " -l " + number + " " + Quoted(pdf) + " -"));
}

std::string Info(const std::string& pdf) {
    return Squeezed(Capture("pdfinfo " + Quoted(pdf)));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A word of a page as pdftotext -bbox places it, its right edge in points from the paper's
// left edge.
struct Word {
    std::string text;
    double right = 0;
};

std::vector<Word> Words(const std::string& pdf) {
    const std::string html = Capture("pdftotext -bbox -f 1 -l 1 " + Quoted(pdf) + " -");
    std::vector<Word> words;
    for (std::size_t at = html.find("<word "); at != std::string::npos;
         at = html.find("<word ", at + 1)) {
        const std::size_t right = html.find("xMax=\"", at) + 6;
        const std::size_t text = html.find('>', at) + 1;
        words.push_back(
            {html.substr(text, html.find("</word>", text) - text), std::stod(html.substr(right))});
    }
    return words;
}

// The page's x in points of a position in hundredths of an inch from the printable area,
// which begins a quarter inch in.
double Points(int x) {
    return 18 + x * 0.72;
}

class PdfCommand : public ::testing::Test {
protected:
    // tree/ holds the folders Alpha and Beta (when asked) and files f-001.txt ... one byte each.
    void MakeTree(int files, bool folders) {
        tree.Folder("tree");
        if (folders) {
            tree.Folder("tree/Alpha");
            tree.Folder("tree/Beta");
        }
        for (int i = 1; i <= files; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "tree/f-%03d.txt", i);
            tree.File(name, "x");
        }
    }
    ProgramResult Run(std::vector<std::string> args, const std::string& profile = "none.ini") {
        if (profile == "none.ini")
            tree.File(profile);
        args.insert(args.end(), {"--profile", tree.Path(profile)});
        return RunDirscribe(args, {tree.Root(), {}, {}});
    }
    void ExpectLetterPages(const std::string& pdf, int pages) {
        const std::string info = Info(pdf);
        EXPECT_TRUE(Has(info, "\nPages: " + std::to_string(pages) + "\n")) << info;
        EXPECT_TRUE(Has(info, "\nPage size: 612 x 792 pts (letter)\n")) << info;
    }

    TempTree tree;
};

// Letter pages carry the title, the summary with its legend, headings and numbered rows,
// folders first; the inserts' panels are numbered as pages, two to a sheet. 71 rows need two
// letter pages, 62 rows three CD panels. Every drawing call of each layout is checked with
// the print job's recorded pages.
TEST_F(PdfCommand, EachLayoutPrintsItsPagesAndPanels) {
    struct Case {
        const char* layout;
        int files;
        std::vector<const char*> first;
        std::vector<const char*> second;
    };
    const Case cases[] = {
        {"standard",
         69,
         {"TREE", "Wed Dec 18 14:05:09 2002", "Summary:", "Files: 69", "Subfolders: 2",
          "ATTRIBUTES:", "Listing: page 1 of 2", "Name Comments Size", "1. [Beta]", "2. [Alpha]",
          "70. f-068.txt"},
         {"TREE page 2 of 2", "71. f-069.txt"}},
        {"cd",
         60,
         {"tree", "Summary:", "page 1 of 3", "1. [Beta]", "29. f-027.txt", "tree page 2 of 3",
          "30. f-028.txt", "61. f-059.txt"},
         {"tree page 3 of 3", "62. f-060.txt"}},
    };
    for (const Case& c : cases) {
        MakeTree(c.files, true);
        const std::string pdf = tree.Path(std::string(c.layout) + ".pdf");
        const ProgramResult result = Run({"list", "tree", "--layout", c.layout, "--pdf", pdf});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err + result.out, "") << "a PDF was asked for, so no report";
        ExpectLetterPages(pdf, 2);
        const std::string first = PageText(pdf, 1);
        for (const char* part : c.first)
            EXPECT_TRUE(Has(first, part)) << part << "\n" << first;
        EXPECT_EQ(Has(first, "ATTRIBUTES:"), c.layout == std::string_view("standard"))
            << "a legend on letter pages only";
        const std::string second = PageText(pdf, 2);
        for (const char* part : c.second)
            EXPECT_TRUE(Has(second, part)) << part << "\n" << second;
        EXPECT_FALSE(Has(second, "Summary:"));
        std::filesystem::remove_all(tree.Path("tree"));
    }
}

TEST_F(PdfCommand, AnEmptyFolderPrintsTitleAndSummaryOnOnePage) {
    tree.Folder("tree");
    const ProgramResult result = Run({"list", "tree", "--layout", "cd", "--pdf", "cd.pdf"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExpectLetterPages(tree.Path("cd.pdf"), 1);
    const std::string page = PageText(tree.Path("cd.pdf"), 1);
    EXPECT_TRUE(Has(page, "Files: 0")) << page;
    EXPECT_FALSE(Has(page, "page 1 of")) << page;
}

TEST_F(PdfCommand, AConvertedDocumentPrintsAsTheListingDid) {
    MakeTree(60, true); // 62 rows: three panels on two pages
    ASSERT_EQ(
        Run({"list", "tree", "--layout", "cd", "--dsc", "cd.dsc", "--pdf", "listed.pdf"}).exitCode,
        0);
    // The document brings back its layout, so the profile's Standard does not apply.
    tree.File("standard.ini", "[Options]\nPrint as =0\n");
    const ProgramResult converted =
        Run({"convert", "cd.dsc", "--pdf", "converted.pdf"}, "standard.ini");
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    for (int page : {1, 2})
        EXPECT_EQ(PageText(tree.Path("converted.pdf"), page),
                  PageText(tree.Path("listed.pdf"), page));
    EXPECT_TRUE(Has(PageText(tree.Path("converted.pdf"), 1), "tree page 2 of 3"));
    // With the clock fixed the two files are the same to the byte, creation date included.
    EXPECT_EQ(test::ReadFile(tree.Path("converted.pdf")), test::ReadFile(tree.Path("listed.pdf")));
    EXPECT_TRUE(Has(Info(tree.Path("listed.pdf")), "CreationDate: Wed Dec 18 14:05:09 2002"));
}

TEST_F(PdfCommand, AFailedWriteSaysWhyAndKeepsTheOldFile) {
    MakeTree(2, false);
    tree.File("locked/out.pdf", "old pages");
    tree.File("none.ini");
    tree.Chmod("", 0755);
    tree.Chmod("locked", 0555);
    test::RunOptions options{tree.Root(), {}, {}};
    if (test::RunningAsRoot())
        options.prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    const ProgramResult refused =
        RunDirscribe({"list", "tree", "--profile", "none.ini", "--pdf", "locked/out.pdf"}, options);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Has(refused.err, "Cannot save \"locked/out.pdf\"")) << refused.err;
    EXPECT_EQ(test::ReadFile(tree.Path("locked/out.pdf")), "old pages");

    const ProgramResult usage = Run({"list", "tree", "--pdf", "-"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(Has(usage.err, "usage: dirscribe")) << usage.err;
}

// Typed in a document of each layout, a comment far longer than its printed column goes on
// below its row: every word of it is on paper.
TEST_F(PdfCommand, ALongCommentPrintsEveryWordInEachLayout) {
    MakeTree(3, false);
    std::vector<std::string> words;
    std::string comment = "Scanned";
    for (int i = 0; i < 40; ++i) {
        words.push_back("invoice" + std::to_string(i) + (i % 5 == 4 ? "," : ""));
        comment += " " + words.back();
    }
    for (const PageLayout layout : {PageLayout::Standard, PageLayout::FileData,
                                    PageLayout::CdInsert, PageLayout::ZipInsert}) {
        ListingSession session;
        test::UseFlatStandardWithComments(session.Options());
        session.Options().printAs = layout;
        test::RecordingNotice notice;
        NullProgress progress;
        StopFlag stop;
        ASSERT_TRUE(session.ReadFolder(tree.Path("tree"), notice, progress, stop));
        ASSERT_TRUE(session.SetCellText(1, 1, comment));
        ASSERT_TRUE(session.Save(tree.Path("typed.dsc"), SaveFormat::DocumentFile, notice, 0));
        const ProgramResult result = Run({"convert", "typed.dsc", "--pdf", "typed.pdf"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string text =
            Squeezed(Capture("pdftotext -layout " + Quoted(tree.Path("typed.pdf")) + " -"));
        for (const std::string& word : words)
            EXPECT_TRUE(Has(text, " " + word + " ") || Has(text, " " + word + "\n"))
                << static_cast<int>(layout) << ": " << word << "\n"
                << text;
        EXPECT_FALSE(Has(text, "…")) << text;
    }
}

TEST_F(PdfCommand, LongTextsEndWithAnEllipsisBeforeTheNextColumnButTheTitleBreaksItsPath) {
    const std::string name = "A_file_name_that_runs_on_" + std::string(53, 'x');
    const std::string folder = "Folder_" + std::string(64, 'y');
    tree.SizedFile(folder + "/" + name, 123456);
    struct Case {
        const char* layout;
        int sizeX;    // where the Size column begins
        int boxRight; // the title box's right edge
    };
    for (const Case& c :
         {Case{"standard", 370, 369}, Case{"cd", 370, 297}, Case{"zip", 270, 297}}) {
        const std::string pdf = std::string(c.layout) + ".pdf";
        ASSERT_EQ(
            Run({"list", folder, "--layout", c.layout, "--columns", "size", "--pdf", pdf}).exitCode,
            0);
        bool nameSeen = false;
        bool sizeSeen = false;
        std::string title; // the folder's name, on as many lines of the box as it takes
        for (const Word& word : Words(tree.Path(pdf))) {
            if (word.text.find("A_file_name") != std::string::npos) {
                nameSeen = true;
                EXPECT_TRUE(word.text.ends_with("…")) << c.layout << ": " << word.text;
                EXPECT_LT(word.right, Points(c.sizeX)) << c.layout << ": " << word.text;
            } else if (word.text.starts_with("Folder_") ||
                       (!title.empty() && word.text.find_first_not_of('y') == std::string::npos)) {
                title += word.text;
                EXPECT_LT(word.right, Points(c.boxRight)) << c.layout << ": " << word.text;
            }
            sizeSeen = sizeSeen || word.text == "120.5";
        }
        EXPECT_TRUE(nameSeen && sizeSeen) << c.layout;
        EXPECT_EQ(title, folder) << c.layout << ": a name in the title is never cut";
    }
    // A short path stands in capitals, every letter of it.
    tree.File("Sigur Rós - Ágætis byrjun/Svefn-g-englar.mp3");
    ASSERT_EQ(Run({"list", "Sigur Rós - Ágætis byrjun", "--layout", "standard", "--pdf", "s.pdf"})
                  .exitCode,
              0);
    std::string words;
    for (const Word& word : Words(tree.Path("s.pdf")))
        words += word.text + ' ';
    EXPECT_NE(words.find("SIGUR RÓS - ÁGÆTIS BYRJUN "), std::string::npos) << words;
}

} // namespace
} // namespace dirscribe
