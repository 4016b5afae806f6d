// SPDX-License-Identifier: MIT
// Reading a whole file into memory, with a size limit checked before anything is allocated.
#include "core/platform/FileReader.h"

#include "core/Error.h"
#include "core/platform/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
    throw Error("Cannot read \"" + path + "\": " + reason + ".");
}

std::string ReasonFor(int error) {
    switch (error) {
    case ENOENT:
        return "there is no such file";
    case EACCES:
    case EPERM:
        return "permission denied";
    case ENOTDIR:
        return "a part of its path is not a folder";
    default:
        return std::strerror(error);
    }
}

// "1 GiB", "64 MiB" or "1000 bytes": the limit as a person would say it.
std::string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1024} * 1024;
    constexpr std::uint64_t kGiB = 1024 * kMiB;
    if (bytes >= kGiB && bytes % kGiB == 0)
        return std::to_string(bytes / kGiB) + " GiB";
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

// Reads into bytes from filled up to its size; returns how many bytes it holds then (fewer
// when the file ended first).
std::size_t ReadInto(int fd, const std::string& path, char* bytes, std::size_t filled,
                     std::size_t size) {
    while (filled < size) {
        const ssize_t got = ::read(fd, bytes + filled, size - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Refuse(path, ReasonFor(errno));
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

} // namespace

std::vector<char, HugePageAllocator<char>> ReadWholeFile(const std::string& path,
                                                         std::uint64_t maximumBytes) {
    return ReadWholeFile(path, maximumBytes, {});
}

std::vector<char, HugePageAllocator<char>> ReadWholeFile(const std::string& path,
                                                         std::uint64_t maximumBytes,
                                                         const HeadCheck& checkHead,
                                                         std::optional<FileVersion>* version) {
    // O_NONBLOCK keeps a FIFO from blocking the open; such files are refused below.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        const int error = errno;
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            Refuse(path, "it is a folder");
        Refuse(path, ReasonFor(error));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        Refuse(path, ReasonFor(errno));
    if (S_ISDIR(status.st_mode))
        Refuse(path, "it is a folder");
    if (!S_ISREG(status.st_mode))
        Refuse(path, "it is not an ordinary file");
    const auto size = static_cast<std::uint64_t>(status.st_size);
    const std::string tooLarge = "it is larger than " + SizeText(maximumBytes);
    if (size > maximumBytes)
        Refuse(path, tooLarge);

    // The head is read on its own first, so refusing a large file costs only its size.
    std::string head;
    if (checkHead && size > kHeadBytes) {
        head.resize(kHeadBytes);
        head.resize(ReadInto(file.Get(), path, head.data(), 0, head.size()));
        checkHead(head, size);
    }
    std::vector<char, HugePageAllocator<char>> bytes(static_cast<std::size_t>(size));
    std::copy(head.begin(), head.end(), bytes.begin());
    std::size_t filled = head.size();
    for (;;) {
        filled = ReadInto(file.Get(), path, bytes.data(), filled, bytes.size());
        if (filled < bytes.size())
            break;
        // The file may have grown since fstat: one byte more tells, without a big buffer.
        char probe = 0;
        if (ReadInto(file.Get(), path, &probe, 0, 1) == 0)
            break;
        if (bytes.size() >= maximumBytes)
            Refuse(path, tooLarge);
        const std::uint64_t grown = std::min<std::uint64_t>(
            maximumBytes, std::max<std::uint64_t>(std::uint64_t{bytes.size()} * 2, 4096));
        bytes.resize(static_cast<std::size_t>(grown));
        bytes[filled++] = probe;
    }
    bytes.resize(filled);
    if (version != nullptr)
        *version = VersionOfFile(path, status);
    return bytes;
}

FileDescriptor OpenReadableFile(const std::string& path, std::uint64_t maximumBytes) {
    // Each part of a long path is opened from the folder the part before it led to.
    FileDescriptor folder;
    std::size_t at = 0;
    while (path.size() - at >= PATH_MAX) {
        const std::size_t slash = path.rfind('/', at + PATH_MAX - 1);
        if (slash == std::string::npos || slash <= at)
            Refuse(path, ReasonFor(ENAMETOOLONG));
        const std::string part = path.substr(at, slash - at);
        FileDescriptor next(::openat(folder.IsOpen() ? folder.Get() : AT_FDCWD,
                                     part.empty() ? "/" : part.c_str(),
                                     O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!next.IsOpen())
            Refuse(path, ReasonFor(errno));
        folder = std::move(next);
        at = slash + 1;
    }
    const std::string last = path.substr(at);
    // O_NONBLOCK keeps a FIFO from blocking the open; such files are refused below.
    FileDescriptor file(::openat(folder.IsOpen() ? folder.Get() : AT_FDCWD, last.c_str(),
                                 O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!file.IsOpen()) {
        const int error = errno;
        if (error == EISDIR)
            Refuse(path, "it is a folder");
        Refuse(path, ReasonFor(error));
    }
    if (::fstat(file.Get(), &status) != 0)
        Refuse(path, ReasonFor(errno));
    if (S_ISDIR(status.st_mode))
        Refuse(path, "it is a folder");
    if (!S_ISREG(status.st_mode))
        Refuse(path, "it is not an ordinary file");
    if (static_cast<std::uint64_t>(status.st_size) > maximumBytes)
        Refuse(path, "it is larger than " + SizeText(maximumBytes));
    return file;
}

} // namespace dirscribe
