// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

namespace dirscribe {

int RunCommandLine(int, char**) {
    return 2;
}

} // namespace dirscribe
