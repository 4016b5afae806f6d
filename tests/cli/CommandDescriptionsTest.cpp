// SPDX-License-Identifier: MIT
// --help, the manual page and the bash completion describe one command line.
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

using Words = std::set<std::string>;

Words OptionsNamedIn(const std::string& text) {
    static const std::regex option("(^|[ ,])(--?[a-z][a-z-]*)");
    Words found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[2]);
    found.erase("-h"); // the short spelling of --help, which Tab need not offer
    return found;
}

// What bash offers for the last word after "dirscribe words...", in `folder`.
Words Complete(const std::string& folder, const std::vector<std::string>& words) {
    // bash -c SCRIPT NAME ARGS: the program's path lands in $0 and the words in "$@".
    const std::string script = "source '" DIRSCRIBE_COMPLETION "'; COMP_WORDS=(dirscribe \"$@\");"
                               " COMP_CWORD=$#; _dirscribe; printf '%s\\n' \"${COMPREPLY[@]}\"";
    const test::ProgramResult result =
        test::RunDirscribe(words, {folder, {"bash", "-c", script}, {}});
    EXPECT_EQ(result.err, "");
    std::istringstream lines(result.out);
    Words offered;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            offered.insert(line);
    return offered;
}

TEST(CommandDescriptions, HelpManualPageAndCompletionAgree) {
    test::TempTree tree;
    tree.Folder("Music");
    tree.File("old.dsc");
    tree.File("notes.txt");
    const std::string manual = test::ReadFile(DIRSCRIBE_MANUAL_PAGE);
    const test::ProgramResult version = test::RunDirscribe({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    ASSERT_TRUE(std::regex_match(version.out, std::regex("dirscribe [0-9]+\\.[0-9]+\\.[0-9]+\n")));
    EXPECT_NE(manual.find("\"" + version.out.substr(0, version.out.size() - 1) + "\""),
              std::string::npos);

    // The program's own options come before its commands in --help.
    const std::string help = test::RunDirscribe({"--help"}).out;
    const std::size_t commandsAt = help.find("\nCommands:\n");
    Words named = OptionsNamedIn(help);
    EXPECT_EQ(Complete(tree.Root(), {"-"}), OptionsNamedIn(help.substr(0, commandsAt)));
    Words commands;
    std::istringstream lines(help.substr(commandsAt + 11));
    for (std::string line; std::getline(lines, line) && line.starts_with("  ");)
        commands.insert(line.substr(2, line.find(' ', 2) - 2));
    Words expected = commands;
    expected.insert({"Music", "old.dsc"});
    EXPECT_EQ(Complete(tree.Root(), {""}), expected) << "commands, folders and documents";
    for (const std::string& command : commands) {
        const Words options = OptionsNamedIn(test::RunDirscribe({command, "--help"}).out);
        EXPECT_EQ(Complete(tree.Root(), {command, "x", "-"}), options) << command;
        named.insert(options.begin(), options.end());
    }
    for (const std::string& option : named)
        EXPECT_NE(manual.find(std::regex_replace(option, std::regex("-"), "\\-")),
                  std::string::npos)
            << option << " is not in the manual page";

    EXPECT_EQ(Complete(tree.Root(), {"list", ""}), Words{"Music"});
    EXPECT_EQ(Complete(tree.Root(), {"convert", ""}), (Words{"Music", "old.dsc"}));
    EXPECT_EQ(Complete(tree.Root(), {"list", "x", "--layout", ""}),
              (Words{"standard", "filedata", "cd", "zip"}));
    EXPECT_EQ(Complete(tree.Root(), {"list", "x", "--content", "=", "f"}),
              (Words{"folders", "files"}));
    EXPECT_EQ(Complete(tree.Root(), {"list", "x", "--columns", "size,"}),
              (Words{"size,comments", "size,attr", "size,date"}));
}

} // namespace
} // namespace dirscribe
