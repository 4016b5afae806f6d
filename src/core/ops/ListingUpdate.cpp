// SPDX-License-Identifier: MIT
#include "core/ops/ListingUpdate.h"

#include "core/table/TableColumn.h"

namespace dirscribe {

std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop) {
    ListingUpdate update{ListingSession(listing.Options()), {}};
    ListingOptions& options = update.session.Options();
    const ListingTable& table = listing.Table();
    options.addComments = table.ColumnIndex(kCommentsTitle) >= 0 ? 1 : 0;
    options.addSize = table.ColumnIndex(kSizeTitle) >= 0 ? 1 : 0;
    options.addAttribute = table.ColumnIndex(kAttrTitle) >= 0 ? 1 : 0;
    options.addDate = table.ColumnIndex(kLastModifiedTitle) >= 0 ? 1 : 0;
    const ListingShape& shape = listing.Shape();
    options.lastDepth = shape.depth;
    options.filesAndFolders = shape.content;
    // Only a letter-page listing descends, so a tree was one, whatever layout is chosen now.
    if (shape.Tree())
        options.printAs = PageLayout::Standard;
    update.session.SetPath(listing.ListedFolder());
    if (!update.session.ScanSelectedFolder(notice, progress, stop))
        return std::nullopt;
    update.counts = update.session.PopulateFrom(table, shape, progress);
    // The note stays; a label the user gave stays where the system gives none.
    if (update.session.Volume().facts.label.empty())
        update.session.SetVolumeLabel(listing.Volume().facts.label);
    update.session.SetVolumeNote(listing.Volume().note);
    return update;
}

} // namespace dirscribe
