// SPDX-License-Identifier: MIT
// Reading a whole file into memory, with a size limit checked before anything is allocated.
#pragma once

#include "core/platform/FileDescriptor.h"
#include "core/platform/FileVersion.h"
#include "core/platform/HugePageAllocator.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// The bytes of the ordinary file at path. Throws Error, with a message that names the file
// and says why, when the path is missing, is a folder or anything other than an ordinary
// file, cannot be read (permission, input/output error), or holds more than maximumBytes
// bytes; in the last case nothing is allocated for it. A file that grows past maximumBytes
// while it is read is refused the same way.
std::vector<char, HugePageAllocator<char>> ReadWholeFile(const std::string& path,
                                                         std::uint64_t maximumBytes);

// Called with the first kHeadBytes of a longer file and the file's size, before anything is
// allocated for the rest; it throws to refuse the file.
using HeadCheck = std::function<void(std::string_view head, std::uint64_t fileSize)>;
inline constexpr std::size_t kHeadBytes = std::size_t{64} * 1024;

// The same, for a file whose first bytes tell whether it is worth reading: a large file of
// the wrong kind is refused by checkHead after kHeadBytes, in a buffer of that size. Where
// version is not null it receives the version of the file read, when it can be told.
std::vector<char, HugePageAllocator<char>>
ReadWholeFile(const std::string& path, std::uint64_t maximumBytes, const HeadCheck& checkHead,
              std::optional<FileVersion>* version = nullptr);

// The file ReadWholeFile would read, opened for readers that take it a little at a time:
// throws the same Error when it would refuse the file. A path longer than PATH_MAX is
// opened a part at a time through the descriptors of its folders.
FileDescriptor OpenReadableFile(const std::string& path, std::uint64_t maximumBytes);

} // namespace dirscribe
