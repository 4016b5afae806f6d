// SPDX-License-Identifier: MIT
// Where the profile lives, and the settings read from and written to it.
#include "core/options/Profile.h"

#include "core/Error.h"
#include "core/options/OptionEntry.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::string_view kSection = "Options";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0')
        return found->pw_dir;
    throw Error("Cannot find the home folder for the settings file: HOME is not set");
}

std::string DefaultProfilePath() {
    std::string chosen = Environment("DIRSCRIBE_PROFILE");
    if (!chosen.empty())
        return chosen;
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    const std::string config = Environment("XDG_CONFIG_HOME");
    if (!config.empty() && config.front() == '/')
        return config + "/Dirscribe/Dirscribe.ini";
    return HomeFolder() + "/.config/Dirscribe/Dirscribe.ini";
}

ListingOptions LoadOptions(const IniFile& profile) {
    ListingOptions options;
    for (const OptionEntry& entry : OptionEntriesInReadOrder())
        entry.Read(profile.Value(kSection, entry.name), options);
    options.savedAddDate = options.addDate;
    options.savedAddAttribute = options.addAttribute;
    return options;
}

LoadedProfile LoadProfile(const std::string& path, Notice& notice) {
    LoadedProfile loaded{path, LoadOptions(IniFile())};
    try {
        if (loaded.path.empty())
            loaded.path = DefaultProfilePath();
        loaded.options = LoadOptions(IniFile::Load(loaded.path));
    } catch (const Error& error) {
        notice.Show(kCaption, error.what(), NoticeIcon::Warning);
    }
    return loaded;
}

void SaveOptions(const ListingOptions& options, IniFile& profile) {
    for (const OptionEntry* entry : OptionEntriesInSaveOrder())
        profile.SetValue(kSection, entry->name, entry->Write(options));
}

} // namespace dirscribe
