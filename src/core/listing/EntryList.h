// SPDX-License-Identifier: MIT
// The entries a read found, kept for the table rows made from them.
#pragma once

#include "core/listing/ListingEntry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dirscribe {

// What a row of the table knows about the disk: each row made from an entry holds that
// entry's index here, through sorting, inserted and deleted rows, so commands that go back
// to the disk (file details, exports, updates) read the entry, never the row's texts.
class EntryList {
public:
    EntryList(std::string folder, std::vector<ListingEntry> entries)
        : m_folder(std::move(folder)), m_entries(std::move(entries)) {}

    // Exchanges the entries with a list of them; what a filling that failed gives back.
    void Swap(std::vector<ListingEntry>& entries) noexcept { m_entries.swap(entries); }

    // The listed folder as it was read.
    [[nodiscard]] const std::string& Folder() const { return m_folder; }
    [[nodiscard]] std::size_t Size() const { return m_entries.size(); }
    [[nodiscard]] const ListingEntry& At(std::uint32_t index) const { return m_entries[index]; }

    // The raw names of the folders above the entry and its own, joined by "/".
    [[nodiscard]] std::string RelativePath(std::uint32_t index) const {
        return RelativePath(m_entries, index);
    }
    // Folder() and RelativePath(): the path to open the entry by.
    [[nodiscard]] std::string DiskPath(std::uint32_t index) const;

    // RelativePath for entries that are not in a list yet.
    static std::string RelativePath(const std::vector<ListingEntry>& entries, std::uint32_t index);
    // folder + "/" + relative; the root "/" gets no second slash.
    static std::string JoinPath(const std::string& folder, const std::string& relative);

private:
    std::string m_folder;
    std::vector<ListingEntry> m_entries;
};

} // namespace dirscribe
