// Deleting a file the way the loader always does: write permission first,
// so that a read-only file goes too.
#pragma once

#include <string_view>

#include "platform/files.h"

namespace qv::instrument {

// The result of the deletion; the permission change may fail unnoticed.
inline platform::Outcome RemoveWithWritePermission(platform::Files& files, std::string_view path) {
  files.SetWritable(path, true);
  return files.Remove(path);
}

}  // namespace qv::instrument
