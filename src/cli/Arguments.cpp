// SPDX-License-Identifier: MIT
// The command line's one description: the parser, --help and the usage text all come from
// the commands and options declared here.
#include "cli/Arguments.h"

#include "core/docfile/DocumentBlock.h"
#include "core/format/Utf8.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <memory>

namespace dirscribe {

namespace {

std::optional<std::int32_t> ParseNumber(std::string_view text, std::int32_t low,
                                        std::int32_t high) {
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

template <typename T>
std::optional<T> Choice(std::string_view text, const std::map<std::string_view, T>& choices) {
    const auto it = choices.find(text);
    return it == choices.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::vector<std::string>> ParseColumns(std::string_view text) {
    std::vector<std::string> columns;
    if (text == "none")
        return columns;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view name = text.substr(start, comma - start);
        if (name != "comments" && name != "size" && name != "attr" && name != "date")
            return std::nullopt;
        columns.emplace_back(name);
        if (comma == std::string_view::npos)
            return columns;
        start = comma + 1;
    }
}

std::optional<SortRequest> ParseSort(std::string_view text) {
    SortRequest request;
    constexpr std::string_view kDescending = ":desc";
    if (text.size() > kDescending.size() && text.ends_with(kDescending)) {
        request.descending = true;
        text.remove_suffix(kDescending.size());
    }
    if (text.empty())
        return std::nullopt;
    request.column = text;
    return request;
}

std::optional<std::string> FileName(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// Binary outputs are never written to a terminal, so they take no "-".
std::optional<std::string> FileNameNotStdout(std::string_view text) {
    return text == "-" ? std::nullopt : FileName(text);
}

// An option whose value `parse` reads; a value it refuses is a usage error. Given twice,
// the last one counts.
template <typename T, typename Parse>
void AddValue(CLI::App& command, const std::string& name, std::optional<T>& target,
              const std::string& value, const std::string& help, Parse parse) {
    command
        .add_option_function<std::string>(
            name,
            [name, &target, parse](const std::string& text) {
                target = parse(text);
                if (!target)
                    throw CLI::ValidationError("invalid value for " + name + ": " +
                                               (text.empty() ? "\"\"" : text));
            },
            help)
        ->option_text(value)
        ->type_name("value")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// The settings a listing is made with, over the profile's.
void AddListingOptions(CLI::App& command, Arguments& args) {
    AddValue(command, "--layout", args.layout, "standard|filedata|cd|zip",
             "page layout; only standard descends into subfolders", [](std::string_view v) {
                 return Choice<PageLayout>(v, {{"standard", PageLayout::Standard},
                                               {"filedata", PageLayout::FileData},
                                               {"cd", PageLayout::CdInsert},
                                               {"zip", PageLayout::ZipInsert}});
             });
    AddValue(command, "--depth", args.depth, "N|all",
             "levels of subfolders a standard listing shows", [](std::string_view v) {
                 return v == "all" ? std::optional<std::int32_t>(-1) : ParseNumber(v, 0, INT32_MAX);
             });
    AddValue(command, "--content", args.content, "folders|files|both", "what the listing holds",
             [](std::string_view v) {
                 return Choice<ListingContent>(v, {{"folders", ListingContent::FoldersOnly},
                                                   {"files", ListingContent::FilesOnly},
                                                   {"both", ListingContent::FilesAndFolders}});
             });
    AddValue(command, "--columns", args.columns, "LIST",
             "comma list of comments,size,attr,date, or none", ParseColumns);
    AddValue(command, "--date-format", args.dateFormat, "0..8",
             "0 is the locale's format, 1..8 fixed formats",
             [](std::string_view v) { return ParseNumber(v, 0, 8); });
    command.add_flag("--bytes", args.bytes, "sizes as exact byte counts");
    AddValue(command, "--sort", args.sort, "COLUMN[:desc]",
             "sort as a click on COLUMN (title or index) would; :desc clicks twice", ParseSort);
    AddValue(command, "--profile", args.profile, "FILE",
             "read settings from FILE instead of the profile", FileName);
}

// The files a listing is written to; with none named, the text report goes to standard output.
void AddOutputs(CLI::App& command, Arguments& args) {
    AddValue(command, "--txt", args.txt, "FILE|-",
             "write the text report to FILE, or to standard output", FileName);
    AddValue(command, "--dsc", args.dsc, "FILE", "save the listing as a document file (.dsc)",
             FileNameNotStdout);
    AddValue(command, "--pdf", args.pdf, "FILE", "print the listing into a PDF file",
             FileNameNotStdout);
    AddValue(command, "--csv", args.csv, "FILE|-",
             "write the table as CSV to FILE, or to standard output", FileName);
    AddValue(command, "--json", args.json, "FILE|-",
             "write the listing as JSON to FILE, or to standard output", FileName);
    AddValue(command, "--html", args.html, "FILE", "write the listing as a web page",
             FileNameNotStdout);
}

void AddListingOptionsAndOutputs(CLI::App& command, Arguments& args) {
    AddListingOptions(command, args);
    AddOutputs(command, args);
}

// The volume note: UTF-8 as a document keeps it (other bytes read as Windows-1252).
std::optional<std::string> Note(std::string_view text) {
    std::string note = LenientUtf8(text);
    return note.size() > kMaxVolumeText ? std::nullopt : std::optional(std::move(note));
}

void AddNote(CLI::App& command, Arguments& args) {
    AddValue(command, "--note", args.note, "TEXT",
             "keep TEXT with the listing as its volume's note (where the disk is kept...)", Note);
}

void ListOptions(CLI::App& command, Arguments& args) {
    AddListingOptionsAndOutputs(command, args);
    AddNote(command, args);
}

void NoOptions(CLI::App&, Arguments&) {}

// The documents and folders after the first operand.
void MorePaths(CLI::App& command, Arguments& args) {
    command.add_option("paths", args.paths)->type_name("");
}

void AddNoIndex(CLI::App& command, Arguments& args) {
    command.add_flag("--no-index", args.noIndex,
                     "read the documents themselves, without the catalogue's index");
}

// One option of search: its name, the value it shows and what it does. SearchWords reads
// them; the parser only describes them for --help.
struct SearchOption {
    const char* name;
    const char* value; // empty for a flag
    const char* help;
    bool (*apply)(std::string_view value, Arguments& args);
};

template <typename T> bool Set(std::optional<T>& target, std::optional<T> value) {
    target = std::move(value);
    return target.has_value();
}

constexpr std::array kSearchOptions = {
    SearchOption{"--size", "+N|-N|N",
                 "entries larger than N, smaller, or of exactly N bytes (k, M, G, T: KiB...)",
                 [](std::string_view v, Arguments& a) {
                     return Set(a.filter.size, ParseSizeBound(v));
                 }},
    SearchOption{"--newer", "DATE", "entries modified after DATE (2024-03-31 [14:05[:09]])",
                 [](std::string_view v, Arguments& a) {
                     return Set(a.filter.newer, ParseLocalDate(v));
                 }},
    SearchOption{"--older", "DATE", "entries modified before DATE",
                 [](std::string_view v, Arguments& a) {
                     return Set(a.filter.older, ParseLocalDate(v));
                 }},
    SearchOption{"--kind", "KIND",
                 "audio, video, picture, document, program, archive or folder (by extension)",
                 [](std::string_view v, Arguments& a) {
                     return Set(a.filter.kind, EntryKindNamed(v));
                 }},
    SearchOption{"--volume", "LABEL", "only listings of the volume of this label or UUID",
                 [](std::string_view v, Arguments& a) {
                     return !v.empty() && Set(a.filter.volume, std::optional(LenientUtf8(v)));
                 }},
    SearchOption{"--no-index", "", "read the documents themselves, without the catalogue's index",
                 [](std::string_view, Arguments& a) {
                     return a.noIndex = true;
                 }},
};

// Its words are read by SearchWords; the parser only describes them for --help.
void SearchOptions(CLI::App& command, Arguments&) {
    command.allow_extras();
    for (const SearchOption& option : kSearchOptions) {
        if (*option.value == '\0')
            command.add_flag(option.name, option.help);
        else
            command.add_option(option.name, option.help)->option_text(option.value);
    }
}

void UpdateOptions(CLI::App& command, Arguments& args) {
    AddValue(command, "--dsc", args.dsc, "OUT",
             "save the updated listing to OUT instead of FILE.dsc", FileNameNotStdout);
    AddValue(command, "--profile", args.profile, "FILE",
             "read settings from FILE instead of the profile", FileName);
    AddNote(command, args);
}

void VolumesOptions(CLI::App& command, Arguments& args) {
    MorePaths(command, args);
    AddNoIndex(command, args);
}

void DuplicatesOptions(CLI::App& command, Arguments& args) {
    MorePaths(command, args);
    command
        .add_option_function<std::string>(
            "--by",
            [&args](const std::string& text) {
                const auto key =
                    Choice<DuplicateKey>(text, {{"name,size", DuplicateKey::NameAndSize},
                                                {"name,size,date", DuplicateKey::NameSizeAndDate},
                                                {"size", DuplicateKey::Size}});
                if (!key)
                    throw CLI::ValidationError("invalid value for --by: " +
                                               (text.empty() ? std::string("\"\"") : text));
                args.by = *key;
            },
            "what copies share: name and size (the default), also the date, or the size alone")
        ->option_text("name,size|name,size,date|size")
        ->type_name("value")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    AddNoIndex(command, args);
}

void DiffOptions(CLI::App& command, Arguments& args) {
    MorePaths(command, args);
    command.add_flag("--disk", args.disk, "compare the document with its folder as it is now");
    command.add_flag("--json", args.jsonOutput, "write the changes as JSON");
}

constexpr const char* kSearchFooter =
    "PATTERN with *, ? or [...] is matched, ignoring case, against whole names; any other\n"
    "PATTERN is found anywhere in names and comments. One line per match: document, row,\n"
    "name, size, date, comment, separated by tabs; control characters show as \"?\".\n"
    "Exit status: 0 something matched, 1 nothing did, 2 a path could not be read (even\n"
    "when something matched) or a usage error.\n"
    "See dirscribe(1) for more.\n";
constexpr const char* kVolumesFooter =
    "One line per document, tab-separated: label, UUID, file system, capacity, free, date\n"
    "listed, entries, note, document; what the document does not record is empty.\n"
    "Exit status: 0 success, 1 no document found, 2 a path could not be read or usage error.\n"
    "See dirscribe(1) for more.\n";
constexpr const char* kDuplicatesFooter =
    "Files (not folders, not empty) found more than once across the listings, the most bytes\n"
    "stored more than once first: a line per group, then a line per copy (a tab, the document,\n"
    "a tab, the path). Names compare ignoring case.\n"
    "Exit status: 0 copies found, 1 none, 2 a path could not be read or usage error.\n"
    "See dirscribe(1) for more.\n";
constexpr const char* kDiffFooter =
    "With --disk, the one document is compared with its folder as it is now.\n"
    "One line per change, by path: added, gone, grown or shrunk (with the difference in\n"
    "bytes), modified; then the totals. Folders are reported when added or gone.\n"
    "Exit status: 0 the same, 1 different, 2 trouble (as diff).\n"
    "See dirscribe(1) for more.\n";
constexpr const char* kUpdateFooter =
    "The document's settings, depth and content are kept; what they do not fix comes from\n"
    "the profile. A line on standard error counts the entries kept, new and gone.\n"
    "Exit status: 0 success, 1 the folder, the document or the save failed, 2 usage error.\n"
    "See dirscribe(1) for more.\n";

struct CommandDefinition {
    Command command;
    const char* name;
    const char* operand; // as the usage shows it
    const char* more;    // the words after it, for a command that takes more
    const char* footer;  // what --help ends with; null: the settings and the exit status
    const char* what;    // what a wrong count of operands says it takes
    const char* about;
    void (*addOptions)(CLI::App&, Arguments&);
    // How many operands it takes: fewest and most; diff with --disk takes one fewer.
    std::size_t fewest = 1;
    std::size_t most = 1;
};

constexpr std::size_t kAny = SIZE_MAX;

constexpr std::array kCommands = {
    CommandDefinition{Command::List, "list", "PATH", "", nullptr, "folder",
                      "read PATH as a refresh does and write the outputs", ListOptions},
    CommandDefinition{Command::Convert, "convert", "FILE.dsc", "", nullptr, "document file",
                      "open a saved document and write the outputs", AddListingOptionsAndOutputs},
    CommandDefinition{Command::Details, "details", "FILE", "", nullptr, "file",
                      "print the rows a File Data fetch would insert for FILE", NoOptions},
    CommandDefinition{Command::Search, "search", "PATTERN", " PATH...", kSearchFooter,
                      "pattern and at least one path",
                      "find names and comments in saved listings (documents in PATH, or below it)",
                      SearchOptions, 2, kAny},
    CommandDefinition{Command::Update, "update", "FILE.dsc", "", kUpdateFooter, "document file",
                      "read a listing's folder again, keeping its comments", UpdateOptions},
    CommandDefinition{Command::Volumes, "volumes", "PATH", "...", kVolumesFooter, "path",
                      "a line per saved listing: its volume as listed, its note", VolumesOptions, 1,
                      kAny},
    CommandDefinition{Command::Duplicates, "duplicates", "PATH", "...", kDuplicatesFooter, "path",
                      "files stored more than once in saved listings", DuplicatesOptions, 1, kAny},
    CommandDefinition{Command::Diff, "diff", "OLD.dsc", " NEW.dsc", kDiffFooter,
                      "document and another document or --disk",
                      "what changed between two listings (--disk: since one was saved)",
                      DiffOptions, 2, 2},
};

const CommandDefinition* FindCommand(std::string_view name) {
    for (const CommandDefinition& definition : kCommands)
        if (name == definition.name)
            return &definition;
    return nullptr;
}

const CommandDefinition& DefinitionOf(Command command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandDefinition& d) { return d.command == command; });
}

UsageError WrongOperandCount(const CommandDefinition& definition) {
    return UsageError{std::string(definition.name) +
                      (*definition.more != '\0' ? " takes a " : " takes exactly one ") +
                      definition.what};
}

const CLI::Option* Operand(const CLI::App& command) {
    return command.get_options([](const CLI::Option* option) { return option->get_positional(); })
        .front();
}

bool TakesOptions(const CLI::App& command) {
    return !command
                .get_options([&command](const CLI::Option* option) {
                    return option->nonpositional() && option != command.get_help_ptr();
                })
                .empty();
}

// Usage lines in the program's words: every command with its operand, then the window.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string) const override {
        if (app->get_parent() != nullptr)
            return "usage: " + Synopsis(*app) + "\n";
        std::string text;
        for (const CLI::App* command : app->get_subcommands({}))
            text += (text.empty() ? "usage: " : "       ") + Synopsis(*command) + "\n";
        return text + "       dirscribe [FILE.dsc]                  the window (needs a display)\n"
                      "       dirscribe --print FILE.dsc | --print-to PRINTER FILE.dsc\n"
                      "       dirscribe --version | --help | COMMAND --help\n";
    }

