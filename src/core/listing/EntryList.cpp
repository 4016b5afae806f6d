// SPDX-License-Identifier: MIT
#include "core/listing/EntryList.h"

namespace dirscribe {

std::string EntryList::DiskPath(std::uint32_t index) const {
    return JoinPath(m_folder, RelativePath(index));
}

std::string EntryList::RelativePath(const std::vector<ListingEntry>& entries, std::uint32_t index) {
    std::vector<std::uint32_t> chain;
    // A folder stands before its contents, so each step goes to a lower index and ends.
    for (std::uint32_t at = index; at < entries.size();) {
        chain.push_back(at);
        const std::uint32_t up = entries[at].parent;
        if (up >= at)
            break;
        at = up;
    }
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += '/';
        path += entries[*it].name;
    }
    return path;
}

std::string EntryList::JoinPath(const std::string& folder, const std::string& relative) {
    if (!folder.empty() && folder.back() == '/')
        return folder + relative;
    return folder + '/' + relative;
}

} // namespace dirscribe
