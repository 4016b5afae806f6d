// SPDX-License-Identifier: MIT
#include "core/table/NameCell.h"

#include "core/format/Utf8.h"

namespace dirscribe {

namespace {

constexpr std::string_view kBar = "| ";

// Whether text holds a bracketed name from position start to its end.
bool Bracketed(std::string_view text, std::size_t start) {
    return text.size() >= start + 2 && text[start] == '[' && text.back() == ']';
}

RowName Flat(std::string_view cell) {
    RowName row;
    row.folder = Bracketed(cell, 0);
    row.name = row.folder ? cell.substr(1, cell.size() - 2) : cell;
    row.shown = cell;
    return row;
}

} // namespace

std::string TreeFolderName(const std::string& name, int level) {
    std::string decorated;
    decorated.reserve(3 * static_cast<std::size_t>(level) + name.size() + 2);
    for (int i = 0; i < level; ++i)
        decorated += "| ";
    decorated.append(static_cast<std::size_t>(level), '-');
    decorated += '[';
    decorated += name;
    decorated += ']';
    return decorated;
}

std::string TreeFileName(const std::string& name, int level) {
    std::string decorated;
    for (int i = 1; i < level; ++i)
        decorated += "| ";
    decorated.append(3 * static_cast<std::size_t>(level), ' ');
    decorated += name;
    return decorated;
}

std::string ShownName(const EntryStore& entries, std::size_t index, bool bracketFolder) {
    std::string name = DisplayText(entries.Name(index));
    if (entries.Restricted(index))
        name += kRestrictedSuffix;
    const std::int32_t level = entries.Level(index);
    if (level == 0)
        return bracketFolder && entries.IsFolder(index) ? "[" + name + "]" : name;
    return entries.IsFolder(index) ? TreeFolderName(name, level) : TreeFileName(name, level);
}

std::string_view WithoutGoneMark(std::string_view cell, bool gone) {
    return gone && cell.ends_with(kGoneMark) ? cell.substr(0, cell.size() - kGoneMark.size())
                                             : cell;
}

RowName ReadRowName(std::string_view cell, bool gone) {
    cell = WithoutGoneMark(cell, gone);
    std::size_t bars = 0;
    while (cell.substr(bars * kBar.size()).starts_with(kBar))
        ++bars;
    const std::size_t at = bars * kBar.size();
    const std::size_t dashes = cell.find_first_not_of('-', at) - at;
    if (bars > 0 && dashes == bars && Bracketed(cell, at + dashes)) {
        RowName row{static_cast<int>(bars), true, cell.substr(at + dashes + 1),
                    cell.substr(at + dashes)};
        row.name.remove_suffix(1);
        return row;
    }
    const std::size_t level = bars + 1;
    const std::size_t blanks = 3 * level;
    if (cell.size() > at + blanks &&
        cell.substr(at, blanks).find_first_not_of(' ') == std::string_view::npos)
        return {static_cast<int>(level), false, cell.substr(at + blanks), cell.substr(at + blanks)};
    return Flat(cell);
}

RowName ReadRowNameIn(std::string_view cell, bool gone, bool tree) {
    return tree ? ReadRowName(cell, gone) : Flat(WithoutGoneMark(cell, gone));
}

RowName ReadEntryRowName(std::string_view cell, int level, bool folder, bool gone) {
    cell = WithoutGoneMark(cell, gone);
    const RowName whole{level, folder, cell, cell};
    if (level <= 0) {
        if (folder && Bracketed(cell, 0))
            return {level, folder, cell.substr(1, cell.size() - 2), cell};
        return whole;
    }
    const auto count = static_cast<std::size_t>(level);
    std::size_t at = 0;
    for (std::size_t bar = folder ? 0 : 1; bar < count; ++bar, at += kBar.size())
        if (cell.substr(at, kBar.size()) != kBar)
            return whole;
    const std::string_view lead = cell.substr(at, folder ? count : 3 * count);
    if (lead.size() != (folder ? count : 3 * count) ||
        lead.find_first_not_of(folder ? '-' : ' ') != std::string_view::npos)
        return whole;
    at += lead.size();
    if (!folder)
        return {level, folder, cell.substr(at), cell.substr(at)};
    if (!Bracketed(cell, at))
        return whole;
    return {level, folder, cell.substr(at + 1, cell.size() - at - 2), cell.substr(at)};
}

} // namespace dirscribe
