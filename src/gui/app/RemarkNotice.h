// SPDX-License-Identifier: MIT
// A message of a long task that changes nothing of its answer, for its status line.
#pragma once

#include "core/platform/Notice.h"

#include <mutex>
#include <string>
#include <utility>

namespace dirscribe {

// Keeps the last message given (why the catalogue's index was not used); any thread may
// report.
class RemarkNotice final : public Notice {
public:
    void Show(std::string_view /*caption*/, std::string_view text, NoticeIcon /*icon*/) override {
        const std::lock_guard lock(m_lock);
        m_text = text;
    }
    // The message, or nothing; forgets it.
    std::string Take() {
        const std::lock_guard lock(m_lock);
        return std::exchange(m_text, {});
    }

private:
    std::mutex m_lock;
    std::string m_text;
};

} // namespace dirscribe
