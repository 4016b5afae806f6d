// SPDX-License-Identifier: MIT
#include "core/listing/EntryStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace dirscribe {

ListingEntry EntryStore::At(std::size_t index) const {
    const Packed& record = Record(index);
    ListingEntry entry;
    entry.attributes = record.attributes;
    entry.level = record.level;
    entry.parent = record.parent;
    entry.restricted = record.restricted != 0;
    entry.name = Name(index);
    entry.size = record.size;
    entry.modified = record.modified;
    return entry;
}

std::string_view EntryStore::Name(std::size_t index) const {
    const Packed& record = Record(index);
    return {m_names[record.name >> 32].get() + (record.name & 0xFFFFFFFF), record.nameLength};
}

std::uint64_t EntryStore::StoreName(std::string_view name) {
    if (m_names.empty() || m_nameRoom - m_nameUsed < name.size()) {
        // A name longer than a block gets a block of its own.
        const std::size_t room = std::max(kNameBlockBytes, name.size());
        m_names.reserve(m_names.size() + 1);
        // NOLINTNEXTLINE(modernize-avoid-c-arrays): a new block is not zeroed first
        m_names.push_back(std::make_unique_for_overwrite<char[]>(room));
        m_nameRoom = room;
        m_nameUsed = 0;
    }
    const std::uint64_t at = std::uint64_t{m_names.size() - 1} << 32 | m_nameUsed;
    if (!name.empty())
        std::memcpy(m_names.back().get() + m_nameUsed, name.data(), name.size());
    m_nameUsed += name.size();
    return at;
}

void EntryStore::Append(const ListingEntry& entry) {
    if (entry.name.size() >= (std::size_t{1} << 31))
        throw std::length_error("A name cannot hold 2 GiB or more.");
    if ((m_size >> kBlockShift) == m_blocks.size()) {
        m_blocks.reserve(m_blocks.size() + 1);
        // NOLINTNEXTLINE(modernize-avoid-c-arrays): a new block is not zeroed first
        m_blocks.push_back(std::make_unique_for_overwrite<Packed[]>(std::size_t{1} << kBlockShift));
    }
    Packed& record = Record(m_size);
    record.size = entry.size;
    record.modified = entry.modified;
    record.name = StoreName(entry.name);
    record.attributes = entry.attributes;
    record.parent = entry.parent;
    record.level = entry.level;
    record.nameLength = static_cast<std::uint32_t>(entry.name.size()) & 0x7FFFFFFF;
    record.restricted = entry.restricted ? 1 : 0;
    ++m_size;
}

void EntryStore::Describe(std::size_t index, const ListingEntry& entry) {
    Packed& record = Record(index);
    record.size = entry.size;
    record.modified = entry.modified;
    record.attributes = entry.attributes;
    record.parent = entry.parent;
    record.level = entry.level;
    record.restricted = entry.restricted ? 1 : 0;
}

void EntryStore::Place(std::size_t index, std::int32_t level, std::uint32_t parent) {
    Packed& record = Record(index);
    record.level = level;
    record.parent = parent;
}

} // namespace dirscribe
