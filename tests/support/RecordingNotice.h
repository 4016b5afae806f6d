// SPDX-License-Identifier: MIT
// A Notice that remembers what it was asked to show.
#pragma once

#include "core/platform/Notice.h"

#include <string>
#include <vector>

namespace dirscribe::test {

class RecordingNotice final : public Notice {
public:
    struct Shown {
        std::string caption;
        std::string text;
    };
    void Show(std::string_view caption, std::string_view text, NoticeIcon) override {
        shown.push_back({std::string(caption), std::string(text)});
    }
    std::vector<Shown> shown;
};

} // namespace dirscribe::test
