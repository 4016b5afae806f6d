// SPDX-License-Identifier: MIT
// The text report of the listing a session has on show, as one string.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/platform/ByteSink.h"

#include <ctime>
#include <string>

namespace dirscribe::test {

inline std::string ReportOf(const ListingSession& session, std::time_t createdOn = 0) {
    StringSink sink;
    session.WriteTextReport(sink, createdOn);
    return sink.Take();
}

} // namespace dirscribe::test