    // The usage line and the description name the operand already.
    std::string make_positionals(const CLI::App*) const override { return {}; }

    std::string make_subcommand(const CLI::App* command) const override {
        std::stringstream out;
        CLI::detail::format_help(out,
                                 command->get_name() + " " + Operand(*command)->get_name() +
                                     FindCommand(command->get_name())->more,
                                 command->get_description(), get_column_width());
        return out.str();
    }

private:
    static std::string Synopsis(const CLI::App& command) {
        return "dirscribe " + command.get_name() + " " + Operand(command)->get_name() +
               FindCommand(command.get_name())->more + (TakesOptions(command) ? " [options]" : "");
    }
};

constexpr std::string_view kSettings =
    "Settings come from the profile, $XDG_CONFIG_HOME/Dirscribe/Dirscribe.ini (by default\n"
    "~/.config/Dirscribe/Dirscribe.ini) or the file DIRSCRIBE_PROFILE or --profile names;\n"
    "then from --layout, then from the other options. The command line never writes it.\n";
constexpr std::string_view kExitStatus =
    "Exit status: 0 success, 1 a folder, document or output failed, 2 usage error.\n"
    "See dirscribe(1) for more.\n";

std::unique_ptr<CLI::App> BuildParser(Arguments& args) {
    auto app = std::make_unique<CLI::App>(
        "dirscribe " DIRSCRIBE_VERSION ": lists a folder or a disk as a table, a printed listing "
        "or a text report.",
        "dirscribe");
    app->formatter(std::make_shared<HelpFormatter>());
    app->set_help_flag("-h,--help", "print this help and end");
    app->set_version_flag("--version", "dirscribe " DIRSCRIBE_VERSION, "print the version and end");
    app->footer(std::string(kSettings) + std::string(kExitStatus));
    // Unknown words are collected rather than refused, so the message can say what they are.
    app->allow_extras();
    app->require_subcommand(0, 1);
    for (const CommandDefinition& definition : kCommands) {
        CLI::App* command =
            app->add_subcommand(definition.name, definition.about)->group("Commands");
        command->add_option(definition.operand, args.operand, std::string("the ") + definition.what)
            ->type_name("");
        definition.addOptions(*command, args);
        command->footer(definition.footer != nullptr
                            ? std::string(definition.footer)
                            : std::string(TakesOptions(*command) ? kSettings : "") +
                                  std::string(kExitStatus));
    }
    return app;
}

// The first word no command or option took, in the user's terms.
UsageError Unexpected(const CLI::App& app, const std::string& word) {
    if (word.starts_with('-') && word != "-")
        return UsageError{"unknown option " + word.substr(0, word.find('='))};
    if (app.get_subcommands().empty())
        return UsageError{"unknown command " + word};
    return WrongOperandCount(*FindCommand(app.get_subcommands().front()->get_name()));
}

const SearchOption* FindSearchOption(std::string_view name) {
    for (const SearchOption& option : kSearchOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// The words of search as grep reads them: options first (a value after "=" or as the next
// word), "--" ending them, then the pattern and the paths exactly as given (the parser
// drops an empty word and loses where "--" stood). Nothing when help is asked for, which
// the parser gives.
std::optional<std::variant<Arguments, InfoText, UsageError>>
SearchWords(const std::vector<std::string>& words) {
    Arguments args;
    args.command = Command::Search;
    std::vector<std::string> operands;
    bool options = true;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (options && (word == "-h" || word == "--help"))
            return std::nullopt;
        if (options && word == "--") {
            options = false;
            continue;
        }
        if (!options || !word.starts_with('-') || word == "-") {
            operands.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const SearchOption* option = FindSearchOption(name);
        if (option == nullptr)
            return UsageError{"unknown option " + name};
        std::string value;
        if (*option->value == '\0') {
            if (equals != std::string::npos)
                return UsageError{name + " takes no value"};
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            return UsageError{name + " needs a value"};
        }
        if (!option->apply(value, args))
            return UsageError{"invalid value for " + name + ": " +
                              (value.empty() ? "\"\"" : value)};
    }
    if (operands.size() < DefinitionOf(Command::Search).fewest)
        return WrongOperandCount(DefinitionOf(Command::Search));
    args.operand = operands.front();
    args.paths.assign(operands.begin() + 1, operands.end());
    return args;
}

// Whether the command was given as many operands as it takes.
bool RightOperandCount(const CommandDefinition& definition, const Arguments& args,
                       std::size_t operands) {
    const std::size_t given = operands + (args.disk ? 1 : 0);
    return given >= definition.fewest && given <= definition.most;
}

} // namespace

std::variant<Arguments, InfoText, UsageError>
ParseArguments(const std::vector<std::string>& words) {
    const CommandDefinition* first = words.empty() ? nullptr : FindCommand(words.front());
    if (first != nullptr && first->command == Command::Search)
        if (auto parsed = SearchWords(words))
            return *std::move(parsed);
    Arguments args;
    const std::unique_ptr<CLI::App> app = BuildParser(args);
    try {
        app->parse(std::vector<std::string>(words.rbegin(), words.rend()));
    } catch (const CLI::CallForHelp&) {
        return InfoText{app->help()};
    } catch (const CLI::CallForVersion& version) {
        return InfoText{std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return UsageError{error.what()};
    }
    if (const auto extra = app->remaining(true); !extra.empty())
        return Unexpected(*app, extra.front());
    if (app->get_subcommands().empty())
        return UsageError{"no command given"};
    const CLI::App& command = *app->get_subcommands().front();
    const CommandDefinition& definition = *FindCommand(command.get_name());
    args.command = definition.command;
    if (!RightOperandCount(definition, args, Operand(command)->count() + args.paths.size()))
        return WrongOperandCount(definition);
    return args;
}

bool IsCommandName(std::string_view word) {
    return FindCommand(word) != nullptr;
}

std::string UsageText() {
    Arguments unused;
    const std::unique_ptr<CLI::App> app = BuildParser(unused);
    return HelpFormatter().make_usage(app.get(), "") +
           "Run 'dirscribe --help' for the commands, 'dirscribe COMMAND --help' for their "
           "options.\n";
}

} // namespace dirscribe
