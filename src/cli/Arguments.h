// SPDX-License-Identifier: MIT
// The words of a command line, checked and sorted out.
#pragma once

#include "core/listing/ListingContent.h"
#include "core/options/PageLayout.h"
#include "core/search/SearchFilter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dirscribe {

// A column to sort by, clicked once, or twice for a descending order.
struct SortRequest {
    std::string column; // a title or an index
    bool descending = false;
};

// What duplicates compares entries by.
enum class DuplicateKey : std::uint8_t { NameAndSize, NameSizeAndDate, Size };

// The headless commands, one per entry of the command table that names and describes them.
enum class Command : std::uint8_t {
    List,
    Convert,
    Details,
    Search,
    Update,
    Volumes,
    Duplicates,
    Diff
};

// One headless command with its options. Every optional setting is applied over the
// profile's; a missing one leaves the profile's value.
struct Arguments {
    Command command = Command::List;       // as the command table names it
    std::string operand;                   // the folder, document, file or pattern
    std::vector<std::string> paths;        // search: the documents and folders; diff: NEW.dsc
    std::optional<PageLayout> layout;      // --layout: `Print as `
    std::optional<std::int32_t> depth;     // --depth: N or -1 for all
    std::optional<ListingContent> content; // --content: `Files and Folders`
    std::optional<std::vector<std::string>> columns; // --columns: comments,size,attr,date
    std::optional<std::int32_t> dateFormat;          // --date-format
    bool bytes = false;                              // --bytes
    std::optional<SortRequest> sort;                 // --sort COLUMN[:desc]
    std::optional<std::string> txt;                  // --txt FILE or "-"
    std::optional<std::string> dsc;                  // --dsc FILE
    std::optional<std::string> pdf;                  // --pdf FILE
    std::optional<std::string> csv;                  // --csv FILE or "-"
    std::optional<std::string> json;                 // --json FILE or "-"
    std::optional<std::string> html;                 // --html FILE
    std::optional<std::string> profile;              // --profile FILE
    std::optional<std::string> note;                 // list, update: --note TEXT
    SearchFilter filter;  // search: --size, --newer, --older, --kind, --volume
    bool noIndex = false; // search, volumes, duplicates: --no-index
    DuplicateKey by = DuplicateKey::NameAndSize; // duplicates: --by
    bool disk = false;                           // diff: --disk
    bool jsonOutput = false;                     // diff: --json
};

// What --help or --version asks to be printed on standard output.
struct InfoText {
    std::string text;
};

struct UsageError {
    std::string message;
};

// Parses argv[1..] into a command to run, a text to print, or what is wrong, in words for
// the user.
std::variant<Arguments, InfoText, UsageError> ParseArguments(const std::vector<std::string>& words);

// Whether `word` names a headless command.
bool IsCommandName(std::string_view word);

// The short usage printed after a usage error.
std::string UsageText();

} // namespace dirscribe
