// SPDX-License-Identifier: MIT
#include "core/ops/FolderScan.h"

#include "core/Error.h"
#include "core/listing/FolderScanner.h"
#include "core/listing/ListingVolume.h"
#include "core/listing/PathCheck.h"
#include "core/platform/Clock.h"
#include "core/platform/CurrentFolder.h"

#include <new>
#include <utility>

namespace dirscribe {

ListingShape ShapeToRead(const ListingOptions& options) {
    return {options.printAs == PageLayout::Standard ? options.lastDepth : 0,
            options.filesAndFolders};
}

std::optional<FolderScan> ScanFolder(std::string path, const ListingOptions& options,
                                     Notice& notice, Progress& progress, StopFlag& stop) {
    if (!ValidatePath(path, notice))
        return std::nullopt;
    FolderScan scan;
    // Read as typed, so messages name folders as the user does; stored whole.
    scan.folder = AbsolutePath(path, CurrentFolder());
    FolderScanner scanner(notice, progress, stop);
    ReadOutcome outcome = ReadOutcome::Failed;
    try {
        outcome =
            options.printAs == PageLayout::Standard
                ? scanner.ReadFolderTree(scan.doc, path, options.filesAndFolders, options.lastDepth)
                : scanner.ReadFolder(scan.doc, path, options.filesAndFolders);
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return std::nullopt;
    }
    if (outcome != ReadOutcome::Read)
        return std::nullopt;
    scan.doc.volume = ReadListingVolume(scan.folder, Now());
    scan.path = std::move(path);
    return scan;
}

} // namespace dirscribe
