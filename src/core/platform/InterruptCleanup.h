// SPDX-License-Identifier: MIT
// Files that SIGINT, SIGTERM, SIGHUP or SIGQUIT removes before the signal ends the process.
#pragma once

#include <string>

namespace dirscribe {

// Holds one file name for removal while it lives: if SIGINT, SIGTERM, SIGHUP (a closed
// terminal) or SIGQUIT ends the process meanwhile, the file is removed first and the signal
// then ends the process as it would have (same status). Only a signal whose action is still
// the default one is caught, so one the process ignores stays ignored and one the program
// handles itself stays its own. The name may be held before the file exists. A name that
// does not fit, or more than a handful held at once, go without this protection.
class InterruptCleanup {
public:
    explicit InterruptCleanup(const std::string& path);
    // The name in the folder open as folder, a descriptor that must stay open meanwhile.
    InterruptCleanup(int folder, const std::string& name);
    ~InterruptCleanup();
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

private:
    int m_slot = -1;
};

} // namespace dirscribe
