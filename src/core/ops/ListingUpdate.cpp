// SPDX-License-Identifier: MIT
#include "core/ops/ListingUpdate.h"

#include "core/ops/FolderScan.h"
#include "core/table/TableColumn.h"

namespace dirscribe {

namespace {

// How often an update starts again because another program saved its document meanwhile.
constexpr int kUpdateTries = 10;

} // namespace

std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop) {
    const ShownListing& old = listing.Listing();
    ListingOptions options = listing.Options();
    const ListingTable& table = old.table;
    options.addComments =
        table.ColumnIndex(ColumnKind::Comments) >= 0 || HoldsComments(table) ? 1 : 0;
    options.addSize = table.ColumnIndex(ColumnKind::Size) >= 0 ? 1 : 0;
    options.addAttribute = table.ColumnIndex(ColumnKind::Attributes) >= 0 ? 1 : 0;
    options.addDate = table.ColumnIndex(ColumnKind::Date) >= 0 ? 1 : 0;
    const ListingShape& shape = old.Shape();
    options.lastDepth = shape.depth;
    options.filesAndFolders = shape.content;
    // Only a letter-page listing descends, so a tree was one, whatever layout is chosen now.
    if (shape.Tree())
        options.printAs = PageLayout::Standard;
    std::optional<FolderScan> read = ScanFolder(old.folder, options, notice, progress, stop);
    if (!read)
        return std::nullopt;
    ListingUpdate update;
    update.options = options;
    ShownListing& next = update.listing;
    update.counts =
        PopulateCarrying(next.table, read->doc, read->folder, options, table, shape, progress);
    next.doc = std::move(read->doc);
    next.path = std::move(read->path);
    next.folder = std::move(read->folder);
    next.version = old.version;
    next.origin = ListingOrigin::Read;
    next.shown = true;
    next.modified = true;
    // The note stays; a label the user gave stays where the system gives none.
    ListingVolume& volume = next.doc.volume;
    if (volume.facts.label.empty())
        volume.facts.label = old.doc.volume.facts.label;
    volume.note = old.doc.volume.note;
    return update;
}

std::optional<UpdateCounts> UpdateDocument(const std::string& path, const std::string& target,
                                           const ListingOptions& options, Notice& notice,
                                           Progress& progress, StopFlag& stop,
                                           std::time_t createdOn, SpecialFiles special,
                                           const std::optional<std::string>& note) {
    for (int tries = 1;; ++tries) {
        ListingSession listing(options);
        if (!listing.OpenDocument(path, notice, progress))
            return std::nullopt;
        std::optional<ListingUpdate> update = UpdateListing(listing, notice, progress, stop);
        if (!update)
            return std::nullopt;
        if (note)
            update->listing.doc.volume.note = *note;
        // Written with the settings it was read with, as the window would show it.
        listing.Options() = update->options;
        listing.ShowUpdate(std::move(update->listing));
        try {
            listing.Write(target, SaveFormat::DocumentFile, createdOn, special);
            return update->counts;
        } catch (const ChangedSinceRead& changed) {
            if (tries == kUpdateTries) {
                notice.Show(kCaption, changed.what());
                return std::nullopt;
            }
        } catch (const Error& error) {
            notice.Show(kCaption, error.what());
            return std::nullopt;
        }
    }
}

} // namespace dirscribe
