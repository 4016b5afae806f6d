// SPDX-License-Identifier: MIT
// Which kind of file a save writes, chosen by the file's name.
#pragma once

#include <string_view>

namespace dirscribe {

enum class SaveFormat { DocumentFile, TextReport };

// A name (without its folder) whose last three characters are "txt" in any case gets the
// text report; every other name gets the document file: "dsc" in any case, any other
// extension and no extension at all. The case is ignored because matching it exactly left
// names such as "LIST.TXT" or "DISK.DSC" fitting neither kind, and such a save wrote an
// empty file while it reported success. A document file can always be opened again, so it
// is what every other name gets. fileName may be a path: only the part after its last '/'
// counts.
SaveFormat SaveFormatFor(std::string_view fileName);

} // namespace dirscribe
