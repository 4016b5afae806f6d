// SPDX-License-Identifier: MIT
#include "cli/StderrNotice.h"

#include <cstdio>
#include <string>

namespace dirscribe {

void StderrNotice::Show(std::string_view, std::string_view text, NoticeIcon) {
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    m_anyShown = true;
}

} // namespace dirscribe
