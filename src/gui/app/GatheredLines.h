// SPDX-License-Identifier: MIT
// Lines gathered from any thread to be named together in one message.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// All lines are counted, the first kNamed kept.
class GatheredLines {
public:
    static constexpr std::size_t kNamed = 20;

    void Add(std::string line);
    // A subfolder that could not be read, as "path: reason" (the path alone without one).
    void AddSubfolder(std::string_view path, std::string_view reason);
    void Clear();
    // "1 ONE" or "N MANY", then TAIL, then each kept line on a line of its own and
    // "... and N more" for the others; empty when nothing was gathered. Starts afresh.
    std::string TakeMessage(std::string_view one, std::string_view many, std::string_view tail);
    // The kept lines, and how many lines were gathered in all. Starts afresh.
    struct Taken {
        std::vector<std::string> named;
        std::size_t count = 0;
    };
    Taken TakeLines();

private:
    std::mutex m_lock;
    std::vector<std::string> m_named;
    std::size_t m_count = 0;
};

} // namespace dirscribe
