// SPDX-License-Identifier: MIT
// The settings' home between runs: section "Options" of an INI file.
#pragma once

#include "core/options/IniFile.h"
#include "core/options/ListingOptions.h"

#include <string>

namespace dirscribe {

// $DIRSCRIBE_PROFILE, else $XDG_CONFIG_HOME/Dirscribe/Dirscribe.ini, else
// ~/.config/Dirscribe/Dirscribe.ini.
std::string DefaultProfilePath();

// Every entry of section "Options" in the order the program reads them, each with its
// default when missing or outside its range; the saved date and attribute flags start
// equal to `Add Date` and `Add Attribute`.
ListingOptions LoadOptions(const IniFile& profile);

// Writes every entry into section "Options" in the program's save order, keeping the
// profile's other sections and entries.
void SaveOptions(const ListingOptions& options, IniFile& profile);

} // namespace dirscribe
