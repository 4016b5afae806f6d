// SPDX-License-Identifier: MIT
// The entries a read found, kept for the table rows made from them.
#pragma once

#include "core/listing/EntryStore.h"
#include "core/listing/ListingEntry.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// What a row of the table knows about the disk: each row made from an entry holds that
// entry's index here, through sorting, inserted and deleted rows, so commands that go back
// to the disk (file details, exports, updates) read the entry, never the row's texts.
class EntryList {
public:
    EntryList(std::string folder, EntryStore entries)
        : m_folder(std::move(folder)), m_entries(std::move(entries)) {}

    // Exchanges the entries with a store of them; what a filling that failed gives back.
    void Swap(EntryStore& entries) noexcept { std::swap(m_entries, entries); }

    // The listed folder as it was read.
    [[nodiscard]] const std::string& Folder() const { return m_folder; }
    [[nodiscard]] std::size_t Size() const { return m_entries.Size(); }
    // A copy of the entry; Entries() reads single fields in place.
    [[nodiscard]] ListingEntry At(std::uint32_t index) const { return m_entries.At(index); }
    [[nodiscard]] const EntryStore& Entries() const { return m_entries; }

    // The raw names of the folders above the entry and its own, joined by "/".
    [[nodiscard]] std::string RelativePath(std::uint32_t index) const {
        return RelativePath(m_entries, index);
    }
    // Folder() and RelativePath(): the path to open the entry by.
    [[nodiscard]] std::string DiskPath(std::uint32_t index) const;

    // RelativePath for entries that are not in a list yet.
    static std::string RelativePath(const EntryStore& entries, std::uint32_t index);
    // folder + "/" + relative; the root "/" gets no second slash.
    static std::string JoinPath(const std::string& folder, const std::string& relative);

private:
    std::string m_folder;
    EntryStore m_entries;
};

} // namespace dirscribe
