// SPDX-License-Identifier: MIT
// The volume a listing was read from, and the note its owner keeps with it.
#pragma once

#include "core/platform/VolumeFacts.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace dirscribe {

// Kept with the listing and in its document: the facts as they were when the folder was
// read (texts as UTF-8), when that was, and a free text of the user's ("the blue box in
// the attic"). A document written before these existed knows none of them.
struct ListingVolume {
    VolumeFacts facts;
    std::uint64_t listed = 0; // file time of the read: 100 ns ticks since 1601; 0 unknown
    std::string note;

    friend bool operator==(const ListingVolume&, const ListingVolume&) = default;
};

// The volume of the folder at the absolute path `folder` as the system gives it now
// (ReadVolumeFacts), its texts made UTF-8 as a listing's texts are (LenientUtf8), read at
// `now`; no note.
ListingVolume ReadListingVolume(const std::string& folder, std::time_t now);

} // namespace dirscribe
