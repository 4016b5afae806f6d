// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

namespace dirscribe {

// "Now" for the dates the program prints: SOURCE_DATE_EPOCH when it is set to a
// number, so that output is reproducible, otherwise the system clock.
std::time_t Now();

} // namespace dirscribe
