// SPDX-License-Identifier: MIT
// The system's messages on the command line.
#pragma once

#include "core/platform/Notice.h"

namespace dirscribe {

// Writes each message's text, as the window would show it, on its own line of standard
// error (on a terminal with the names in it made harmless, see TextFor).
class StderrNotice final : public Notice {
public:
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;
};

} // namespace dirscribe
