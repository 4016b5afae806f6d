// SPDX-License-Identifier: MIT
// A sink that only counts, so a benchmark times the writer and not a growing string.
#pragma once

#include "core/platform/ByteSink.h"

#include <benchmark/benchmark.h>
#include <cstddef>

namespace dirscribe {

class CountingSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override {
        benchmark::DoNotOptimize(bytes.data());
        m_bytes += bytes.size();
    }
    [[nodiscard]] std::size_t Bytes() const { return m_bytes; }

private:
    std::size_t m_bytes = 0;
};

} // namespace dirscribe
