// The two ways the upgrade copies a file: over an installed file (as the
// system's copy does, the target torn if the power goes during it), and
// into the backup tree, where a copy must be whole or absent because no
// later attempt may overwrite it.
#pragma once

#include <string_view>

#include "platform/files.h"

namespace qv::upgrade {

// Gives an existing destination write permission, then copies over it (the
// copy takes the source's attributes).
bool CopyFileOver(platform::Files& files, std::string_view source, std::string_view destination);

// Copies source to destination so that the destination is at no moment
// half written: through a side file beside it, moved into place. An
// existing destination is replaced, unless keep_existing is set (it then
// counts as saved).
bool SaveCopy(platform::Files& files, std::string_view source, std::string_view destination,
              bool keep_existing);

}  // namespace qv::upgrade
