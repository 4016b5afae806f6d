// SPDX-License-Identifier: MIT
#include "console/StderrNotice.h"

#include "console/TerminalText.h"

namespace dirscribe {

void StderrNotice::Show(std::string_view, std::string_view text, NoticeIcon) {
    PrintErrorLine(text);
}

} // namespace dirscribe
