// SPDX-License-Identifier: MIT
// What this process holds, as the kernel counts it.
#pragma once

#include <fstream>
#include <string>
#include <unistd.h>

namespace dirscribe::bench {

// The resident set now, in bytes.
inline double ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// VmHWM, the most this process has held, in bytes.
inline double PeakBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) * 1024;
    return 0;
}

} // namespace dirscribe::bench
