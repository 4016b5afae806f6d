// SPDX-License-Identifier: MIT
#include "console/StderrNotice.h"

#include <cstdio>
#include <string>

namespace dirscribe {

void StderrNotice::Show(std::string_view, std::string_view text, NoticeIcon) {
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace dirscribe
