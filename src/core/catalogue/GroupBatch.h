// SPDX-License-Identifier: MIT
// Groups of a listing carried from the thread that reads them to one that encodes them.
#pragma once

#include "core/search/SearchGroup.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

// A run of consecutive groups of one listing, copied as the grouper hands them over: their
// facts into one array and their texts one after another into one buffer, so a batch used
// again copies without allocating. Each path is copied as the names after those it shares
// with the group before (pathKept), as the grouper copies it.
class GroupBatch {
public:
    static constexpr std::size_t kGroups = 512;

    void Add(const SearchGroup& group);
    [[nodiscard]] bool Full() const { return m_facts.size() == kGroups; }
    [[nodiscard]] bool Empty() const { return m_facts.empty(); }
    void Clear();

    // Hands each group to onGroup in order, whole, made in group: the names its path shares
    // with the group before are those group holds from the one made before it.
    template <typename OnGroup> void Replay(SearchGroup& group, OnGroup onGroup) const {
        Cursor cursor;
        for (const Facts& facts : m_facts) {
            Make(group, facts, cursor);
            onGroup(std::as_const(group));
        }
    }

private:
    struct Facts {
        int row = 0;
        int rows = 0;
        bool entry = false;
        bool gone = false;
        bool folder = false;
        bool known = false;
        std::uint64_t bytes = 0;
        std::uint64_t modified = 0;
        std::size_t pathKept = 0;
        std::uint32_t added = 0; // names of its path after pathKept
        std::uint32_t details = 0;
        std::uint32_t name = 0; // the lengths of its texts
        std::uint32_t size = 0;
        std::uint32_t date = 0;
        std::uint32_t comment = 0;
    };
    struct Cursor {
        std::size_t text = 0;
        std::size_t length = 0;
        std::size_t details = 0;
    };

    void Text(std::string_view text);
    void Make(SearchGroup& group, const Facts& facts, Cursor& cursor) const;
    std::string_view Take(std::size_t length, Cursor& cursor) const;

    std::vector<Facts> m_facts;
    std::string m_texts;
    std::vector<std::uint32_t> m_lengths; // of the details' comments and the paths' names
    std::vector<int> m_detailRows;
};

} // namespace dirscribe
