// The file search of an add entry: the pattern's folder and, with keep-paths
// and a wildcard pattern, every folder below it, depth first (each folder
// followed at once by its own folders); in each, the files whose names match
// the pattern's file part. Folders, and hidden or system files that carry
// neither the archive nor the read-only attribute, are passed over. Raises
// event 11 for each folder when folders below are searched, and event 12 at
// the end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/library_state.h"

namespace qv::archive {

// The paths of the files found (the pattern's folder followed by the name),
// folder by folder.
std::vector<std::string> SearchFiles(LibraryState& state, std::string_view pattern);

}  // namespace qv::archive
