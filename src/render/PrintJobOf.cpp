// SPDX-License-Identifier: MIT
#include "render/PrintJobOf.h"

namespace dirscribe {

PrintJob PrintJobOf(const ListingSession& session, const TextWidths& widths) {
    return {session.Table(), session.Options(), session.Doc().summary, session.ListedFolder(),
            widths};
}

} // namespace dirscribe
