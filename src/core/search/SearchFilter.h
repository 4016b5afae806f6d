// SPDX-License-Identifier: MIT
// What a search may ask of an entry besides its name: its size, its date, its kind, the
// volume its listing was read from.
#pragma once

#include "core/listing/ListingVolume.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dirscribe {

struct SearchGroup;

// What sort of file an entry is, by its name's extension (any case), or a folder.
enum class EntryKind : std::uint8_t { Audio, Video, Picture, Document, Program, Archive, Folder };

// The kind named "audio", "video", "picture", "document", "program", "archive" or "folder".
std::optional<EntryKind> EntryKindNamed(std::string_view name);
// Whether an entry named `name` (its bare name), a folder or not, is of the kind. A folder
// is of the kind Folder only; a file is of the kind its extension says.
bool IsOfKind(EntryKind kind, std::string_view name, bool folder);

// A bound on an entry's exact size in bytes: more than, less than or exactly.
struct SizeBound {
    enum class Relation : std::uint8_t { More, Less, Exactly };
    Relation relation = Relation::More;
    std::uint64_t bytes = 0;

    [[nodiscard]] bool Accepts(std::uint64_t size) const;
};

// "+100M" (more than 100 MiB), "-1k" (less than 1 KiB) or "4096" (exactly): a number with
// an optional sign and an optional unit k, M, G, T, P (powers of 1024, either case) or c
// (bytes); none when the text is not of that form or the size passes 2^64 - 1.
std::optional<SizeBound> ParseSizeBound(std::string_view text);

// A date and time as the user writes it, in local time (TZ): "2024-03-31",
// "2024-03-31 14:05", "2024-03-31T14:05:09"; as a file time. None for anything else.
std::optional<std::uint64_t> ParseLocalDate(std::string_view text);

// Everything a search asks besides the pattern; each part that is set must hold. A size
// or a date is known only for an entry its document records (documents written before
// entries were recorded know none), so such an entry fails a size or date bound; rows
// that are no entries fail every part but the volume.
struct SearchFilter {
    std::optional<SizeBound> size;
    std::optional<std::uint64_t> newer; // modified after this file time
    std::optional<std::uint64_t> older; // modified before it
    std::optional<EntryKind> kind;
    std::optional<std::string> volume; // the label or the UUID, ignoring case

    // Whether anything but the volume is asked.
    [[nodiscard]] bool AsksOfEntries() const { return size || newer || older || kind; }
    [[nodiscard]] bool Accepts(const SearchGroup& group) const;
    [[nodiscard]] bool AcceptsVolume(const ListingVolume& listed) const;
};

} // namespace dirscribe
