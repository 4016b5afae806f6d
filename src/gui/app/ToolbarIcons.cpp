// SPDX-License-Identifier: MIT
#include "gui/app/ToolbarIcons.h"

#include "gui/app/WindowCommand.h"

// The pictures are compiled into the library; a static library must ask for them by name.
static void LoadIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace dirscribe {

namespace {

QIcon Bundled(const char* file) {
    [[maybe_unused]] static const bool loaded = [] {
        LoadIconResources();
        return true;
    }();
    return QIcon(QStringLiteral(":/") + QLatin1String(file));
}

} // namespace

QIcon CommandIcon(const WindowCommand& command) {
    if (command.iconFile == nullptr)
        return {};
    const QIcon own = Bundled(command.iconFile);
    return command.themeIcon ? QIcon::fromTheme(QLatin1String(command.themeIcon), own) : own;
}

QIcon ProgramIcon() {
    return Bundled("icons/program.svg");
}

} // namespace dirscribe
