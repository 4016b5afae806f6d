// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: tags, version strings, photo data.
#include "core/table/FileDetails.h"

#include "core/details/FileDataReader.h"
#include "core/details/FileKind.h"
#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"
#include "core/media/MediaTagReader.h"
#include "core/pe/LittleEndian.h"
#include "core/pe/VersionResource.h"
#include "core/platform/Directory.h"
#include "core/platform/FileByteSource.h"
#include "core/platform/PathStatus.h"
#include "core/table/NameCell.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

// A string table's name, such as "040904B0".
std::string TableName(unsigned languageId, unsigned codePage) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "%04X%04X", languageId & 0xFFFFU, codePage & 0xFFFFU);
    return name.data();
}

// The string tables each key is looked up in, in turn: the user's language with each code
// page. Only when neither table exists, the one the resource's translation table names
// first, or failing that the first table present, so that a file holding its strings only
// in another language (British English, or the neutral one of .NET assemblies) shows them.
std::vector<std::string> StringTables(const VersionInfo& info, std::uint16_t languageId) {
    const auto exists = [&](const std::string& table) {
        return info.QueryBytes("\\StringFileInfo\\" + table).has_value();
    };
    std::vector<std::string> tables;
    tables.reserve(kCodePages.size());
    for (const unsigned codePage : kCodePages)
        tables.push_back(TableName(languageId, codePage));
    if (std::any_of(tables.begin(), tables.end(), exists))
        return tables;
    const auto translation = info.QueryBytes("\\VarFileInfo\\Translation");
    if (translation && translation->size() >= 4) {
        const std::string named = TableName(Le16(*translation, 0), Le16(*translation, 2));
        if (exists(named))
            return {named};
    }
    const std::vector<std::string> present = info.ChildKeys("\\StringFileInfo");
    return present.empty() ? tables : std::vector<std::string>{present.front()};
}

FileDetails Mp3Details(const ByteSource& source) {
    std::vector<std::string> labels;
    std::vector<std::string> values;
    MediaTagReader::ReadTags(source, labels, values);
    FileDetails details{values.front(), {}};
    for (std::size_t i = 1; i < values.size(); ++i)
        details.rows.emplace_back(std::move(labels[i]), std::move(values[i]));
    return details;
}

std::optional<FileDetails> VersionDetails(const ByteSource& source, std::uint16_t languageId) {
    const auto info = ReadVersionInfo(source, languageId);
    if (!info)
        return std::nullopt;
    FileDetails details{"File's data:", {}};
    const std::vector<std::string> tables = StringTables(*info, languageId);
    for (const char* key : kVersionKeys) {
        for (const std::string& table : tables) {
            if (auto value = info->QueryString("\\StringFileInfo\\" + table + "\\" + key)) {
                details.rows.emplace_back("  ***" + KeyLabel(key), std::move(*value));
                break;
            }
        }
    }
    return details;
}

// Whether a Comments cell holds a text only a fetch writes without rows below it: the
// no-data text, a failure, or a tag summary of a file without tags.
bool IsRowlessFetchText(std::string_view text) {
    return text.ends_with(" extention file. No data.") ||
           text.starts_with("Cannot read the file: ") || text == "File's data:" ||
           text == "There isn't any Tag." || text == "Id3v1 Tag:" || text == "Id3v2 Tag:" ||
           text == "APEv2 Tag:" || text.starts_with("There're Id3v1 & Id3v2.");
}

FileDetails NoDataDetails(std::string_view name) {
    const std::string lower = AsciiLower(name);
    const std::size_t dot = lower.rfind('.');
    return {(dot == std::string::npos ? lower : lower.substr(dot)) + " extention file. No data.",
            {},
            {}};
}

// The details of source, known to the user by name, its file's own name being fileName;
// others reads it when it is an audio file, photo, video or PDF.
FileDetails Details(const ByteSource& source, std::string_view name, std::string_view fileName,
                    std::uint16_t languageId, const std::function<FileData()>& others) {
    // Content first: MPEG audio is an MP3 whatever its name, and a file named .mp3 that
    // holds another kind is that kind.
    if (MediaTagReader::HoldsMpegAudio(source))
        return Mp3Details(source);
    const FileKind kind = DetectFileKind(source, fileName);
    if (AsciiLower(name).ends_with("mp3") && kind == FileKind::None)
        return Mp3Details(source);
    if (auto details = VersionDetails(source, languageId))
        return std::move(*details);
    FileDetails details = NoDataDetails(name);
    if (!others || kind == FileKind::None)
        return details;
    FileData data = others();
    details.note = std::move(data.note);
    if (!data.summary.empty()) {
        details.comment = std::move(data.summary);
        details.rows = std::move(data.rows);
    }
    return details;
}

} // namespace

FileDetails ReadFileDetails(const ByteSource& source, std::string_view name,
                            std::uint16_t languageId) {
    return Details(source, name, name, languageId, nullptr);
}

FileDetails ReadFileDetails(const std::string& path, std::string_view name,
                            std::uint16_t languageId, const FileDataReader* others) {
    const FileByteSource source(path);
    const std::size_t slash = path.rfind('/');
    const std::string_view fileName = slash == std::string::npos
                                          ? std::string_view(path)
                                          : std::string_view(path).substr(slash + 1);
    std::function<FileData()> read;
    if (others != nullptr && source.IsOpen())
        read = [&] {
            return others->Read(path);
        };
    return Details(source, name, fileName, languageId, read);
}

