// SPDX-License-Identifier: MIT
#include "core/ops/ListingUpdate.h"

#include "core/table/TableColumn.h"

namespace dirscribe {

namespace {

// How often an update starts again because another program saved its document meanwhile.
constexpr int kUpdateTries = 10;

} // namespace

std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop) {
    ListingUpdate update{ListingSession(listing.Options()), {}};
    ListingOptions& options = update.session.Options();
    const ListingTable& table = listing.Table();
    options.addComments = table.ColumnIndex(ColumnKind::Comments) >= 0 ? 1 : 0;
    options.addSize = table.ColumnIndex(ColumnKind::Size) >= 0 ? 1 : 0;
    options.addAttribute = table.ColumnIndex(ColumnKind::Attributes) >= 0 ? 1 : 0;
    options.addDate = table.ColumnIndex(ColumnKind::Date) >= 0 ? 1 : 0;
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
    update.session.SetDocumentVersion(listing.DocumentVersion());
    // The note stays; a label the user gave stays where the system gives none.
    if (update.session.Volume().facts.label.empty())
        update.session.SetVolumeLabel(listing.Volume().facts.label);
    update.session.SetVolumeNote(listing.Volume().note);
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
            update->session.SetVolumeNote(*note);
        try {
            update->session.Write(target, SaveFormat::DocumentFile, createdOn, special);
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
