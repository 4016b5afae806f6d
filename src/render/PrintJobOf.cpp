// SPDX-License-Identifier: MIT
#include "render/PrintJobOf.h"

namespace dirscribe {

PrintJob PrintJobOf(const ListingSession& session, const TextWidths& widths) {
    return {session.Listing().table, session.Options(), session.Listing().doc.summary,
            session.Listing().folder, widths};
}

} // namespace dirscribe
