// SPDX-License-Identifier: MIT
#include "core/listing/ListingVolume.h"

#include "core/format/Utf8.h"
#include "core/platform/FileTime.h"

namespace dirscribe {

ListingVolume ReadListingVolume(const std::string& folder, std::time_t now) {
    ListingVolume volume;
    volume.facts = ReadVolumeFacts(folder);
    for (std::string* text : {&volume.facts.mountPoint, &volume.facts.label, &volume.facts.uuid,
                              &volume.facts.fileSystem})
        *text = LenientUtf8(*text);
    volume.listed = FileTimeFromUnix(now);
    return volume;
}

} // namespace dirscribe