namespace {

// The path below the listed folder that a row of a document without entries names: its name
// cell, and in a tree the folders of the rows above it at the levels above its own.
std::string TextPath(const ListingTable& table, int row, bool tree) {
    const RowName own = ReadRowNameIn(table.Cell(row, 0), table.Gone(row), tree);
    std::string path(own.name);
    for (int level = own.level - 1, above = row - 1; level >= 1 && above >= 0; --above) {
        if (table.Kind(above) != RowKind::Entry)
            continue;
        if (const std::uint32_t entry = table.EntryIndex(above); entry != kNoEntry) {
            if (table.Entries()->Entries().Level(entry) == level)
                return table.Entries()->RelativePath(entry) + "/" + path;
            continue;
        }
        const RowName name = ReadRowNameIn(table.Cell(above, 0), table.Gone(above), tree);
        if (name.level == level && name.folder) {
            path = std::string(name.name).append("/").append(path);
            --level;
        }
    }
    return path;
}

// The one name in folder equal to name ignoring case, or nothing.
std::optional<std::string> OnlyNameLike(const std::string& folder, std::string_view name) {
    std::optional<Directory> dir = Directory::Open(folder);
    if (!dir)
        return std::nullopt;
    const std::string wanted = Utf8Upper(name);
    std::optional<std::string> found;
    for (std::string candidate; dir->NextName(candidate);) {
        if (Utf8Upper(DisplayText(candidate)) != wanted)
            continue;
        if (found)
            return std::nullopt;
        found = candidate;
    }
    return found;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

FileDetails FileDetailsRequest::Read() const {
    if (!problem.empty())
        return {"Cannot read the file: " + problem, {}};
    return ReadFileDetails(path, name, languageId, others.get());
}

std::optional<FileDetailsRequest> RequestFileDetails(const ListingTable& table, int row,
                                                     const std::string& folderPath,
                                                     const ListingShape& shape,
                                                     std::uint16_t languageId,
                                                     std::shared_ptr<const FileDataReader> others) {
    row = table.OwnerRow(row);
    if (row < 0 || table.Kind(row) != RowKind::Entry)
        return std::nullopt;
    FileDetailsRequest file;
    file.languageId = languageId;
    file.others = std::move(others);
    int error = 0;
    if (const std::uint32_t entry = table.EntryIndex(row); entry != kNoEntry) {
        file.path = table.Entries()->DiskPath(entry);
        file.name = DisplayText(table.Entries()->Entries().Name(entry));
        error = PathStatusError(file.path);
    } else {
        const std::string relative = TextPath(table, row, shape.Tree());
        file.path = EntryList::JoinPath(folderPath, relative);
        file.name = relative.substr(relative.rfind('/') + 1);
        error = PathStatusError(file.path);
        if (error == ENOENT) {
            if (const std::optional<std::string> like =
                    OnlyNameLike(FolderOf(file.path), file.name)) {
                file.path = EntryList::JoinPath(FolderOf(file.path), *like);
                error = PathStatusError(file.path);
            }
        }
    }
    struct stat status {};
    if (error == 0 && ::stat(file.path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::access(file.path.c_str(), R_OK) != 0)
        error = errno;
    if (error != 0)
        file.problem = std::strerror(error);
    return file;
}

void InsertFileDetails(ListingTable& table, int row, FileDetails details) {
    row = table.OwnerRow(row);
    if (row < 0 || table.Kind(row) != RowKind::Entry)
        return;
    const int comments = std::max(table.ColumnIndex(ColumnKind::Comments), 1);
    int end = row + 1;
    while (end < table.RowCount() && table.Kind(end) != RowKind::Entry)
        ++end;
    // The cell holds what an earlier fetch wrote there when that fetch's rows follow and do
    // not begin with the summary it moved aside for a typed comment, or when it says what a
    // fetch says of a file without details.
    int firstDetails = row + 1;
    while (firstDetails < end && table.Kind(firstDetails) != RowKind::Details)
        ++firstDetails;
    const bool fetchedBefore = firstDetails < end ? table.Cell(firstDetails, 0) != kSummaryRowLabel
                                                  : IsRowlessFetchText(table.Cell(row, comments));
    for (int below = end - 1; below > row; --below)
        if (table.Kind(below) == RowKind::Details)
            table.RemoveRow(below);
    // A typed comment is never replaced: the summary then opens the details rows.
    const std::string_view typed = table.Cell(row, comments);
    if (!typed.empty() && !fetchedBefore && typed != details.comment)
        details.rows.emplace(details.rows.begin(), kSummaryRowLabel, std::move(details.comment));
    else
        table.SetCell(row, comments, details.comment);
    // After the rows the comment flowed onto, so it reads as one text.
    int at = row + 1;
    while (at < table.RowCount() && table.Kind(at) == RowKind::Continuation)
        ++at;
    for (auto& [first, second] : details.rows) {
        RowRecord cells;
        cells[0] = std::move(first);
        cells[static_cast<std::size_t>(comments)] = std::move(second);
        table.InsertRow(at++, cells, RowKind::Details);
    }
}

} // namespace dirscribe
