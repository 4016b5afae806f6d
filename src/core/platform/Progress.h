// SPDX-License-Identifier: MIT
// The "Working..." indicator of long operations.
#pragma once

#include <cstdint>
#include <string_view>

namespace dirscribe {

// A caller shows the indicator with Begin(), may set a range (the number of steps the work
// takes, when it is known), steps once per item or several at once, may put an item's name
// beside it, and ends with End(). Implementations must be cheap to call once per directory
// entry.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void Begin() = 0;
    virtual void SetRange(std::int64_t maximum) = 0;
    virtual void Step() = 0;
    virtual void Advance(std::int64_t steps) {
        for (; steps > 0; --steps)
            Step();
    }
    virtual void SetMessage(std::string_view text) = 0;
    virtual void End() = 0;
};

// Shows nothing: the command line without a terminal, and tests.
class NullProgress final : public Progress {
public:
    void Begin() override {}
    void SetRange(std::int64_t) override {}
    void Step() override {}
    void Advance(std::int64_t) override {}
    void SetMessage(std::string_view) override {}
    void End() override {}
};

} // namespace dirscribe
