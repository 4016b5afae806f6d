// SPDX-License-Identifier: MIT
#include "gui/app/ToolbarIcons.h"

#include "gui/app/Commands.h"

#include <algorithm>
#include <array>

// The pictures are compiled into the library; a static library must ask for them by name.
static void LoadIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace dirscribe {

using namespace command;

namespace {

struct CommandIcon {
    int id;
    const char* themeName; // asked of the desktop's theme first; null: always our own
    const char* file;      // in the resources
};

constexpr std::array kIcons{
    CommandIcon{kPageFormat, nullptr, "icons/page.svg"},
    CommandIcon{kFileData, nullptr, "icons/file-data.svg"},
    CommandIcon{kCdFormat, nullptr, "icons/cd.svg"},
    CommandIcon{kZipFormat, nullptr, "icons/zip.svg"},
    CommandIcon{kAddSize, nullptr, "icons/add-size.svg"},
    CommandIcon{kAddDate, nullptr, "icons/add-date.svg"},
    CommandIcon{kAddAttributes, nullptr, "icons/add-attributes.svg"},
    CommandIcon{kAddComments, nullptr, "icons/add-comments.svg"},
    CommandIcon{kFontSize, nullptr, "icons/font-size.svg"},
    CommandIcon{kOpen, "document-open", "icons/document-open.svg"},
    CommandIcon{kSaveAs, "document-save-as", "icons/document-save-as.svg"},
    CommandIcon{kPrint, "document-print", "icons/document-print.svg"},
    CommandIcon{kRefresh, "view-refresh", "icons/view-refresh.svg"},
    CommandIcon{kBrowse, "folder-open", "icons/folder-open.svg"},
    CommandIcon{kFoldersListing, "view-list-details", "icons/view-list-details.svg"},
    CommandIcon{kStop, "process-stop", "icons/process-stop.svg"},
};

QIcon Bundled(const char* file) {
    [[maybe_unused]] static const bool loaded = [] {
        LoadIconResources();
        return true;
    }();
    return QIcon(QStringLiteral(":/") + QLatin1String(file));
}

} // namespace

QIcon ToolbarIcon(int commandId) {
    const auto* found =
        std::find_if(kIcons.begin(), kIcons.end(),
                     [commandId](const CommandIcon& icon) { return icon.id == commandId; });
    if (found == kIcons.end())
        return {};
    const QIcon own = Bundled(found->file);
    return found->themeName ? QIcon::fromTheme(QLatin1String(found->themeName), own) : own;
}

QIcon ProgramIcon() {
    return Bundled("icons/program.svg");
}

} // namespace dirscribe
