// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: MP3 tags or program version strings.
#include "core/table/FileDetails.h"

#include "core/format/AsciiCase.h"
#include "core/media/MediaTagReader.h"
#include "core/pe/VersionResource.h"
#include "core/platform/FileByteSource.h"

#include <array>
#include <cstdio>

namespace dirscribe {

namespace {

constexpr std::array<const char*, 12> kVersionKeys = {
    "CompanyName",    "FileVersion",      "FileDescription", "InternalName",
    "LegalCopyright", "OriginalFilename", "ProductName",     "ProductVersion",
    "Comments",       "LegalTrademarks",  "PrivateBuild",    "SpecialBuild",
};

// Code pages tried for each key: Unicode, then Windows Latin 1.
constexpr std::array<unsigned, 2> kCodePages = {0x04B0, 0x04E4};

// "CompanyName" becomes "Company Name": a key longer than eight characters gets a blank
// before its first character, from the second on, that sorts below '['.
std::string KeyLabel(std::string_view key) {
    std::string label(key);
    if (label.size() <= 8)
        return label;
    for (std::size_t i = 1; i < label.size(); ++i)
        if (static_cast<unsigned char>(label[i]) < 0x5B) {
            label.insert(i, 1, ' ');
            break;
        }
    return label;
}

std::string QueryPath(std::uint16_t languageId, unsigned codePage, const char* key) {
    std::array<char, 64> path{};
    std::snprintf(path.data(), path.size(), "\\StringFileInfo\\%04X%04X\\%s", unsigned{languageId},
                  codePage, key);
    return path.data();
}

} // namespace

FileDetails ReadFileDetails(const ByteSource& source, std::string_view name,
                            std::uint16_t languageId) {
    FileDetails details;
    const std::string lower = AsciiLower(name);
    if (lower.ends_with("mp3")) {
        std::vector<std::string> labels;
        std::vector<std::string> values;
        MediaTagReader::ReadTags(source, labels, values);
        details.comment = values.front();
        for (std::size_t i = 1; i < values.size(); ++i)
            details.rows.emplace_back(std::move(labels[i]), std::move(values[i]));
        return details;
    }
    if (const auto info = ReadVersionInfo(source, languageId)) {
        details.comment = "File's data:";
        for (const char* key : kVersionKeys) {
            for (const unsigned codePage : kCodePages) {
                if (auto value = info->QueryString(QueryPath(languageId, codePage, key))) {
                    details.rows.emplace_back("  ***" + KeyLabel(key), std::move(*value));
                    break;
                }
            }
        }
        return details;
    }
    const std::size_t dot = lower.rfind('.');
    details.comment =
        (dot == std::string::npos ? lower : lower.substr(dot)) + " extention file. No data.";
    return details;
}

FileDetails ReadFileDetails(const std::string& path, std::string_view name,
                            std::uint16_t languageId) {
    const FileByteSource source(path);
    return ReadFileDetails(source, name, languageId);
}

void FetchFileDetails(ListingTable& table, int row, const std::string& folderPath,
                      std::uint16_t languageId) {
    if (row < 0 || row >= table.RowCount())
        return;
    const std::string name(table.Cell(row, 0));
    const std::uint32_t entry = table.EntryIndex(row);
    const std::string path = entry != kNoEntry ? table.Entries()->DiskPath(entry)
                                               : EntryList::JoinPath(folderPath, name);
    FileDetails details = ReadFileDetails(path, name, languageId);
    table.SetCell(row, 1, details.comment);
    int at = row + 1;
    for (auto& [first, second] : details.rows) {
        RowRecord cells;
        cells[0] = std::move(first);
        cells[1] = std::move(second);
        table.InsertRow(at++, cells);
    }
}

} // namespace dirscribe
