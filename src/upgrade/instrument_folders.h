// The instrument's folder skeleton on drive C: the folders below c:\scope
// that the scope application and the upgrade machinery use, the staging
// and backup trees' own skeletons, and the attributes the folders carry
// (system, and hidden for those the user has no business in).
#pragma once

#include <string_view>

#include "platform/files.h"

namespace qv::upgrade {

// Creates the folders that are missing, then sets the attributes. False
// when a parent folder is missing (creation stops there).
bool CreateInstrumentFolders(platform::Files& files);

// Adds the system attribute, and the hidden one with hide, to an existing
// folder; every other attribute stays.
void SetFolderAttributes(platform::Files& files, std::string_view folder, bool hide);

}  // namespace qv::upgrade
