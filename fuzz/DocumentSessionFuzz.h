// SPDX-License-Identifier: MIT
// A fuzz input opened as a document, the way the command line opens a file.
#pragma once

#include "core/ops/ListingSession.h"

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace dirscribe::fuzz {

// The session with bytes opened as its document (through a file in memory), or nothing when
// the reader refuses them.
inline std::optional<ListingSession> OpenedDocument(std::string_view bytes) {
    struct Silent final : Notice {
        void Show(std::string_view, std::string_view, NoticeIcon) override {}
    } notice;
    const int fd = ::memfd_create("document", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    NullProgress progress;
    std::optional<ListingSession> session(std::in_place);
    if (!session->OpenDocument("/proc/self/fd/" + std::to_string(fd), notice, progress))
        session.reset();
    ::close(fd);
    return session;
}

} // namespace dirscribe::fuzz
