// SPDX-License-Identifier: MIT
// Opening a document file from disk: its contents, or a refusal that names the file.
#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

using namespace std::string_literals;

// Options as a user left them, and as they must stay when a file is refused.
ListingOptions Current() {
    ListingOptions options;
    options.printAs = 0;
    options.addComments = 1;
    options.addDate = 1;
    options.dateFormat = 3;
    return options;
}

// Opens path the way a window does: the settings change only when the whole file is good.
std::string Open(const std::string& path, ListingOptions& options, DocumentContents& contents) {
    try {
        contents = LoadDocumentFile(path);
        contents.settings.ApplyTo(options);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

TEST(LoadDocumentFile, RefusedFilesChangeNothingAndAreNamed) {
    test::TempTree tree;
    tree.Folder("disk.dsc");
    tree.File("empty.dsc");
    tree.File("list.txt", "Dirscribe: Listing of   </home/ann> \r\nCreated on: "
                          "Wed Dec 18 14:05:09 2002\r\n"
                          "Directory(Folder)  summary:  Size(bytes):                    1.5 "
                          "Kb\r\n");
    // A whole document whose `Add Size` is 7, and one that stops inside its first row.
    const std::string head = "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                             "\x01/"
                             "\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00"
                             "\x01\x00\x00\x00"s;
    tree.File("bad-setting.dsc", head + "\x07\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                        "\x00\x00\x00\x00"s);
    tree.File("cut.dsc", head + "\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x01\x00\x00\x00"
                                "\x05"
                                "abcd"s);

    tree.SizedFile("huge.dsc", kMaxDocumentBytes + 1);

    struct Case {
        const char* name;
        bool read; // the file was read, but is no document
        const char* why;
    };
    const Case cases[] = {
        {"disk.dsc", false, "it is a folder."},
        {"gone.dsc", false, "there is no such file."},
        {"huge.dsc", false, "it is larger than 1 GiB."},
        {"empty.dsc", true, "the file is empty."},
        {"list.txt", true, "it is a text report, which can be saved but not opened."},
        {"bad-setting.dsc", true, "the setting \"Add Size\" is 7, not 0 or 1."},
        {"cut.dsc", true, "the file ends inside row 1 of 1."},
    };
    for (const Case& c : cases) {
        const std::string path = tree.Path(c.name);
        ListingOptions options = Current();
        DocumentContents contents;
        contents.folderPath = "untouched";
        EXPECT_EQ(Open(path, options, contents),
                  c.read ? "\"" + path + "\" is not a Dirscribe document: " + c.why
                         : "Cannot read \"" + path + "\": " + c.why);
        EXPECT_EQ(options, Current()) << c.name;
        EXPECT_EQ(contents.folderPath, "untouched");
    }
}

} // namespace
} // namespace dirscribe
