// SPDX-License-Identifier: MIT
// Finding a program's version resource and choosing among its languages.
#pragma once

#include "core/pe/VersionInfo.h"
#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>

namespace dirscribe {

// The version resource (type 16, id 1) of the PE image in file. Of several languages the
// one in languageId is read, else the one in its primary language with a neutral
// sublanguage, else the language-neutral one, else the first. Nothing when the file is not
// a PE image, has no such resource, or any part of the way to it is cut off or out of
// bounds.
std::optional<VersionInfo> ReadVersionInfo(const ByteSource& file, std::uint16_t languageId);

} // namespace dirscribe
