// SPDX-License-Identifier: MIT
// The Stop command's flag, polled by long reads.
#pragma once

#include <atomic>

namespace dirscribe {

// Set from any thread by the Stop command; a read polls it per entry and ends early.
// Cleared when the next read starts.
class StopFlag {
public:
    void Request() { m_requested.store(true, std::memory_order_relaxed); }
    void Clear() { m_requested.store(false, std::memory_order_relaxed); }
    [[nodiscard]] bool Requested() const { return m_requested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
};

} // namespace dirscribe
