// SPDX-License-Identifier: MIT
// The table of profile entries that loading, saving and the defaults all follow.
#include "core/options/OptionEntry.h"

#include <limits>
#include <type_traits>
#include <utility>

namespace dirscribe {

namespace {

using O = ListingOptions;

template <auto Member>
constexpr OptionEntry Number(std::string_view name, std::int32_t minimum, std::int32_t maximum) {
    using Value = std::remove_cvref_t<decltype(std::declval<O&>().*Member)>;
    return {name,
            [](const O& options) { return static_cast<std::int32_t>(options.*Member); },
            [](O& options, std::int32_t value) { options.*Member = static_cast<Value>(value); },
            nullptr,
            minimum,
            maximum};
}

template <auto Member> constexpr OptionEntry Flag(std::string_view name) {
    return Number<Member>(name, 0, 1);
}

// In read order: `Size` and `Attributes` come before `Add Size` and `Add Attribute`,
// which hold the same settings and therefore decide them.
constexpr std::array<OptionEntry, kOptionEntryCount> kEntries = {{
    Flag<&O::showManualPath>("showManualPath"),
    Flag<&O::addSize>("Size"),
    Flag<&O::addAttribute>("Attributes"),
    Flag<&O::summary>("Summary"),
    Flag<&O::printTitle>("Print Title"),
    Number<&O::filesAndFolders>("Files and Folders", 0, 2),
    Flag<&O::numberStdLines>("number STD Lines"),
    Flag<&O::numberCdLines>("number CD Lines"),
    Flag<&O::numberFileLines>("number File Lines"),
    {"current Font", nullptr, nullptr, &O::currentFont, 0, 0},
    Flag<&O::addSize>("Add Size"),
    Flag<&O::addDate>("Add Date"),
    Flag<&O::addAttribute>("Add Attribute"),
    Number<&O::printAs>("Print as ", 0, 3),
    Flag<&O::addComments>("Add Comments"),
    Flag<&O::doNotDrawGrid>("Do not draw Grid"),
    Flag<&O::allInUpperCase>("All in UpperCase"),
    Flag<&O::addSizeInBytes>("Add Size in Bytes"),
    Number<&O::dateFormat>("Date Format", 0, 8),
    Number<&O::customDepth>("CustomDepth", 0, 1000),
    Number<&O::lastDepth>("LastDepth", -1, 1000),
    Flag<&O::largeFont>("LargeFont"),
}};

// Fails to compile for a name the table does not hold.
consteval std::size_t IndexOf(std::string_view name) {
    for (std::size_t i = 0; i < kEntries.size(); ++i)
        if (kEntries[i].name == name)
            return i;
    throw "not an entry of the table";
}

constexpr std::array<std::size_t, kEntries.size()> kSaveOrder = {
    IndexOf("LastDepth"),         IndexOf("CustomDepth"),
    IndexOf("showManualPath"),    IndexOf("Size"),
    IndexOf("Attributes"),        IndexOf("Summary"),
    IndexOf("Print Title"),       IndexOf("Files and Folders"),
    IndexOf("number STD Lines"),  IndexOf("number CD Lines"),
    IndexOf("number File Lines"), IndexOf("Add Size"),
    IndexOf("Add Date"),          IndexOf("Add Attribute"),
    IndexOf("Print as "),         IndexOf("Add Comments"),
    IndexOf("Do not draw Grid"),  IndexOf("Add Size in Bytes"),
    IndexOf("All in UpperCase"),  IndexOf("Date Format"),
    IndexOf("LargeFont"),         IndexOf("current Font"),
};

consteval bool EachEntrySavedOnce() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        int count = 0;
        for (const std::size_t index : kSaveOrder)
            count += index == i ? 1 : 0;
        if (count != 1)
            return false;
    }
    return true;
}
static_assert(EachEntrySavedOnce(), "the save order must name every entry exactly once");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // The magnitude may reach 2^31 for the most negative value.
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

namespace {

// A text the profile can hold on one line and give back unchanged.
bool IsStorableText(std::string_view value) {
    return !value.empty() && value.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

void OptionEntry::Read(const std::optional<std::string>& value, ListingOptions& options) const {
    const ListingOptions defaults;
    if (text != nullptr) {
        options.*text = value && IsStorableText(*value) ? *value : defaults.*text;
        return;
    }
    const std::optional<std::int32_t> number = value ? ParseProfileInteger(*value) : std::nullopt;
    setInteger(options,
               number && *number >= minimum && *number <= maximum ? *number : integer(defaults));
}

std::string OptionEntry::Write(const ListingOptions& options) const {
    if (text == nullptr)
        return std::to_string(integer(options));
    const std::string& value = options.*text;
    return IsStorableText(value) ? value : ListingOptions().*text;
}

std::span<const OptionEntry> OptionEntriesInReadOrder() {
    return kEntries;
}

std::array<const OptionEntry*, kOptionEntryCount> OptionEntriesInSaveOrder() {
    std::array<const OptionEntry*, kOptionEntryCount> entries{};
    for (std::size_t i = 0; i < kSaveOrder.size(); ++i)
        entries[i] = &kEntries[kSaveOrder[i]];
    return entries;
}

} // namespace dirscribe
