// SPDX-License-Identifier: MIT
#include "core/listing/EntryList.h"

#include <vector>

namespace dirscribe {

std::string EntryList::DiskPath(std::uint32_t index) const {
    return JoinPath(m_folder, RelativePath(index));
}

std::string EntryList::RelativePath(const EntryStore& entries, std::uint32_t index) {
    std::vector<std::uint32_t> chain;
    // A folder stands before its contents, so each step goes to a lower index and ends.
    for (std::uint32_t at = index; at < entries.Size();) {
        chain.push_back(at);
        const std::uint32_t up = entries.Parent(at);
        if (up >= at)
            break;
        at = up;
    }
    std::string path;
    for (auto entry = chain.rbegin(); entry != chain.rend(); ++entry) {
        if (!path.empty())
            path += '/';
        path += entries.Name(*entry);
    }
    return path;
}

std::string EntryList::JoinPath(const std::string& folder, const std::string& relative) {
    if (!folder.empty() && folder.back() == '/')
        return folder + relative;
    return folder + '/' + relative;
}

} // namespace dirscribe
