// SPDX-License-Identifier: MIT
// Many entries in little room.
#pragma once

#include "core/listing/ListingEntry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace dirscribe {

// Entries as records of 40 bytes in large blocks, their names one after another in blocks
// of their own: a million entries cost a few dozen allocations, not a million strings, and
// nothing ever moves once stored, so the store grows without copying. At() gives an entry
// back as a ListingEntry; Name() and the other readers take one field in place. Indices
// outside the store are the caller's fault.
class EntryStore {
public:
    [[nodiscard]] std::size_t Size() const { return m_size; }
    [[nodiscard]] bool Empty() const { return m_size == 0; }
    [[nodiscard]] ListingEntry At(std::size_t index) const;
    [[nodiscard]] std::string_view Name(std::size_t index) const;
    [[nodiscard]] std::uint32_t Attributes(std::size_t index) const {
        return Record(index).attributes;
    }
    [[nodiscard]] bool IsFolder(std::size_t index) const {
        return (Attributes(index) & kAttributeDirectory) != 0;
    }
    [[nodiscard]] std::int32_t Level(std::size_t index) const { return Record(index).level; }
    [[nodiscard]] std::uint32_t Parent(std::size_t index) const { return Record(index).parent; }
    [[nodiscard]] bool Restricted(std::size_t index) const { return Record(index).restricted != 0; }
    [[nodiscard]] std::uint64_t Bytes(std::size_t index) const { return Record(index).size; }
    [[nodiscard]] std::uint64_t Modified(std::size_t index) const { return Record(index).modified; }

    // Throws std::length_error for a name of 2 GiB or more; std::bad_alloc leaves the store
    // as it was.
    void Append(const ListingEntry& entry);
    // Where a tree shows the entry: its level and the entry of the folder it is in.
    void Place(std::size_t index, std::int32_t level, std::uint32_t parent);
    // Everything of entry.name aside becomes what the stored entry says: its place too.
    void Describe(std::size_t index, const ListingEntry& entry);
    // A folder's total, and the mark of a system folder that could not be read whole.
    void SetFolderTotal(std::size_t index, std::uint64_t bytes) { Record(index).size = bytes; }
    void MarkRestricted(std::size_t index) { Record(index).restricted = 1; }
    // Empties the store and gives its memory back.
    void Release() { *this = EntryStore(); }

private:
    // Trivial, so a block is allocated without being written.
    struct Packed {
        std::uint64_t size;
        std::uint64_t modified;
        std::uint64_t name; // name block << 32 | offset in it
        std::uint32_t attributes;
        std::uint32_t parent;
        std::int32_t level;
        std::uint32_t nameLength : 31;
        std::uint32_t restricted : 1;
    };
    static_assert(sizeof(Packed) == 40);
    static constexpr std::size_t kBlockShift = 16; // records per block: 65536, 2.5 MiB
    static constexpr std::size_t kNameBlockBytes = std::size_t{1} << 20;

    [[nodiscard]] const Packed& Record(std::size_t index) const {
        return m_blocks[index >> kBlockShift][index & ((std::size_t{1} << kBlockShift) - 1)];
    }
    [[nodiscard]] Packed& Record(std::size_t index) {
        return m_blocks[index >> kBlockShift][index & ((std::size_t{1} << kBlockShift) - 1)];
    }
    // Keeps the name where it fits and returns where it went.
    std::uint64_t StoreName(std::string_view name);

    // Arrays made by make_unique_for_overwrite, so that a new block is not zeroed first.
    std::vector<std::unique_ptr<Packed[]>> m_blocks; // NOLINT(modernize-avoid-c-arrays)
    std::vector<std::unique_ptr<char[]>> m_names;    // NOLINT(modernize-avoid-c-arrays)
    std::size_t m_size = 0;
    std::size_t m_nameUsed = 0; // bytes used in the last name block
    std::size_t m_nameRoom = 0; // and its size
};

} // namespace dirscribe
