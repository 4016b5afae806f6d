// SPDX-License-Identifier: MIT
#include "cli/Arguments.h"

#include <charconv>
#include <functional>
#include <map>
#include <string_view>

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

std::optional<std::int32_t> Choice(std::string_view text,
                                   const std::map<std::string_view, std::int32_t>& choices) {
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
    if (text.size() > kDescending.size() &&
        text.substr(text.size() - kDescending.size()) == kDescending) {
        request.descending = true;
        text.remove_suffix(kDescending.size());
    }
    if (text.empty())
        return std::nullopt;
    request.column = text;
    return request;
}

// Stores an option's value; false when the value is not one the option takes.
using Setter = std::function<bool(Arguments&, std::string_view)>;

template <typename T> bool Store(std::optional<T>& target, std::optional<T> value) {
    target = std::move(value);
    return target.has_value();
}

const std::map<std::string_view, Setter>& ValueOptions() {
    static const std::map<std::string_view, Setter> options = {
        {"--layout",
         [](Arguments& a, std::string_view v) {
             return Store(a.layout,
                          Choice(v, {{"standard", 0}, {"filedata", 1}, {"cd", 2}, {"zip", 3}}));
         }},
        {"--depth",
         [](Arguments& a, std::string_view v) {
             return Store(a.depth, v == "all" ? std::optional<std::int32_t>(-1)
                                              : ParseNumber(v, 0, INT32_MAX));
         }},
        {"--content",
         [](Arguments& a, std::string_view v) {
             return Store(a.content, Choice(v, {{"folders", 0}, {"files", 1}, {"both", 2}}));
         }},
        {"--columns",
         [](Arguments& a, std::string_view v) {
             return Store(a.columns, ParseColumns(v));
         }},
        {"--date-format",
         [](Arguments& a, std::string_view v) {
             return Store(a.dateFormat, ParseNumber(v, 0, 8));
         }},
        {"--txt",
         [](Arguments& a, std::string_view v) {
             return Store(a.txt, std::optional<std::string>(v));
         }},
        {"--dsc",
         [](Arguments& a, std::string_view v) {
             // A binary document is never written to a terminal.
             return Store(a.dsc,
                          v.empty() || v == "-" ? std::nullopt : std::optional<std::string>(v));
         }},
        {"--pdf",
         [](Arguments& a, std::string_view v) {
             // Pages are never written to a terminal either.
             return Store(a.pdf,
                          v.empty() || v == "-" ? std::nullopt : std::optional<std::string>(v));
         }},
        {"--sort",
         [](Arguments& a, std::string_view v) {
             return Store(a.sort, ParseSort(v));
         }},
        {"--profile",
         [](Arguments& a, std::string_view v) {
             return Store(a.profile, std::optional<std::string>(v));
         }},
    };
    return options;
}

} // namespace

const char* UsageText() {
    return "usage: dirscribe list PATH [options]      read a folder and write outputs\n"
           "       dirscribe convert FILE.dsc [options]  open a document file and write outputs\n"
           "       dirscribe details FILE                the rows File Data would insert for FILE\n"
           "       dirscribe [FILE.dsc]                  the window (needs a display)\n"
           "       dirscribe --print FILE.dsc | --print-to PRINTER FILE.dsc\n"
           "options:  --layout standard|filedata|cd|zip   --depth N|all\n"
           "          --content folders|files|both\n"
           "          --columns LIST (comma list of comments,size,attr,date, or none)\n"
           "          --date-format 0..8   --bytes   --sort COLUMN[:desc]\n"
           "          --txt FILE|-   --dsc FILE   --pdf FILE   --profile FILE\n";
}

std::variant<Arguments, UsageError> ParseArguments(const std::vector<std::string>& words) {
    Arguments args;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (optionsEnded || word.size() < 2 || word.substr(0, 2) != "--") {
            operands.emplace_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--bytes") {
            args.bytes = true;
            continue;
        }
        std::string_view name = word;
        std::optional<std::string_view> value;
        if (const std::size_t eq = word.find('='); eq != std::string_view::npos) {
            name = word.substr(0, eq);
            value = word.substr(eq + 1);
        }
        const auto option = ValueOptions().find(name);
        if (option == ValueOptions().end())
            return UsageError{"unknown option " + std::string(name)};
        if (!value) {
            if (i + 1 >= words.size())
                return UsageError{std::string(name) + " needs a value"};
            value = words[++i];
        }
        if (!option->second(args, *value))
            return UsageError{"invalid value for " + std::string(name) + ": " +
                              std::string(*value)};
    }
    if (operands.empty())
        return UsageError{"no command given"};
    args.command = operands[0];
    if (args.command != "list" && args.command != "convert" && args.command != "details")
        return UsageError{"unknown command " + args.command};
    if (args.command == "details" && operands.size() != 2)
        return UsageError{"details takes exactly one file"};
    if (operands.size() != 2)
        return UsageError{args.command == "list" ? "list takes exactly one folder"
                                                 : "convert takes exactly one document file"};
    args.operand = operands[1];
    return args;
}

} // namespace dirscribe
