// SPDX-License-Identifier: MIT
// The settings' home between runs: section "Options" of an INI file.
#pragma once

#include "core/options/IniFile.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Notice.h"

#include <string>

namespace dirscribe {

// $HOME, or when it is empty the password database's home folder of this user. Throws
// Error when there is none.
std::string HomeFolder();

// $DIRSCRIBE_PROFILE when set and not empty, else $XDG_CONFIG_HOME/Dirscribe/Dirscribe.ini
// when that is an absolute path, else $HOME/.config/Dirscribe/Dirscribe.ini (the password
// database's home folder when HOME is empty). Throws Error when there is no home folder.
std::string DefaultProfilePath();

// Every entry of section "Options" in the order the program reads them, each with its
// default when missing, malformed or outside its range (an empty font name too); the saved date and
// attribute flags start equal to `Add Date` and `Add Attribute`.
ListingOptions LoadOptions(const IniFile& profile);

// The profile a run reads its settings from, and those settings.
struct LoadedProfile {
    std::string path; // empty when no profile could be found
    ListingOptions options;
};

// Reads the settings from the profile at `path`, or at DefaultProfilePath() when `path` is
// empty. A profile that cannot be found or read gives the defaults, and its message goes to
// `notice` as a warning: settings never stop a run.
LoadedProfile LoadProfile(const std::string& path, Notice& notice);

// Writes every entry into section "Options" in the program's save order, keeping the
// profile's other sections, comments and entries; entries already there change in place.
void SaveOptions(const ListingOptions& options, IniFile& profile);

} // namespace dirscribe
