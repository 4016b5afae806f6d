// SPDX-License-Identifier: MIT
#include "gui/app/GatheredLines.h"

#include <utility>

namespace dirscribe {

void GatheredLines::Add(std::string line) {
    const std::lock_guard lock(m_lock);
    if (++m_count <= kNamed)
        m_named.push_back(std::move(line));
}

void GatheredLines::AddSubfolder(std::string_view path, std::string_view reason) {
    Add(reason.empty() ? std::string(path) : std::string(path).append(": ").append(reason));
}

void GatheredLines::Clear() {
    const std::lock_guard lock(m_lock);
    m_named.clear();
    m_count = 0;
}

GatheredLines::Taken GatheredLines::TakeLines() {
    Taken taken;
    const std::lock_guard lock(m_lock);
    taken.named.swap(m_named);
    taken.count = std::exchange(m_count, 0);
    return taken;
}

std::string GatheredLines::TakeMessage(std::string_view one, std::string_view many,
                                       std::string_view tail) {
    auto [named, count] = TakeLines();
    if (count == 0)
        return {};
    std::string text =
        count == 1 ? std::string("1 ").append(one) : std::to_string(count).append(" ").append(many);
    text.append(tail).append("\n");
    for (const std::string& line : named)
        text.append("\n").append(line);
    if (count > named.size())
        text.append("\n... and ").append(std::to_string(count - named.size())).append(" more");
    return text;
}

} // namespace dirscribe
